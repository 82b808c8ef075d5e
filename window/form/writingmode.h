#pragma once
// The writing mode: one section field over the whole window, with its
// heading and its word count above it, for writing a long section. It is the
// field's own widget, so that everything that works on the field (undo, the
// spelling underline, the formatting keys, the live view) goes on working.

#include <functional>
#include <optional>

#include <QObject>
#include <QTimer>

class QAction;
class QKeyEvent;
class QLabel;
class QWidget;

namespace vinkring {

class ArticleFields;

class WritingMode final : public QObject {
    Q_OBJECT

public:
    struct Window {
        // The widget of a field.
        std::function<QWidget*(std::size_t field)> widget;
        // To the page of a field, with the focus in it (the cursor stays).
        std::function<void(std::size_t field)> goTo;
        // Shows the field alone below the head (null: the pages again).
        std::function<void(QWidget* field, QWidget* head)> show;
        // The page shown (its index).
        std::function<int()> page;
    };

    WritingMode(ArticleFields& fields, QWidget* client, Window window);

    // "Schrijfmodus" with its key, F11: in and out.
    QAction* action() const { return action_; }
    std::optional<std::size_t> field() const { return field_; }
    QLabel* heading() const { return heading_; }
    QLabel* wordCount() const { return count_; }

    // For the section field the writer is in (or was in last on the shown
    // page, or the page's first); nothing where the page has none.
    void enter();
    void enter(std::size_t field);
    void leave();
    // Another page is shown: the mode is offered only where it has a
    // section field.
    void pageShown();

    // F11 in and out, Escape out; in the mode the page keys go to the
    // previous and the next section field.
    bool takeKey(const QKeyEvent& key);

    // The word count follows a change this long after it.
    static constexpr int kCountMilliseconds = 150;

private:
    std::optional<std::size_t> fieldToEnter() const;
    void focusMoved(QWidget* now);
    void step(int by);
    void count();

    ArticleFields& fields_;
    Window window_;
    QWidget* head_;
    QLabel* heading_;
    QLabel* count_;
    QAction* action_;
    QTimer counting_;
    std::optional<std::size_t> field_;
    bool moving_ = false;  // the mode itself moves the focus
};

}  // namespace vinkring
