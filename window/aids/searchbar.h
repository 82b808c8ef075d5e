#pragma once
// Finding and replacing in the whole article: the bar along the window's
// bottom (Ctrl+F, Ctrl+H), F3 and Shift+F3, and the menu "Zoeken". A hit on
// another page goes to that page and is selected in its field.

#include <array>
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
class QPushButton;
class QStatusBar;
class QTimer;

namespace vinkring {

class LinksEditor;

// The 27 fields as shown (a line end is one character) and the link lines;
// a field's text is read again only after it changed.
class WindowTexts final : public QObject, public SearchTexts {
public:
    // edited: a field's text changed (not only its look).
    WindowTexts(const std::array<QWidget*, kFieldCount>& fields, const LinksEditor& links,
                std::function<void()> edited, QObject* parent);
    std::size_t partCount() const override;
    QString partText(std::size_t part) const override;

private:
    std::array<QWidget*, kFieldCount> fields_;
    const LinksEditor& links_;
    mutable std::array<std::optional<QString>, kFieldCount> cache_;
};

class SearchBar final : public QWidget {
    Q_OBJECT

public:
    // showPage shows a page by its index. The bar stands below the window's
    // pages; the window makes room for it on openChanged. Its commands go in
    // menu ("Zoeken").
    SearchBar(const std::array<QWidget*, kFieldCount>& fields, LinksEditor& links,
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
    // "Alles vervangen".
    void replaceAll();

    QLineEdit* findField() const { return find_; }
    QLineEdit* replaceField() const { return replaceWith_; }
    // Whether the hits are still being counted.
    bool counting() const;
    // The height the open bar takes below the pages; 0 while closed.
    int openHeight() const;

signals:
    void openChanged();

private:
    // The part the writer is in: the field or the links list last focused.
    void follow(QWidget* focus);
    ArticleSearch search() const;
    SearchHit place() const;
    void showHit(const SearchHit& hit);
    void select(std::size_t part, qsizetype start, qsizetype length);
    void setOpen(bool open);
    // Counts the hits in the whole article, a slice at a time.
    void count();
    void countSome();
    // A notice, alone or after the count.
    void say(const QString& notice, bool withCount = false);
    void showStatus();

    static constexpr int kCountSliceMs = 8;

    std::array<QWidget*, kFieldCount> fields_;
    LinksEditor& links_;
    std::function<void(int)> showPage_;
    QMainWindow* window_;
    QStatusBar* strip_;
    WindowTexts* texts_;
    std::size_t current_ = 0;  // the part the writer was last in
    std::optional<SearchHit> lastHit_;
    QString countText_;
    QString notice_;
    bool noticeWithCount_ = false;
    std::optional<ArticleSearch> counting_;
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
