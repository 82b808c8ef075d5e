#include "window/documentsession.h"

#include <QLocale>

#include "model/texts.h"
#include "platform/folders.h"
#include "platform/messagebox.h"

namespace vinkring {

namespace {

QString offerText(const RecoveryCopy& copy)
{
    const QString when = QLocale(QLocale::Dutch, QLocale::Netherlands)
                             .toString(copy.savedAt.toLocalTime(), toQString(texts::kRecoveryTimeFormat));
    const QString file = copy.fileName.isEmpty() ? toQString(messages::kRecoveryNeverSaved)
                                                 : toQString(messages::kRecoveryFile).arg(quotedPath(copy.fileName));
    return toQString(messages::kRecoveryOffer).arg(toQString(messages::kRecoveryTime).arg(when), file);
}

}  // namespace

DocumentSession::DocumentSession(DocumentView& view, PlatformServices& services)
    : view_(view),
      services_(services),
      commands_(*this, services),
      recovery_(services.folders.stateFolder(),
                [this] { return RecoveryCopy{view_.document(), CurrentFileName, QDateTime::currentDateTimeUtc()}; })
{
}

void DocumentSession::reset()
{
    CurrentFileName.clear();
    UnsavedChanges = false;
    settled();
}

void DocumentSession::imported()
{
    CurrentFileName.clear();
    contentChanged();
}

void DocumentSession::contentChanged()
{
    UnsavedChanges = true;
    recovery_.changed();
}

void DocumentSession::fieldMayHaveChanged(std::size_t index, const std::function<QString()>& text)
{
    // Already unsaved: the answer changes nothing, and the text is not read.
    if (UnsavedChanges) {
        recovery_.changed();
        return;
    }
    const std::optional<ArticleDocument>& saved = recovery_.baseline();
    if (!saved || saved->fields.at(index) != text())
        contentChanged();
}

bool DocumentSession::confirmReplace()
{
    if (!UnsavedChanges)
        return true;
    const MessageAnswer answer = services_.messageBox.show(toQString(messages::kSaveQuestion), QString(),
                                                           MessageIcon::Information, MessageButtons::YesNoCancel,
                                                           QString());
    if (answer == MessageAnswer::Yes)
        return quickSave() == SaveOutcome::Written;
    return answer == MessageAnswer::No;
}

bool DocumentSession::mayClose()
{
    if (!confirmReplace())
        return false;
    recovery_.drop();
    return true;
}

SaveOutcome DocumentSession::save()
{
    const SaveOutcome outcome = commands_.save();
    if (outcome == SaveOutcome::Written)
        settled();
    return outcome;
}

bool DocumentSession::open()
{
    if (!commands_.open())
        return false;
    settled();
    return true;
}

bool DocumentSession::openFile(const QString& path)
{
    if (!commands_.openFile(path))
        return false;
    settled();
    return true;
}

SaveOutcome DocumentSession::quickSave()
{
    if (CurrentFileName.isEmpty())
        return save();
    if (!commands_.write(CurrentFileName))
        return SaveOutcome::NotWritten;
    UnsavedChanges = false;
    settled();
    return SaveOutcome::Written;
}

void DocumentSession::offerLeftOverWork()
{
    std::vector<RecoveryStore::LeftOver> leftOvers = recovery_.takeLeftOvers();
    for (RecoveryStore::LeftOver& left : leftOvers) {
        if (!offer(left))
            return;  // the rest stay for the next start
    }
}

bool DocumentSession::offer(RecoveryStore::LeftOver& left)
{
    if (!left.copy) {
        warn(services_.messageBox, toQString(messages::kRecoveryUnreadable).arg(quotedPath(recovery_.setAside(left))));
        return true;
    }
    const MessageAnswer answer =
        services_.messageBox.show(offerText(*left.copy), toQString(texts::kMessageTitle), MessageIcon::Information,
                                  MessageButtons::YesNoCancel, QString());
    if (answer == MessageAnswer::No) {
        recovery_.discard(left);
        return true;
    }
    if (answer != MessageAnswer::Yes)
        return false;
    view_.setDocument(left.copy->document);
    CurrentFileName = left.copy->fileName;
    UnsavedChanges = true;
    // The left-over copy becomes this run's; should that fail, it stays for
    // the next start and this run writes its own.
    if (!recovery_.adopt(left))
        recovery_.changed();
    return false;
}

}  // namespace vinkring
