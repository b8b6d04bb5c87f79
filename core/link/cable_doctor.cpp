#include "core/link/cable_doctor.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>

#include "core/link/transport.h"
#include "pipelink/cable_ids.h"
#include "pipelink/pipelink.h"
#include "core/base/language_table.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

// The rule files shipped beside the programs.
constexpr const char* kUaccessRule = "60-vrm650t-cable.rules";
constexpr const char* kGroupRule = "61-vrm650t-cable-plugdev.rules";

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Hex4(std::uint16_t v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04x", static_cast<unsigned>(v));
    return buf;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* e = ::readdir(dir)) names.emplace_back(e->d_name);
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// True when a line of the file (not a comment) matches the vendor and the
// product ID.
bool RuleNamesDevice(const std::string& path, std::uint16_t vendor, std::uint16_t product) {
    std::ifstream in(path);
    const std::string v = "\"" + Hex4(vendor) + "\"";
    const std::string p = "\"" + Hex4(product) + "\"";
    for (std::string line; std::getline(in, line);) {
        line = Lower(line);
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        const std::size_t vi = line.find("idvendor");
        const std::size_t pi = line.find("idproduct");
        if (vi != std::string::npos && pi != std::string::npos && line.find(v, vi) != std::string::npos &&
            line.find(p, pi) != std::string::npos)
            return true;
    }
    return false;
}

// The fields of a logind session file.
std::map<std::string, std::string> SessionFields(const std::string& path) {
    std::map<std::string, std::string> fields;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos) fields[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return fields;
}

// The shipped rule file, or where it is in the source tree.
std::string ShippedRule(const DoctorSystem& system, const char* name) {
    const std::string beside = system.programFolder + name;
    return ::access(beside.c_str(), R_OK) == 0 ? beside : std::string("pipelink/") + name;
}

std::string InstallRuleCommand(const DoctorSystem& system) {
    return "sudo install -m 644 " + ShippedRule(system, kUaccessRule) +
           " /etc/udev/rules.d/ && sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=usb";
}

std::string GroupCommand(const DoctorSystem& system) {
    return "sudo install -m 644 " + ShippedRule(system, kGroupRule) + " /etc/udev/rules.d/ && sudo usermod -aG plugdev " +
           (system.user.empty() ? std::string("$USER") : system.user);
}

std::string Fix(const LanguageTable& language, std::uint32_t id, std::initializer_list<FormatArg> args = {}) {
    return FormatText(language.TextString(tid::kFixLine), {FormatText(language.TextString(id), args)});
}

// The IDs the transport looks for: PIPELINK_DEVICE's, else the cable table.
std::vector<std::pair<std::uint16_t, std::uint16_t>> WantedIds() {
    std::vector<std::pair<std::uint16_t, std::uint16_t>> ids;
    if (const char* env = std::getenv("PIPELINK_DEVICE"); env && *env) {
        unsigned v = 0, p = 0;
        char end = 0;
        if (std::sscanf(env, "%4x:%4x%c", &v, &p, &end) == 2)
            ids.emplace_back(static_cast<std::uint16_t>(v), static_cast<std::uint16_t>(p));
        return ids;
    }
    for (std::size_t i = 0; i < PIPELINK_CABLE_ID_COUNT; ++i)
        ids.emplace_back(kPipelinkCableIds[i].vendor, kPipelinkCableIds[i].product);
    return ids;
}

}  // namespace

std::string CableProbe::NodePath() const {
    char buf[32];
    std::snprintf(buf, sizeof buf, "/dev/bus/usb/%03d/%03d", bus, address);
    return buf;
}

DoctorSystem DoctorSystem::Current(const std::string& programFolder) {
    DoctorSystem s;
    s.rulesFolders = {"/etc/udev/rules.d", "/run/udev/rules.d", "/usr/local/lib/udev/rules.d", "/usr/lib/udev/rules.d",
                      "/lib/udev/rules.d"};
    s.sessionsFolder = "/run/systemd/sessions";
    s.procFolder = "/proc";
    if (const char* id = std::getenv("XDG_SESSION_ID")) s.sessionId = id;
    if (const char* user = std::getenv("USER")) s.user = user;
    s.programFolder = programFolder;
    return s;
}

DoctorSystem DoctorSystem::Current() {
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    std::string folder = n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
    const std::size_t slash = folder.rfind('/');
    return Current(slash == std::string::npos ? std::string() : folder.substr(0, slash + 1));
}

AccessFacts ReadAccessFacts(const DoctorSystem& system, std::uint16_t vendor, std::uint16_t product) {
    AccessFacts facts;
    for (const std::string& folder : system.rulesFolders) {
        for (const std::string& name : FolderEntries(folder)) {
            if (name.size() < 7 || name.compare(name.size() - 6, 6, ".rules") != 0) continue;
            const std::string path = folder + "/" + name;
            if (!RuleNamesDevice(path, vendor, product)) continue;
            struct stat st {};
            if (::stat(path.c_str(), &st) != 0) continue;
            if (!facts.ruleInstalled || st.st_mtime > facts.ruleTime) {
                facts.ruleFile = path;
                facts.ruleTime = st.st_mtime;
            }
            facts.ruleInstalled = true;
        }
    }
    if (!system.sessionId.empty()) {
        auto fields = SessionFields(system.sessionsFolder + "/" + system.sessionId);
        facts.seatSession = !fields["SEAT"].empty() && fields["REMOTE"] != "1" && fields["ACTIVE"] == "1";
    }
    return facts;
}

std::vector<std::string> ProcessesHolding(const DoctorSystem& system, const std::string& nodePath) {
    std::vector<std::string> holders;
    // The node itself, so that a file of the same name elsewhere (another
    // program's emulated bus, a container's /dev) is not taken for it.
    struct stat node {};
    const bool nodeKnown = ::stat(nodePath.c_str(), &node) == 0;
    for (const std::string& pid : FolderEntries(system.procFolder)) {
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string fdFolder = system.procFolder + "/" + pid + "/fd";
        for (const std::string& fd : FolderEntries(fdFolder)) {
            if (fd[0] == '.') continue;
            char target[4096];
            const ssize_t n = ::readlink((fdFolder + "/" + fd).c_str(), target, sizeof target - 1);
            if (n <= 0) continue;
            const std::string link(target, static_cast<std::size_t>(n));
            // An emulated bus shows the node under a folder of its own.
            if (link.size() < nodePath.size() || link.compare(link.size() - nodePath.size(), nodePath.size(), nodePath) != 0)
                continue;
            struct stat held {};
            if (nodeKnown && (::stat((fdFolder + "/" + fd).c_str(), &held) != 0 || held.st_dev != node.st_dev ||
                              held.st_ino != node.st_ino))
                continue;
            std::string name;
            std::ifstream(system.procFolder + "/" + pid + "/comm") >> name;
            holders.push_back(name + " (pid " + pid + ")");
            break;
        }
    }
    return holders;
}

CableDiagnosis Diagnose(const CableProbe& probe, const DoctorSystem& system) {
    CableDiagnosis d;
    d.probe = probe;
    switch (probe.open) {
        case LinkError::kNone: d.finding = CableFinding::kUsable; break;
        case LinkError::kBusy:
            d.finding = CableFinding::kBusy;
            d.holders = ProcessesHolding(system, probe.NodePath());
            break;
        case LinkError::kUnusableCable: d.finding = CableFinding::kNotACable; break;
        case LinkError::kNoPermission: {
            const AccessFacts facts = ReadAccessFacts(system, probe.vendor, probe.product);
            struct stat st {};
            const bool nodeKnown = ::stat(probe.NodePath().c_str(), &st) == 0;
            if (!facts.ruleInstalled) d.finding = CableFinding::kRuleMissing;
            else if (nodeKnown && st.st_ctime < facts.ruleTime) d.finding = CableFinding::kReplug;
            else if (!facts.seatSession) d.finding = CableFinding::kNoSeatAccess;
            else d.finding = CableFinding::kNoAccessUnexplained;
            break;
        }
        default: d.finding = CableFinding::kUsbError; break;
    }
    return d;
}

std::string FixLine(const CableDiagnosis& d, const DoctorSystem& system, const LanguageTable& language) {
    switch (d.finding) {
        case CableFinding::kUsable: return {};
        case CableFinding::kRuleMissing: return Fix(language, tid::kFixInstallRule, {InstallRuleCommand(system)});
        case CableFinding::kReplug: return Fix(language, tid::kFixReplug);
        case CableFinding::kNoSeatAccess: return Fix(language, tid::kFixGroup, {GroupCommand(system)});
        case CableFinding::kNoAccessUnexplained: return Fix(language, tid::kFixUnexplained, {GroupCommand(system)});
        case CableFinding::kBusy: {
            if (d.holders.empty()) return Fix(language, tid::kFixCloseOther);
            std::string names;
            for (const std::string& h : d.holders) names += (names.empty() ? "" : ", ") + h;
            return Fix(language, tid::kFixCloseNamed, {names});
        }
        case CableFinding::kNotACable: return Fix(language, tid::kFixNotACable);
        case CableFinding::kUsbError: return Fix(language, tid::kFixUsbError);
    }
    return {};
}

std::string LinkTroubleText(LinkError error, const DoctorSystem& system, const LanguageTable& language) {
    const std::uint32_t why = LinkErrorText(error);
    if (why == 0) return {};
    std::string text = language.TextString(why);
    if (error != LinkError::kNoPermission && error != LinkError::kBusy) return text;
    // Without the device at hand: the rule and the session decide, as they
    // do for the doctor.
    CableDiagnosis d;
    d.probe.open = error;
    if (error == LinkError::kBusy) {
        d.finding = CableFinding::kBusy;
    } else {
        const auto ids = WantedIds();
        const AccessFacts facts =
            ids.empty() ? AccessFacts{} : ReadAccessFacts(system, ids.front().first, ids.front().second);
        d.finding = !facts.ruleInstalled ? CableFinding::kRuleMissing
                    : !facts.seatSession ? CableFinding::kNoSeatAccess
                                         : CableFinding::kReplug;
    }
    return text + "\n" + FixLine(d, system, language) + "\n" + language.TextString(tid::kLinkDoctorHint);
}

// The line that says what the doctor found about one device.
static std::string FindingText(const CableDiagnosis& d, const DoctorSystem& system, const LanguageTable& language) {
    const CableProbe& probe = d.probe;
    switch (d.finding) {
        case CableFinding::kUsable: return language.TextString(tid::kDoctorUsable);
        case CableFinding::kRuleMissing: return language.TextString(tid::kDoctorRuleMissing);
        case CableFinding::kReplug:
            return FormatText(language.TextString(tid::kDoctorReplug),
                              {ReadAccessFacts(system, probe.vendor, probe.product).ruleFile});
        case CableFinding::kNoSeatAccess: return language.TextString(tid::kDoctorNoSeat);
        case CableFinding::kNoAccessUnexplained:
            return FormatText(language.TextString(tid::kDoctorNoAccess),
                              {ReadAccessFacts(system, probe.vendor, probe.product).ruleFile});
        case CableFinding::kBusy: {
            std::string names;
            for (const std::string& h : d.holders) names += (names.empty() ? "" : ", ") + h;
            return names.empty() ? language.TextString(tid::kDoctorBusyUnknown)
                                 : FormatText(language.TextString(tid::kDoctorBusy), {names});
        }
        case CableFinding::kNotACable: return language.TextString(tid::kDoctorNotACable);
        case CableFinding::kUsbError: return language.TextString(tid::kDoctorUsbError);
    }
    return {};
}

DoctorReport CableDoctorReport(int found, const std::vector<CableProbe>& probes, const DoctorSystem& system,
                               const LanguageTable& language, const std::string& wantedIds) {
    DoctorReport report;
    auto& out = report.lines;
    out.push_back(FormatText(language.TextString(tid::kDoctorLooking), {wantedIds}));
    if (found == -1) {
        out.push_back(language.TextString(tid::kDoctorNoUsb));
        return report;
    }
    if (found == -2) {
        out.push_back(FormatText(language.TextString(tid::kDoctorNoProbe), {LibraryTransport::kDefaultName}));
        return report;
    }
    if (probes.empty()) {
        out.push_back(language.TextString(tid::kDoctorNoCable));
        out.push_back(Fix(language, tid::kFixConnect));
        return report;
    }
    for (const CableProbe& probe : probes) {
        char bus[8], address[8];
        std::snprintf(bus, sizeof bus, "%03d", probe.bus);
        std::snprintf(address, sizeof address, "%03d", probe.address);
        out.push_back("");
        out.push_back(FormatText(language.TextString(tid::kDoctorDevice),
                                 {std::string(bus), std::string(address), Hex4(probe.vendor) + ":" + Hex4(probe.product),
                                  probe.serial.empty() ? language.TextString(tid::kDoctorSerialUnknown) : probe.serial}));
        const CableDiagnosis d = Diagnose(probe, system);
        const std::string finding = FindingText(d, system, language);
        out.push_back("  " + finding);
        if (d.finding == CableFinding::kUsable) report.usable = true;
        else out.push_back("  " + FixLine(d, system, language));
    }
    return report;
}

std::string WantedCableIdsText() {
    std::string text;
    for (const auto& [v, p] : WantedIds()) text += (text.empty() ? "" : ", ") + Hex4(v) + ":" + Hex4(p);
    return text;
}

std::vector<CableProbe> ProbeCables(const std::string& library, int& found) {
    std::vector<CableProbe> probes;
    LibraryTransport transport(library);
    if (!transport.Load()) {
        found = -2;
        return probes;
    }
    PipelinkCableProbe raw[16] = {};
    const std::optional<int> n = transport.ProbeCables(raw, 16);
    if (!n) {
        found = -2;
        return probes;
    }
    found = *n;
    for (int i = 0; i < std::min(*n, 16); ++i) {
        CableProbe p;
        p.bus = raw[i].bus;
        p.address = raw[i].address;
        p.vendor = raw[i].vendor;
        p.product = raw[i].product;
        raw[i].serial[sizeof raw[i].serial - 1] = '\0';
        p.serial = raw[i].serial;
        p.open = LinkErrorFromCode(raw[i].openResult);
        probes.push_back(p);
    }
    return probes;
}

}  // namespace vrm
