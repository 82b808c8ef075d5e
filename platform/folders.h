#pragma once
#include <QString>

namespace vinkring {

class Folders {
public:
    virtual ~Folders() = default;
    // The folder that holds the program file.
    virtual QString programFolder() const = 0;
    // Whether the program's folder is the user's own, to put files of the
    // program's own in: a build or a portable copy. Not so for an installed
    // program, whose folder belongs to the system or to another user.
    virtual bool programFolderIsUsers() const = 0;
    // The user's cache folder for this program (need not exist yet).
    virtual QString cacheFolder() const = 0;
    // The user's own folder for this program's state, such as the recovery
    // copy of unsaved work (need not exist yet). Empty: none is kept.
    virtual QString stateFolder() const = 0;
    // The user's configuration folder for this program, such as the list of
    // recent documents (need not exist yet). Empty: nothing is kept.
    virtual QString configFolder() const = 0;
};

class QtFolders final : public Folders {
public:
    QString programFolder() const override;
    bool programFolderIsUsers() const override;
    QString cacheFolder() const override;
    QString stateFolder() const override;
    QString configFolder() const override;
};

// Whether folder is a user's own: it exists, the user (userId) owns it, and it
// is not one of the system's folders (under /usr, /opt, /snap or the
// top-level /bin, /sbin and /lib), where an installed program lives even when
// the user is root.
bool isUsersFolder(const QString& folder, unsigned userId);

}  // namespace vinkring
