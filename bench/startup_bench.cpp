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
// usage: startup_bench [runs=15] [--display :N] [--app DIR]...
//   Without --display it starts its own Xvfb with openbox. Each --app is an
//   application folder to time (the build's by default); with several, all
//   run interleaved, to compare two builds of the program.

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
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
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
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    envp.reserve(env.size() + 1);
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    // What the programs print is not the benchmark's output.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, args[0], &quiet, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&quiet);
    return failed ? -1 : pid;
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
        if (s.rfind("DISPLAY=", 0) == 0 || s.rfind("QT_QPA_PLATFORM=", 0) == 0 || s.rfind("XDG_RUNTIME_DIR=", 0) == 0)
            continue;
        env.push_back(s);
    }
    env.push_back("DISPLAY=" + display);
    return env;
}

// A desktop session's private runtime folder (on a RAM disk, as logind
// makes it), where the program keeps its single-instance lock: without one
// the lock lands on the disk, whose flush would be timed instead.
class RuntimeFolder {
public:
    RuntimeFolder()
    {
        char pattern[] = "/dev/shm/sonoha-bench-XXXXXX";
        if (mkdtemp(pattern))
            path_ = pattern;
    }
    ~RuntimeFolder()
    {
        if (!path_.empty())
            QDir(QString::fromStdString(path_)).removeRecursively();
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Watches one X display for the windows a process creates and the first
// damage to each.
class Watcher {
public:
    explicit Watcher(const std::string& display)
    {
        conn_ = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(conn_)) {
            std::fprintf(stderr, "cannot connect to %s\n", display.c_str());
            std::_Exit(1);  // nothing is buffered yet; exit() is not thread-safe
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data->root;
        free(xcb_damage_query_version_reply(conn_, xcb_damage_query_version(conn_, 1, 1), nullptr));
        const xcb_query_extension_reply_t* ext = xcb_get_extension_data(conn_, &xcb_damage_id);
        if (!ext || !ext->present) {
            std::fprintf(stderr, "the X server has no DAMAGE extension\n");
            std::_Exit(1);  // nothing is buffered yet; exit() is not thread-safe
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
            std::_Exit(1);  // nothing is buffered yet; exit() is not thread-safe
        xvfb_ = spawn(
            {"/usr/bin/Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
            childEnvironment(""));
        close(fds[1]);
        char buf[16] = {};
        pollfd p{fds[0], POLLIN, 0};
        if (xvfb_ < 0 || poll(&p, 1, 10000) <= 0 || read(fds[0], buf, sizeof buf - 1) <= 0) {
            std::fprintf(stderr, "Xvfb did not start\n");
            std::_Exit(1);  // nothing is buffered yet; exit() is not thread-safe
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

// One program under test: a copy of an application folder.
struct Subject {
    QString source;
    std::unique_ptr<QTemporaryDir> copy;
    std::string program;
    std::vector<double> loading;
    std::vector<double> main;
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int runs = 15;
    std::string display;
    QStringList appDirs;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--display") && i + 1 < args.size())
            display = args[++i].toStdString();
        else if (args[i] == QLatin1String("--app") && i + 1 < args.size())
            appDirs << args[++i];
        else
            runs = std::max(1, args[i].toInt());
    }
    if (appDirs.isEmpty())
        appDirs << QStringLiteral(SONOHA_APP_DIR);

    std::vector<Subject> subjects;
    for (const QString& dir : appDirs) {
        Subject s{dir, std::make_unique<QTemporaryDir>(), {}, {}, {}};
        if (!s.copy->isValid() || !copyFolder(dir, s.copy->path())) {
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(dir));
            return 1;
        }
        s.program = s.copy->filePath(QStringLiteral("sonoha")).toStdString();
        QFile::setPermissions(QString::fromStdString(s.program),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        subjects.push_back(std::move(s));
    }
    std::optional<OwnDisplay> own;
    if (display.empty()) {
        own.emplace();
        display = own->name();
    }
    RuntimeFolder runtime;
    std::vector<std::string> env = childEnvironment(display);
    if (!runtime.path().empty())
        env.push_back("XDG_RUNTIME_DIR=" + runtime.path());
    const std::string reference =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("startup_reference")).toStdString();
    Watcher watcher(display);

    // A first run of each warms the file cache and tells the main window's
    // inner size, which the empty window is given.
    std::optional<Watcher::Times> first;
    for (const Subject& s : subjects) {
        first = watcher.run({s.program}, env);
        if (!first) {
            std::fprintf(stderr, "the main window of %s did not appear\n", qPrintable(s.source));
            return 1;
        }
    }
    const std::vector<std::string> referenceArgs = {reference, kTitle, std::to_string(first->mainWidth),
                                                    std::to_string(first->mainHeight)};
    if (!watcher.run(referenceArgs, env)) {
        std::fprintf(stderr, "the empty window did not appear\n");
        return 1;
    }

    // Each round runs every program and the empty window once, starting one
    // place further each time, so that none always follows the same one.
    std::vector<double> empty;
    const size_t n = subjects.size() + 1;
    for (int round = 0; round < runs; ++round) {
        for (size_t k = 0; k < n; ++k) {
            const size_t which = (size_t(round) + k) % n;
            if (which == subjects.size()) {
                const std::optional<Watcher::Times> t = watcher.run(referenceArgs, env);
                if (!t)
                    return 1;
                empty.push_back(t->mainFrameMs);
                continue;
            }
            Subject& s = subjects[which];
            const std::optional<Watcher::Times> t = watcher.run({s.program}, env);
            if (!t)
                return 1;
            s.loading.push_back(t->firstFrameMs);
            s.main.push_back(t->mainFrameMs);
        }
    }
    std::printf("start-up to the first frame, median of %d interleaved runs on %s\n", runs, display.c_str());
    std::printf("  an empty Qt window %dx%d    %7.1f ms\n", first->mainWidth, first->mainHeight, median(empty));
    for (const Subject& s : subjects) {
        if (subjects.size() > 1)
            std::printf("  %s\n", qPrintable(s.source));
        std::printf("  the program's loading screen     %7.1f ms\n", median(s.loading));
        std::printf("  the program's main window        %7.1f ms\n", median(s.main));
        std::printf("  ratio of the medians             %7.2f   (aim <= 1.30)\n", median(s.main) / median(empty));
    }
    return 0;
}
