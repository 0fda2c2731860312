// Start-up time: from exec to the main window's first paint (calendar
// included), for Velnote on a typical and on a heavy data folder, against an
// empty Qt window and a window with one Japanese label measured in the same
// run. Prints medians, ratios and where the time goes (the program's own
// start-up phases, medians of the same runs). With a third folder (the
// typical one with a 50 MB one-line diary for today), how much that diary
// delays the first paint. Then the first second after the first paint: the
// longest turn of the event loop (a key pressed then waits that long at
// most) and the resident memory at its end, against the one-label window.
//
//   bench_startup <Vnote> <empty-window program> <typical folder> <heavy folder> [runs]
//                 [big-diary folder]
#include "monotonic.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

using vn::bench::MonotonicNs;

namespace {

struct Start {
    double total = -1;                                  // ms to the first paint
    std::vector<std::pair<std::string, double>> phases; // ms each, in order
    double longestTurn = -1;                            // ms, in the second after it
    double residentMb = -1;                             // at the end of that second
};

// How long a settling run watches the program after its first paint.
constexpr const char* kSettlingMSecs = "1000";

// One start; settling: the program runs on for a second after the first
// paint and reports its longest event-loop turn and its memory.
Start startOnce(const std::string& program, const std::string& dataDir, const char* arg = nullptr,
                bool settling = false)
{
    Start result;
    int fds[2];
    if (pipe(fds) != 0)
        return result;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "VELNOTE_", 8) != 0)
            env.emplace_back(*e);
    if (settling) {
        env.push_back("VELNOTE_REPORT_FIRST_PAINT=1");
        env.push_back(std::string("VELNOTE_SETTLING_MSECS=") + kSettlingMSecs);
    } else {
        env.push_back("VELNOTE_EXIT_AFTER_FIRST_PAINT=1");
    }
    if (!dataDir.empty())
        env.push_back("VELNOTE_DATA_DIR=" + dataDir);
    std::vector<char*> envp;
    for (auto& s : env)
        envp.push_back(s.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, fds[1], 1);
    posix_spawn_file_actions_addclose(&fa, fds[0]);
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(arg), nullptr};
    pid_t pid;
    const long long start = MonotonicNs();
    if (posix_spawn(&pid, program.c_str(), &fa, nullptr, argv, envp.data()) != 0)
        return result;
    close(fds[1]);
    std::string out;
    char buf[256];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0)
        out.append(buf, size_t(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    long long last = start;
    size_t pos = 0;
    while (pos < out.size()) {
        size_t end = out.find('\n', pos);
        if (end == std::string::npos)
            end = out.size();
        const std::string line = out.substr(pos, end - pos);
        pos = end + 1;
        const size_t space = line.rfind(' ');
        if (space == std::string::npos)
            continue;
        const long long at = std::atoll(line.c_str() + space + 1);
        if (line.rfind("phase ", 0) == 0) {
            result.phases.emplace_back(line.substr(6, space - 6), (at - last) / 1e6);
            last = at;
        } else if (line.rfind("first-paint ", 0) == 0) {
            result.phases.emplace_back("first layout and paint", (at - last) / 1e6);
            result.total = (at - start) / 1e6;
        } else if (line.rfind("longest-turn ", 0) == 0) {
            result.longestTurn = at / 1e6;
        } else if (line.rfind("resident-kb ", 0) == 0) {
            result.residentMb = at / 1024.0;
        }
    }
    return result;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

struct Series {
    std::vector<double> totals;
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> phases;
    void add(const Start& s)
    {
        totals.push_back(s.total);
        for (const auto& [name, ms] : s.phases) {
            if (!phases.count(name))
                order.push_back(name);
            phases[name].push_back(ms);
        }
    }
    double total() const { return median(totals); }
    std::vector<double> longestTurns, residentMbs;
    void addSettling(const Start& s)
    {
        longestTurns.push_back(s.longestTurn);
        residentMbs.push_back(s.residentMb);
    }
};

void printPhases(const char* title, const Series& s, const Series& yardstick)
{
    std::printf("  %s (medians, ms; the one-label window's for the phases it has too)\n", title);
    for (const std::string& name : s.order) {
        const auto y = yardstick.phases.find(name);
        if (y != yardstick.phases.end())
            std::printf("    %7.1f  (%5.1f)  %s\n", median(s.phases.at(name)), median(y->second),
                        name.c_str());
        else
            std::printf("    %7.1f           %s\n", median(s.phases.at(name)), name.c_str());
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s <Vnote> <emptywindow> <typical> <heavy> [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 5 ? std::atoi(argv[5]) : 9;
    const char* bigDiary = argc > 6 ? argv[6] : nullptr;
    Series empty, japanese, typical, heavy, big;
    startOnce(argv[2], ""); // warm the caches
    startOnce(argv[1], argv[3]);
    startOnce(argv[1], argv[4]);
    for (int i = 0; i < runs; ++i) { // interleaved, so drift hits all four alike
        empty.add(startOnce(argv[2], ""));
        japanese.add(startOnce(argv[2], "", "japanese"));
        typical.add(startOnce(argv[1], argv[3]));
        heavy.add(startOnce(argv[1], argv[4]));
        if (bigDiary)
            big.add(startOnce(argv[1], bigDiary));
    }
    const double e = empty.total(), j = japanese.total(), t = typical.total(), h = heavy.total();
    std::printf("start-up to first paint (calendar painted), median of %d runs\n", runs);
    std::printf("                              ms    x empty   x one-label\n");
    std::printf("  empty Qt window         %8.1f\n", e);
    std::printf("  window, one label (ja)  %8.1f   %6.2f\n", j, j / e);
    std::printf("  typical folder          %8.1f   %6.2f    %6.2f   (target 1.2 x one-label)\n", t,
                t / e, t / j);
    std::printf("  heavy folder            %8.1f   %6.2f    %6.2f   (target 1.5 x one-label)\n", h,
                h / e, h / j);
    std::printf("where the start-up time goes\n");
    printPhases("typical folder", typical, japanese);
    printPhases("heavy folder", heavy, japanese);
    // For the summary of bench/run.sh: figure, value, unit, target.
    std::printf("budget|start-up, typical folder (x one-label window)|%.2f|x|1.2\n", t / j);
    std::printf("budget|start-up, heavy folder (x one-label window)|%.2f|x|1.5\n", h / j);
    if (bigDiary) {
        const double b = big.total();
        std::printf("start-up with a 50 MB one-line diary for today: %.1f ms, %.2f x typical\n", b,
                    b / t);
        printPhases("typical folder, 50 MB diary today", big, japanese);
        std::printf("budget|start-up, 50 MB one-line diary today (x typical)|%.2f|x|1.2\n", b / t);
    }

    // The first second after the first paint, interleaved as well.
    Series japaneseSettling, typicalSettling, heavySettling;
    for (int i = 0; i < runs; ++i) {
        japaneseSettling.addSettling(startOnce(argv[2], "", "japanese", true));
        typicalSettling.addSettling(startOnce(argv[1], argv[3], nullptr, true));
        heavySettling.addSettling(startOnce(argv[1], argv[4], nullptr, true));
    }
    const double jt = median(japaneseSettling.longestTurns);
    const double tt = median(typicalSettling.longestTurns);
    const double ht = median(heavySettling.longestTurns);
    const double jm = median(japaneseSettling.residentMbs);
    const double tm = median(typicalSettling.residentMbs);
    const double hm = median(heavySettling.residentMbs);
    std::printf("the %s ms after the first paint, median of %d runs\n", kSettlingMSecs, runs);
    std::printf("                         longest turn ms   memory MB   x one-label\n");
    std::printf("  window, one label (ja)  %8.1f        %8.1f\n", jt, jm);
    std::printf("  typical folder          %8.1f        %8.1f     %6.2f\n", tt, tm, tm / jm);
    std::printf("  heavy folder            %8.1f        %8.1f     %6.2f\n", ht, hm, hm / jm);
    std::printf("budget|longest event-loop turn after the first paint, typical|%.1f|ms|16\n", tt);
    std::printf("budget|longest event-loop turn after the first paint, heavy|%.1f|ms|16\n", ht);
    std::printf("budget|memory after start, typical folder (x one-label window)|%.2f|x|1.25\n",
                tm / jm);
    std::printf("budget|memory after start, heavy folder (x one-label window)|%.2f|x|1.6\n",
                hm / jm);
    return 0;
}
