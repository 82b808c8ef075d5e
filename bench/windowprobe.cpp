// Drives a program's window from outside, as a writer's desktop would, and
// times how it answers. It starts the program, finds its window (by process
// and title), pings it every 20 ms with _NET_WM_PING as a window manager does
// (answered on the program's interface thread when it reads its X events),
// sends keys with XTest, and times each key until the window's next repaint
// reaches the X server (XDamage). Prints one JSON object of raw figures;
// bench/window_bench.py runs it and reads them.
//
//   vinkring_windowprobe [OPTION...] -- PROGRAM [ARGUMENT...]
//     --title TEXT       the window to probe (its title, exactly)
//     --steps LIST       comma-separated steps before the measure:
//                          settle          until every ping for 1.5 s took under 30 ms
//                          text:WORDS      typed
//                          window:TITLE    until another window of the program has that title
//                          pause:MS        the pings go on for MS milliseconds
//                          focus           the probed window given the focus again
//                          memory          VmRSS and VmHWM of the program noted
//                          anything else   one key, as xdotool names it (ctrl+h, alt+Right, Return)
//     --trigger KEY      the measure starts when this key is sent (else after the steps)
//     --seconds S        how long the measure lasts
//     --type             keys typed during the measure, each 60 to 140 ms after
//                        the last one's repaint
//     --view TITLE       also time the first repaint of that window after each
//                        key, before the next one
// The program's windows are those of its process or of a child of it (the
// program started under perf or valgrind).
//     --memory           VmRSS and VmHWM noted again at the end
//
// A repaint of a key is the first damaged rectangle of the window at least
// kTextRepaintWidth wide: a typed character repaints its line, while the
// blinking cursor repaints only a few pixels.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>

#include <poll.h>
#include <sys/prctl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kTextRepaintWidth = 24;
constexpr double kPingInterval = 20;
constexpr double kSettledPing = 30;
constexpr double kSettledFor = 1500;
constexpr double kStepTimeout = 120000;
constexpr const char* kTypedText = "de vis zwemt rustig in het water ";

using Clock = std::chrono::steady_clock;
const Clock::time_point kStart = Clock::now();

double now()
{
    return std::chrono::duration<double, std::milli>(Clock::now() - kStart).count();
}

// The program under test; it goes when the probe goes, however that ends.
volatile pid_t child = 0;

// Asked to end first, so that a wrapper (perf) can finish its files.
void endChild()
{
    if (child <= 0)
        return;
    kill(child, SIGTERM);
    for (int i = 0; i < 300 && waitpid(child, nullptr, WNOHANG) == 0; ++i)
        usleep(10000);
    if (kill(child, SIGKILL) == 0)
        waitpid(child, nullptr, 0);
    child = 0;
}

[[noreturn]] void fail(const std::string& why)
{
    std::fprintf(stderr, "vinkring_windowprobe: %s\n", why.c_str());
    endChild();
    std::exit(1);
}

struct Ping {
    double sent;
    double answered = -1;
};

struct Key {
    double sent;
    double painted = -1;
    double viewPainted = -1;
};

struct Memory {
    double at;
    long rssKb;
    long hwmKb;
};

class Probe {
public:
    Probe(std::string title, pid_t pid) : title_(std::move(title)), pid_(pid)
    {
        display_ = XOpenDisplay(nullptr);
        if (!display_)
            fail("no X display");
        root_ = DefaultRootWindow(display_);
        // Windows come and go while the tree is searched.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        int error = 0;
        if (!XDamageQueryExtension(display_, &damageEvent_, &error))
            fail("the X server has no DAMAGE extension");
        int major = 0;
        int minor = 0;
        if (!XTestQueryExtension(display_, &error, &error, &major, &minor))
            fail("the X server has no XTEST extension");
        protocols_ = XInternAtom(display_, "WM_PROTOCOLS", False);
        ping_ = XInternAtom(display_, "_NET_WM_PING", False);
        pidAtom_ = XInternAtom(display_, "_NET_WM_PID", False);
        netName_ = XInternAtom(display_, "_NET_WM_NAME", False);
        utf8_ = XInternAtom(display_, "UTF8_STRING", False);
        activeWindow_ = XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
        // The program answers a ping on the root window.
        XSelectInput(display_, root_, StructureNotifyMask);
    }

    // Waits for the window; from then on it is pinged and watched.
    double findWindow()
    {
        const double deadline = now() + 60000;
        while (!(window_ = windowTitled(title_))) {
            if (now() > deadline)
                fail("no window titled \"" + title_ + "\"");
            usleep(2000);
        }
        found_ = now();
        damage_ = XDamageCreate(display_, window_, XDamageReportRawRectangles);
        giveFocus();
        return found_;
    }

    void giveFocus()
    {
        // As a pager asks: no focus stealing prevention.
        XEvent event = message(activeWindow_, {2, CurrentTime});
        XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
        XSync(display_, False);
    }

    void watchView(const std::string& title)
    {
        view_ = waitForTitled(title);
        viewDamage_ = XDamageCreate(display_, view_, XDamageReportRawRectangles);
    }

    // Runs the pings and reads the events until `until`, or until `done` holds.
    template <typename Done>
    bool runUntil(double until, Done done)
    {
        while (!done()) {
            const double t = now();
            if (t >= until)
                return false;
            if (t >= nextPing_)
                sendPing();
            waitForEvents(std::min(until, nextPing_));
        }
        return true;
    }

    void run(double until)
    {
        runUntil(until, [] { return false; });
    }

    void settle()
    {
        auto settled = [this] {
            const double t = now();
            if (t - found_ < kSettledFor)
                return false;
            for (auto p = pings_.rbegin(); p != pings_.rend(); ++p) {
                const double took = (p->answered < 0 ? t : p->answered) - p->sent;
                if (took >= kSettledPing)
                    return false;
                if (p->sent < t - kSettledFor)
                    return true;
            }
            return false;
        };
        if (!runUntil(now() + kStepTimeout, settled))
            fail("the window did not settle");
    }

    // Until a ping sent now has been answered: the keys sent before it have
    // been read, and what they started had its turn.
    void answered()
    {
        sendPing();
        const std::size_t last = pings_.size() - 1;
        if (!runUntil(now() + kStepTimeout, [&] { return pings_[last].answered >= 0; }))
            fail("the window stopped answering");
        run(now() + 30);
    }

    void waitForWindow(const std::string& title)
    {
        waitForTitled(title);
        answered();
    }

    // One key, as "ctrl+shift+Left": modifiers pressed, the key, all released.
    double sendKey(const std::string& name)
    {
        std::vector<KeyCode> codes;
        std::stringstream parts(name);
        std::string part;
        while (std::getline(parts, part, '+')) {
            const KeyCode code = keycodeOf(part);
            if (!code)
                fail("no key " + part);
            codes.push_back(code);
        }
        const double sent = now();
        for (const KeyCode code : codes)
            XTestFakeKeyEvent(display_, code, True, CurrentTime);
        for (auto code = codes.rbegin(); code != codes.rend(); ++code)
            XTestFakeKeyEvent(display_, *code, False, CurrentTime);
        XFlush(display_);
        return sent;
    }

    void typeText(const std::string& text)
    {
        for (const char c : text) {
            sendKey(keyNameOf(c));
            answered();
        }
    }

    // Keys typed until `until`, each waiting for its repaint.
    void typeUntil(double until, std::mt19937& random)
    {
        std::uniform_real_distribution<double> gap(60, 140);
        std::size_t next = 0;
        while (now() < until) {
            const std::string name = keyNameOf(kTypedText[next++ % std::strlen(kTypedText)]);
            keys_.push_back({sendKey(name)});
            runUntil(now() + 5000, [this] { return keys_.back().painted >= 0; });
            // The writer does not wait for the view: a key may come while it is updated.
            run(now() + gap(random));
        }
    }

    void noteMemory()
    {
        std::ifstream status("/proc/" + std::to_string(owner_) + "/status");
        std::string line;
        Memory m{now(), -1, -1};
        while (std::getline(status, line)) {
            if (line.rfind("VmRSS:", 0) == 0)
                m.rssKb = std::atol(line.c_str() + 6);
            else if (line.rfind("VmHWM:", 0) == 0)
                m.hwmKb = std::atol(line.c_str() + 6);
        }
        memory_.push_back(m);
    }

    // By hand: the probe links Xlib only, so that nothing of Qt runs in the
    // process that times Qt's window.
    void print(double trigger, double measureEnd) const
    {
        std::printf("{\"window_ms\": %.2f, \"trigger_ms\": %.2f, \"end_ms\": %.2f,\n \"pings\": [", found_, trigger,
                    measureEnd);
        for (std::size_t i = 0; i < pings_.size(); ++i)
            std::printf("%s[%.2f, %.2f]", i ? ", " : "", pings_[i].sent, pings_[i].answered);
        std::printf("],\n \"keys\": [");
        for (std::size_t i = 0; i < keys_.size(); ++i)
            std::printf("%s[%.2f, %.2f, %.2f]", i ? ", " : "", keys_[i].sent, keys_[i].painted, keys_[i].viewPainted);
        std::printf("],\n \"memory\": [");
        for (std::size_t i = 0; i < memory_.size(); ++i)
            std::printf("%s[%.2f, %ld, %ld]", i ? ", " : "", memory_[i].at, memory_[i].rssKb, memory_[i].hwmKb);
        std::printf("]}\n");
    }

private:
    // A client message about the probed window.
    XEvent message(Atom type, std::initializer_list<long> data) const
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window_;
        event.xclient.message_type = type;
        event.xclient.format = 32;
        std::copy(data.begin(), data.end(), event.xclient.data.l);
        return event;
    }

    Window waitForTitled(const std::string& title)
    {
        const double deadline = now() + 20000;
        Window found = 0;
        while (!(found = windowTitled(title))) {
            if (now() > deadline)
                fail("no window titled \"" + title + "\"");
            run(now() + 5);
        }
        return found;
    }

    void sendPing()
    {
        // The timestamp, sent back as it came, numbers the ping.
        XEvent event = message(protocols_, {long(ping_), long(pings_.size()), long(window_)});
        pings_.push_back({now()});
        XSendEvent(display_, window_, False, NoEventMask, &event);
        XFlush(display_);
        nextPing_ = pings_.back().sent + kPingInterval;
    }

    void waitForEvents(double until)
    {
        const double wait = until - now();
        if (!XPending(display_) && wait > 0) {
            pollfd fd{ConnectionNumber(display_), POLLIN, 0};
            poll(&fd, 1, int(wait) + 1);
        }
        while (XPending(display_)) {
            XEvent event;
            XNextEvent(display_, &event);
            handle(event);
        }
    }

    void handle(const XEvent& event)
    {
        const double t = now();
        if (event.type == ClientMessage && event.xclient.message_type == protocols_
            && Atom(event.xclient.data.l[0]) == ping_ && Window(event.xclient.data.l[2]) == window_) {
            const auto id = std::size_t(event.xclient.data.l[1]);
            if (id < pings_.size() && pings_[id].answered < 0)
                pings_[id].answered = t;
        } else if (event.type == damageEvent_ + XDamageNotify) {
            const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
            if (keys_.empty())
                return;
            Key& key = keys_.back();
            if (damage.drawable == window_ && key.painted < 0 && damage.area.width >= kTextRepaintWidth)
                key.painted = t;
            else if (damage.drawable == view_ && key.viewPainted < 0)
                key.viewPainted = t;
        }
    }

    // A viewable window of the program with that title.
    Window windowTitled(const std::string& title)
    {
        XSync(display_, False);
        return search(root_, title, 0);
    }

    Window search(Window parent, const std::string& title, int depth)
    {
        Window rootReturn = 0;
        Window parentReturn = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display_, parent, &rootReturn, &parentReturn, &children, &count))
            return 0;
        Window found = 0;
        for (unsigned i = count; i-- > 0 && !found;) {
            // Another window than the one probed (a dialog may share its title).
            if (children[i] != window_ && isOurs(children[i], title))
                found = children[i];
            else if (depth < 2)
                found = search(children[i], title, depth + 1);
        }
        if (children)
            XFree(children);
        return found;
    }

    bool isOurs(Window w, const std::string& title)
    {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, w, &attributes) || attributes.map_state != IsViewable)
            return false;
        const std::optional<std::string> pid = property(w, pidAtom_, XA_CARDINAL);
        if (!pid || pid->size() < sizeof(long))
            return false;
        const auto owner = pid_t(*reinterpret_cast<const long*>(pid->data()));
        if ((owner != pid_ && parentOf(owner) != pid_) || property(w, netName_, utf8_) != title)
            return false;
        owner_ = owner;
        return true;
    }

    std::optional<std::string> property(Window w, Atom name, Atom type)
    {
        Atom actual = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, w, name, 0, 1024, False, type, &actual, &format, &items, &after, &data)
                != Success
            || !data)
            return std::nullopt;
        const std::size_t unit = format == 32 ? sizeof(long) : std::size_t(format / 8);
        std::string value(reinterpret_cast<const char*>(data), items * unit);
        XFree(data);
        return value;
    }

    static pid_t parentOf(pid_t pid)
    {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        const std::size_t end = all.rfind(')');
        return end == std::string::npos ? 0 : pid_t(std::atol(all.c_str() + end + 4));  // ") S ppid"
    }

    KeyCode keycodeOf(const std::string& part)
    {
        std::string name = part;
        if (part == "ctrl")
            name = "Control_L";
        else if (part == "alt")
            name = "Alt_L";
        else if (part == "shift")
            name = "Shift_L";
        const KeySym sym = XStringToKeysym(name.c_str());
        return sym == NoSymbol ? 0 : XKeysymToKeycode(display_, sym);
    }

    static std::string keyNameOf(char c)
    {
        switch (c) {
        case ' ':
            return "space";
        case '/':
            return "slash";
        case '.':
            return "period";
        case '-':
            return "minus";
        default:
            return std::string(1, c);
        }
    }

    Display* display_ = nullptr;
    Window root_ = 0;
    Window window_ = 0;
    Window view_ = 0;
    Damage damage_ = 0;
    Damage viewDamage_ = 0;
    int damageEvent_ = 0;
    Atom protocols_ = 0;
    Atom ping_ = 0;
    Atom pidAtom_ = 0;
    Atom netName_ = 0;
    Atom utf8_ = 0;
    Atom activeWindow_ = 0;
    std::string title_;
    pid_t pid_;
    pid_t owner_ = 0;  // of the window
    double found_ = -1;
    double nextPing_ = 0;
    std::vector<Ping> pings_;
    std::vector<Key> keys_;
    std::vector<Memory> memory_;
};

pid_t start(char** argv)
{
    const pid_t pid = fork();
    if (pid < 0)
        fail("fork failed");
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        execvp(argv[0], argv);
        std::perror(argv[0]);
        _exit(127);
    }
    return pid;
}

}  // namespace

int main(int argc, char* argv[])
{
    std::string title;
    std::string steps;
    std::string trigger;
    std::string view;
    double seconds = 5;
    bool type = false;
    bool memory = false;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&] {
            if (++i >= argc)
                fail(arg + " needs a value");
            return std::string(argv[i]);
        };
        if (arg == "--")
            break;
        if (arg == "--title")
            title = value();
        else if (arg == "--steps")
            steps = value();
        else if (arg == "--trigger")
            trigger = value();
        else if (arg == "--seconds")
            seconds = std::atof(value().c_str());
        else if (arg == "--view")
            view = value();
        else if (arg == "--type")
            type = true;
        else if (arg == "--memory")
            memory = true;
        else
            fail("unknown option " + arg);
    }
    if (title.empty() || i + 1 >= argc)
        fail("usage: vinkring_windowprobe --title TEXT [OPTION...] -- PROGRAM [ARGUMENT...]");

    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, [](int) {
            if (child > 0)
                kill(child, SIGKILL);
            _exit(1);
        });
    const pid_t pid = start(argv + i + 1);
    child = pid;
    Probe probe(title, pid);
    probe.findWindow();

    std::stringstream list(steps);
    std::string step;
    while (std::getline(list, step, ',')) {
        if (step.empty())
            continue;
        if (step == "settle")
            probe.settle();
        else if (step == "focus")
            probe.giveFocus();
        else if (step == "memory")
            probe.noteMemory();
        else if (step.rfind("text:", 0) == 0)
            probe.typeText(step.substr(5));
        else if (step.rfind("window:", 0) == 0)
            probe.waitForWindow(step.substr(7));
        else if (step.rfind("pause:", 0) == 0)
            probe.run(now() + std::stod(step.substr(6)));
        else {
            probe.sendKey(step);
            probe.answered();
        }
    }

    const double zero = trigger.empty() ? now() : probe.sendKey(trigger);
    if (!view.empty())
        probe.watchView(view);
    const double end = zero + seconds * 1000;
    std::mt19937 random(std::random_device{}());
    if (type)
        probe.typeUntil(end, random);
    probe.run(end);
    if (memory)
        probe.noteMemory();
    probe.print(zero, now());

    endChild();
    return 0;
}
