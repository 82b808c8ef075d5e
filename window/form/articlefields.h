#pragma once
// The article's 27 fields, known by their number in the field table: the
// only code that touches their widgets. Texts, selections and edits are in
// the document's form (CR LF line ends, offsets counted in it); every edit
// and every text put in passes the document's rules (model/fieldrules.h).
// Edits applied here are one step each of the article's history.

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include <QList>
#include <QObject>
#include <QPointer>

#include "article/tagcommands.h"
#include "model/fieldtable.h"
#include "window/form/fieldbinding.h"

class QAction;
class QMenu;
class QTextDocument;
class QWidget;

namespace vinkring {

class ArticleHistory;

class ArticleFields final : public QObject {
    Q_OBJECT

public:
    // The part of the article after the 27 fields: the links (as a search
    // counts its parts, the links' lines from here on).
    static constexpr std::size_t kLinks = kFieldCount;

    // What a key pressed in a field is about to do.
    struct Key {
        enum class Kind { Text, Erase, Other };
        Kind kind = Kind::Other;
        QChar first;  // Text: its first and last character; Erase: the one to go
        QChar last;
        bool overSelection = false;
    };
    // An aid's items in a field's context menu, put before `before` (the
    // field's usual items); offset: the place of the click or the cursor.
    using MenuContributor = std::function<void(QMenu& menu, QAction* before, std::size_t field, qsizetype offset)>;

    explicit ArticleFields(QObject* parent = nullptr);
    ~ArticleFields() override;

    // The field's widget on its page, for the window to place and label.
    QWidget* create(std::size_t field, QWidget* page);
    // Runs before any access while fields are missing: the window builds them.
    void setBuilder(std::function<void()> build) { build_ = std::move(build); }
    // The links editor: the focus there makes the links the current part.
    void watchLinks(QWidget* links) { links_ = links; }
    // Edits applied here become steps of this history.
    void setHistory(ArticleHistory* history) { history_ = history; }

    QString text(std::size_t field);
    // Puts a text in as a new start (a document opened): no step of the history.
    void setText(std::size_t field, const QString& text);
    // Changes the text to `text` as one step, only the stretch that differs;
    // the cursor stands after the change.
    void replace(std::size_t field, const QString& text);
    // One step: the edit, then its selection selected.
    void apply(std::size_t field, const TextEdit& edit);
    // One step, in one edit block: the edits (offsets of the text before, not
    // overlapping); the cursor stays where it was, moved along by them.
    void apply(std::size_t field, const QList<TextEdit>& edits);

    TextSelection selection(std::size_t field);
    qsizetype cursor(std::size_t field);
    // Selects (the cursor at the end) and shows it.
    void select(std::size_t field, TextSelection selection);
    // The whole lines the selection touches, with where they start: what a
    // formatting command needs of a long text.
    FieldBinding::Span linesAround(std::size_t field);
    void focus(std::size_t field);
    // The field stands on the page that is shown.
    bool isShown(std::size_t field) const;

    // The field that has the window's focus (also while its menu is open).
    std::optional<std::size_t> focusedField() const;
    // The field, or kLinks, the writer is in or was in last.
    std::size_t currentPart() const { return current_; }

    // Contributors add their items in the order they were added.
    void addMenuContributor(MenuContributor contributor) { contributors_.push_back(std::move(contributor)); }

    // For aids that work on a section field's text document (the spelling
    // underline): the document (null for a line field), and its positions.
    QTextDocument* textDocument(std::size_t field);
    int documentPosition(std::size_t field, qsizetype offset);
    qsizetype offsetAt(std::size_t field, int position);

signals:
    // The field's text changed (typed, pasted, undone, applied or set).
    void edited(std::size_t field);
    // The focus went into a field or the links (kLinks).
    void currentFieldChanged(std::size_t part);
    void cursorMoved(std::size_t field);
    // A key arrived in the field, before its edit.
    void keyTyped(std::size_t field, const vinkring::ArticleFields::Key& key);
    // The focus left the field (not for its own context menu).
    void focusLeft(std::size_t field);

private:
    FieldBinding& at(std::size_t field);
    void keyArrived(std::size_t field, const QKeyEvent& key);
    void showMenu(std::size_t field, QContextMenuEvent& event);
    void focusMoved(QWidget* now);

    std::array<FieldBinding, kFieldCount> fields_{};
    std::function<void()> build_;
    ArticleHistory* history_ = nullptr;
    QPointer<QWidget> links_;
    std::size_t current_ = 0;
    std::vector<MenuContributor> contributors_;
};

}  // namespace vinkring
