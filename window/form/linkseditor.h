#pragma once
// The links editor of page 12: the list List1 of "description, URL" lines,
// the input fields txtURL and txtLinkOMS and the buttons "Voeg toe",
// "Verwijder" and "Wijzig".

#include <utility>
#include <vector>

#include <QStringList>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace vinkring {

class MessageBox;

class LinksEditor final : public QWidget {
    Q_OBJECT

public:
    // Placed on page at the designed positions, grown by scale with the
    // interface font.
    LinksEditor(MessageBox& messageBox, QWidget* page, double scale = 1.0);

    QStringList lines() const;
    // Replaces the list; the input fields keep their texts.
    void setLines(const QStringList& lines);
    // The same as a change of the links (an undo, an import).
    void restoreLines(const QStringList& lines);
    // Empties the input fields.
    void clearInputs();

    // One line, for a search through the article.
    int lineCount() const;
    QString line(int row) const;
    // Selects the line and puts the focus on the list; the input fields keep
    // their texts.
    void selectLine(int row);
    // The line's text replaced, through the rule of a link line: a change of
    // the links, like "Wijzig".
    void replaceLine(int row, const QString& line);
    // The line the writer has selected; -1 when none.
    int selectedLine() const;

    // Handlers.
    void List1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

    // In focus order: txtURL, txtLinkOMS, the three buttons, List1.
    QList<QWidget*> focusOrder() const;

signals:
    // The writer added, changed or removed a line (setLines does not count).
    void linksChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    MessageBox& messageBox_;
    QSize designed_;
    std::vector<std::pair<QWidget*, QRect>> places_;  // each control where it is designed
    QLineEdit* txtURL = nullptr;
    QLineEdit* txtLinkOMS = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QListWidget* List1 = nullptr;
};

}  // namespace vinkring
