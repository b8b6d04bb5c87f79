// Start-up of the desktop program against a bare Qt window, in the same run:
// each is started as a process on the offscreen platform, alternately, and
// timed from fork to its first main window being exposed (the start-up probe
// writes that moment and ends the process). The figures are medians; the
// ratio is the program's median over the bare window's.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace vrm {
namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 9;

long long NowMicros() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000LL + now.tv_nsec / 1000;
}

// Starts `program` with the probe and a private home; the start-up time in
// ms, or a negative number when the program never showed its window.
double TimeToWindow(const std::string& program, const fs::path& home) {
    std::vector<std::string> env = {"VRM650T_STARTUP_PROBE=1", "QT_QPA_PLATFORM=offscreen",
                                    "HOME=" + home.string(), "XDG_CONFIG_HOME=" + (home / "config").string(),
                                    "XDG_RUNTIME_DIR=" + (home / "run").string()};
    for (char** e = environ; *e; ++e) {
        const std::string s = *e;
        if (s.rfind("HOME=", 0) && s.rfind("XDG_", 0) && s.rfind("QT_QPA_PLATFORM=", 0) &&
            s.rfind("VRM650T_", 0))
            env.push_back(s);
    }
    std::vector<char*> e;
    for (auto& s : env) e.push_back(s.data());
    e.push_back(nullptr);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};

    int out[2];
    if (::pipe(out) != 0) return -1;
    const long long start = NowMicros();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::execve(argv[0], argv, e.data());
        ::_exit(127);
    }
    ::close(out[1]);
    std::string text;
    char buffer[64];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.empty()) return -1;
    return static_cast<double>(std::stoll(text) - start) / 1000.0;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void BM_StartupAgainstBareWindow(benchmark::State& state) {
    const fs::path home = fs::temp_directory_path() / ("vrm-bench-startup-" + std::to_string(::getpid()));
    fs::create_directories(home / "config");
    fs::create_directories(home / "run");
    fs::permissions(home / "run", fs::perms::owner_all, fs::perm_options::replace);
    const std::string program = std::string(VRM_BIN_DIR) + "/vrm650t";
    const std::string bare = std::string(VRM_BIN_DIR) + "/vrm-bench-bare-window";
    std::vector<double> programMs, bareMs;
    for (auto _ : state) {
        for (int i = 0; i < kRuns && !state.error_occurred(); ++i) {
            const double p = TimeToWindow(program, home);
            const double b = TimeToWindow(bare, home);
            if (p < 0 || b < 0) state.SkipWithError(p < 0 ? "vrm650t showed no main window" : "the bare window did not show");
            programMs.push_back(p);
            bareMs.push_back(b);
        }
    }
    fs::remove_all(home);
    if (state.error_occurred()) return;
    state.counters["program_ms"] = Median(programMs);
    state.counters["bare_qt_ms"] = Median(bareMs);
    state.counters["ratio"] = Median(programMs) / Median(bareMs);
}
BENCHMARK(BM_StartupAgainstBareWindow)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vrm
