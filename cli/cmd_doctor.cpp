// vrm650t-cli doctor: why the programming cable can or cannot be used, and
// the fix.
#include <ostream>

#include "cli/cli.h"
#include "link/cable_doctor.h"
#include "link/transport.h"

namespace vrm::cli {

namespace {

// Exit status: 0 when a cable can be opened, 1 when none can.
constexpr int kExitNoUsableCable = 1;

int RunDoctor(Context& ctx) {
    if (!ctx.args.Positionals().empty() || !NoUnknownOptions(ctx)) return kUsageError;
    int found = 0;
    const std::vector<CableProbe> probes = ProbeCables(LibraryTransport::kDefaultName, found);
    const DoctorReport report = CableDoctorReport(found, probes, DoctorSystem::Current(ctx.programFolder),
                                                  Language(ctx), WantedCableIdsText());
    for (const std::string& line : report.lines) ctx.out << line << "\n";
    return report.usable ? 0 : kExitNoUsableCable;
}

}  // namespace

VRM_CLI_COMMAND("doctor", "doctor",
                "say whether the programming cable can be used and, when it cannot, why and the exact fix", RunDoctor);

}  // namespace vrm::cli
