#pragma once
// The documents the writer opened or saved last, newest first, kept in a
// file of the user's configuration folder so that they survive a restart. A
// list that cannot be read is empty; one that cannot be written is kept for
// this run only.

#include <QString>
#include <QStringList>

namespace vinkring {

class RecentDocuments {
public:
    static constexpr int kMaxDocuments = 8;

    // listFile: where the list is kept; empty keeps it for this run only.
    explicit RecentDocuments(QString listFile);

    // Newest first, at most kMaxDocuments, each once.
    const QStringList& paths() const { return paths_; }
    // Reads the list again: another copy of the program may have changed it.
    void reload();
    // The path to the front of the list.
    void add(const QString& path);
    void remove(const QString& path);

private:
    void write() const;

    QString listFile_;
    QStringList paths_;
};

// The list with path at its front, once, and no more than kMaxDocuments.
QStringList withNewest(QStringList paths, const QString& path);

}  // namespace vinkring
