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
};

class QtFolders final : public Folders {
public:
    QString programFolder() const override;
    QString cacheFolder() const override;
};

}  // namespace vinkring
