#include "platform/systembrowser.h"

// GIO names a struct member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <algorithm>
#include <functional>
#include <vector>

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

namespace vinkring {

namespace {

const QString kNewWindow = QStringLiteral("--new-window");

using AppInfo = std::shared_ptr<GAppInfo>;

// Takes over a reference GIO handed out.
AppInfo own(GAppInfo* app)
{
    return app ? AppInfo(app, g_object_unref) : nullptr;
}

// A command split as the shell does; empty when it is empty or unbalanced.
QStringList shellWords(const QString& command)
{
    g_auto(GStrv) argv = nullptr;
    if (!g_shell_parse_argv(command.toLocal8Bit().constData(), nullptr, &argv, nullptr))
        return {};
    QStringList words;
    for (const gchar* const* arg = argv; *arg; ++arg)
        words << QString::fromLocal8Bit(*arg);
    return words;
}

bool takesNewWindowOption(const QString& program)
{
    static const QStringList browsers = QStringLiteral(
        "firefox firefox-esr firefox-bin iceweasel librewolf waterfox chromium chromium-browser chrome google-chrome "
        "google-chrome-stable google-chrome-beta brave-browser microsoft-edge microsoft-edge-stable vivaldi "
        "vivaldi-stable epiphany epiphany-browser").split(QLatin1Char(' '));
    return browsers.contains(QFileInfo(program).fileName());
}

// A known browser among the words before the URL, unless they already ask for one.
bool wantsNewWindow(const QStringList& wordsBeforeUrl)
{
    return !wordsBeforeUrl.contains(kNewWindow) &&
           std::any_of(wordsBeforeUrl.cbegin(), wordsBeforeUrl.cend(), takesNewWindowOption);
}

// "%s" becomes the URL and "%%" a single "%", as in printf.
QString substituteUrl(const QString& word, const QString& url)
{
    QString out;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const QChar next = i + 1 < word.size() ? word.at(i + 1) : QChar();
        if (word.at(i) == QLatin1Char('%') && (next == QLatin1Char('s') || next == QLatin1Char('%'))) {
            out += next == QLatin1Char('s') ? url : QStringLiteral("%");
            ++i;
        } else {
            out += word.at(i);
        }
    }
    return out;
}

// The words of a $BROWSER command for this URL.
QStringList commandFor(QStringList words, const QString& url)
{
    const auto marksUrl = [](const QString& word) { return word.contains(QLatin1String("%s")); };
    if (std::any_of(words.cbegin() + 1, words.cend(), marksUrl)) {
        for (qsizetype i = 1; i < words.size(); ++i)
            words[i] = substituteUrl(words.at(i), url);
        return words;
    }
    if (wantsNewWindow(words))
        words << kNewWindow;
    return words << url;
}

// Starts the program without waiting for it (GLib detaches it).
Outcome spawn(const QStringList& words)
{
    g_autoptr(GStrvBuilder) builder = g_strv_builder_new();
    for (const QString& word : words)
        g_strv_builder_add(builder, word.toLocal8Bit().constData());
    g_auto(GStrv) argv = g_strv_builder_end(builder);
    g_autoptr(GError) error = nullptr;
    if (!g_spawn_async(nullptr, argv, nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, nullptr, &error))
        return Outcome::failed(QString::fromUtf8(error->message));
    return Outcome::done();
}

// The Exec line with a place for the URL (GIO would append a local path to
// a line without one) and --new-window just before it for a known browser.
QString execFor(QString exec)
{
    static const QRegularExpression fileCode(QStringLiteral("(?<=^|\\s)%[fFuU](?=\\s|$)"));
    QRegularExpressionMatch code = fileCode.match(exec);
    if (!code.hasMatch())
        code = fileCode.match(exec += QStringLiteral(" %u"));
    const qsizetype at = code.capturedStart();
    if (!exec.contains(kNewWindow) && wantsNewWindow(shellWords(exec.left(at))))
        exec.insert(at, kNewWindow + QLatin1Char(' '));
    return exec;
}

// The application's desktop entry as launched here: the URL passed on as it
// is (GIO passes a file:// URL as a local path unless X-GIO-NoFuse is set),
// in a new window where that is known to work.
AppInfo entryForLaunch(const AppInfo& app)
{
    const char* file = G_IS_DESKTOP_APP_INFO(app.get()) ? g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(app.get()))
                                                        : nullptr;
    g_autoptr(GKeyFile) keys = g_key_file_new();
    if (!file || !g_key_file_load_from_file(keys, file, G_KEY_FILE_NONE, nullptr))
        return app;
    const char* group = G_KEY_FILE_DESKTOP_GROUP;
    g_autofree gchar* exec = g_key_file_get_string(keys, group, G_KEY_FILE_DESKTOP_KEY_EXEC, nullptr);
    g_key_file_set_string(keys, group, G_KEY_FILE_DESKTOP_KEY_EXEC,
                          execFor(QString::fromUtf8(exec)).toUtf8().constData());
    g_key_file_set_boolean(keys, group, "X-GIO-NoFuse", TRUE);
    GDesktopAppInfo* entry = g_desktop_app_info_new_from_keyfile(keys);
    return entry ? own(G_APP_INFO(entry)) : app;
}

Outcome launch(const AppInfo& app, const QString& url)
{
    const AppInfo entry = entryForLaunch(app);
    QByteArray uri = url.toUtf8();
    g_autoptr(GList) uris = g_list_append(nullptr, uri.data());
    g_autoptr(GError) error = nullptr;
    if (!g_app_info_launch_uris(entry.get(), uris, nullptr, &error))
        return Outcome::failed(QString::fromUtf8(error->message));
    return Outcome::done();
}

bool opensWebLinks(GAppInfo* app)
{
    const char** types = g_app_info_get_supported_types(app);
    return types && g_strv_contains(types, "x-scheme-handler/http");
}

// Starts one browser on a URL.
using Starter = std::function<Outcome(const QString& url)>;

std::vector<Starter> findBrowsers()
{
    std::vector<Starter> found;
    for (const QString& command : qEnvironmentVariable("BROWSER").split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        QStringList words = shellWords(command);
        if (words.isEmpty())
            continue;
        g_autofree gchar* program = g_find_program_in_path(words.first().toLocal8Bit().constData());
        if (!program)
            continue;
        words.first() = QString::fromLocal8Bit(program);
        found.push_back([words](const QString& url) { return spawn(commandFor(words, url)); });
    }
    AppInfo html = own(g_app_info_get_default_for_type("text/html", FALSE));
    if (html && !opensWebLinks(html.get()))
        html.reset();
    if (html)
        found.push_back([html](const QString& url) { return launch(html, url); });
    const AppInfo http = own(g_app_info_get_default_for_uri_scheme("http"));
    if (http && !(html && g_app_info_equal(html.get(), http.get())))
        found.push_back([http](const QString& url) { return launch(http, url); });
    return found;
}

// Tries the browsers in order until one starts; keeps why each failed.
class SystemBrowser final : public BrowserObject {
public:
    explicit SystemBrowser(std::vector<Starter> browsers) : browsers_(std::move(browsers)) {}

    Outcome navigate2(const QString& path) override
    {
        const QString url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
        QStringList reasons;
        for (const Starter& start : browsers_) {
            const Outcome started = start(url);
            if (started.ok) {
                started_ = true;
                return started;
            }
            reasons << started.reason;
        }
        failure_ = Outcome::failed(reasons.join(QLatin1Char('\n')));
        return failure_;
    }

    // The browser shows its window when it starts; it cannot be hidden again.
    Outcome setVisible(bool visible) override { return visible == started_ ? Outcome::done() : failure_; }

private:
    std::vector<Starter> browsers_;
    bool started_ = false;
    Outcome failure_ = Outcome::failed({});
};

}  // namespace

std::unique_ptr<AutomationObject> createSystemBrowser()
{
    std::vector<Starter> browsers = findBrowsers();
    if (browsers.empty())
        return nullptr;
    return std::make_unique<SystemBrowser>(std::move(browsers));
}

}  // namespace vinkring
