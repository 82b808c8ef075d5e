#pragma once
// The formatting commands in the window: the menu "Opmaak", its keys and its
// items in a field's context menu. Each works on the field that has the
// focus, by its number, as one step of the history.

#include <cstddef>

#include <QObject>

#include "article/tagcommands.h"

class QAction;
class QKeyEvent;
class QMenu;
class QWidget;

namespace vinkring {

class ArticleFields;
class Clipboard;

class Formatting final : public QObject {
public:
    // The clipboard offers an address for a link; the link's dialog stands
    // over dialogParent. The commands go in menu ("Opmaak").
    Formatting(ArticleFields& fields, Clipboard& clipboard, QMenu* menu, QWidget* dialogParent);

    QMenu* menu() const { return menu_; }
    // After the key handler: a formatting key, with the focus in a field,
    // is done and taken.
    bool takeKey(const QKeyEvent& key);
    // The items in a field's context menu, before `before`.
    void addMenuItems(QMenu& menu, QAction* before, std::size_t field);

    // The commands on one field.
    void toggle(std::size_t field, ForumTag tag);
    // Takes the link code around the selection away, or asks for an address
    // and puts one there.
    void link(std::size_t field);
    // The link code around the selection taken away; false when there is none.
    bool unlink(std::size_t field);

private:
    void run(int command, std::size_t field);

    ArticleFields& fields_;
    Clipboard& clipboard_;
    QMenu* menu_;
    QWidget* dialogParent_;
};

}  // namespace vinkring
