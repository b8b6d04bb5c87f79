// main() of the benchmarks that need no Qt application object.
#include "bench_main.h"

int main(int argc, char** argv) { return vrm::bench::RunBenchmarks(argc, argv); }
