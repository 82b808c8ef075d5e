#pragma once
// The window sees every key press before the control that has the focus,
// whichever control that is; the key handler hears of each press once.

#include <functional>

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;

namespace vinkring {

// Modifier bits of the key handler.
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;
constexpr int kKeyCodeS = 83;

// The key code the key handler is given for a Qt key.
int vbKeyCode(int qtKey);

class KeyPreview final : public QObject {
public:
    using Handler = std::function<void(int keyCode, int shift)>;
    // After the handler: true when the window takes the key for itself, so
    // that the focused control does not get it.
    using Taker = std::function<bool(const QKeyEvent& key)>;

    // Watches the presses in window and its children (an application-wide
    // filter, as a key reaches the focused control first).
    KeyPreview(QWidget* window, Handler handler, Taker take = {});
    ~KeyPreview() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    Handler handler_;
    Taker take_;
    // A key the focused control ignores travels on, as the same event, to
    // its parent, then to that one's parent: the press counts only where
    // it was first seen.
    const QEvent* travelling_ = nullptr;
    QPointer<QWidget> seenAt_;
};

}  // namespace vinkring
