#pragma once
// The Dutch spelling dialog: one doubtful word in its section, modal.

#include <QDialog>

#include "spelling/spellingprompt.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;
class QVBoxLayout;

namespace vinkring {

class SpellingDialog final : public QDialog {
    Q_OBJECT

public:
    explicit SpellingDialog(const DoubtfulWord& word, QWidget* parent = nullptr);

    // What the writer chose; "Stoppen" when the dialog was closed otherwise.
    SpellingDecision decision() const { return decision_; }

    QPushButton* button(SpellingAction action) const;
    QLineEdit* replacementEdit() const { return replacement_; }
    QListWidget* suggestionList() const { return suggestions_; }
    QTextBrowser* sentenceView() const { return sentence_; }

private:
    void buildSuggestions(const QStringList& suggestions);
    QVBoxLayout* buildButtons();
    void choose(SpellingAction action);
    void growWithFont();

    QTextBrowser* sentence_ = nullptr;
    QLineEdit* replacement_ = nullptr;
    QListWidget* suggestions_ = nullptr;
    QPushButton* buttons_[6] = {};
    SpellingDecision decision_;
};

// Asks the writer with the dialog, over the active window.
class QtSpellingPrompt final : public SpellingPrompt {
public:
    SpellingDecision ask(const DoubtfulWord& word) override;
};

}  // namespace vinkring
