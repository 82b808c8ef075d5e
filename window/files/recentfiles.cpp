#include "window/files/recentfiles.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "model/texts.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "session/documentsession.h"

namespace vinkring {

namespace {

// The one local file dragged; empty for anything else (texts, several files).
QString draggedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return {};
    const QString path = data->urls().first().toLocalFile();
    return QFileInfo(path).isDir() ? QString() : path;
}

// A folder as the menu shows it: the home folder as "~".
QString shownFolder(const QString& folder)
{
    const QString home = QDir::homePath();
    if (folder == home)
        return QStringLiteral("~");
    if (folder.startsWith(home + u'/'))
        return QStringLiteral("~") + folder.mid(home.size());
    return QDir::toNativeSeparators(folder);
}

QString escapedAmpersands(QString text)
{
    return text.replace(u'&', QStringLiteral("&&"));
}

}  // namespace

namespace {

QString listFile(const QString& folder)
{
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/recent-documents");
}

}  // namespace

RecentFiles::RecentFiles(QMenu* fileMenu, QWidget* window, DocumentSession& session, PlatformServices& services)
    : QObject(window),
      window_(window),
      session_(session),
      messageBox_(services.messageBox),
      list_(listFile(services.folders.configFolder()))
{
    menu_ = fileMenu->addMenu(toQString(texts::kMenuRecent));
    menu_->setObjectName(QStringLiteral("mnuBestandRecent"));
    connect(menu_, &QMenu::aboutToShow, this, &RecentFiles::fillMenu);
    fillMenu();

    window_->setAcceptDrops(true);
    qApp->installEventFilter(this);
    // Every document opened or saved, also through the question before New or closing.
    connect(&session_, &DocumentSession::fileUsed, this, &RecentFiles::add);
}

void RecentFiles::fillMenu()
{
    list_.reload();
    menu_->clear();
    int number = 0;
    for (const QString& path : list_.paths()) {
        const QFileInfo info(path);
        const QString text = toQString(texts::kRecentItem)
                                 .arg(++number)
                                 .arg(escapedAmpersands(info.fileName()), escapedAmpersands(shownFolder(info.absolutePath())));
        QAction* item = menu_->addAction(text);
        item->setToolTip(QDir::toNativeSeparators(path));
        connect(item, &QAction::triggered, this, [this, path] { open(path); });
    }
    if (number == 0)
        menu_->addAction(toQString(texts::kRecentNone))->setEnabled(false);
}

void RecentFiles::open(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        list_.remove(path);
        warn(messageBox_, toQString(messages::kRecentGone).arg(quotedPath(path)));
        return;
    }
    if (session_.openFile(path))
        list_.add(path);
}

bool RecentFiles::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != window_)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = draggedFile(drop->mimeData());
    if (path.isEmpty())
        return false;  // text and the like go to the field as usual
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        // After the drop has ended: the question about unsaved work and a
        // message are modal, and the dragging program waits for the drop.
        QTimer::singleShot(0, this, [this, path] { open(path); });
    }
    return true;
}

}  // namespace vinkring
