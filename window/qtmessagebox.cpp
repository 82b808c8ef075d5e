#include "window/qtmessagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "model/texts.h"

namespace vinkring {

MessageAnswer QtMessageBox::show(const QString& text, const QString& title, MessageIcon icon,
                                 MessageButtons buttons, const QString& detail)
{
    QMessageBox box(parent_);
    box.setWindowTitle(title.isEmpty() ? QApplication::applicationDisplayName() : title);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    if (!detail.isEmpty())
        box.setInformativeText(detail);
    box.setIcon(icon == MessageIcon::Information ? QMessageBox::Information : QMessageBox::Warning);
    if (buttons == MessageButtons::YesNo) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        yes->setText(toQString(texts::kYes));
        no->setText(toQString(texts::kNo));
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.addButton(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

}  // namespace vinkring
