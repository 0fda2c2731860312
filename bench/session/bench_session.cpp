// The real program on a virtual display, measured from outside as a user
// meets it: memory after the start, the hidden window's idle wakeups and CPU
// time, the show/hide key to the window mapped, and the time the program
// takes to end at the end of the session (nothing changed; thirty changed
// pages of 200 KB). The show/hide key is pressed through the XTEST
// extension and the mapping seen as MapNotify on the root window, so the
// figure is the X server's and the program's time only; text is typed with
// xdotool.
//
//   bench_session <Vnote> <typical folder> <heavy folder> [show/hide rounds]
#include "monotonic.h"
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xcbext.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/uio.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

using vn::bench::MonotonicNs;

namespace {

void sleepMs(int ms)
{
    timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

int run(std::vector<std::string> args) // waits; exit status
{
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Sees top-level windows come and go.
class MapWatch {
public:
    MapWatch()
    {
        c_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(c_)) {
            std::fprintf(stderr, "no display\n");
            std::exit(1);
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(c_);
    }
    ~MapWatch() { xcb_disconnect(c_); }
    // Presses and releases the key through XTEST; the monotonic time of the press.
    long long pressKey(uint32_t keysym)
    {
        xcb_key_symbols_t* syms = xcb_key_symbols_alloc(c_);
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(syms, keysym);
        const uint8_t code = codes ? codes[0] : 0;
        std::free(codes);
        xcb_key_symbols_free(syms);
        const long long t = MonotonicNs();
        fakeInput(2, code); // KeyPress
        fakeInput(3, code); // KeyRelease
        xcb_flush(c_);
        return t;
    }
    void drain()
    {
        while (xcb_generic_event_t* e = xcb_poll_for_event(c_))
            std::free(e);
    }
    // Waits for a managed top-level window to be mapped (or unmapped); the
    // monotonic time it was seen, or -1 after the timeout.
    long long wait(bool mapped, int timeoutMs)
    {
        const long long deadline = MonotonicNs() + timeoutMs * 1000000LL;
        const int fd = xcb_get_file_descriptor(c_);
        for (;;) {
            while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
                const int type = e->response_type & 0x7f;
                bool hit = false;
                if (mapped && type == XCB_MAP_NOTIFY)
                    hit = !reinterpret_cast<xcb_map_notify_event_t*>(e)->override_redirect;
                if (!mapped && type == XCB_UNMAP_NOTIFY)
                    hit = true;
                std::free(e);
                if (hit)
                    return MonotonicNs();
            }
            const long long left = (deadline - MonotonicNs()) / 1000000;
            if (left <= 0)
                return -1;
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, int(left));
        }
    }

private:
    void fakeInput(uint8_t type, uint8_t detail)
    {
        struct Request { // XTEST FakeInput
            uint8_t major, minor;
            uint16_t length;
            uint8_t type, detail;
            uint16_t pad0;
            uint32_t time, root, pad1[2];
            int16_t x, y;
            uint32_t pad2;
            uint16_t pad3;
            uint8_t pad4, deviceId;
        } r{};
        static_assert(sizeof(Request) == 36);
        r.type = type;
        r.detail = detail;
        static xcb_extension_t xtest = {"XTEST", 0};
        xcb_protocol_request_t proto = {1, &xtest, 2, 1};
        iovec parts[3];
        parts[2].iov_base = &r;
        parts[2].iov_len = sizeof r;
        xcb_send_request(c_, 0, parts + 2, &proto);
    }

    xcb_connection_t* c_;
    xcb_window_t root_;
};

struct App {
    pid_t pid = -1;
    int out = -1;
};

App startApp(const std::string& program, const std::string& dataDir)
{
    App app;
    int fds[2];
    if (pipe(fds) != 0)
        return app;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "VELNOTE_", 8) != 0)
            env.emplace_back(*e);
    env.push_back("VELNOTE_REPORT_FIRST_PAINT=1");
    env.push_back("VELNOTE_DATA_DIR=" + dataDir);
    std::vector<char*> envp;
    for (auto& s : env)
        envp.push_back(s.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, fds[1], 1);
    posix_spawn_file_actions_addclose(&fa, fds[0]);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    if (posix_spawn(&app.pid, program.c_str(), &fa, nullptr, argv, envp.data()) != 0)
        return app;
    close(fds[1]);
    app.out = fds[0];
    // Up once the first paint is reported.
    std::string out;
    const long long deadline = MonotonicNs() + 60'000'000'000LL;
    while (out.find("first-paint ") == std::string::npos && MonotonicNs() < deadline) {
        pollfd p{app.out, POLLIN, 0};
        if (poll(&p, 1, 1000) > 0) {
            char buf[512];
            const ssize_t n = read(app.out, buf, sizeof buf);
            if (n <= 0)
                break;
            out.append(buf, size_t(n));
        }
    }
    if (out.find("first-paint ") == std::string::npos) {
        std::fprintf(stderr, "the program did not paint its window\n");
        kill(app.pid, SIGKILL);
        waitpid(app.pid, nullptr, 0);
        std::exit(1);
    }
    return app;
}

// Milliseconds from the stop signal to the end of the process.
double stopApp(App& app)
{
    const long long t0 = MonotonicNs();
    kill(app.pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 3000; ++i) { // 30 s at most
        if (waitpid(app.pid, &status, WNOHANG) == app.pid) {
            close(app.out);
            return (MonotonicNs() - t0) / 1e6;
        }
        sleepMs(1);
    }
    kill(app.pid, SIGKILL);
    waitpid(app.pid, &status, 0);
    close(app.out);
    return -1;
}

double rssMb(pid_t pid)
{
    std::istringstream in(readFile("/proc/" + std::to_string(pid) + "/status"));
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return -1;
}

// Context switches (every wakeup of a sleeping thread is one) per thread.
std::map<std::string, long> switchesByThread(pid_t pid)
{
    std::map<std::string, long> out;
    const std::string dir = "/proc/" + std::to_string(pid) + "/task";
    DIR* d = opendir(dir.c_str());
    if (!d)
        return out;
    while (dirent* e = readdir(d)) {
        if (e->d_name[0] == '.')
            continue;
        const std::string task = dir + "/" + e->d_name;
        std::string name = readFile(task + "/comm");
        name.erase(name.find_last_not_of('\n') + 1);
        name += " (" + std::string(e->d_name) + ")";
        std::istringstream in(readFile(task + "/status"));
        std::string line;
        long n = 0;
        while (std::getline(in, line))
            if (line.find("ctxt_switches:") != std::string::npos)
                n += std::atol(line.c_str() + line.find(':') + 1);
        out[name] = n;
    }
    closedir(d);
    return out;
}

// CPU time (user and system) of the whole process, in ms.
double cpuMs(pid_t pid)
{
    const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    std::istringstream in(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int i = 3; in >> field; ++i) {
        if (i == 14)
            utime = std::atoll(field.c_str());
        if (i == 15) {
            stime = std::atoll(field.c_str());
            break;
        }
    }
    return double(utime + stime) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// The key press, then the window mapped (or unmapped); ms, or -1.
double pressPause(MapWatch& watch, bool expectMapped)
{
    watch.drain();
    const long long t0 = watch.pressKey(0xff13); // XK_Pause
    const long long t1 = watch.wait(expectMapped, 5000);
    return t1 < 0 ? -1 : (t1 - t0) / 1e6;
}

void budget(const char* figure, double value, const char* unit, double target)
{
    std::printf("budget|%s|%.1f|%s|%g\n", figure, value, unit, target);
}

std::string copyFolder(const std::string& from, const std::string& tmp, const char* name)
{
    const std::string to = tmp + "/" + name;
    run({"rm", "-rf", to});
    run({"cp", "-a", from, to});
    return to;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <Vnote> <typical> <heavy> [rounds]\n", argv[0]);
        return 2;
    }
    const std::string vnote = argv[1];
    const int rounds = argc > 4 ? std::atoi(argv[4]) : 9;
    char tmpl[] = "/tmp/bench_session.XXXXXX";
    const std::string tmp = mkdtemp(tmpl);
    MapWatch watch;

    // ---- typical folder: memory, idle, show/hide, exit with nothing changed
    std::string typical = copyFolder(argv[2], tmp, "typical");
    App app = startApp(vnote, typical);
    sleepMs(1500); // what comes right after the first paint
    const double rssTypical = rssMb(app.pid);
    if (pressPause(watch, false) < 0)
        std::fprintf(stderr, "the window did not hide on Pause\n");
    // The fade-out, what hiding sets off, and the start's own last job (the
    // catch-up backup, 3 s after the start): idle is what comes after.
    sleepMs(3000);
    const auto sw0 = switchesByThread(app.pid);
    const double cpu0 = cpuMs(app.pid);
    sleepMs(10000);
    const auto sw1 = switchesByThread(app.pid);
    const double cpu1 = cpuMs(app.pid);
    long wakeups = 0;
    std::vector<std::pair<long, std::string>> perThread;
    for (const auto& [name, n] : sw1) {
        const long d = n - (sw0.count(name) ? sw0.at(name) : 0);
        wakeups += d;
        if (d > 0)
            perThread.emplace_back(d, name);
    }
    std::sort(perThread.rbegin(), perThread.rend());
    std::vector<double> show;
    for (int i = 0; i < rounds; ++i) {
        show.push_back(pressPause(watch, true));
        sleepMs(300);
        pressPause(watch, false); // after its fade-out
        sleepMs(200);
    }
    pressPause(watch, true);
    sleepMs(500);
    const double exitTypical = stopApp(app);

    // ---- heavy folder: memory; exit with nothing changed
    std::string heavy = copyFolder(argv[3], tmp, "heavy");
    app = startApp(vnote, heavy);
    sleepMs(1500);
    const double rssHeavy = rssMb(app.pid);
    const double exitHeavy = stopApp(app);

    // ---- heavy folder: a key typed on each of the thirty pages, then the end
    heavy = copyFolder(argv[3], tmp, "heavy2");
    app = startApp(vnote, heavy);
    sleepMs(1000);
    std::vector<std::string> keys = {"xdotool", "key", "--delay", "40"};
    for (int i = 0; i < 30; ++i) {
        keys.push_back("x");
        keys.push_back("ctrl+Next");
    }
    run(keys);
    sleepMs(3000); // every page switched to and typed on
    const double exitChanged = stopApp(app);
    int changed = 0;
    for (int i = 0; i < 30; ++i) {
        const std::string name = i == 0 ? "Vnote.vnm" : "Vnote" + std::to_string(i) + ".vnm";
        if (readFile(heavy + "/" + name) != readFile(std::string(argv[3]) + "/" + name))
            ++changed;
    }
    run({"rm", "-rf", tmp});

    std::printf("the program on a virtual display\n");
    std::printf("  RSS 1.5 s after the first paint, typical folder   %7.1f MB   (target 50)\n",
                rssTypical);
    std::printf("  RSS 1.5 s after the first paint, heavy folder     %7.1f MB   (target 80)\n",
                rssHeavy);
    std::printf("  hidden for 10 s: %ld wakeups (%.1f/s), %.0f ms CPU  (target 3/s, no CPU "
                "between clock ticks)\n",
                wakeups, wakeups / 10.0, cpu1 - cpu0);
    for (const auto& [n, name] : perThread)
        std::printf("      %5ld  %s\n", n, name.c_str());
    std::printf("  Pause to the window mapped, median of %d    %7.1f ms   (target 30)\n", rounds,
                median(show));
    std::printf("  end of session, typical folder, nothing changed  %7.1f ms   (target 300)\n",
                exitTypical);
    std::printf("  end of session, heavy folder, nothing changed    %7.1f ms   (target 300)\n",
                exitHeavy);
    std::printf("  end of session, heavy folder, %d of 30 pages of 200 KB changed  %7.1f ms   "
                "(target 1000)\n",
                changed, exitChanged);
    if (changed != 30)
        std::printf("  (warning: the keys reached %d pages, not 30)\n", changed);
    budget("RSS after start, typical folder", rssTypical, "MB", 50);
    budget("RSS after start, heavy folder", rssHeavy, "MB", 80);
    budget("idle wakeups, window hidden", wakeups / 10.0, "/s", 3);
    budget("idle CPU over 10 s, window hidden", cpu1 - cpu0, "ms", 10);
    budget("show/hide key to the window mapped", median(show), "ms", 30);
    budget("exit, nothing changed (typical)", exitTypical, "ms", 300);
    budget("exit, nothing changed (heavy)", exitHeavy, "ms", 300);
    budget("exit, 30 changed 200 KB pages", exitChanged, "ms", 1000);
    return 0;
}
