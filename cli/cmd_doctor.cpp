// vrm650t-cli doctor: why the programming cable can or cannot be used, and
// the fix.
#include <ostream>

#include "cli/cli.h"
#include "core/link/cable_doctor.h"
#include "core/link/transport.h"

namespace vrm::cli {

namespace {

int RunDoctor(Context& ctx) {
    int found = 0;
    const std::vector<CableProbe> probes = ProbeCables(LibraryTransport::kDefaultName, found);
    const DoctorReport report = CableDoctorReport(found, probes, DoctorSystem::Current(ctx.programFolder),
                                                  Language(ctx), WantedCableIdsText());
    for (const std::string& line : report.lines) ctx.out << line << "\n";
    return report.usable ? kExitOk : kExitNo;
}

}  // namespace

VRM_CLI_COMMAND("doctor", "say whether the programming cable can be used and, when it cannot, why and the exact fix",
                RunDoctor, {});

}  // namespace vrm::cli
