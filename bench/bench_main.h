// Runs the benchmarks named on the command line like benchmark's own main,
// and tells whether any of them reported an error: a benchmark that could
// not measure what it measures (a command that failed, a file that did not
// load) makes the program exit 1 after naming it, so `make bench` fails.
#pragma once

namespace vrm::bench {

int RunBenchmarks(int argc, char** argv);

}  // namespace vrm::bench
