#pragma once
#include <QString>

namespace vinkring {

class Folders {
public:
    virtual ~Folders() = default;
    // The folder that holds the program file.
    virtual QString programFolder() const = 0;
    // The user's cache folder for this program (need not exist yet).
    virtual QString cacheFolder() const = 0;
    // The user's own folder for this program's state, such as the recovery
    // copy of unsaved work (need not exist yet). Empty: none is kept.
    virtual QString stateFolder() const = 0;
};

class QtFolders final : public Folders {
public:
    QString programFolder() const override;
    QString cacheFolder() const override;
    QString stateFolder() const override;
};

}  // namespace vinkring
