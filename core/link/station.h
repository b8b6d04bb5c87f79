// The programming station: the safe write of one data set into the radios on
// several cables at the same time, one worker thread and one port per cable.
// Each cable runs the same safe write as a single radio (backup, write,
// verify, a pair of log rows), independently: a fault, a pull or a timeout on
// one cable never stops another. With a plan, each radio is identified first
// and gets its own data; with Continuous, a cable whose radio is done waits
// for that radio to go and the next to come, and starts again.
#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/link/safe_write.h"
#include "core/link/station_plan.h"
#include "core/link/stop_flag.h"
#include "core/link/transport.h"

namespace vrm {

class LanguageTable;

// A present cable.
struct StationCable {
    std::string portPath;  // "1-4.2"; the ID ports are opened by
    std::string serial;    // "" when the cable does not tell
    int bus = 0;
    int address = 0;
};

// The present cables as the transport library lists them; nullopt when the
// library cannot be loaded or cannot list cables.
std::optional<std::vector<StationCable>> ListStationCables(const std::string& library = LibraryTransport::kDefaultName);

// The cables `ids` names: "all" (or empty), or IDs separated by commas, each
// a port path or a cable serial number. IDs that name no present cable go to
// `unknown`.
std::vector<StationCable> ChooseCables(const std::vector<StationCable>& present, const std::string& ids,
                                       std::vector<std::string>& unknown);

enum class StationPhase { kWaiting, kIdentifying, kBackup, kWriting, kVerifying, kDone, kFailed, kStopped, kNextRadio };

// The text of a phase (text IDs kStationWaiting ...).
std::string StationPhaseText(const LanguageTable& language, StationPhase phase);

// What one cable is doing and has done.
struct CableStatus {
    StationCable cable;
    StationPhase phase = StationPhase::kWaiting;
    int done = 0;   // blocks of the current transfer
    int total = 0;
    std::string radioSerial;
    std::string model;
    std::string result;  // the last radio's outcome, as the log words it
    int written = 0;     // radios written and verified (or written, when not verifying)
    int failed = 0;      // radios that failed or were refused
    bool Percent(int& out) const {
        if (total <= 0) return false;
        out = done * 100 / total;
        return true;
    }
};

// Told of every change of a cable's status, on that cable's worker thread.
class StationObserver {
public:
    virtual ~StationObserver() = default;
    virtual void OnCable(std::size_t index, const CableStatus& status) = 0;
};

struct StationJob {
    ImageBuffer image{};          // the station's data (FILE)
    const StationPlan* plan = nullptr;
    bool planDefault = false;     // a radio not in the plan gets `image`
    SafeWriteOptions options;     // options.dataFile names `image`'s file
    bool continuous = false;
    bool assumeYes = false;       // answer the radio questions (another identity) with yes
    bool scrambling = true;
    std::string library = LibraryTransport::kDefaultName;
    std::uint32_t pollMs = 1000;  // Continuous: how often a cable looks for its radio
};

class Station {
public:
    // `session` (may be null): a flag the station's stop also follows (the
    // program's signal flag).
    Station(const LanguageTable& language, StationJob job, std::vector<StationCable> cables, StationObserver& observer,
            const StopFlag* session = nullptr);

    // Runs every cable on its own thread and returns when all have ended.
    void Run();
    // Asks every cable to stop at its next step (any thread; `signal` says why).
    void Stop(int signal) { stop_.Set(signal); }
    int StopValue() const { return stop_.Value(); }

    // Each cable's status after Run.
    std::vector<CableStatus> Statuses() const;
    int Written() const;
    int Failed() const;

private:
    friend class StationCableRun;
    void RunCable(std::size_t index);
    void Publish(std::size_t index, CableStatus status);

    const LanguageTable& language_;
    StationJob job_;
    StationObserver& observer_;
    StopFlag stop_;
    mutable std::mutex mutex_;
    std::vector<CableStatus> statuses_;
};

}  // namespace vrm
