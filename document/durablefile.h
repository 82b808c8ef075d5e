#pragma once
// Writing a whole file so that a crash or a power cut leaves either the old
// file or the new one, never a mix; and why a file operation failed, in the
// writer's language.

#include <optional>

#include <QByteArrayView>
#include <QFileDevice>
#include <QString>

#include "model/outcome.h"

namespace vinkring {

// Why a file operation failed, in Dutch ("de schijf is vol"), for use after
// a colon. The system's error number (errno) names the cause where the
// writer can do something about it; otherwise Qt's kind of failure does.
QString failureReason(QFileDevice::FileError error, int systemError);

// Writes bytes to path through a temporary file in the same folder that is
// flushed to the disk before it takes the old file's place; then the folder
// is flushed, so that the new name survives a power cut too. The new file
// gets permissions when given, from its first byte on; else those of the
// file it replaces, or the usual ones. A failure's reason is as
// failureReason gives it. Only a failure of the folder's flush comes after
// the new file has taken the old one's place.
Outcome writeFileDurably(const QString& path, QByteArrayView bytes,
                         std::optional<QFileDevice::Permissions> permissions = std::nullopt);

// Called before each tenth of every durable write when set: a test's build
// of the program writes slowly so that it can be killed in the middle. Set
// before the first write; the program itself sets none.
using WritePause = void (*)();
void setWritePause(WritePause pause);

}  // namespace vinkring
