#include "window/dialogs/qtmessagebox.h"

#include <QMessageBox>
#include <QPushButton>

#include "model/texts.h"

namespace vinkring {

MessageAnswer QtMessageBox::show(const QString& text, const QString& title, MessageIcon icon,
                                 MessageButtons buttons, const QString& detail)
{
    QMessageBox box(parent_);
    // Without a title of its own, the box shows the application's title.
    box.setWindowTitle(title.isEmpty() ? toQString(texts::kWindowCaption) : title);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    if (!detail.isEmpty())
        box.setInformativeText(detail);
    box.setIcon(icon == MessageIcon::Information ? QMessageBox::Information : QMessageBox::Warning);
    if (buttons != MessageButtons::Ok) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        QPushButton* cancel = buttons == MessageButtons::YesNoCancel ? box.addButton(QMessageBox::Cancel) : nullptr;
        QPushButton* keep = buttons == MessageButtons::YesNoKeep
                                ? box.addButton(toQString(texts::kKeepAll), QMessageBox::ActionRole)
                                : nullptr;
        yes->setText(toQString(texts::kYes));
        no->setText(toQString(texts::kNo));
        if (cancel)
            cancel->setText(toQString(texts::kCancel));
        // The default loses nothing: where "Ja" gives characters up, keeping them.
        box.setDefaultButton(keep ? keep : yes);
        box.setEscapeButton(cancel ? cancel : no);
        box.exec();
        if (box.clickedButton() == yes)
            return MessageAnswer::Yes;
        if (keep && box.clickedButton() == keep)
            return MessageAnswer::Keep;
        return cancel && box.clickedButton() != no ? MessageAnswer::Cancel : MessageAnswer::No;
    }
    box.addButton(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

int QtMessageBox::choose(const QString& text, const QString& title, const QStringList& answers)
{
    QMessageBox box(QMessageBox::Question, title.isEmpty() ? toQString(texts::kWindowCaption) : title, text,
                    QMessageBox::NoButton, parent_);
    box.setTextFormat(Qt::PlainText);
    QList<QPushButton*> buttons;
    for (qsizetype i = 0; i < answers.size(); ++i) {
        const bool last = i + 1 == answers.size();
        buttons << box.addButton(answers[i], last ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
    }
    if (buttons.isEmpty())
        return -1;
    box.setDefaultButton(buttons.front());
    box.setEscapeButton(buttons.back());
    box.exec();
    const qsizetype chosen = buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton()));
    return int(chosen < 0 ? buttons.size() - 1 : chosen);
}

}  // namespace vinkring
