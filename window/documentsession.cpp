#include "window/documentsession.h"

namespace vinkring {

DocumentSession::DocumentSession(DocumentView& view, PlatformServices& services)
    : view_(view), commands_(*this, services)
{
}

void DocumentSession::reset()
{
    CurrentFileName.clear();
    UnsavedChanges = false;
}

SaveOutcome DocumentSession::quickSave()
{
    if (CurrentFileName.isEmpty())
        return commands_.save();
    if (!commands_.write(CurrentFileName))
        return SaveOutcome::NotWritten;
    UnsavedChanges = false;
    return SaveOutcome::Written;
}

}  // namespace vinkring
