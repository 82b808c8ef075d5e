#include "window/dialogs/spellingdialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "model/texts.h"
#include "window/form/fontlayout.h"

namespace vinkring {

namespace {

struct ButtonInfo {
    SpellingAction action;
    std::string_view caption;
};

constexpr ButtonInfo kButtons[6] = {
    {SpellingAction::Ignore, texts::kIgnore},
    {SpellingAction::IgnoreAll, texts::kIgnoreAll},
    {SpellingAction::Change, texts::kChange},
    {SpellingAction::ChangeAll, texts::kChangeAll},
    {SpellingAction::AddToDictionary, texts::kAddToDictionary},
    {SpellingAction::Stop, texts::kStop},
};

QString escapedLines(QStringView text)
{
    QString html = text.toString().toHtmlEscaped();
    html.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
    html.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    html.replace(QLatin1Char('\r'), QLatin1String("<br>"));
    return html;
}

// The sentence with the doubtful word marked as a selection is, in bold, in
// the colours of the palette (readable on a dark one too).
QString markedSentence(const DoubtfulWord& word, const QPalette& palette)
{
    const QStringView sentence(word.sentence);
    const qsizetype at = qBound<qsizetype>(0, word.position, sentence.size());
    const qsizetype length = qMin(word.word.size(), sentence.size() - at);
    const QString mark = QStringLiteral("<b style=\"background-color:%1; color:%2\">")
                             .arg(palette.color(QPalette::Highlight).name(), palette.color(QPalette::HighlightedText).name());
    return escapedLines(sentence.left(at)) + mark + escapedLines(sentence.mid(at, length)) + QLatin1String("</b>")
        + escapedLines(sentence.mid(at + length));
}

}  // namespace

SpellingDialog::SpellingDialog(const DoubtfulWord& word, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(toQString(texts::kSpellingTitle));
    setModal(true);

    auto* grid = new QGridLayout(this);

    // Which section the text is from: the check goes through all of them.
    auto* sectionLabel = new QLabel(this);
    sectionLabel->setObjectName(QStringLiteral("section"));
    sectionLabel->setTextFormat(Qt::PlainText);
    sectionLabel->setText(toQString(texts::kSection).arg(word.section));
    sectionLabel->setVisible(!word.section.isEmpty());

    auto* sentenceLabel = new QLabel(toQString(texts::kNotInDictionary), this);
    sentence_ = new QTextBrowser(this);
    sentence_->setObjectName(QStringLiteral("sentence"));
    sentence_->setHtml(markedSentence(word, sentence_->palette()));
    sentence_->setFocusPolicy(Qt::NoFocus);
    sentenceLabel->setBuddy(sentence_);

    auto* replacementLabel = new QLabel(toQString(texts::kChangeTo), this);
    replacement_ = new QLineEdit(word.suggestions.isEmpty() ? word.word : word.suggestions.front(), this);
    replacement_->setObjectName(QStringLiteral("replacement"));
    replacementLabel->setBuddy(replacement_);

    auto* suggestionLabel = new QLabel(toQString(texts::kSuggestions), this);
    buildSuggestions(word.suggestions);
    suggestionLabel->setBuddy(suggestions_);

    grid->addWidget(sectionLabel, 0, 0, 1, 2);
    grid->addWidget(sentenceLabel, 1, 0);
    grid->addWidget(sentence_, 2, 0);
    grid->addWidget(replacementLabel, 3, 0);
    grid->addWidget(replacement_, 4, 0);
    grid->addWidget(suggestionLabel, 5, 0);
    grid->addWidget(suggestions_, 6, 0);
    grid->addLayout(buildButtons(), 2, 1, 5, 1);

    // Enter takes the replacement when there is a suggestion, passes the word otherwise.
    QPushButton* preferred = button(word.suggestions.isEmpty() ? SpellingAction::Ignore : SpellingAction::Change);
    preferred->setDefault(true);
    replacement_->setFocus();
    replacement_->selectAll();
    growWithFont();
}

// Four lines of the sentence and five suggestions in view, at any font size,
// in a dialog that grows as the font does, within the screen; where the
// screen is too low for that, two lines and three suggestions.
void SpellingDialog::growWithFont()
{
    const double scale = windowScale(*this);
    const int line = sentence_->fontMetrics().lineSpacing();
    const int frame = 2 * sentence_->frameWidth() + 2 * int(sentence_->document()->documentMargin());
    const int row = std::max(suggestions_->sizeHintForRow(0), suggestions_->fontMetrics().height());
    const QSize room = clientRoom(*this, 0);
    for (const auto& [lines, rows] : {std::pair{4, 5}, std::pair{2, 3}}) {
        sentence_->setMinimumHeight(lines * line + frame);
        suggestions_->setMinimumHeight(rows * row + 2 * suggestions_->frameWidth());
        if (layout()->minimumSize().height() <= room.height())
            break;
    }
    resize(QSize(int(520 * scale), int(320 * scale)).expandedTo(sizeHint()).boundedTo(room));
}

void SpellingDialog::buildSuggestions(const QStringList& suggestions)
{
    suggestions_ = new QListWidget(this);
    suggestions_->setObjectName(QStringLiteral("suggestions"));
    suggestions_->addItems(suggestions);
    if (suggestions.isEmpty()) {
        auto* none = new QListWidgetItem(toQString(texts::kNoSuggestions), suggestions_);
        none->setFlags(Qt::NoItemFlags);
    } else {
        suggestions_->setCurrentRow(0);
    }
    connect(suggestions_, &QListWidget::currentTextChanged, this, [this](const QString& text) {
        if (suggestions_->currentItem() && (suggestions_->currentItem()->flags() & Qt::ItemIsEnabled))
            replacement_->setText(text);
    });
    connect(suggestions_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item->flags() & Qt::ItemIsEnabled) {
            replacement_->setText(item->text());
            choose(SpellingAction::Change);
        }
    });
}

QVBoxLayout* SpellingDialog::buildButtons()
{
    auto* column = new QVBoxLayout;
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        auto* b = new QPushButton(toQString(kButtons[i].caption), this);
        b->setAutoDefault(false);
        const SpellingAction action = kButtons[i].action;
        connect(b, &QPushButton::clicked, this, [this, action] { choose(action); });
        buttons_[i] = b;
        column->addWidget(b);
        if (action == SpellingAction::ChangeAll)
            column->addSpacing(8);
    }
    column->addStretch();
    return column;
}

QPushButton* SpellingDialog::button(SpellingAction action) const
{
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        if (kButtons[i].action == action)
            return buttons_[i];
    }
    return nullptr;
}

void SpellingDialog::choose(SpellingAction action)
{
    decision_.action = action;
    decision_.replacement = replacement_->text();
    // Closing the dialog any other way stops the check, as "Stoppen" does.
    if (action == SpellingAction::Stop)
        reject();
    else
        accept();
}

SpellingDecision QtSpellingPrompt::ask(const DoubtfulWord& word)
{
    SpellingDialog dialog(word, QApplication::activeWindow());
    dialog.exec();
    return dialog.decision();
}

}  // namespace vinkring
