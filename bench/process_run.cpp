#include "process_run.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>

extern char** environ;

namespace vrm::bench {

long long MonotonicMicros() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000LL + now.tv_nsec / 1000;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::vector<std::string> Environment(const std::vector<std::string>& extra, const std::vector<std::string>& prefixes) {
    std::vector<std::string> env = extra;
    for (char** e = environ; *e; ++e) {
        const std::string s = *e;
        const bool dropped =
            std::any_of(prefixes.begin(), prefixes.end(), [&](const std::string& p) { return s.rfind(p, 0) == 0; });
        if (!dropped) env.push_back(s);
    }
    return env;
}

namespace {

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

std::string Describe(const std::vector<std::string>& argv, int status) {
    std::string text = "the command failed:";
    for (const std::string& arg : argv) text += " " + arg;
    if (!WIFEXITED(status)) return text + " (killed)";
    return text + (WEXITSTATUS(status) == 127 ? " (could not be started)"
                                               : " (exit status " + std::to_string(WEXITSTATUS(status)) + ")");
}

}  // namespace

ProcessRun RunProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env, bool captureOutput) {
    std::vector<std::string> args = argv, vars = env;
    std::vector<char*> a = Pointers(args), e = Pointers(vars);
    int out[2] = {-1, -1};
    if (captureOutput && ::pipe(out) != 0) return {false, "no pipe", 0, 0, 0, 0, {}};

    ProcessRun run;
    run.startMicros = MonotonicMicros();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(captureOutput ? out[1] : null, 1);
        ::dup2(null, 2);
        ::execve(a[0], a.data(), e.data());
        ::_exit(127);
    }
    if (captureOutput) {
        ::close(out[1]);
        char buffer[256];
        for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) run.output.append(buffer, static_cast<size_t>(n));
        ::close(out[0]);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    run.wallMs = static_cast<double>(MonotonicMicros() - run.startMicros) / 1000.0;
    const long micros = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1'000'000L + usage.ru_utime.tv_usec +
                        usage.ru_stime.tv_usec;
    run.cpuMs = static_cast<double>(micros) / 1e3;
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // KiB on Linux
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!run.ok) run.failure = Describe(argv, status);
    return run;
}

}  // namespace vrm::bench
