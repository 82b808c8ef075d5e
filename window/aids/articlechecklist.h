#pragma once
// "Artikel controleren": a window beside the wizard listing what the forum
// will show otherwise than the writer may think, as a compiler lists its
// problems: the place, then what is wrong and what to do. Enter or a double
// click on a finding goes to its place; the list follows the writing.

#include <functional>
#include <optional>

#include <QList>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>

#include "article/articlecheck.h"

class QAction;
class QKeyEvent;
class QLabel;
class QListWidget;

namespace vinkring {

class Form1;

class ArticleCheckList final : public QWidget {
    Q_OBJECT

public:
    // What the check takes from the other aids: the post limit set in the
    // live view, the words the spelling underlines.
    using ContextSource = std::function<CheckContext()>;

    // A window of its own over the form.
    ArticleCheckList(Form1& form, ContextSource context);
    ~ArticleCheckList() override;

    // The document changed: while shown, the list follows after a pause.
    void changed();
    // Checks the document as it is now; the list shows the findings once
    // they are found.
    void refresh();
    // To the finding's page and place in the wizard.
    void goTo(const CheckFinding& finding);

    // The menu item that opens the window, checks now and puts the focus in
    // the list; checked while the window is open, unchecked it closes it.
    QAction* openAction() const { return open_; }
    // Its key, F7: the key of a word processor's check.
    static constexpr Qt::Key kKey = Qt::Key_F7;
    // F7 in the wizard; true when taken.
    bool takeKey(const QKeyEvent& key);
    QListWidget* list() const { return list_; }
    const QList<CheckFinding>& findings() const { return findings_; }

    // After a change, the list waits this long for the next one.
    static constexpr int kPauseMilliseconds = 400;

signals:
    // A finding without a place in a field or the links was chosen: the post's
    // size, the spelling.
    void wholePostChosen(vinkring::CheckKind kind);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void bringUp();
    // The finding as the article is now; nullopt when it was mended.
    std::optional<CheckFinding> current(CheckFinding finding);
    void showFindings(const QList<CheckFinding>& findings);
    void placeBesideForm();

    Form1& form_;
    ContextSource context_;
    QListWidget* list_ = nullptr;
    QLabel* status_ = nullptr;
    QAction* open_ = nullptr;
    QTimer pause_;
    QThreadPool pool_;
    int generation_ = 0;       // of the latest check asked for
    int shownGeneration_ = 0;  // of the findings shown
    QList<CheckFinding> findings_;
    bool placed_ = false;
};

}  // namespace vinkring
