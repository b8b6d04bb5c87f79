// Runs a program as a child process the way a user's shell would, for the
// benchmarks that time whole commands: wall and CPU time, exit status, and
// optionally what it wrote to standard output.
#pragma once

#include <string>
#include <vector>

namespace vrm::bench {

struct ProcessRun {
    bool ok = false;      // exited with status 0
    std::string failure;  // the command line and how it ended, when not ok
    long long startMicros = 0;  // CLOCK_MONOTONIC just before the fork
    double wallMs = 0;
    double cpuMs = 0;  // user + system
    double peakMiB = 0;  // the largest resident set the process had
    std::string output;  // standard output, when asked for
};

// The current environment without the variables whose names start with one
// of `prefixes` (each given with its '='-free name part, e.g. "HOME="), and
// with `extra` added.
std::vector<std::string> Environment(const std::vector<std::string>& extra, const std::vector<std::string>& prefixes);

// Runs argv[0] with `argv` and `env`; standard input and error go to
// /dev/null, standard output too unless `captureOutput`.
ProcessRun RunProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                      bool captureOutput = false);

long long MonotonicMicros();
double Median(std::vector<double> values);

}  // namespace vrm::bench
