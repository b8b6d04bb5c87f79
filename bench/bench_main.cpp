#include "bench_main.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <string>
#include <vector>

namespace vrm::bench {
namespace {

// The console output as usual, and a list of the runs that ended in error.
class ErrorCountingReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) failed_.push_back(run.benchmark_name() + ": " + run.error_message);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    const std::vector<std::string>& Failed() const { return failed_; }

private:
    std::vector<std::string> failed_;
};

}  // namespace

int RunBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    ErrorCountingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const std::string& failure : reporter.Failed()) std::cerr << "benchmark failed: " << failure << '\n';
    return reporter.Failed().empty() ? 0 : 1;
}

}  // namespace vrm::bench
