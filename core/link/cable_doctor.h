// The cable doctor: why the programming cable can or cannot be used, and the
// exact fix. The transport library lists the devices that match the cable
// table and tries to open each; the doctor reads what the system tells about
// the rest (the udev rules in place, the login session, the processes that
// hold the device node) and names the one fix that applies.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "core/link/link_error.h"

namespace vrm {

class LanguageTable;

// One present device that matches the cable table.
struct CableProbe {
    int bus = 0;
    int address = 0;
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    std::string serial;              // empty when the device does not tell
    LinkError open = LinkError::kNone;  // the outcome of opening and claiming it

    // "/dev/bus/usb/001/002".
    std::string NodePath() const;
};

// Where the doctor looks; Current() gives the real system's places, tests
// point it at folders of their own.
struct DoctorSystem {
    std::vector<std::string> rulesFolders;  // udev's rule folders, in udev's order
    std::string sessionsFolder;             // logind's session files
    std::string procFolder;
    std::string sessionId;                  // XDG_SESSION_ID
    std::string user;                       // the login name, for the group command
    std::string programFolder;              // where the rule files ship, with trailing '/'

    static DoctorSystem Current(const std::string& programFolder);
    // The same, with the running executable's folder as the program folder.
    static DoctorSystem Current();
};

enum class CableFinding {
    kUsable,
    kRuleMissing,      // no udev rule names the device
    kReplug,           // the rule came after the device was plugged in
    kNoSeatAccess,     // the login is remote or not on a seat: uaccess does not apply
    kNoAccessUnexplained,
    kBusy,             // another program holds the device
    kNotACable,        // no bulk IN/OUT interface
    kUsbError,
};

struct CableDiagnosis {
    CableProbe probe;
    CableFinding finding = CableFinding::kUsable;
    std::vector<std::string> holders;  // "name (pid N)" of the processes that hold the node
};

// What the system tells about the cable's access.
struct AccessFacts {
    bool ruleInstalled = false;
    std::string ruleFile;        // the newest rule file that names the device
    std::time_t ruleTime = 0;    // its modification time
    bool seatSession = false;    // a local, active session on a seat (uaccess applies)
};

// The rule files and the session, for a device with these IDs.
AccessFacts ReadAccessFacts(const DoctorSystem& system, std::uint16_t vendor, std::uint16_t product);
// The processes whose open files include `nodePath`, as "name (pid N)".
std::vector<std::string> ProcessesHolding(const DoctorSystem& system, const std::string& nodePath);

// Diagnoses one probed device.
CableDiagnosis Diagnose(const CableProbe& probe, const DoctorSystem& system);

// The one-line fix for a diagnosis, starting "Fix: " in the current language.
std::string FixLine(const CableDiagnosis& d, const DoctorSystem& system, const LanguageTable& language);
// What a "no permission" or "busy" failure of a transfer tells the user: the
// cause, the fix that the doctor would give (from what can be known without
// the device) and the pointer to the doctor. Other errors: their text alone.
std::string LinkTroubleText(LinkError error, const DoctorSystem& system, const LanguageTable& language);

// The whole report of `vrm650t-cli doctor`, for what the transport library
// found: `found` is its count (-1: USB cannot be started; -2: the library
// cannot list cables). Returns the lines and whether a cable can be used.
struct DoctorReport {
    std::vector<std::string> lines;
    bool usable = false;
};
DoctorReport CableDoctorReport(int found, const std::vector<CableProbe>& probes, const DoctorSystem& system,
                               const LanguageTable& language, const std::string& wantedIds);

// The vendor:product pairs the transport looks for ("1209:650a, 1209:650b").
std::string WantedCableIdsText();

// Asks the transport library (by name, as the port loads it) for the devices
// that match the cable table; `found` as above.
std::vector<CableProbe> ProbeCables(const std::string& library, int& found);

}  // namespace vrm
