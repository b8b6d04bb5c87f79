// A probe for timing start-up from outside the process. When the environment
// holds VRM650T_STARTUP_PROBE, the moment the first main window is exposed is
// written to standard output (CLOCK_MONOTONIC, microseconds, one line) and
// the process ends at once, saving nothing. The start-up benchmark runs the
// program and a bare Qt window this way and compares the two.
#pragma once

namespace vrm {

// Registered with Q_COREAPP_STARTUP_FUNCTION by the programs that offer the
// probe; does nothing when the variable is not set.
void InstallStartupProbe();

}  // namespace vrm
