#pragma once
// Platform fakes: answered in advance, recording what the program asked.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "platform/automation.h"
#include "platform/clipboard.h"
#include "platform/filedialog.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/platformservices.h"

namespace vinkring::test {

class FakeMessageBox final : public MessageBox {
public:
    struct Shown {
        QString text;
        QString title;
        MessageIcon icon;
        MessageButtons buttons;
        QString detail;
        QStringList choices;  // of a question with answers of its own
    };
    std::vector<Shown> shown;
    std::deque<MessageAnswer> answers;  // Yes/No answers; Ok boxes need none
    std::deque<int> chosen;             // for questions with answers of their own; else the last answer

    MessageAnswer show(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons,
                       const QString& detail) override
    {
        shown.push_back({text, title, icon, buttons, detail, {}});
        if (buttons == MessageButtons::Ok)
            return MessageAnswer::Ok;
        if (answers.empty())
            return MessageAnswer::No;
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    int choose(const QString& text, const QString& title, const QStringList& choices) override
    {
        shown.push_back({text, title, MessageIcon::Information, MessageButtons::Ok, QString(), choices});
        if (chosen.empty())
            return int(choices.size()) - 1;
        const int c = chosen.front();
        chosen.pop_front();
        return c;
    }
};

class FakeClipboard final : public Clipboard {
public:
    QString text;
    bool hasText = false;
    int clears = 0;
    bool failClear = false;
    bool failSet = false;

    bool clear() override
    {
        if (failClear)
            return false;
        ++clears;
        text.clear();
        hasText = false;
        return true;
    }
    bool setText(const QString& t) override
    {
        if (failSet)
            return false;
        text = t;
        hasText = true;
        return true;
    }
    QString plainText() const override { return hasText ? text : QString(); }
};

class FakeFileDialog final : public FileDialog {
public:
    struct Shown {
        bool save;
        FileDialogRequest request;
        QString initialName;  // the name the dialog started with
    };
    std::vector<Shown> shown;
    std::deque<std::optional<QString>> answers;  // nullopt = cancel
    QString lastName;

    std::optional<QString> showOpen(const FileDialogRequest& r) override { return run(r, false); }
    std::optional<QString> showSave(const FileDialogRequest& r) override { return run(r, true); }
    // Answers name the type by their extension, else the request's type is chosen.
    std::optional<FileDialogChoice> choose(const FileDialogRequest& r, bool save) override
    {
        const std::optional<QString> path = run(r, save);
        if (!path)
            return std::nullopt;
        return FileDialogChoice{*path, r.type};
    }

private:
    std::optional<QString> run(const FileDialogRequest& r, bool save)
    {
        shown.push_back({save, r, initialFileName(r, lastName)});
        if (answers.empty())
            return std::nullopt;
        std::optional<QString> a = answers.front();
        answers.pop_front();
        if (a)
            lastName = *a;
        return a;
    }
};

class FakeFolders final : public Folders {
public:
    QString program;
    bool programIsUsers = true;
    QString cache;
    QString state;  // empty: no recovery copy
    QString programFolder() const override { return program; }
    bool programFolderIsUsers() const override { return programIsUsers; }
    QString cacheFolder() const override { return cache; }
    QString stateFolder() const override { return state; }
    QString configFolder() const override { return config; }
    QString config;  // empty: no list of recent documents
};

// Automation classes made available by a test; records every creation.
class FakeAutomation final : public Automation {
public:
    using Factory = std::function<std::unique_ptr<AutomationObject>()>;
    std::map<QString, Factory> creatable;  // lower-case identifier -> factory
    std::map<QString, Factory> running;
    QStringList created;   // identifiers asked of createObject, as given
    QStringList attached;  // identifiers asked of getObject, as given

    std::unique_ptr<AutomationObject> getObject(const QString& progId) override
    {
        attached << progId;
        const auto it = running.find(progId.toLower());
        return it == running.end() ? nullptr : it->second();
    }
    std::unique_ptr<AutomationObject> createObject(const QString& progId) override
    {
        created << progId;
        const auto it = creatable.find(progId.toLower());
        return it == creatable.end() ? nullptr : it->second();
    }
};

// A browser that records what it was asked, and can fail either call with
// the reasons below.
class FakeBrowser final : public BrowserObject {
public:
    struct Log {
        QStringList navigated;
        int shown = 0;
    };
    static inline const QString kNavigateFailure = QStringLiteral("navigate2 mislukt");
    static inline const QString kVisibleFailure = QStringLiteral("Visible mislukt");

    explicit FakeBrowser(Log& log, bool failNavigate = false, bool failVisible = false)
        : log_(log), failNavigate_(failNavigate), failVisible_(failVisible)
    {
    }
    Outcome navigate2(const QString& path) override
    {
        if (failNavigate_)
            return Outcome::failed(kNavigateFailure);
        log_.navigated << path;
        return {};
    }
    Outcome setVisible(bool visible) override
    {
        if (failVisible_)
            return Outcome::failed(kVisibleFailure);
        if (visible)
            ++log_.shown;
        return {};
    }

private:
    Log& log_;
    bool failNavigate_;
    bool failVisible_;
};

// Everything a window needs, faked.
struct FakePlatform {
    FakeMessageBox messageBox;
    FakeClipboard clipboard;
    FakeFileDialog fileDialog;
    FakeFolders folders;
    FakeAutomation automation;
    PlatformServices services{messageBox, clipboard, fileDialog, folders, automation};
};

}  // namespace vinkring::test
