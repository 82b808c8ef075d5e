// Finding and starting the user's browser, on a made-up desktop in a temporary folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "platform/systembrowser.h"
#include "eventually.h"

namespace vinkring {
namespace {

class SystemBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        env.configHome = dir("config");
        env.configDirs = {dir("etc")};
        env.dataHome = dir("home-data");
        env.dataDirs = {dir("usr-local"), dir("usr")};
        env.path = {dir("bin"), dir("usr-bin")};
    }

    QString dir(const QString& name)
    {
        const QString path = tmp.filePath(name);
        QDir().mkpath(path);
        return path;
    }

    void write(const QString& path, const QByteArray& content)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    // An executable in the first PATH folder; returns its full path.
    QString program(const QString& name, const QByteArray& script = "#!/bin/sh\nexit 0\n")
    {
        const QString path = env.path.first() + QLatin1Char('/') + name;
        write(path, script);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    // A desktop entry in the system applications folder.
    QString desktop(const QString& id, const QByteArray& body, const QString& dataDir = {})
    {
        const QString path = (dataDir.isEmpty() ? env.dataDirs.last() : dataDir) + QStringLiteral("/applications/") + id;
        write(path, "[Desktop Entry]\nType=Application\nName=Test\n" + body);
        return path;
    }

    static QString url(const QString& path) { return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded); }

    std::optional<BrowserLaunch> launchEntry(const QString& id, const QString& file)
    {
        const std::optional<DesktopEntry> entry = findDesktopEntry(env, id);
        if (!entry)
            return std::nullopt;
        return launchFor({BrowserCandidate::Kind::Desktop, {}, *entry}, file);
    }

    QTemporaryDir tmp;
    BrowserEnvironment env;
    const QString page = QStringLiteral("/data/Mijn artikelen #2/PREVIEW.htm");
};

TEST_F(SystemBrowserTest, FileUrlKeepsHashAndBlank)
{
    program(QStringLiteral("viewer"));
    env.browser = QStringLiteral("viewer");
    const std::vector<BrowserCandidate> found = browserVariableCandidates(env);
    ASSERT_EQ(found.size(), 1u);
    const std::optional<BrowserLaunch> launch = launchFor(found.front(), page);
    ASSERT_TRUE(launch);
    ASSERT_EQ(launch->arguments.size(), 1);
    EXPECT_EQ(launch->arguments.first(), QStringLiteral("file:///data/Mijn%20artikelen%20%232/PREVIEW.htm"));
    EXPECT_EQ(QUrl(launch->arguments.first()).toLocalFile(), page);
}

TEST_F(SystemBrowserTest, FindExecutable)
{
    const QString viewer = program(QStringLiteral("viewer"));
    write(env.path.first() + QStringLiteral("/plain"), "not a program");
    EXPECT_EQ(findExecutable(QStringLiteral("viewer"), env.path), viewer);
    EXPECT_EQ(findExecutable(viewer, {}), viewer);
    EXPECT_TRUE(findExecutable(QStringLiteral("plain"), env.path).isEmpty());
    EXPECT_TRUE(findExecutable(QStringLiteral("missing"), env.path).isEmpty());
    EXPECT_TRUE(findExecutable(QStringLiteral("/no/such/viewer"), env.path).isEmpty());
}

TEST_F(SystemBrowserTest, BrowserVariableCommands)
{
    const QString first = program(QStringLiteral("first"));
    const QString spaced = program(QStringLiteral("my viewer"));
    const QString fox = program(QStringLiteral("firefox"));
    env.browser = QStringLiteral("missing:first --kiosk 'a b' --open=%s:\"my viewer\" 100%%:firefox::firefox -P x %s");
    const std::vector<BrowserCandidate> found = browserVariableCandidates(env);
    ASSERT_EQ(found.size(), 4u);

    const QString u = url(page);
    EXPECT_EQ(launchFor(found[0], page),
              (BrowserLaunch{first, {QStringLiteral("--kiosk"), QStringLiteral("a b"), QStringLiteral("--open=") + u}}));
    // Without %s the URL is appended; %% stands for %.
    EXPECT_EQ(launchFor(found[1], page), (BrowserLaunch{spaced, {QStringLiteral("100%%"), u}}));
    // A known browser gets a new window, unless the command says how to start it.
    EXPECT_EQ(launchFor(found[2], page), (BrowserLaunch{fox, {QStringLiteral("--new-window"), u}}));
    EXPECT_EQ(launchFor(found[3], page), (BrowserLaunch{fox, {QStringLiteral("-P"), QStringLiteral("x"), u}}));
}

TEST_F(SystemBrowserTest, PercentSIsReplacedEverywhere)
{
    const QString first = program(QStringLiteral("first"));
    env.browser = QStringLiteral("first %s --again=%s 50%%");
    const std::vector<BrowserCandidate> found = browserVariableCandidates(env);
    ASSERT_EQ(found.size(), 1u);
    const QString u = url(page);
    EXPECT_EQ(launchFor(found[0], page), (BrowserLaunch{first, {u, QStringLiteral("--again=") + u, QStringLiteral("50%")}}));
}

TEST_F(SystemBrowserTest, MimeappsListOrder)
{
    env.desktops = {QStringLiteral("kde"), QStringLiteral("gnome")};
    const QStringList files = mimeappsListFiles(env);
    const QStringList expected{
        env.configHome + QStringLiteral("/kde-mimeapps.list"),
        env.configHome + QStringLiteral("/gnome-mimeapps.list"),
        env.configHome + QStringLiteral("/mimeapps.list"),
        env.configDirs[0] + QStringLiteral("/kde-mimeapps.list"),
        env.configDirs[0] + QStringLiteral("/gnome-mimeapps.list"),
        env.configDirs[0] + QStringLiteral("/mimeapps.list"),
        env.dataHome + QStringLiteral("/applications/kde-mimeapps.list"),
        env.dataHome + QStringLiteral("/applications/gnome-mimeapps.list"),
        env.dataHome + QStringLiteral("/applications/mimeapps.list"),
        env.dataDirs[0] + QStringLiteral("/applications/kde-mimeapps.list"),
        env.dataDirs[0] + QStringLiteral("/applications/gnome-mimeapps.list"),
        env.dataDirs[0] + QStringLiteral("/applications/mimeapps.list"),
        env.dataDirs[1] + QStringLiteral("/applications/kde-mimeapps.list"),
        env.dataDirs[1] + QStringLiteral("/applications/gnome-mimeapps.list"),
        env.dataDirs[1] + QStringLiteral("/applications/mimeapps.list"),
    };
    EXPECT_EQ(files, expected);
}

TEST_F(SystemBrowserTest, DefaultsBeforeAssociationsBeforeCache)
{
    env.desktops = {QStringLiteral("kde")};
    const QString html = QStringLiteral("text/html");
    write(env.configHome + QStringLiteral("/kde-mimeapps.list"),
          "[Default Applications]\ntext/html=user-kde.desktop\n");
    write(env.configHome + QStringLiteral("/mimeapps.list"),
          "# mine\n[Added Associations]\ntext/html=added.desktop;gone.desktop;\n"
          "[Default Applications]\ntext/html=user.desktop;second.desktop;\ntext/plain=editor.desktop\n"
          "[Removed Associations]\ntext/html=sys-added.desktop\n");
    write(env.dataDirs.last() + QStringLiteral("/applications/mimeapps.list"),
          "[Default Applications]\ntext/html=user.desktop;system.desktop\n"
          "[Added Associations]\ntext/html=sys-added.desktop;late.desktop\n");
    write(env.dataDirs.last() + QStringLiteral("/applications/mimeinfo.cache"),
          "[MIME Cache]\ntext/html=cached.desktop;sys-added.desktop;\n");

    EXPECT_EQ(associatedApplications(env, html, false),
              (QStringList{QStringLiteral("user-kde.desktop"), QStringLiteral("user.desktop"),
                           QStringLiteral("second.desktop"), QStringLiteral("system.desktop"),
                           QStringLiteral("added.desktop"), QStringLiteral("gone.desktop"),
                           QStringLiteral("late.desktop")}));
    const QStringList withCache = associatedApplications(env, html, true);
    EXPECT_EQ(withCache.last(), QStringLiteral("cached.desktop"));
    EXPECT_FALSE(withCache.contains(QStringLiteral("sys-added.desktop")));
    EXPECT_TRUE(associatedApplications(env, QStringLiteral("image/png"), true).isEmpty());
}

TEST_F(SystemBrowserTest, DesktopEntriesMustBeInstalled)
{
    program(QStringLiteral("viewer"));
    desktop(QStringLiteral("good.desktop"), "Exec=viewer %u\n");
    desktop(QStringLiteral("noprogram.desktop"), "Exec=missing %u\n");
    desktop(QStringLiteral("tryexec.desktop"), "TryExec=missing\nExec=viewer %u\n");
    desktop(QStringLiteral("hidden.desktop"), "Hidden=true\nExec=viewer %u\n");
    desktop(QStringLiteral("link.desktop"), "Exec=viewer %u\n");
    write(env.dataDirs.last() + QStringLiteral("/applications/link.desktop"), "[Desktop Entry]\nType=Link\nURL=x\n");
    desktop(QStringLiteral("quote.desktop"), "Exec=viewer \"open %u\n");
    // A hidden entry in the user's folder hides the system one of that name.
    desktop(QStringLiteral("shadowed.desktop"), "Exec=viewer %u\n");
    desktop(QStringLiteral("shadowed.desktop"), "Exec=viewer %u\nHidden=true\n", env.dataHome);
    // Vendor prefixes map onto subfolders.
    write(env.dataDirs.last() + QStringLiteral("/applications/vendor/sub.desktop"),
          "[Desktop Entry]\nType=Application\nExec=viewer\n");

    EXPECT_TRUE(findDesktopEntry(env, QStringLiteral("good.desktop")));
    EXPECT_TRUE(findDesktopEntry(env, QStringLiteral("vendor-sub.desktop")));
    for (const char* id : {"noprogram.desktop", "tryexec.desktop", "hidden.desktop", "link.desktop", "quote.desktop",
                           "shadowed.desktop", "absent.desktop", "../etc/good.desktop"})
        EXPECT_FALSE(findDesktopEntry(env, QString::fromUtf8(id))) << id;
}

TEST_F(SystemBrowserTest, ExecFieldCodes)
{
    const QString viewer = program(QStringLiteral("viewer"));
    const QString entryFile = desktop(QStringLiteral("codes.desktop"),
                                      "Icon=vis\nExec=viewer %i --name=%c %k %d %% %f\n");
    const std::optional<BrowserLaunch> codes = launchEntry(QStringLiteral("codes.desktop"), page);
    ASSERT_TRUE(codes);
    EXPECT_EQ(*codes, (BrowserLaunch{viewer, {QStringLiteral("--icon"), QStringLiteral("vis"), QStringLiteral("--name=Test"),
                                              entryFile, QStringLiteral("%"), page}}));

    desktop(QStringLiteral("list.desktop"), "Exec=viewer --open %U\n");
    EXPECT_EQ(launchEntry(QStringLiteral("list.desktop"), page), (BrowserLaunch{viewer, {QStringLiteral("--open"), url(page)}}));

    desktop(QStringLiteral("inword.desktop"), "Exec=viewer --url=%u\n");
    EXPECT_EQ(launchEntry(QStringLiteral("inword.desktop"), page),
              (BrowserLaunch{viewer, {QStringLiteral("--url=") + url(page)}}));

    // Without a file code the URL is appended; no icon, no --icon.
    desktop(QStringLiteral("bare.desktop"), "Exec=viewer %i\n");
    EXPECT_EQ(launchEntry(QStringLiteral("bare.desktop"), page), (BrowserLaunch{viewer, {url(page)}}));
}

TEST_F(SystemBrowserTest, ExecQuoting)
{
    const QString viewer = program(QStringLiteral("viewer"));
    desktop(QStringLiteral("quoted.desktop"),
            "Exec=\"viewer\" \"two words\" \"a \\\\\"q\\\\\" \\\\$HOME \\\\\\\\\" \"x\\sy\" %u\n");
    EXPECT_EQ(launchEntry(QStringLiteral("quoted.desktop"), page),
              (BrowserLaunch{viewer, {QStringLiteral("two words"), QStringLiteral("a \"q\" $HOME \\"),
                                      QStringLiteral("x y"), url(page)}}));

    EXPECT_EQ(splitExec(QStringLiteral("a  \"b c\"\t d")), (QStringList{"a", "b c", "d"}));
    EXPECT_EQ(splitExec(QStringLiteral("a \"\" b")), (QStringList{"a", "", "b"}));
    EXPECT_FALSE(splitExec(QStringLiteral("a \"b")));
}

TEST_F(SystemBrowserTest, NewWindowForKnownBrowsers)
{
    const QString fox = program(QStringLiteral("firefox-esr"));
    const QString chromium = program(QStringLiteral("chromium"));
    const QString chrome = program(QStringLiteral("google-chrome"));
    const QString other = program(QStringLiteral("otherbrowser"));
    desktop(QStringLiteral("fox.desktop"), "Exec=" + fox.toUtf8() + " %u\n");
    desktop(QStringLiteral("chromium.desktop"), "Exec=chromium --flag %U\n");
    desktop(QStringLiteral("chrome.desktop"), "Exec=google-chrome --new-window %U\n");
    desktop(QStringLiteral("envfox.desktop"), "Exec=firefox-esr -P work %u --last\n");
    desktop(QStringLiteral("other.desktop"), "Exec=otherbrowser %u\n");

    const QString nw = QStringLiteral("--new-window");
    const QString u = url(page);
    EXPECT_EQ(launchEntry(QStringLiteral("fox.desktop"), page), (BrowserLaunch{fox, {nw, u}}));
    EXPECT_EQ(launchEntry(QStringLiteral("chromium.desktop"), page),
              (BrowserLaunch{chromium, {QStringLiteral("--flag"), nw, u}}));
    EXPECT_EQ(launchEntry(QStringLiteral("chrome.desktop"), page), (BrowserLaunch{chrome, {nw, u}}));
    EXPECT_EQ(launchEntry(QStringLiteral("envfox.desktop"), page),
              (BrowserLaunch{fox, {QStringLiteral("-P"), QStringLiteral("work"), nw, u, QStringLiteral("--last")}}));
    EXPECT_EQ(launchEntry(QStringLiteral("other.desktop"), page), (BrowserLaunch{other, {u}}));

    EXPECT_TRUE(takesNewWindowOption(QStringLiteral("/usr/lib/firefox-esr/firefox-esr")));
    EXPECT_TRUE(takesNewWindowOption(QStringLiteral("google-chrome-stable")));
    EXPECT_FALSE(takesNewWindowOption(QStringLiteral("xdg-open")));
}

TEST_F(SystemBrowserTest, SearchOrder)
{
    const QString mine = program(QStringLiteral("mine"));
    const QString fox = program(QStringLiteral("firefox"));
    const QString chromium = program(QStringLiteral("chromium"));
    const QString xdgOpen = program(QStringLiteral("xdg-open"));
    const QString xdgMime = program(QStringLiteral("xdg-mime"));
    desktop(QStringLiteral("firefox.desktop"), "Exec=firefox %u\n");
    desktop(QStringLiteral("chromium.desktop"), "Exec=chromium %U\n");
    desktop(QStringLiteral("editor.desktop"), "Exec=mine %F\n");
    write(env.configHome + QStringLiteral("/mimeapps.list"),
          "[Default Applications]\ntext/html=missing.desktop;firefox.desktop\nx-scheme-handler/http=firefox.desktop\n");
    // Installed handlers: an editor for html, a browser for links.
    write(env.dataDirs.last() + QStringLiteral("/applications/mimeinfo.cache"),
          "[MIME Cache]\ntext/html=editor.desktop;\nx-scheme-handler/http=chromium.desktop;firefox.desktop;\n");
    env.browser = QStringLiteral("mine");

    const std::vector<BrowserCandidate> found = findBrowsers(env);
    ASSERT_EQ(found.size(), 5u);
    EXPECT_EQ(found[0].kind, BrowserCandidate::Kind::Command);
    EXPECT_EQ(found[0].words, QStringList{mine});
    EXPECT_EQ(found[1].kind, BrowserCandidate::Kind::Desktop);
    EXPECT_EQ(found[1].entry.exec.first(), fox);
    EXPECT_EQ(found[2].kind, BrowserCandidate::Kind::Desktop);
    EXPECT_EQ(found[2].entry.exec.first(), chromium);
    EXPECT_EQ(found[3].kind, BrowserCandidate::Kind::AskXdgMime);
    EXPECT_EQ(found[3].words, QStringList{xdgMime});
    EXPECT_EQ(found[4].kind, BrowserCandidate::Kind::XdgOpen);
    EXPECT_EQ(launchFor(found[4], page), (BrowserLaunch{xdgOpen, {url(page)}}));
    EXPECT_FALSE(launchFor(found[3], page));
}

TEST_F(SystemBrowserTest, NothingFoundMeansNoObject)
{
    // An editor for html and an unknown BROWSER are no browser.
    program(QStringLiteral("editor"));
    desktop(QStringLiteral("editor.desktop"), "Exec=editor %F\n");
    write(env.dataDirs.last() + QStringLiteral("/applications/mimeinfo.cache"), "[MIME Cache]\ntext/html=editor.desktop;\n");
    env.browser = QStringLiteral("missing");
    int started = 0;
    EXPECT_EQ(createSystemBrowser(env, [&](const BrowserLaunch&) { return ++started > 0; }), nullptr);
    EXPECT_EQ(started, 0);
}

TEST_F(SystemBrowserTest, NavigateTriesInOrderUntilOneStarts)
{
    const QString broken = program(QStringLiteral("broken"));
    const QString fox = program(QStringLiteral("firefox"));
    const QString xdgOpen = program(QStringLiteral("xdg-open"));
    desktop(QStringLiteral("firefox.desktop"), "Exec=firefox %u\n");
    write(env.configHome + QStringLiteral("/mimeapps.list"), "[Added Associations]\ntext/html=firefox.desktop;\n");
    env.browser = QStringLiteral("broken");

    std::vector<BrowserLaunch> launches;
    bool foxStarts = true;
    const auto start = [&](const BrowserLaunch& l) {
        launches.push_back(l);
        return l.program == xdgOpen || (l.program == fox && foxStarts);
    };
    std::unique_ptr<AutomationObject> object = createSystemBrowser(env, start, [](const QString&, const QStringList&) {
        return std::optional<QString>();
    });
    auto* browser = dynamic_cast<BrowserObject*>(object.get());
    ASSERT_NE(browser, nullptr);
    ASSERT_TRUE(launches.empty()) << "creating must not start anything";

    EXPECT_TRUE(browser->navigate2(page));
    EXPECT_TRUE(browser->setVisible(true));
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0], (BrowserLaunch{broken, {url(page)}}));
    EXPECT_EQ(launches[1], (BrowserLaunch{fox, {QStringLiteral("--new-window"), url(page)}}));

    // A second press starts another window.
    foxStarts = false;
    launches.clear();
    EXPECT_TRUE(browser->navigate2(page));
    ASSERT_EQ(launches.size(), 3u);
    EXPECT_EQ(launches[2].program, xdgOpen);
}

TEST_F(SystemBrowserTest, NavigateFailsWhenNothingStarts)
{
    program(QStringLiteral("viewer"));
    env.browser = QStringLiteral("viewer");
    int tries = 0;
    std::unique_ptr<AutomationObject> object = createSystemBrowser(env, [&](const BrowserLaunch&) {
        ++tries;
        return false;
    });
    auto* browser = dynamic_cast<BrowserObject*>(object.get());
    ASSERT_NE(browser, nullptr);
    EXPECT_FALSE(browser->navigate2(page));
    EXPECT_FALSE(browser->setVisible(true));
    EXPECT_EQ(tries, 1);
}

TEST_F(SystemBrowserTest, XdgMimeIsAskedOnlyWhenNeeded)
{
    const QString fox = program(QStringLiteral("firefox-esr"));
    const QString xdgMime = program(QStringLiteral("xdg-mime"));
    const QString xdgOpen = program(QStringLiteral("xdg-open"));
    desktop(QStringLiteral("firefox-esr.desktop"), "Exec=firefox-esr %u\n");

    QStringList asked;
    std::vector<BrowserLaunch> launches;
    std::unique_ptr<AutomationObject> object = createSystemBrowser(
        env,
        [&](const BrowserLaunch& l) {
            launches.push_back(l);
            return true;
        },
        [&](const QString& program, const QStringList& arguments) {
            asked << program + QLatin1Char(' ') + arguments.join(QLatin1Char(' '));
            return std::optional<QString>(QStringLiteral("firefox-esr.desktop\n"));
        });
    auto* browser = dynamic_cast<BrowserObject*>(object.get());
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_TRUE(browser->navigate2(page));
    EXPECT_EQ(asked, QStringList{xdgMime + QStringLiteral(" query default text/html")});
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0], (BrowserLaunch{fox, {QStringLiteral("--new-window"), url(page)}}));
}

TEST_F(SystemBrowserTest, StartsTheBrowserVariableForReal)
{
    // The script records its arguments, one per line.
    const QString record = tmp.filePath(QStringLiteral("called.txt"));
    program(QStringLiteral("recorder"),
            "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + record.toUtf8() + ".part\" && mv \"" + record.toUtf8() + ".part\" \"" +
                record.toUtf8() + "\"\n");
    env.browser = QStringLiteral("recorder");
    std::unique_ptr<AutomationObject> object = createSystemBrowser(env);
    auto* browser = dynamic_cast<BrowserObject*>(object.get());
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->navigate2(page));
    EXPECT_TRUE(browser->setVisible(true));
    const auto recorded = [&] {
        QFile file(record);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    EXPECT_EVENTUALLY_WITH_TIMEOUT(recorded() == url(page) + QLatin1Char('\n'), 10000) << recorded().toStdString();
}

TEST_F(SystemBrowserTest, ProgramThatCannotStartIsReported)
{
    const QString gone = program(QStringLiteral("gone"));
    env.browser = QStringLiteral("gone");
    std::unique_ptr<AutomationObject> object = createSystemBrowser(env);
    auto* browser = dynamic_cast<BrowserObject*>(object.get());
    ASSERT_NE(browser, nullptr);
    ASSERT_TRUE(QFile::remove(gone));
    EXPECT_FALSE(browser->navigate2(page));
    EXPECT_FALSE(browser->setVisible(true));
}

}  // namespace
}  // namespace vinkring
