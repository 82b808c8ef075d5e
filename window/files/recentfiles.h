#pragma once
// "Recente bestanden" in the menu "Bestand", and a document file dropped on
// the window: both open the file as Open does.

#include <functional>

#include <QObject>

#include "document/recentdocuments.h"

class QMenu;
class QWidget;

namespace vinkring {

class MessageBox;

class RecentFiles final : public QObject {
public:
    // open asks about unsaved work and opens the file as Open does; true
    // when the file is now in the window. folder: the user's configuration
    // folder for the program (empty: the list lasts this run only).
    RecentFiles(QMenu* fileMenu, QWidget* window, const QString& folder, MessageBox& messageBox,
                std::function<bool(const QString& path)> open);

    // A document just opened or saved.
    void add(const QString& path) { list_.add(path); }
    // Opens the file; a file that has gone is said so and taken off the list.
    void open(const QString& path);

protected:
    // Files dragged over the window and its controls.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillMenu();

    QWidget* window_;
    MessageBox& messageBox_;
    std::function<bool(const QString&)> open_;
    RecentDocuments list_;
    QMenu* menu_;
};

}  // namespace vinkring
