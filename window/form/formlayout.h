#pragma once
// The client area laid out at the window's size: the banner, the counter,
// the shown page in the page area and the navigation buttons, by the rules
// of fontlayout.h and pagelayout.h; in the writing mode one section field
// over all of it.

#include <array>
#include <functional>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>

#include "window/form/pagelayout.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace vinkring {

class PageArea;

class FormLayout final : public QObject {
public:
    struct Parts {
        QWidget* client = nullptr;
        QLabel* banner = nullptr;
        QLabel* counter = nullptr;
        QLabel* note = nullptr;  // a passing note, in the counter's row left of it
        PageArea* pageArea = nullptr;
        std::array<QPushButton*, 4> command1{};  // [2] stands on the last page
    };

    // bannerScaled: the banner's scale changed (0: it is gone).
    FormLayout(const Parts& parts, double scale, std::function<void(double)> bannerScaled);

    // A page as built: its controls' places as designed, and its guide text.
    void addPage(QGroupBox* page, QLabel* guide);
    // The writing mode: field alone over the client area, head above it
    // (a row of labels, the heading first and the word count last, with
    // room between them for the note); a null field: the pages again.
    void setWriting(QWidget* field, QWidget* head);
    // Lays the client area out at its size.
    void apply();

    double bannerScale() const { return bannerScale_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Page {
        QGroupBox* box = nullptr;
        QLabel* guide = nullptr;
        QString guideText;
        QSize base;
        std::vector<QWidget*> widgets;
        std::vector<PagePiece> pieces;
    };

    Page* shownPage();
    GuideText guideOf(const Page& page) const;
    void placePage(Page& page, QSize room);
    void placeWriting(Page& page);
    void placeNoteInHead();
    void showBesidesWriting();

    Parts parts_;
    double scale_;
    int margin_;  // kept at a page's right and bottom where room is short
    std::function<void(double)> bannerScaled_;
    double bannerScale_ = -1;
    std::vector<Page> pages_;
    QPointer<QWidget> writing_;
    QPointer<QWidget> head_;
    std::vector<QPointer<QWidget>> hidden_;  // what the writing mode hid
    bool applying_ = false;
};

}  // namespace vinkring
