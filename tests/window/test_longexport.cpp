// A long export runs on a thread of its own while the window waits for it.
#include "formfixture.h"

#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "window/files/exportcommands.h"
#include "samples.h"

namespace vinkring {
namespace {

class LongExport : public test::FormTest {};

// The window's timers go on while a PDF of over a megabyte is made, a key and
// a click given meanwhile are dropped, and "Annuleren" in the progress dialog
// stops it: no file is written, an old one stays as it was.
TEST_F(LongExport, TheWindowAnswersAndAnnulerenWritesNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ArticleDocument doc = test::zebravis();
    QString text;
    while (text.size() < 1'500'000)
        text += QStringLiteral("De zebravis zwemt <b>rustig</b> tussen de planten in het water.\r\n");
    doc.field("txtInleiding") = text;
    form().setDocument(doc);
    form().show();
    auto* title = child<QLineEdit>("txtTitel");
    const QString titleBefore = title->text();
    const QString path = dir.filePath(QStringLiteral("zebravis.pdf"));

    for (const QByteArray& old : {QByteArray(), QByteArray("oud")}) {
        SCOPED_TRACE(old.isEmpty() ? "new file" : "old file");
        if (!old.isEmpty()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(old);
        }
        platform.fileDialog.answers.push_back(path);

        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(10);
        int ticksAtCancel = -1;
        bool inputGiven = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!inputGiven) {
                inputGiven = true;
                QTest::keyClicks(title, QStringLiteral("xyz"));
                QTest::mouseClick(command1(1), Qt::LeftButton);
                return;
            }
            auto* progress = form().findChild<QProgressDialog*>();
            if (!progress || !progress->isVisible() || ticksAtCancel >= 0)
                return;
            ticksAtCancel = ticks;
            EXPECT_EQ(progress->windowModality(), Qt::WindowModal);
            auto* cancel = progress->findChild<QPushButton*>();
            ASSERT_NE(cancel, nullptr);
            EXPECT_EQ(cancel->text(), QStringLiteral("&Annuleren"));
            QTest::mouseClick(cancel, Qt::LeftButton);
        });
        watch.start(10);
        program().exports().exportArticle();
        watch.stop();

        EXPECT_GT(ticksAtCancel, 1) << "the window's timers ran while it exported";
        const QStringList expected = old.isEmpty() ? QStringList() : QStringList{QStringLiteral("zebravis.pdf")};
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), expected);
        QFile file(path);
        EXPECT_EQ(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), old);
        EXPECT_EQ(title->text(), titleBefore);
        EXPECT_EQ(form().currentPage(), 1);
        EXPECT_TRUE(platform.messageBox.shown.empty());
    }
}

}  // namespace
}  // namespace vinkring
