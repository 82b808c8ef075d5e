#pragma once
// The formatting commands in the window: the menu "Opmaak", its keys and its
// items in a section field's context menu. Each works on the field that has
// the focus, as one step of Ctrl+Z.

#include <QList>
#include <QObject>
#include <QPointer>

#include "article/tagcommands.h"

class QAction;
class QKeyEvent;
class QMenu;
class QWidget;

namespace vinkring {

class Clipboard;

// The text and selection of a line or plain text field; positions as the
// field counts them (a line end is one character).
TextSelection fieldSelection(const QWidget* field);
QString fieldText(const QWidget* field);
// Applies the edit to the field as one step of its undo, and selects what
// the edit says.
void applyEdit(QWidget* field, const TextEdit& edit);

class Formatting final : public QObject {
public:
    // fields: those that take the forum's tags. The clipboard offers an
    // address for a link. The commands go in menu ("Opmaak").
    Formatting(QWidget* window, QList<QWidget*> fields, Clipboard& clipboard, QMenu* menu);

    QMenu* menu() const { return menu_; }
    // After the key handler: a formatting key, with the focus in one of the
    // fields, is done and taken.
    bool takeKey(const QKeyEvent& key);
    // The items in a field's context menu, before `usual`.
    void addMenuItems(QMenu* menu, QWidget* field, QAction* usual);

    // The commands on one field.
    static void toggle(QWidget* field, ForumTag tag);
    // Takes the link code around the selection away, or asks for an address
    // and puts one there.
    void link(QWidget* field);
    // The link code around the selection taken away; false when there is none.
    static bool unlink(QWidget* field);

protected:
    // A line field's selection kept while the menu bar has the keyboard.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* target() const;
    void run(int command, QWidget* field);

    QWidget* window_;
    QList<QWidget*> fields_;
    Clipboard& clipboard_;
    QMenu* menu_;
    void restoreKeptSelection(QWidget* field);

    TextSelection keptSelection_;
    QPointer<QWidget> keptIn_;  // the line field it was kept for
};

}  // namespace vinkring
