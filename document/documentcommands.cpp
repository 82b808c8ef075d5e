#include "document/documentcommands.h"

namespace vinkring {

DocumentCommands::DocumentCommands(DocumentHost& host, PlatformServices& services)
    : host_(host), services_(services)
{
}

// Filled in by the document-file work.
void DocumentCommands::save() {}
void DocumentCommands::open() {}
bool DocumentCommands::openFile(const QString&) { return false; }
bool DocumentCommands::write(const QString&) { return false; }

}  // namespace vinkring
