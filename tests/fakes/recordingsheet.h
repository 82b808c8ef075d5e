#pragma once
// A spreadsheet that records the calls of a check as letters a to i and can
// fail any of them. Its CheckSpelling corrects "fout" into "goed".

#include <map>
#include <memory>
#include <set>

#include <QString>
#include <QStringList>

#include "platform/automation.h"

namespace vinkring::test {

struct SheetScript {
    std::optional<QString> version = QStringLiteral("11.0");  // nullopt: Version cannot be read
    // Call letter -> the occurrences (1-based) that fail; 0 fails them all.
    std::map<char, std::set<int>> failing;
    QStringList calls;        // "b", "c", "d", "e:<text>", "f", "g", "h:false", "i"
    std::map<char, int> counts;

    bool fails(char call)
    {
        const int n = ++counts[call];
        const auto it = failing.find(call);
        return it != failing.end() && (it->second.count(0) || it->second.count(n));
    }
};

class RecordingSheet final : public SpreadsheetApplication {
public:
    explicit RecordingSheet(SheetScript& script) : s_(script) {}

    std::optional<QString> version() override
    {
        s_.calls << QStringLiteral("c");
        if (s_.fails('c'))
            return std::nullopt;
        return s_.version;
    }
    std::unique_ptr<AutomationObject> workbooksAdd() override
    {
        s_.calls << QStringLiteral("d");
        if (s_.fails('d'))
            return nullptr;
        return std::make_unique<AutomationObject>();
    }
    bool setActiveCellValue(const QString& value) override
    {
        s_.calls << QStringLiteral("e:") + value;
        if (s_.fails('e'))
            return false;
        cell_ = value;
        return true;
    }
    bool activeCellCheckSpelling() override
    {
        s_.calls << QStringLiteral("f");
        if (s_.fails('f'))
            return false;
        cell_.replace(QStringLiteral("fout"), QStringLiteral("goed"));
        return true;
    }
    std::optional<QString> activeCellText() override
    {
        s_.calls << QStringLiteral("g");
        if (s_.fails('g'))
            return std::nullopt;
        return cell_;
    }
    bool activeWorkbookClose(bool saveChanges) override
    {
        s_.calls << (saveChanges ? QStringLiteral("h:true") : QStringLiteral("h:false"));
        return !s_.fails('h');
    }
    bool quit() override
    {
        s_.calls << QStringLiteral("i");
        return !s_.fails('i');
    }

private:
    SheetScript& s_;
    QString cell_;
};

}  // namespace vinkring::test
