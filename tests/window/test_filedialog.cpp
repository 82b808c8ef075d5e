// The Qt file dialog: title, file-type box, the names its pattern lists, and
// the name it keeps between uses. Run on the offscreen platform.
#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "window/dialogs/qtfiledialog.h"

using namespace vinkring;

namespace {

// Runs check on the file dialog once it is shown modally; check must close it.
void whenDialogShown(std::function<void(QFileDialog*)> check)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, check] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        check(dialog);
    });
    timer->start();
}

// The names the dialog lists for its current folder, as far as it has read
// the folder (it reads on a thread of its own, a few names at a time).
QStringList listedNames(QFileDialog* dialog)
{
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    if (!view)
        return {QStringLiteral("<no view>")};
    QStringList names;
    const QModelIndex shownRoot = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(shownRoot); ++row)
        names << view->model()->index(row, 0, shownRoot).data().toString();
    names.sort();
    return names;
}

FileDialogRequest request(const char* title)
{
    FileDialogRequest r;
    r.title = QString::fromLatin1(title);
    r.filterDescription = QStringLiteral("Vinkring Vis (*.vvk)");
    r.filterPattern = QStringLiteral("*.VKV");
    return r;
}

}  // namespace

// The dialog reads its folder on a thread of its own: on a loaded machine
// that takes a while.
constexpr int kFolderRead = 30000;

TEST(QtFileDialogTest, OpenListsThePatternWithoutRegardToCase)
{
    QTemporaryDir dir;
    for (const char* name : {"a.VKV", "b.vkv", "c.vvk", "d.txt", "e.Vkv"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString chosen = dir.filePath(QStringLiteral("b.vkv"));
    QtFileDialog dialogs;

    FileDialogRequest open = request("Bestand Openen");
    open.fileName = dir.filePath(QStringLiteral("a.VKV"));
    whenDialogShown([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Bestand Openen"));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        EXPECT_TRUE(types != nullptr);
        if (types) {
            EXPECT_EQ(types->count(), 1);
            EXPECT_EQ(types->currentText(), QStringLiteral("Vinkring Vis (*.vvk)"));
        }
        const QStringList expected{QStringLiteral("a.VKV"), QStringLiteral("b.vkv"), QStringLiteral("e.Vkv")};
        EXPECT_TRUE(QTest::qWaitFor([&] { return listedNames(dialog) == expected; }, kFolderRead)) << listedNames(dialog).join(
            QLatin1Char(' ')).toStdString();
        // The name it was opened with is selected once the folder is read;
        // a choice made before that would be joined by it.
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->selectedFiles() == QStringList{open.fileName}; }, kFolderRead));
        // selectFile() leaves the name box as it is while the box has the
        // focus, and when it gets it varies: chosen in the list instead.
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->clearFocus();
        dialog->selectFile(chosen);
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->selectedFiles() == QStringList{chosen}; }, kFolderRead));
        static_cast<QDialog*>(dialog)->accept();  // the file dialog's own checks run
    });
    EXPECT_EQ(dialogs.showOpen(open), chosen);

    // Next time it starts with the name it returned; cancelling returns nothing.
    whenDialogShown([&](QFileDialog* dialog) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->selectedFiles() == QStringList{chosen}; }, kFolderRead))
            << dialog->selectedFiles().join(QLatin1Char(' ')).toStdString();
        dialog->reject();
    });
    EXPECT_EQ(dialogs.showOpen(request("Bestand Openen")), std::nullopt);
}

TEST(QtFileDialogTest, SaveStartsWithTheGivenNameAndReturnsItsFinalName)
{
    QTemporaryDir dir;
    QtFileDialog dialogs;
    FileDialogRequest save = request("Bestand Bewaren");
    save.confirmOverwrite = true;
    save.setFileName = true;
    save.finalPath = [](const QString& path, int) { return path + QStringLiteral(".VKV"); };
    save.fileName = dir.filePath(QStringLiteral("guppy.VKV"));
    whenDialogShown([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Bestand Bewaren"));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog->selectedFiles(), QStringList{save.fileName});
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        EXPECT_TRUE(name != nullptr);
        if (name)
            name->setText(QStringLiteral("zonder"));
        static_cast<QDialog*>(dialog)->accept();  // the file dialog's own checks run
    });
    EXPECT_EQ(dialogs.showSave(save), dir.filePath(QStringLiteral("zonder.VKV")));

    // An empty name is started with as such, in the folder last used.
    save.fileName.clear();
    whenDialogShown([&](QFileDialog* dialog) {
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        EXPECT_TRUE(name && name->text().isEmpty());
        EXPECT_EQ(dialog->directory().absolutePath(), QDir(dir.path()).absolutePath());
        dialog->reject();
    });
    EXPECT_EQ(dialogs.showSave(save), std::nullopt);
}
