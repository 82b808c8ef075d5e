#pragma once
// The area the wizard's pages stand in, as wide as its page. Where the page
// is higher than the room, it shows a part of the page and scrolls: to the
// top when another page is shown, to the control that gets the focus, and
// along with the cursor of the field being typed in.

#include <QPointer>
#include <QScrollArea>

namespace vinkring {

class PageArea final : public QScrollArea {
public:
    explicit PageArea(QWidget* parent);

    // Holds the pages, each at (0, 0) of it.
    QWidget* pages() const { return widget(); }
    // The size of a page; the area shows as much of it as it has room for.
    void setPageSize(QSize size);
    // Brings the cursor of this field into view, once the field has shown it.
    void followCursor(QWidget* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void focusMoved(QWidget* now);
    void showCursor();

    QPointer<QWidget> following_;
};

}  // namespace vinkring
