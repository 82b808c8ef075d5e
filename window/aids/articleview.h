#pragma once
// "Voorbeeld van het artikel": a window beside the wizard showing the article
// as the forum will show the post, following the writing. It only reads the
// document: it never changes a field, the unsaved changes or the clipboard.

#include <array>
#include <functional>
#include <optional>

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include "article/forumpost.h"
#include "model/articledocument.h"

class QAction;
class QBoxLayout;
class QLabel;
class QSpinBox;
class QTextBrowser;
class QTextCursor;

namespace vinkring {

class ArticleFields;

class ArticleView final : public QWidget {
    Q_OBJECT

public:
    using Source = std::function<const ArticleDocument&()>;
    using LinkOpener = std::function<void(const QUrl&)>;

    // A window of its own over parent; source gives the document shown. Its
    // place and the post limit are kept in settingsFolder (none: not kept).
    ArticleView(Source source, QWidget* parent, QString settingsFolder = QString());
    ~ArticleView() override;

    // Follows the writer from field to field (and to the links), and the
    // line being written.
    void follow(ArticleFields& fields);
    // The document changed: the view follows after a pause in the writing.
    void changed();
    // Where the wizard's menu bar, counter and buttons stand on the screen:
    // the view keeps off them.
    void setKeptClear(std::function<QList<QRect>()> areas) { keptClear_ = std::move(areas); }
    // Opens a clicked link; by default in the user's browser.
    void setLinkOpener(LinkOpener opener) { openLink_ = std::move(opener); }

    // Shows the document as it is now.
    void refresh();

    // The menu item that shows and hides the window.
    QAction* toggleAction() const { return toggle_; }
    QTextBrowser* textView() const { return text_; }
    QString sizeText() const;
    // The forum's limit of a post the writer set, also before the view first
    // opened; 0 for none.
    qsizetype postLimit() const;

    // After a change, the view waits this long for the next one.
    static constexpr int kPauseMilliseconds = 75;
    // While the writer goes on typing, it is brought up to date this often.
    static constexpr int kLongestWaitMilliseconds = 1000;
    // Narrower than this, the view is hardly of use; at this width it stays
    // beside a wizard in the middle of a screen 1366 pixels wide.
    static constexpr QSize kSmallest{260, 300};

signals:
    // A click on the text of a field (not on a link): the field's index in
    // the field table and the place in its text (CR LF line ends) nearest
    // the click.
    void fieldClicked(std::size_t index, qsizetype offset);
    // The writer set another post limit.
    void postLimitChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Reading {
        int block = 0;
        int offset = 0;  // of the block's top above the view's top
    };

    void partEntered(std::size_t part);
    // The fields' parts and the links chapter's.
    static constexpr std::size_t kPartCount = kFieldCount + 1;
    // The first line of each part.
    using PartLines = std::array<int, kPartCount>;

    void showLines(QList<ForumLine> lines, const PartLines& oldStarts);
    void rebuild();
    void replacePartLines(int oldFirst, int oldCount, int newFirst, int newCount, const QList<ForumLine>& lines);
    void insertLine(QTextCursor& cursor, const ForumLine& line);
    Reading readingPlace() const;
    int blockTop(int block) const;
    void scrollToLine(int line);
    void showFocusedField();
    int writingLine() const;
    void keepInView(int line);
    void placeBesideParent();
    void rememberPlace();
    void clicked(QPoint at);
    void showSize();
    void foldStatus();

    Source source_;
    LinkOpener openLink_;
    std::function<QList<QRect>()> keptClear_;
    QBoxLayout* status_ = nullptr;  // the size beside the limit, or above it where narrow
    QWidget* limitRow_ = nullptr;
    QString settingsFile_;
    ArticleFields* fields_ = nullptr;
    QMetaObject::Connection following_;
    QTextBrowser* text_ = nullptr;
    QLabel* size_ = nullptr;
    QSpinBox* limit_ = nullptr;  // of a forum post, in characters; 0 for none
    qsizetype words_ = 0;
    qsizetype characters_ = 0;
    QAction* toggle_ = nullptr;
    QTimer pause_;
    QElapsedTimer waiting_;  // since the first change not yet shown
    bool placed_ = false;
    QRect placedAt_;  // where it was put, to tell whether the writer moved it

    // The article read in parts, a field's part (its headings, its text and
    // the blank line after it) and the links chapter's: a part is read
    // again only when its text, what the parts before it carried into it,
    // or (for one that looked ahead for a link's end) a later part changed.
    struct Part {
        QString fieldText;  // as read (the links part: shownLinks_)
        ForumCarry carriedIn;
        ForumPart read;  // its lines' sources from the part's start
        qsizetype words = 0;
        qsizetype characters = 0;
        bool valid = false;
    };
    // The lines of the whole post, the parts read again where they changed.
    QList<ForumLine> readParts(const ArticleDocument& doc, std::array<bool, kPartCount> changed);

    std::array<Part, kPartCount> parts_;
    QStringList shownLinks_;
    QList<ForumLine> lines_;  // one per block of the view's document
    PartLines partLine_{};
    bool framed_ = false;  // the document holds the parts in their frames
    std::array<qsizetype, kFieldCount> textStart_{};  // of each field in the forum text
    std::array<qsizetype, kFieldCount> fieldStart_{};  // with its headings
    qsizetype linksStart_ = 0;
    QPoint pressedAt_;
    // Since a click sent the keys to the wizard: a window manager that
    // activates the view for that click only afterwards is answered by
    // activating the wizard again.
    QElapsedTimer handedOver_;
    // The field a click in the view sent the focus to: the view stays put
    // when it gets it (later, once the wizard is the active window again).
    std::optional<std::size_t> clickedField_;
};

}  // namespace vinkring
