#pragma once
// The navigation buttons for the keyboard and for screen readers: their
// spoken names, and the keys that turn the pages as "<" and ">" do.

#include <functional>

#include <QObject>
#include <QPointer>

class QAbstractButton;
class QWidget;

namespace vinkring {

// Names and descriptions of "<", ">" and ">|"; the captions stay.
void describeNavigationButtons(QWidget* previous, QWidget* next, QWidget* last);

// Alt+Left and Ctrl+PgUp press "<", Alt+Right and Ctrl+PgDown press ">"
// (through click, given the button's index 0 or 1), anywhere in window; a
// disabled button makes the key do nothing. The focused control does not get
// these keys.
//
// It watches application-wide, as the window's key handler does; it must be
// made before that handler's KeyPreview, so that KeyPreview, installed later,
// still sees these presses first.
class NavigationKeys final : public QObject {
public:
    NavigationKeys(QWidget* window, QAbstractButton* previous, QAbstractButton* next,
                   std::function<void(int index)> click);
    ~NavigationKeys() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QPointer<QAbstractButton> previous_;
    QPointer<QAbstractButton> next_;
    std::function<void(int)> click_;
};

}  // namespace vinkring
