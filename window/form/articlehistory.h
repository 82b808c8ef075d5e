#pragma once
// One history of the article's changes, across its 27 fields and its links,
// for Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z. A command (replace all, a formatting
// command, a chosen suggestion, an import) is one step whatever it touched;
// typing makes steps of a word (the blanks and punctuation after it
// included), or of what was typed before a pause or a cursor move.
//
// A section field's text document keeps its own edits (it never merges them
// here: it is kept unmodified); a step of this history only counts them, so
// undoing one is that document's undo, as often as it counts, and no text is
// copied. A line field's texts are short: its steps hold the text before and
// after. The links' steps hold the lines before and after.

#include <array>
#include <cstddef>
#include <optional>

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QUndoStack>

#include "model/fieldtable.h"
#include "window/form/articlefields.h"

class QKeyEvent;
class QWidget;

namespace vinkring {

class LinksEditor;

class ArticleHistory final : public QObject {
    Q_OBJECT

public:
    explicit ArticleHistory(ArticleFields& fields, QObject* parent = nullptr);
    ~ArticleHistory() override;

    // A field's widget was made (the fields tell of it, once their history).
    void watchField(std::size_t field);
    void watchLinks(LinksEditor& links);

    void undo();
    void redo();
    bool canUndo() const { return stack_.canUndo(); }
    bool canRedo() const { return stack_.canRedo(); }
    int count() const { return stack_.count(); }
    // A new history, for a document put in the window as a new start.
    void clear();
    // A field's text was put in as a new start (the fields tell of it): a
    // new history too.
    void newStart(std::size_t field);
    // After the key handler: Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z, unless the focus
    // is in an input that is no field of the article (it keeps its own undo).
    bool takeKey(const QKeyEvent& key, const QWidget* focus);

    // Everything changed while one lives is one step; an inner one adds to
    // the outer one. Without a history it does nothing.
    class Command {
    public:
        explicit Command(ArticleHistory* history);
        ~Command();
        Command(const Command&) = delete;
        Command& operator=(const Command&) = delete;

    private:
        ArticleHistory* history_;
    };

    // Typing after this pause is a step of its own.
    static constexpr int kPauseMilliseconds = 1000;

    class Step;

signals:
    // A step was undone or redone that changed one part alone: a field, or
    // ArticleFields::kLinks.
    void stepTaken(std::size_t part);

private:
    friend class Step;
    void begin();
    void end();
    // A change of a part, from a key typed there or else a step of its own.
    void record(Step* step);
    void close();
    void keyTyped(std::size_t field, const ArticleFields::Key& key);
    void lineEdited(std::size_t field);
    void linksChanged();
    void replay(bool undo);
    void takeTexts();

    ArticleFields& fields_;
    QPointer<LinksEditor> links_;
    QUndoStack stack_;
    QUndoCommand* command_ = nullptr;  // the step being made by a command
    int depth_ = 0;
    bool replaying_ = false;
    Step* open_ = nullptr;  // the typing step that goes on
    struct Pending {
        std::size_t field;
        ArticleFields::Key key;
    };
    std::optional<Pending> pending_;  // the key being handled
    QTimer keyDone_;
    QTimer pause_;
    std::array<QString, kFieldCount> lineTexts_;  // the line fields' texts as last seen
    QStringList lines_;                            // the links as last seen
};

}  // namespace vinkring
