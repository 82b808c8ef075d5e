#pragma once
// "Recente bestanden" in the menu "Bestand", and a document file dropped on
// the window: both open the file as Open does.

#include <QObject>

#include "document/recentdocuments.h"

#include "platform/platformservices.h"

class QMenu;
class QWidget;

namespace vinkring {

class DocumentSession;

class RecentFiles final : public QObject {
public:
    // Files dropped on window, and chosen from the list in fileMenu, open as
    // Open opens them, in session. The list is kept in the user's
    // configuration folder for the program (none: it lasts this run only).
    RecentFiles(QMenu* fileMenu, QWidget* window, DocumentSession& session, PlatformServices& services);

    // A document just opened or saved.
    void add(const QString& path) { list_.add(path); }
    // Opens the file: read first, then the question about unsaved work. A
    // file that has gone is said so and taken off the list.
    void open(const QString& path);

protected:
    // Files dragged over the window and its controls.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillMenu();

    QWidget* window_;
    DocumentSession& session_;
    MessageBox& messageBox_;
    RecentDocuments list_;
    QMenu* menu_;
};

}  // namespace vinkring
