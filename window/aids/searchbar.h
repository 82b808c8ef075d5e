#pragma once
// Finding and replacing in the whole article, as the session holds it: the
// bar along the window's bottom (Ctrl+F, Ctrl+H), F3 and Shift+F3, and the
// menu "Zoeken". A hit on another page goes to that page and is selected in
// its field. In the bar's fields "↵" stands for a line end.

#include <functional>
#include <optional>

#include <QWidget>

#include "article/articlesearch.h"

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QStatusBar;
class QTimer;

namespace vinkring {

class ArticleFields;
class ArticleHistory;
class DocumentSession;
class LinksEditor;

// What the bar's fields show for a line end, and what that stands for in
// the article: each line end of a pasted text becomes the mark, each mark a
// CR LF again.
QString withLineEndMarks(const QString& text);
QString fromLineEndMarks(const QString& shown);

class SearchBar final : public QWidget {
    Q_OBJECT

public:
    // showPage shows a page by its index. The bar stands below the window's
    // pages; the window makes room for it on heightChanged. Its commands go
    // in menu ("Zoeken").
    SearchBar(DocumentSession& session, ArticleFields& fields, ArticleHistory& history, LinksEditor& links,
              std::function<void(int page)> showPage, QMainWindow* window, QMenu* menu);

    QMenu* menu() const { return menu_; }
    // After the key handler: Ctrl+F, Ctrl+H, F3, Shift+F3, and Escape and
    // Shift+Enter while the bar is open.
    bool takeKey(const QKeyEvent& key);

    // Ctrl+F (replacing false) and Ctrl+H.
    void open(bool replacing);
    void close();
    // F3 and Shift+F3; false when there is no hit.
    bool findNext(bool backward = false);
    // "Vervangen": the selected hit, then on to the next.
    void replace();
    // "Alles vervangen", as one step of the history.
    void replaceAll();

    QLineEdit* findField() const { return find_; }
    QLineEdit* replaceField() const { return replaceWith_; }
    // The count's text ("3 treffers"), empty while it counts or has no search.
    QString countText() const { return countText_; }
    // Whether the hits are still being counted.
    bool counting() const;
    // The height the open bar takes below the pages; 0 while closed.
    int openHeight() const;

signals:
    // Opened, closed, or a row shown or hidden.
    void heightChanged();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    ArticleSearch search() const;
    SearchHit place() const;
    void showHit(const SearchHit& hit);
    void setOpen(bool open, bool replacing);
    // The fields as wide as some characters of the font in use.
    void fitFields();
    // Counts the hits in the whole article, a slice at a time.
    void count();
    void countSome();
    // A notice, alone or after the count.
    void say(const QString& notice, bool withCount = false);
    void showStatus();

    static constexpr int kCountSliceMs = 8;

    DocumentSession& session_;
    ArticleFields& fields_;
    ArticleHistory& history_;
    LinksEditor& links_;
    std::function<void(int)> showPage_;
    QMainWindow* window_;
    QStatusBar* strip_;
    std::optional<SearchHit> lastHit_;
    QString countText_;
    QString notice_;
    bool noticeWithCount_ = false;
    std::optional<ArticleSearch> counting_;
    ArticleDocument countedDocument_;  // the document as it was when the count began
    std::size_t countPart_ = 0;
    qsizetype counted_ = 0;
    QTimer* countStep_;

    QMenu* menu_;
    QLineEdit* find_;
    QLineEdit* replaceWith_;
    QWidget* replaceRow_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWords_;
    QLabel* status_;
    QLabel* replaced_;
    QTimer* countLater_;
};

}  // namespace vinkring
