#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace vinkring {

bool QtClipboard::clear()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->clear(QClipboard::Clipboard);
    return true;
}

bool QtClipboard::setText(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    auto* data = new QMimeData;
    data->setText(text);
    clipboard->setMimeData(data, QClipboard::Clipboard);
    // On X11 the text is not copied anywhere: the program becomes the owner of
    // the selection and hands the text to whoever asks, for as long as it runs
    // and nobody else takes the selection. The window system may refuse that
    // ownership; the clipboard then answers with another owner's data, not
    // ours. Compare the data object first, which costs no round trip.
    if (clipboard->mimeData(QClipboard::Clipboard) == data)
        return true;
    return clipboard->text(QClipboard::Clipboard) == text;
}

QString QtClipboard::plainText() const
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text(QClipboard::Clipboard) : QString();
}

}  // namespace vinkring
