#pragma once
// The area the wizard's pages stand in. Where the window's room is smaller
// than the grown design, it shows a part of the page and scrolls: to the top
// when another page is shown, and to the control that gets the focus.

#include <QScrollArea>

namespace vinkring {

class PageArea final : public QScrollArea {
public:
    explicit PageArea(QWidget* parent);

    // Holds the pages, each at (0, 0) of it.
    QWidget* pages() const { return widget(); }
    // The size of a page; the area shows as much of it as it has room for.
    void setPageSize(QSize size);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void focusMoved(QWidget* now);
};

}  // namespace vinkring
