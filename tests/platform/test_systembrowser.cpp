// Finding and starting the user's browser on a made-up desktop in a temporary
// folder. Each run is a process of its own (GIO reads the desktop once per
// process); the browsers are scripts that record how they were started.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace vinkring {
namespace {

class SystemBrowserTest : public ::testing::Test {
protected:
    void write(const QString& path, const QByteArray& content, bool executable = false)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        if (executable)
            file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A browser in the PATH that logs one line per start: its name, then each
    // argument in brackets. One that does not work is found but cannot start.
    void browser(const QString& name, bool works = true)
    {
        write(tmp.filePath(QStringLiteral("bin/") + name),
              works ? "#!/bin/sh\nline=$(basename \"$0\")\nfor a in \"$@\"; do line=\"$line [$a]\"; done\n"
                      "printf '%s\\n' \"$line\" >>'" + log.toUtf8() + "'\n"
                    : "#!/no/such/interpreter\n",
              true);
    }

    void desktopEntry(const QString& id, const QByteArray& exec, const QByteArray& mimeTypes)
    {
        write(tmp.filePath(QStringLiteral("XDG_DATA_DIRS/applications/") + id),
              "[Desktop Entry]\nType=Application\nName=" + id.toUtf8() + "\nExec=" + exec + "\nMimeType=" + mimeTypes +
                  "\n");
    }

    // The user's own choice of application for HTML and for http links.
    void defaults(const QByteArray& html, const QByteArray& http)
    {
        write(tmp.filePath(QStringLiteral("XDG_CONFIG_HOME/mimeapps.list")),
              "[Default Applications]\ntext/html=" + html + "\nx-scheme-handler/http=" + http + "\n");
    }

    // Runs the browser with this $BROWSER (none when empty) on the page, or
    // only creates it; returns what it printed.
    QString run(const QString& browserVariable, bool open = true)
    {
        write(page, "<b>Vis</b>");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"BROWSER", "XDG_CURRENT_DESKTOP", "DBUS_SESSION_BUS_ADDRESS", "DISPLAY"})
            env.remove(QString::fromLatin1(name));
        if (!browserVariable.isEmpty())
            env.insert(QStringLiteral("BROWSER"), browserVariable);
        env.insert(QStringLiteral("PATH"), tmp.filePath(QStringLiteral("bin")) + QStringLiteral(":/usr/bin:/bin"));
        for (const char* name :
             {"HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_RUNTIME_DIR"})
            env.insert(QString::fromLatin1(name), tmp.filePath(QString::fromLatin1(name)));
        QProcess helper;
        helper.setProcessEnvironment(env);
        helper.start(QStringLiteral(VINKRING_BROWSER_HELPER), open ? QStringList{page} : QStringList{});
        EXPECT_TRUE(helper.waitForFinished(60000));
        EXPECT_EQ(helper.exitCode(), 0) << helper.readAllStandardError().toStdString();
        return QString::fromUtf8(helper.readAllStandardOutput()).trimmed();
    }

    // The starts logged, once there is one (the browsers run on their own).
    QStringList calls()
    {
        const auto logged = [this] {
            QFile file(log);
            file.open(QIODevice::ReadOnly);
            return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        };
        EXPECT_TRUE(QTest::qWaitFor([&] { return !logged().isEmpty(); }, 10000)) << "no start logged";
        return logged();
    }

    QString started(const QString& browser) const { return browser + QStringLiteral(" [") + url + QLatin1Char(']'); }

    QTemporaryDir tmp;
    const QString log = tmp.filePath(QStringLiteral("calls.log"));
    const QString page = tmp.filePath(QStringLiteral("Mijn artikelen #2/PREVIEW.htm"));
    const QString url = QUrl::fromLocalFile(page).toString(QUrl::FullyEncoded);
};

TEST_F(SystemBrowserTest, TheBrowserVariableComesFirst)
{
    browser(QStringLiteral("rec-a"));
    browser(QStringLiteral("rec-b"));
    browser(QStringLiteral("webby"));
    desktopEntry(QStringLiteral("webby.desktop"), "webby %u", "text/html;x-scheme-handler/http;");
    defaults("webby.desktop", "webby.desktop");
    // Unknown commands are left out; "%s" marks the URL.
    EXPECT_EQ(run(QStringLiteral("missing:rec-a --kiosk 'a b' --open=%s:rec-b")), QStringLiteral("ok"));
    EXPECT_EQ(calls(), QStringList{QStringLiteral("rec-a [--kiosk] [a b] [--open=file://") + tmp.path() +
                                   QStringLiteral("/Mijn%20artikelen%20%232/PREVIEW.htm]")});
}

TEST_F(SystemBrowserTest, TheUrlIsAppendedWithANewWindowForKnownBrowsers)
{
    browser(QStringLiteral("firefox"));
    browser(QStringLiteral("otherbrowser"));
    const QString u = QLatin1Char('[') + url + QLatin1Char(']');
    const QStringList cases[] = {
        {QStringLiteral("firefox"), QStringLiteral("firefox [--new-window] ") + u},
        {QStringLiteral("firefox -P x"), QStringLiteral("firefox [-P] [x] [--new-window] ") + u},
        {QStringLiteral("firefox --new-window"), QStringLiteral("firefox [--new-window] ") + u},
        {QStringLiteral("firefox -P x %s 100%%"), QStringLiteral("firefox [-P] [x] ") + u + QStringLiteral(" [100%]")},
        {QStringLiteral("otherbrowser 100%%"), QStringLiteral("otherbrowser [100%%] ") + u},
    };
    for (const QStringList& c : cases) {
        QFile::remove(log);
        EXPECT_EQ(run(c[0]), QStringLiteral("ok")) << c[0].toStdString();
        EXPECT_EQ(calls(), QStringList{c[1]}) << c[0].toStdString();
    }
}

TEST_F(SystemBrowserTest, OneThatCannotStartGivesWayAndItsReasonIsKept)
{
    browser(QStringLiteral("broken"), false);
    browser(QStringLiteral("gone"), false);
    const QStringList printed = run(QStringLiteral("broken:gone")).split(QLatin1Char('\n'));
    ASSERT_EQ(printed.size(), 3) << printed.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(printed[0], QStringLiteral("failed"));
    EXPECT_TRUE(printed[1].contains(tmp.filePath(QStringLiteral("bin/broken")))) << printed[1].toStdString();
    EXPECT_TRUE(printed[2].contains(tmp.filePath(QStringLiteral("bin/gone")))) << printed[2].toStdString();

    browser(QStringLiteral("rec"));
    EXPECT_EQ(run(QStringLiteral("broken:rec")), QStringLiteral("ok"));
    EXPECT_EQ(calls(), QStringList{started(QStringLiteral("rec"))});

    QFile::remove(log);
    browser(QStringLiteral("webby"));
    desktopEntry(QStringLiteral("webby.desktop"), "webby %u", "x-scheme-handler/http;");
    defaults("", "webby.desktop");
    EXPECT_EQ(run(QStringLiteral("broken")), QStringLiteral("ok"));
    EXPECT_EQ(calls(), QStringList{started(QStringLiteral("webby"))});
}

TEST_F(SystemBrowserTest, TheDesktopsBrowserNotAnEditor)
{
    browser(QStringLiteral("editor"));
    desktopEntry(QStringLiteral("editor.desktop"), "editor %f", "text/html;");
    defaults("editor.desktop", "");
    EXPECT_EQ(run({}, false), QStringLiteral("none"));

    // The browser gets the page as a file:// URL, not as a path.
    browser(QStringLiteral("webby"));
    desktopEntry(QStringLiteral("webby.desktop"), "webby %U", "text/html;x-scheme-handler/http;");
    defaults("editor.desktop", "webby.desktop");
    EXPECT_EQ(run({}), QStringLiteral("ok"));
    EXPECT_EQ(calls(), QStringList{started(QStringLiteral("webby"))});
}

TEST_F(SystemBrowserTest, TheBrowserForHtmlComesBeforeTheOneForLinks)
{
    browser(QStringLiteral("firefox"));
    browser(QStringLiteral("webby"));
    desktopEntry(QStringLiteral("webby.desktop"), "webby %u", "text/html;x-scheme-handler/http;");
    defaults("firefox.desktop", "webby.desktop");
    const QString u = QLatin1Char('[') + url + QLatin1Char(']');
    const QList<std::pair<QByteArray, QString>> cases{
        {"firefox -P work %u --last",
         QStringLiteral("firefox [-P] [work] [--new-window] ") + u + QStringLiteral(" [--last]")},
        {"firefox", QStringLiteral("firefox [--new-window] ") + u},
    };
    for (const auto& [exec, call] : cases) {
        QFile::remove(log);
        desktopEntry(QStringLiteral("firefox.desktop"), exec, "text/html;x-scheme-handler/http;");
        EXPECT_EQ(run({}), QStringLiteral("ok"));
        EXPECT_EQ(calls(), QStringList{call}) << exec.toStdString();
    }
}

TEST_F(SystemBrowserTest, FindingABrowserStartsNothing)
{
    browser(QStringLiteral("rec"));
    desktopEntry(QStringLiteral("rec.desktop"), "rec %u", "x-scheme-handler/http;");
    defaults("", "rec.desktop");
    EXPECT_EQ(run(QStringLiteral("rec"), false), QStringLiteral("found"));
    EXPECT_EQ(run({}, false), QStringLiteral("found"));
    // The one start logged is the preview's; the probes' would have come first.
    EXPECT_EQ(run(QStringLiteral("rec")), QStringLiteral("ok"));
    EXPECT_EQ(calls(), QStringList{started(QStringLiteral("rec"))});
}

}  // namespace
}  // namespace vinkring
