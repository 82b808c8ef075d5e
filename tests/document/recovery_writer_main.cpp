// A program that keeps a recovery copy and then waits to be killed: the
// recovery tests kill it with SIGKILL, as a crash or a power cut would end
// the real program. Prints the copy's path once the copy is on the disk.
//   recovery_writer FOLDER TITLE

#include <cstdio>

#include <QCoreApplication>
#include <QThread>

#include "document/recovery.h"

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    vinkring::RecoveryStore store(QString::fromLocal8Bit(argv[1]));
    vinkring::RecoveryCopy copy;
    copy.document.field("txtTitel") = QString::fromUtf8(argv[2]);
    copy.fileName = QStringLiteral("/ergens/artikel.VKV");
    copy.savedAt = QDateTime::currentDateTimeUtc();
    if (!store.write(copy).ok)
        return 1;
    std::printf("%s\n", qPrintable(store.copyPath()));
    std::fflush(stdout);
    for (;;)
        QThread::sleep(60);
}
