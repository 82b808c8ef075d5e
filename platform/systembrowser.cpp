#include "platform/systembrowser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QUrl>

namespace vinkring {

namespace {

const QString kNewWindow = QStringLiteral("--new-window");

// group -> key -> value, for the small INI-like files of the desktop.
using IniGroups = QHash<QString, QHash<QString, QString>>;

IniGroups readIni(const QString& path)
{
    IniGroups groups;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return groups;
    const QString text = QString::fromUtf8(file.readAll());
    QHash<QString, QString>* group = nullptr;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            group = &groups[line.mid(1, line.size() - 2).toString()];
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!group || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed().toString();
        // The first of a repeated key counts.
        if (!group->contains(key))
            group->insert(key, line.mid(equals + 1).trimmed().toString());
    }
    return groups;
}

QString iniValue(const IniGroups& groups, const QString& group, const QString& key)
{
    const auto g = groups.constFind(group);
    return g == groups.cend() ? QString() : g->value(key);
}

QStringList iniList(const IniGroups& groups, const QString& group, const QString& key)
{
    return iniValue(groups, group, key).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

// The escapes of a desktop-entry string value; unknown ones stay as written
// so that the quoting rules of Exec see them.
QString unescapeValue(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's': out += QLatin1Char(' '); break;
        case 'n': out += QLatin1Char('\n'); break;
        case 't': out += QLatin1Char('\t'); break;
        case 'r': out += QLatin1Char('\r'); break;
        case '\\': out += QLatin1Char('\\'); break;
        default:
            out += c;
            out += next;
            break;
        }
    }
    return out;
}

QStringList splitPathList(const QString& value, const QStringList& fallback)
{
    QStringList dirs;
    for (const QString& dir : value.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir))
            dirs << dir;
    }
    return dirs.isEmpty() ? fallback : dirs;
}

QString absoluteOr(const QString& value, const QString& fallback)
{
    return QDir::isAbsolutePath(value) ? value : fallback;
}

QStringList applicationDirs(const BrowserEnvironment& env)
{
    QStringList dirs;
    if (!env.dataHome.isEmpty())
        dirs << env.dataHome + QStringLiteral("/applications");
    for (const QString& dir : env.dataDirs)
        dirs << dir + QStringLiteral("/applications");
    return dirs;
}

// "kde4-konqueror.desktop" may live in applications/kde4/konqueror.desktop.
QStringList idToRelativePaths(const QString& id)
{
    QStringList paths{id};
    QString rel = id;
    for (qsizetype dash = rel.indexOf(QLatin1Char('-')); dash >= 0; dash = rel.indexOf(QLatin1Char('-'), dash + 1)) {
        rel[dash] = QLatin1Char('/');
        paths << rel;
    }
    return paths;
}

// Splits a command as the shell does: blanks separate words, single and
// double quotes and backslashes group them. nullopt when a quote is not closed.
std::optional<QStringList> splitShellWords(const QString& command)
{
    QStringList words;
    QString word;
    bool inWord = false;
    const qsizetype n = command.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = command.at(i);
        if (c == QLatin1Char('\'')) {
            const qsizetype close = command.indexOf(QLatin1Char('\''), i + 1);
            if (close < 0)
                return std::nullopt;
            word += command.mid(i + 1, close - i - 1);
            inWord = true;
            i = close;
        } else if (c == QLatin1Char('"')) {
            for (++i; i < n && command.at(i) != QLatin1Char('"'); ++i) {
                if (command.at(i) == QLatin1Char('\\') && i + 1 < n &&
                    QStringLiteral("\"\\$`").contains(command.at(i + 1)))
                    ++i;
                word += command.at(i);
            }
            if (i >= n)
                return std::nullopt;
            inWord = true;
        } else if (c == QLatin1Char('\\') && i + 1 < n) {
            word += command.at(++i);
            inWord = true;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

QString fileUrl(const QString& localPath)
{
    return QUrl::fromLocalFile(localPath).toString(QUrl::FullyEncoded);
}

// A known browser among the words before the file argument gets --new-window
// just before it, unless the command already asks for one.
void addNewWindowOption(QStringList& words, qsizetype fileIndex)
{
    if (words.contains(kNewWindow))
        return;
    for (qsizetype i = 0; i < fileIndex; ++i) {
        if (takesNewWindowOption(words.at(i))) {
            words.insert(fileIndex, kNewWindow);
            return;
        }
    }
}

// "%s" becomes the URL and "%%" a single "%", as in printf.
QString substituteUrl(const QString& word, const QString& url)
{
    QString out;
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (word.at(i) == QLatin1Char('%') && i + 1 < word.size()) {
            const QChar next = word.at(i + 1);
            if (next == QLatin1Char('s')) {
                out += url;
                ++i;
                continue;
            }
            if (next == QLatin1Char('%')) {
                out += QLatin1Char('%');
                ++i;
                continue;
            }
        }
        out += word.at(i);
    }
    return out;
}

std::optional<BrowserLaunch> commandLaunch(QStringList words, const QString& url)
{
    if (words.isEmpty())
        return std::nullopt;
    if (words.mid(1).join(QChar()).contains(QStringLiteral("%s"))) {
        for (qsizetype i = 1; i < words.size(); ++i)
            words[i] = substituteUrl(words.at(i), url);
    } else {
        words << url;
        addNewWindowOption(words, words.size() - 1);
    }
    const QString program = words.takeFirst();
    return BrowserLaunch{program, words};
}

std::optional<BrowserLaunch> desktopLaunch(const DesktopEntry& entry, const QString& localPath, const QString& url)
{
    QStringList words;
    qsizetype fileIndex = -1;
    for (const QString& word : entry.exec) {
        // Whole-word codes that stand for a list or for two words.
        if (word == QLatin1String("%f") || word == QLatin1String("%F") || word == QLatin1String("%u") ||
            word == QLatin1String("%U")) {
            if (fileIndex < 0)
                fileIndex = words.size();
            words << (word.at(1).toLower() == QLatin1Char('f') ? localPath : url);
            continue;
        }
        if (word == QLatin1String("%i")) {
            if (!entry.icon.isEmpty())
                words << QStringLiteral("--icon") << entry.icon;
            continue;
        }
        QString out;
        bool onlyCodes = true;
        for (qsizetype i = 0; i < word.size(); ++i) {
            const QChar c = word.at(i);
            if (c != QLatin1Char('%') || i + 1 == word.size()) {
                out += c;
                onlyCodes = false;
                continue;
            }
            switch (word.at(++i).unicode()) {
            case 'f':
            case 'F':
                if (fileIndex < 0)
                    fileIndex = words.size();
                out += localPath;
                onlyCodes = false;
                break;
            case 'u':
            case 'U':
                if (fileIndex < 0)
                    fileIndex = words.size();
                out += url;
                onlyCodes = false;
                break;
            case 'c': out += entry.name; break;
            case 'k': out += entry.file; break;
            case 'i': out += entry.icon; break;
            case '%':
                out += QLatin1Char('%');
                onlyCodes = false;
                break;
            default:  // %d %D %n %N %v %m and unknown codes: removed
                break;
            }
        }
        if (!(onlyCodes && out.isEmpty()))
            words << out;
    }
    if (fileIndex < 0) {
        // An Exec line without a file code still gets the file, as the
        // desktop's own launchers do.
        fileIndex = words.size();
        words << url;
    }
    if (fileIndex == 0)
        return std::nullopt;
    addNewWindowOption(words, fileIndex);
    const QString program = words.takeFirst();
    return BrowserLaunch{program, words};
}

// The browser object: tries the candidates in order until one starts.
class SystemBrowser final : public BrowserObject {
public:
    SystemBrowser(std::vector<BrowserCandidate> candidates, BrowserEnvironment env, BrowserStarter start,
                  CommandRunner run)
        : candidates_(std::move(candidates)), env_(std::move(env)), start_(std::move(start)), run_(std::move(run))
    {
    }

    bool navigate2(const QString& path) override
    {
        QSet<QString> triedEntries;
        for (const BrowserCandidate& candidate : candidates_) {
            std::optional<BrowserLaunch> launch;
            if (candidate.kind == BrowserCandidate::Kind::AskXdgMime) {
                const std::optional<DesktopEntry> entry = askXdgMime(candidate);
                if (!entry || triedEntries.contains(entry->file))
                    continue;
                triedEntries.insert(entry->file);
                launch = launchFor({BrowserCandidate::Kind::Desktop, {}, *entry}, path);
            } else {
                if (candidate.kind == BrowserCandidate::Kind::Desktop) {
                    if (triedEntries.contains(candidate.entry.file))
                        continue;
                    triedEntries.insert(candidate.entry.file);
                }
                launch = launchFor(candidate, path);
            }
            if (launch && start_(*launch)) {
                started_ = true;
                return true;
            }
        }
        return false;
    }

    // The browser shows its window when it starts; it cannot be hidden again.
    bool setVisible(bool visible) override { return visible == started_; }

private:
    std::optional<DesktopEntry> askXdgMime(const BrowserCandidate& candidate) const
    {
        if (candidate.words.isEmpty())
            return std::nullopt;
        const std::optional<QString> answer =
            run_(candidate.words.first(), {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
        if (!answer)
            return std::nullopt;
        const QString id = answer->section(QLatin1Char('\n'), 0, 0).trimmed();
        if (id.isEmpty())
            return std::nullopt;
        return findDesktopEntry(env_, id);
    }

    std::vector<BrowserCandidate> candidates_;
    BrowserEnvironment env_;
    BrowserStarter start_;
    CommandRunner run_;
    bool started_ = false;
};

bool startDetached(const BrowserLaunch& launch)
{
    return QProcess::startDetached(launch.program, launch.arguments);
}

std::optional<QString> runCommand(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

}  // namespace

BrowserEnvironment BrowserEnvironment::fromProcess()
{
    const QString home = QDir::homePath();
    BrowserEnvironment env;
    env.browser = qEnvironmentVariable("BROWSER");
    env.configHome = absoluteOr(qEnvironmentVariable("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.configDirs = splitPathList(qEnvironmentVariable("XDG_CONFIG_DIRS"), {QStringLiteral("/etc/xdg")});
    env.dataHome = absoluteOr(qEnvironmentVariable("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    env.dataDirs = splitPathList(qEnvironmentVariable("XDG_DATA_DIRS"),
                                 {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
    for (const QString& desktop : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        env.desktops << desktop.toLower();
    env.path = qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return env;
}

QString findExecutable(const QString& program, const QStringList& path)
{
    if (program.isEmpty())
        return {};
    const auto executable = [](const QString& file) {
        const QFileInfo info(file);
        return info.isFile() && info.isExecutable();
    };
    if (program.contains(QLatin1Char('/')))
        return executable(program) ? program : QString();
    for (const QString& dir : path) {
        const QString file = dir + QLatin1Char('/') + program;
        if (executable(file))
            return file;
    }
    return {};
}

std::vector<BrowserCandidate> browserVariableCandidates(const BrowserEnvironment& env)
{
    std::vector<BrowserCandidate> candidates;
    for (const QString& command : env.browser.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        std::optional<QStringList> split = splitShellWords(command);
        if (!split || split->isEmpty())
            continue;
        QStringList words = *split;
        const QString program = findExecutable(words.first(), env.path);
        if (program.isEmpty())
            continue;
        words.first() = program;
        candidates.push_back({BrowserCandidate::Kind::Command, words, {}});
    }
    return candidates;
}

QStringList mimeappsListFiles(const BrowserEnvironment& env)
{
    QStringList files;
    const auto add = [&](const QString& dir) {
        if (dir.isEmpty())
            return;
        for (const QString& desktop : env.desktops)
            files << dir + QLatin1Char('/') + desktop + QStringLiteral("-mimeapps.list");
        files << dir + QStringLiteral("/mimeapps.list");
    };
    add(env.configHome);
    for (const QString& dir : env.configDirs)
        add(dir);
    for (const QString& dir : applicationDirs(env))
        add(dir);
    return files;
}

QStringList associatedApplications(const BrowserEnvironment& env, const QString& mimeType, bool withCache)
{
    const QString defaults = QStringLiteral("Default Applications");
    QStringList ids;
    const auto append = [&](const QStringList& found, const QSet<QString>& removed) {
        for (const QString& id : found) {
            if (!ids.contains(id) && !removed.contains(id))
                ids << id;
        }
    };

    std::vector<IniGroups> lists;
    for (const QString& file : mimeappsListFiles(env))
        lists.push_back(readIni(file));
    for (const IniGroups& list : lists)
        append(iniList(list, defaults, mimeType), {});
    // The older name of the system defaults, still read by the desktop.
    for (const QString& dir : applicationDirs(env))
        append(iniList(readIni(dir + QStringLiteral("/defaults.list")), defaults, mimeType), {});

    QSet<QString> removed;
    for (const IniGroups& list : lists) {
        append(iniList(list, QStringLiteral("Added Associations"), mimeType), removed);
        for (const QString& id : iniList(list, QStringLiteral("Removed Associations"), mimeType))
            removed.insert(id);
    }
    if (withCache) {
        for (const QString& dir : applicationDirs(env))
            append(iniList(readIni(dir + QStringLiteral("/mimeinfo.cache")), QStringLiteral("MIME Cache"), mimeType),
                   removed);
    }
    return ids;
}

std::optional<DesktopEntry> findDesktopEntry(const BrowserEnvironment& env, const QString& id)
{
    if (!id.endsWith(QLatin1String(".desktop")) || id.contains(QLatin1Char('/')))
        return std::nullopt;
    for (const QString& dir : applicationDirs(env)) {
        for (const QString& rel : idToRelativePaths(id)) {
            const QString file = dir + QLatin1Char('/') + rel;
            if (!QFileInfo(file).isFile())
                continue;
            // The first file of this identifier counts, also when it hides the entry.
            const IniGroups groups = readIni(file);
            const QString group = QStringLiteral("Desktop Entry");
            if (iniValue(groups, group, QStringLiteral("Type")) != QLatin1String("Application") ||
                iniValue(groups, group, QStringLiteral("Hidden")) == QLatin1String("true"))
                return std::nullopt;
            const QString tryExec = unescapeValue(iniValue(groups, group, QStringLiteral("TryExec")));
            if (!tryExec.isEmpty() && findExecutable(tryExec, env.path).isEmpty())
                return std::nullopt;
            const std::optional<QStringList> exec = splitExec(unescapeValue(iniValue(groups, group, QStringLiteral("Exec"))));
            if (!exec || exec->isEmpty())
                return std::nullopt;
            const QString program = findExecutable(exec->first(), env.path);
            if (program.isEmpty())
                return std::nullopt;
            DesktopEntry entry;
            entry.file = file;
            entry.name = unescapeValue(iniValue(groups, group, QStringLiteral("Name")));
            entry.icon = unescapeValue(iniValue(groups, group, QStringLiteral("Icon")));
            entry.exec = *exec;
            entry.exec.first() = program;
            return entry;
        }
    }
    return std::nullopt;
}

std::optional<QStringList> splitExec(const QString& exec)
{
    QStringList words;
    QString word;
    bool inWord = false;
    bool inQuote = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (inQuote) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size() &&
                QStringLiteral("\"`$\\").contains(exec.at(i + 1))) {
                word += exec.at(++i);
            } else if (c == QLatin1Char('"')) {
                inQuote = false;
            } else {
                word += c;
            }
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else if (c == QLatin1Char('"')) {
            inQuote = true;
            inWord = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inQuote)
        return std::nullopt;
    if (inWord)
        words << word;
    return words;
}

bool takesNewWindowOption(const QString& program)
{
    static const QSet<QString> browsers{
        QStringLiteral("firefox"),        QStringLiteral("firefox-esr"),          QStringLiteral("firefox-bin"),
        QStringLiteral("iceweasel"),      QStringLiteral("librewolf"),            QStringLiteral("waterfox"),
        QStringLiteral("chromium"),       QStringLiteral("chromium-browser"),     QStringLiteral("chrome"),
        QStringLiteral("google-chrome"),  QStringLiteral("google-chrome-stable"), QStringLiteral("google-chrome-beta"),
        QStringLiteral("brave-browser"),  QStringLiteral("microsoft-edge"),       QStringLiteral("microsoft-edge-stable"),
        QStringLiteral("vivaldi"),        QStringLiteral("vivaldi-stable"),       QStringLiteral("epiphany"),
        QStringLiteral("epiphany-browser"),
    };
    return browsers.contains(QFileInfo(program).fileName());
}

std::vector<BrowserCandidate> findBrowsers(const BrowserEnvironment& env)
{
    std::vector<BrowserCandidate> candidates = browserVariableCandidates(env);
    QSet<QString> entries;
    const auto addHandlers = [&](const QString& mimeType, bool withCache) {
        for (const QString& id : associatedApplications(env, mimeType, withCache)) {
            std::optional<DesktopEntry> entry = findDesktopEntry(env, id);
            if (entry && !entries.contains(entry->file)) {
                entries.insert(entry->file);
                candidates.push_back({BrowserCandidate::Kind::Desktop, {}, std::move(*entry)});
            }
        }
    };
    // The installed handlers of text/html may be editors; only the chosen
    // ones count. Any installed handler of web links is a browser.
    addHandlers(QStringLiteral("text/html"), false);
    addHandlers(QStringLiteral("x-scheme-handler/http"), true);

    const QString xdgOpen = findExecutable(QStringLiteral("xdg-open"), env.path);
    if (!xdgOpen.isEmpty()) {
        const QString xdgMime = findExecutable(QStringLiteral("xdg-mime"), env.path);
        if (!xdgMime.isEmpty())
            candidates.push_back({BrowserCandidate::Kind::AskXdgMime, {xdgMime}, {}});
        candidates.push_back({BrowserCandidate::Kind::XdgOpen, {xdgOpen}, {}});
    }
    return candidates;
}

std::optional<BrowserLaunch> launchFor(const BrowserCandidate& candidate, const QString& localPath)
{
    const QString url = fileUrl(localPath);
    switch (candidate.kind) {
    case BrowserCandidate::Kind::Command:
        return commandLaunch(candidate.words, url);
    case BrowserCandidate::Kind::Desktop:
        return desktopLaunch(candidate.entry, localPath, url);
    case BrowserCandidate::Kind::XdgOpen:
        if (candidate.words.isEmpty())
            return std::nullopt;
        return BrowserLaunch{candidate.words.first(), {url}};
    case BrowserCandidate::Kind::AskXdgMime:
        break;
    }
    return std::nullopt;
}

std::unique_ptr<AutomationObject> createSystemBrowser(const BrowserEnvironment& env, BrowserStarter start,
                                                      CommandRunner run)
{
    std::vector<BrowserCandidate> candidates = findBrowsers(env);
    if (candidates.empty())
        return nullptr;
    return std::make_unique<SystemBrowser>(std::move(candidates), env, start ? std::move(start) : startDetached,
                                           run ? std::move(run) : runCommand);
}

}  // namespace vinkring
