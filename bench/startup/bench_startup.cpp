// Start-up time: from exec to the main window's first paint, for Velnote on
// a typical and on a heavy data folder, against an empty Qt window measured
// in the same run. Prints medians and ratios.
//
//   bench_startup <Vnote> <empty-window program> <typical folder> <heavy folder> [runs]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

long long monotonicNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// One start; milliseconds to the first paint, or -1.
double startOnce(const std::string& program, const std::string& dataDir, const char* arg = nullptr)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "VELNOTE_DATA_DIR=", 17) != 0)
            env.emplace_back(*e);
    env.push_back("VELNOTE_EXIT_AFTER_FIRST_PAINT=1");
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
    const long long start = monotonicNs();
    if (posix_spawn(&pid, program.c_str(), &fa, nullptr, argv, envp.data()) != 0)
        return -1;
    close(fds[1]);
    std::string out;
    char buf[256];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0)
        out.append(buf, size_t(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    const auto pos = out.find("first-paint ");
    if (pos == std::string::npos)
        return -1;
    const long long painted = std::atoll(out.c_str() + pos + 12);
    return double(painted - start) / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s <Vnote> <emptywindow> <typical> <heavy> [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 5 ? std::atoi(argv[5]) : 7;
    std::vector<double> empty, japanese, typical, heavy;
    startOnce(argv[2], ""); // warm the caches
    startOnce(argv[1], argv[3]);
    for (int i = 0; i < runs; ++i) { // interleaved, so drift hits all three alike
        empty.push_back(startOnce(argv[2], ""));
        japanese.push_back(startOnce(argv[2], "", "japanese"));
        typical.push_back(startOnce(argv[1], argv[3]));
        heavy.push_back(startOnce(argv[1], argv[4]));
    }
    const double e = median(empty), j = median(japanese), t = median(typical), h = median(heavy);
    std::printf("start-up to first paint, median of %d runs\n", runs);
    std::printf("                              ms    x empty   x one-label\n");
    std::printf("  empty Qt window         %8.1f\n", e);
    std::printf("  window, one label (ja)  %8.1f   %6.2f\n", j, j / e);
    std::printf("  typical folder          %8.1f   %6.2f    %6.2f   (target 1.5 x empty)\n", t,
                t / e, t / j);
    std::printf("  heavy folder            %8.1f   %6.2f    %6.2f   (target 5 x empty)\n", h, h / e,
                h / j);
    return 0;
}
