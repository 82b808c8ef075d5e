#pragma once
// The web browser behind "internetexplorer.application": the user's own
// browser, started on a file in a new window of its own.
//
// Finding the browser only reads the environment and a few small files, so
// the object is cheap to create (the last page creates one on every arrival).
// Starting it, and asking xdg-mime when nothing else is known, happens in
// navigate2.

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "platform/automation.h"

namespace vinkring {

// What the browser search reads from the process environment.
struct BrowserEnvironment {
    QString browser;         // $BROWSER
    QString configHome;      // $XDG_CONFIG_HOME, else ~/.config
    QStringList configDirs;  // $XDG_CONFIG_DIRS, else /etc/xdg
    QString dataHome;        // $XDG_DATA_HOME, else ~/.local/share
    QStringList dataDirs;    // $XDG_DATA_DIRS, else /usr/local/share and /usr/share
    QStringList desktops;    // $XDG_CURRENT_DESKTOP, lower case
    QStringList path;        // $PATH

    static BrowserEnvironment fromProcess();
};

// The parts of a desktop entry a launch needs.
struct DesktopEntry {
    QString file;          // where it was found (%k)
    QString name;          // Name (%c)
    QString icon;          // Icon (%i)
    QStringList exec;      // Exec, unquoted into words, field codes still in
};

// One way of starting a browser found on this machine.
struct BrowserCandidate {
    enum class Kind {
        Command,       // a command of $BROWSER: "%s" marks the URL, else it is appended
        Desktop,       // a desktop entry's Exec line
        AskXdgMime,    // the entry `xdg-mime query default text/html` names
        XdgOpen,       // xdg-open with the URL
    };
    Kind kind = Kind::Command;
    QStringList words;     // Command: the command split into words; XdgOpen/AskXdgMime: the program
    DesktopEntry entry;    // Desktop only
};

// A program and its arguments, ready to start.
struct BrowserLaunch {
    QString program;
    QStringList arguments;
    friend bool operator==(const BrowserLaunch&, const BrowserLaunch&) = default;
};

// The full path of an executable: as given when it holds a slash, else the
// first match in the path list. Empty when there is none.
QString findExecutable(const QString& program, const QStringList& path);

// The commands of $BROWSER (colon-separated) that exist, each split into words
// with shell quoting. Empty and unknown commands are left out.
std::vector<BrowserCandidate> browserVariableCandidates(const BrowserEnvironment& env);

// The mimeapps.list files in order of precedence, those named after the current
// desktops first within each folder. Files that do not exist are included.
QStringList mimeappsListFiles(const BrowserEnvironment& env);

// Desktop file identifiers for the MIME type in order of preference: the
// defaults of all mimeapps.list files, then their added associations (less
// the removed ones), then, when withCache, the mimeinfo.cache files.
QStringList associatedApplications(const BrowserEnvironment& env, const QString& mimeType, bool withCache);

// Reads and checks an installed desktop entry by identifier ("firefox-esr.desktop"):
// an application, not hidden, whose program (and TryExec) can be found.
std::optional<DesktopEntry> findDesktopEntry(const BrowserEnvironment& env, const QString& id);

// Splits an Exec value (string escapes already removed) into words, following
// the desktop entry quoting rules. nullopt when a quote is not closed.
std::optional<QStringList> splitExec(const QString& exec);

// Whether this program is a browser known to take --new-window.
bool takesNewWindowOption(const QString& program);

// Every browser found, in the order they are tried: $BROWSER, the default
// handler of text/html (and of http links), xdg-mime, xdg-open.
std::vector<BrowserCandidate> findBrowsers(const BrowserEnvironment& env);

// The program and arguments that open the local file in a new window.
// nullopt for AskXdgMime, which needs a query first, and for an empty command.
std::optional<BrowserLaunch> launchFor(const BrowserCandidate& candidate, const QString& localPath);

// Starts the program without waiting for it; false when it could not be started.
using BrowserStarter = std::function<bool(const BrowserLaunch& launch)>;
// Runs a short command and returns its standard output, or nullopt on failure.
using CommandRunner = std::function<std::optional<QString>(const QString& program, const QStringList& arguments)>;

// The browser object, or null when no browser can be found. Starter and runner
// default to QProcess (detached start; a run that waits a few seconds at most).
std::unique_ptr<AutomationObject> createSystemBrowser(const BrowserEnvironment& env = BrowserEnvironment::fromProcess(),
                                                      BrowserStarter start = {}, CommandRunner run = {});

}  // namespace vinkring
