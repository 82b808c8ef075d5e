#include "window/form/articlehistory.h"

#include <utility>

#include <QKeyEvent>
#include <QLineEdit>
#include <QTextDocument>
#include <QWidget>

#include "model/fieldrules.h"
#include "window/form/linkseditor.h"

namespace vinkring {

namespace {

using Kind = ArticleFields::Key::Kind;

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c.isMark();
}

}  // namespace

class ArticleHistory::Step : public QUndoCommand {
public:
    Step(std::size_t part, QUndoCommand* parent) : QUndoCommand(parent), part_(part) {}

    std::size_t part() const { return part_; }
    // Takes what `later` changed, right after this step in the same part, into this step.
    virtual void absorb(const Step& later) = 0;

    // Pushed after the change was made: the first redo has nothing to do.
    void redo() final
    {
        if (!std::exchange(fresh_, false))
            play(true);
    }
    void undo() final { play(false); }

    // A typing step that goes on: its kind and the last character typed or erased.
    Kind kind = Kind::Other;
    QChar last;

    // Whether a key typed next goes on with this step: a word typed after
    // blanks or punctuation starts a new one, and so does erasing blanks or
    // punctuation before a word erased.
    bool goesOn(const ArticleFields::Key& key) const
    {
        if (key.overSelection || key.kind == Kind::Other || key.kind != kind)
            return false;
        if (key.kind == Kind::Text)
            return !(isWordCharacter(key.first) && !isWordCharacter(last));
        return !(!isWordCharacter(key.first) && isWordCharacter(last));
    }

protected:
    virtual void play(bool forward) = 0;

private:
    std::size_t part_;
    bool fresh_ = true;
};

namespace {

// Edits of a section field's document, counted: its own undo does them.
class DocumentStep final : public ArticleHistory::Step {
public:
    DocumentStep(std::size_t field, QTextDocument* doc, QUndoCommand* parent) : Step(field, parent), doc_(doc) {}
    void absorb(const Step& later) override { count_ += static_cast<const DocumentStep&>(later).count_; }

protected:
    void play(bool forward) override
    {
        for (int i = 0; doc_ && i < count_; ++i) {
            if (forward)
                doc_->redo();
            else
                doc_->undo();
        }
    }

private:
    QPointer<QTextDocument> doc_;
    int count_ = 1;
};

// A line field's text before and after.
class LineStep final : public ArticleHistory::Step {
public:
    LineStep(ArticleFields& fields, std::size_t field, QString before, QString after, QUndoCommand* parent)
        : Step(field, parent), fields_(fields), before_(std::move(before)), after_(std::move(after))
    {
    }
    void absorb(const Step& later) override { after_ = static_cast<const LineStep&>(later).after_; }

protected:
    void play(bool forward) override { fields_.replace(part(), forward ? after_ : before_); }

private:
    ArticleFields& fields_;
    QString before_;
    QString after_;
};

class LinksStep final : public ArticleHistory::Step {
public:
    LinksStep(LinksEditor& links, QStringList before, QStringList after, QUndoCommand* parent)
        : Step(ArticleFields::kLinks, parent), links_(&links), before_(std::move(before)), after_(std::move(after))
    {
    }
    void absorb(const Step& later) override { after_ = static_cast<const LinksStep&>(later).after_; }

protected:
    void play(bool forward) override
    {
        if (links_)
            links_->restoreLines(forward ? after_ : before_);
    }

private:
    QPointer<LinksEditor> links_;
    QStringList before_;
    QStringList after_;
};

// The one part a step changed; nothing when it changed several.
std::optional<std::size_t> onlyPart(const QUndoCommand* command)
{
    if (const auto* step = dynamic_cast<const ArticleHistory::Step*>(command))
        return step->part();
    std::optional<std::size_t> part;
    for (int i = 0; i < command->childCount(); ++i) {
        const std::optional<std::size_t> child = onlyPart(command->child(i));
        if (!child || (part && *part != *child))
            return std::nullopt;
        part = child;
    }
    return part;
}

}  // namespace

ArticleHistory::ArticleHistory(ArticleFields& fields, QObject* parent) : QObject(parent), fields_(fields)
{
    fields_.setHistory(this);
    keyDone_.setSingleShot(true);
    keyDone_.setInterval(0);
    connect(&keyDone_, &QTimer::timeout, this, [this] { pending_.reset(); });
    pause_.setSingleShot(true);
    pause_.setInterval(kPauseMilliseconds);
    connect(&pause_, &QTimer::timeout, this, &ArticleHistory::close);
    connect(&fields_, &ArticleFields::keyTyped, this, &ArticleHistory::keyTyped);
    connect(&fields_, &ArticleFields::edited, this, &ArticleHistory::lineEdited);
    connect(&fields_, &ArticleFields::cursorMoved, this, [this](std::size_t field) {
        if (!pending_ || pending_->field != field)
            close();
    });
    connect(&fields_, &ArticleFields::currentFieldChanged, this, &ArticleHistory::close);
    connect(&fields_, &ArticleFields::focusLeft, this, &ArticleHistory::close);
}

ArticleHistory::~ArticleHistory()
{
    fields_.setHistory(nullptr);
}

void ArticleHistory::watchField(std::size_t field)
{
    QTextDocument* doc = fields_.textDocument(field);
    if (!doc) {
        lineTexts_[field] = fields_.text(field);
        return;
    }
    // Unmodified, the document adds every edit as an undo step of its own
    // (once per edit block), never into the one before: the steps are made here.
    doc->setModified(false);
    connect(doc, &QTextDocument::modificationChanged, doc, [doc](bool modified) {
        if (modified)
            doc->setModified(false);
    });
    connect(doc, &QTextDocument::undoCommandAdded, this, [this, field, doc] {
        if (!replaying_)
            record(new DocumentStep(field, doc, command_));
    });
}

void ArticleHistory::watchLinks(LinksEditor& links)
{
    links_ = &links;
    lines_ = links.lines();
    connect(&links, &LinksEditor::linksChanged, this, &ArticleHistory::linksChanged);
}

void ArticleHistory::clear()
{
    close();
    pending_.reset();
    stack_.clear();
    takeTexts();
}

void ArticleHistory::newStart(std::size_t field)
{
    close();
    pending_.reset();
    stack_.clear();
    if (isOneLine(field))
        lineTexts_[field] = fields_.text(field);
}

void ArticleHistory::takeTexts()
{
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (isOneLine(i))
            lineTexts_[i] = fields_.text(i);
    }
    if (links_)
        lines_ = links_->lines();
}

ArticleHistory::Command::Command(ArticleHistory* history) : history_(history)
{
    if (history_)
        history_->begin();
}

ArticleHistory::Command::~Command()
{
    if (history_)
        history_->end();
}

void ArticleHistory::begin()
{
    if (replaying_)
        return;
    if (depth_++ == 0) {
        close();
        command_ = new QUndoCommand;
    }
}

void ArticleHistory::end()
{
    if (replaying_ || --depth_ > 0)
        return;
    QUndoCommand* command = std::exchange(command_, nullptr);
    if (command->childCount() > 0)
        stack_.push(command);
    else
        delete command;
}

void ArticleHistory::record(Step* step)
{
    if (depth_ > 0)
        return;  // made a child of the command being made
    const bool typed = pending_ && pending_->field == step->part() && pending_->key.kind != Kind::Other;
    if (!typed) {
        close();
        stack_.push(step);
        return;
    }
    if (open_ && open_->part() == step->part()) {
        open_->absorb(*step);
        delete step;
    } else {
        close();
        step->kind = pending_->key.kind;
        stack_.push(step);
        open_ = step;
    }
    open_->last = pending_->key.last;
    pause_.start();
}

void ArticleHistory::close()
{
    open_ = nullptr;
    pause_.stop();
}

void ArticleHistory::keyTyped(std::size_t field, const ArticleFields::Key& key)
{
    if (replaying_)
        return;
    pending_ = Pending{field, key};
    keyDone_.start();
    if (open_ && !(open_->part() == field && open_->goesOn(key)))
        close();
}

void ArticleHistory::lineEdited(std::size_t field)
{
    if (!isOneLine(field))
        return;
    QString before = std::exchange(lineTexts_[field], fields_.text(field));
    if (!replaying_ && before != lineTexts_[field])
        record(new LineStep(fields_, field, std::move(before), lineTexts_[field], command_));
}

void ArticleHistory::linksChanged()
{
    QStringList before = std::exchange(lines_, links_->lines());
    if (!replaying_ && before != lines_)
        record(new LinksStep(*links_, std::move(before), lines_, command_));
}

void ArticleHistory::undo()
{
    replay(true);
}

void ArticleHistory::redo()
{
    replay(false);
}

void ArticleHistory::replay(bool undo)
{
    close();
    pending_.reset();
    if (depth_ > 0 || !(undo ? stack_.canUndo() : stack_.canRedo()))
        return;
    const std::optional<std::size_t> part = onlyPart(stack_.command(undo ? stack_.index() - 1 : stack_.index()));
    replaying_ = true;
    if (undo)
        stack_.undo();
    else
        stack_.redo();
    replaying_ = false;
    takeTexts();
    if (part)
        emit stepTaken(*part);
}

bool ArticleHistory::takeKey(const QKeyEvent& key, const QWidget* focus)
{
    const QKeyCombination pressed(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key()));
    const bool undo = pressed == (Qt::CTRL | Qt::Key_Z);
    const bool redo = pressed == (Qt::CTRL | Qt::Key_Y) || pressed == (Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    if (!undo && !redo)
        return false;
    if (focus && focus->testAttribute(Qt::WA_InputMethodEnabled) && !fields_.focusedField()) {
        // The links editor's inputs undo their own typing first; with nothing
        // of their own left, the article's history (a "Verwijder" just done).
        const auto* input = qobject_cast<const QLineEdit*>(focus);
        const bool ownLeft = input && (undo ? input->isUndoAvailable() : input->isRedoAvailable());
        if (!links_ || !links_->isAncestorOf(focus) || ownLeft)
            return false;
    }
    replay(undo);
    return true;
}

}  // namespace vinkring
