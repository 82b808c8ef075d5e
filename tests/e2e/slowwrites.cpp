// Linked with the program's main.cpp: the program as shipped, except that
// every durable write takes about a second, spread over ten pieces, so that
// the test can kill it in the middle of a save or of a recovery copy.
#include <QThread>

#include "document/durablefile.h"

namespace {

const bool slowed = [] {
    vinkring::setWritePause([] { QThread::msleep(100); });
    return true;
}();

}  // namespace
