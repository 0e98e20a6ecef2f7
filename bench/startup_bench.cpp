// Start-up of the real program against an empty Qt window of the same size,
// both on one X display with a window manager: from the moment the process
// is started to the first frame drawn into its main window (and, for the
// program, into its first window, the loading screen). Runs alternate
// between the two (ABBA), the program's folder is a copy of the build's
// application folder, and the figures printed are the medians and their
// ratio.
//
// A frame counts as drawn when the X server reports damage to the window
// (the DAMAGE extension), the same for both programs.
//
// usage: startup_bench [runs=15] [--display :N] [--app DIR]
//   Without --display it starts its own Xvfb with openbox.

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

extern char** environ;

namespace {

const char* const kTitle = "ソノハ Version 3.47";
constexpr int kTimeoutMs = 20000;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env)
{
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), envp.data()) != 0)
        return -1;
    return pid;
}

void stop(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
}

// The environment of the measured programs: this one's, on the given
// display, with Qt's own platform choice.
std::vector<std::string> childEnvironment(const std::string& display)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string s(*e);
        if (s.rfind("DISPLAY=", 0) == 0 || s.rfind("QT_QPA_PLATFORM=", 0) == 0)
            continue;
        env.push_back(s);
    }
    env.push_back("DISPLAY=" + display);
    return env;
}

// Watches one X display for the windows a process creates and the first
// damage to each.
class Watcher {
public:
    explicit Watcher(const std::string& display)
    {
        conn_ = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(conn_)) {
            std::fprintf(stderr, "cannot connect to %s\n", display.c_str());
            std::exit(1);
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data->root;
        free(xcb_damage_query_version_reply(conn_, xcb_damage_query_version(conn_, 1, 1), nullptr));
        const xcb_query_extension_reply_t* ext = xcb_get_extension_data(conn_, &xcb_damage_id);
        if (!ext || !ext->present) {
            std::fprintf(stderr, "the X server has no DAMAGE extension\n");
            std::exit(1);
        }
        damageEvent_ = ext->first_event + XCB_DAMAGE_NOTIFY;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(conn_, root_, XCB_CW_EVENT_MASK, &mask);
        pidAtom_ = atom("_NET_WM_PID");
        nameAtom_ = atom("_NET_WM_NAME");
        utf8Atom_ = atom("UTF8_STRING");
        xcb_flush(conn_);
    }
    ~Watcher() { xcb_disconnect(conn_); }

    struct Times {
        double firstFrameMs = -1;  // any window of the process
        double mainFrameMs = -1;  // the window with the main window's title
        int mainWidth = 0;
        int mainHeight = 0;
    };

    // Starts argv and waits for the first frame of its main window.
    std::optional<Times> run(const std::vector<std::string>& argv, const std::vector<std::string>& env)
    {
        drain();
        Times t;
        QElapsedTimer clock;
        clock.start();
        const pid_t pid = spawn(argv, env);
        if (pid < 0)
            return std::nullopt;
        while (t.mainFrameMs < 0 && clock.elapsed() < kTimeoutMs) {
            xcb_generic_event_t* e = next(kTimeoutMs - int(clock.elapsed()));
            if (!e)
                break;
            const double now = clock.nsecsElapsed() / 1e6;
            const uint8_t type = e->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                const auto* c = reinterpret_cast<xcb_create_notify_event_t*>(e);
                xcb_damage_create(conn_, xcb_generate_id(conn_), c->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(conn_);
            } else if (type == damageEvent_) {
                const auto* d = reinterpret_cast<xcb_damage_notify_event_t*>(e);
                if (propertyCardinal(d->drawable, pidAtom_) == uint32_t(pid)) {
                    if (t.firstFrameMs < 0)
                        t.firstFrameMs = now;
                    if (propertyText(d->drawable, nameAtom_) == kTitle) {
                        t.mainFrameMs = now;
                        t.mainWidth = d->geometry.width;
                        t.mainHeight = d->geometry.height;
                    }
                }
            }
            free(e);
        }
        stop(pid);
        if (t.mainFrameMs < 0)
            return std::nullopt;
        return t;
    }

private:
    xcb_atom_t atom(const char* name)
    {
        xcb_intern_atom_reply_t* r =
            xcb_intern_atom_reply(conn_, xcb_intern_atom(conn_, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(r);
        return a;
    }

    uint32_t propertyCardinal(xcb_window_t w, xcb_atom_t a)
    {
        xcb_get_property_reply_t* r =
            xcb_get_property_reply(conn_, xcb_get_property(conn_, 0, w, a, XCB_ATOM_CARDINAL, 0, 1), nullptr);
        uint32_t v = 0;
        if (r && xcb_get_property_value_length(r) == 4)
            std::memcpy(&v, xcb_get_property_value(r), 4);
        free(r);
        return v;
    }

    std::string propertyText(xcb_window_t w, xcb_atom_t a)
    {
        xcb_get_property_reply_t* r =
            xcb_get_property_reply(conn_, xcb_get_property(conn_, 0, w, a, utf8Atom_, 0, 256), nullptr);
        std::string s;
        if (r)
            s.assign(static_cast<const char*>(xcb_get_property_value(r)), size_t(xcb_get_property_value_length(r)));
        free(r);
        return s;
    }

    xcb_generic_event_t* next(int timeoutMs)
    {
        for (;;) {
            if (xcb_generic_event_t* e = xcb_poll_for_event(conn_))
                return e;
            pollfd p{xcb_get_file_descriptor(conn_), POLLIN, 0};
            if (poll(&p, 1, std::max(timeoutMs, 0)) <= 0)
                return nullptr;
        }
    }

    void drain()
    {
        xcb_aux_sync();
        while (xcb_generic_event_t* e = xcb_poll_for_event(conn_))
            free(e);
    }
    void xcb_aux_sync() { free(xcb_get_input_focus_reply(conn_, xcb_get_input_focus(conn_), nullptr)); }

    xcb_connection_t* conn_ = nullptr;
    xcb_window_t root_ = 0;
    uint8_t damageEvent_ = 0;
    xcb_atom_t pidAtom_ = 0;
    xcb_atom_t nameAtom_ = 0;
    xcb_atom_t utf8Atom_ = 0;
};

// An X server of its own with a window manager, for the length of the run.
class OwnDisplay {
public:
    OwnDisplay()
    {
        int fds[2];
        if (pipe(fds) != 0)
            std::exit(1);
        xvfb_ = spawn(
            {"/usr/bin/Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
            childEnvironment(""));
        close(fds[1]);
        char buf[16] = {};
        pollfd p{fds[0], POLLIN, 0};
        if (xvfb_ < 0 || poll(&p, 1, 10000) <= 0 || read(fds[0], buf, sizeof buf - 1) <= 0) {
            std::fprintf(stderr, "Xvfb did not start\n");
            std::exit(1);
        }
        close(fds[0]);
        display_ = ":" + std::to_string(std::atoi(buf));
        wm_ = spawn({"/usr/bin/openbox"}, childEnvironment(display_));
        waitForWindowManager();
    }
    ~OwnDisplay()
    {
        stop(wm_);
        stop(xvfb_);
    }
    const std::string& name() const { return display_; }

private:
    void waitForWindowManager()
    {
        xcb_connection_t* c = xcb_connect(display_.c_str(), nullptr);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        const char* name = "_NET_SUPPORTING_WM_CHECK";
        xcb_intern_atom_reply_t* a =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
        for (int i = 0; a && i < 500; ++i) {
            xcb_get_property_reply_t* r =
                xcb_get_property_reply(c, xcb_get_property(c, 0, root, a->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
            const bool ready = r && xcb_get_property_value_length(r) == 4;
            free(r);
            if (ready)
                break;
            usleep(10000);
        }
        free(a);
        xcb_disconnect(c);
        usleep(200000);  // the window manager's own start settles
    }

    pid_t xvfb_ = -1;
    pid_t wm_ = -1;
    std::string display_;
};

bool copyFolder(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::copy(file, target))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int runs = 15;
    std::string display;
    QString appDir = QStringLiteral(SONOHA_APP_DIR);
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--display") && i + 1 < args.size())
            display = args[++i].toStdString();
        else if (args[i] == QLatin1String("--app") && i + 1 < args.size())
            appDir = args[++i];
        else
            runs = std::max(1, args[i].toInt());
    }

    QTemporaryDir copy;
    if (!copy.isValid() || !copyFolder(appDir, copy.path())) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(appDir));
        return 1;
    }
    QFile::setPermissions(copy.filePath(QStringLiteral("sonoha")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    std::optional<OwnDisplay> own;
    if (display.empty()) {
        own.emplace();
        display = own->name();
    }
    const std::vector<std::string> env = childEnvironment(display);
    const std::string program = copy.filePath(QStringLiteral("sonoha")).toStdString();
    const std::string reference =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("startup_reference")).toStdString();
    Watcher watcher(display);

    // A first run of each warms the file cache and tells the main window's
    // inner size, which the empty window is given.
    const std::optional<Watcher::Times> first = watcher.run({program}, env);
    if (!first) {
        std::fprintf(stderr, "the program's main window did not appear\n");
        return 1;
    }
    const std::vector<std::string> referenceArgs = {reference, kTitle, std::to_string(first->mainWidth),
                                                    std::to_string(first->mainHeight)};
    if (!watcher.run(referenceArgs, env)) {
        std::fprintf(stderr, "the empty window did not appear\n");
        return 1;
    }

    std::vector<double> loading;
    std::vector<double> main;
    std::vector<double> empty;
    for (int i = 0; i < runs; ++i) {
        // ABBA: neither program always follows the other.
        for (int k = 0; k < 2; ++k) {
            const bool programFirst = (i % 2 == 0) == (k == 0);
            if (programFirst) {
                const std::optional<Watcher::Times> t = watcher.run({program}, env);
                if (!t)
                    return 1;
                loading.push_back(t->firstFrameMs);
                main.push_back(t->mainFrameMs);
            } else {
                const std::optional<Watcher::Times> t = watcher.run(referenceArgs, env);
                if (!t)
                    return 1;
                empty.push_back(t->mainFrameMs);
            }
        }
    }
    std::printf("start-up to the first frame, median of %d interleaved runs on %s\n", runs, display.c_str());
    std::printf("  the program's loading screen   %7.1f ms\n", median(loading));
    std::printf("  the program's main window      %7.1f ms\n", median(main));
    std::printf("  an empty Qt window %dx%d  %7.1f ms\n", first->mainWidth, first->mainHeight, median(empty));
    std::printf("  ratio of the medians           %7.2f   (aim <= 1.30)\n", median(main) / median(empty));
    return 0;
}
