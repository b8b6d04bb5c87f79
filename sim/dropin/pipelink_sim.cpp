// The simulated radio's drop-in libpipelink.so: the same exports as the real
// transport library, answered by a SimulatedRadio. Put its folder first on
// LD_LIBRARY_PATH and the program talks to the simulated radio instead of a
// cable.
//
// Environment, read at every WinUSB_init and PipelinkCableOpen:
//   VRM650T_SIM_STATE   the radios' state files (created when missing): one
//                       file, several separated by ':' (a station of radios,
//                       one per simulated cable), or a folder of *.state files
//   VRM650T_SIM_FAULTS  faults to show in this session (sim/sim_faults.h), for
//                       every radio; VRM650T_SIM_FAULTS_<n> replaces them for
//                       radio n (counted from 1)
//   VRM650T_SIM_BAUD    bits per second on the radio's serial side; each byte
//                       then takes its time on the wire (0 or unset: none)
//
// Simulated cable n has the port path "sim-<n>" and the serial "SIMCABLE<n>"
// (two digits). The seven single-cable exports use the first radio.
//
// As a cable can be held by one program at a time, a session holds a lock on
// "<state file>.lock" from its open to its close (or the end of the process);
// a second open of the same radio is refused with PIPELINK_BUSY.
//
// A radio's state file is written when a block of its memory or tuning was
// written and at the end of the session, not after every message.
//
// While "<state file>.unplugged" exists (`vrm650t-cli sim unplug`), the radio
// is off its cable: the cable is listed and opens, nothing answers, and the
// state file is not touched, so another radio's file can take its place
// before `sim plug`. It is looked at when a session starts.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "core/base/clock.h"
#include "pipelink/pipelink.h"
#include "sim/sim_faults.h"
#include "sim/sim_state.h"
#include "sim/simulated_link.h"
#include "sim/simulated_radio.h"

#define PIPELINK_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// One simulated cable with its radio, open for one session.
struct SimCable {
    vrm::SimulatedRadio radio;
    vrm::SimulatedLink link{radio, vrm::SystemClock::Instance()};
    std::string path;
    int index = 0;  // 0-based: radio n+1
    int lastError = PIPELINK_OK;
    int lockFd = -1;
};

SimCable& First() {
    static SimCable sim;
    return sim;
}

// Diagnostics for whoever runs the simulator; the program itself only sees
// the results and the error codes.
void Warn(const std::string& what) { std::fprintf(stderr, "libpipelink (simulated radio): %s\n", what.c_str()); }

std::string PortPathOf(int index) { return "sim-" + std::to_string(index + 1); }

std::string SerialOf(int index) {
    const std::string n = std::to_string(index + 1);
    return "SIMCABLE" + std::string(n.size() < 2 ? 1 : 0, '0') + n;
}

bool LoadRadio(SimCable& s) {
    std::string error;
    if (!vrm::LoadOrCreateSimState(s.path, s.radio, &error)) {
        Warn(error);
        s.lastError = PIPELINK_USB_ERROR;
        return false;
    }
    return true;
}

vrm::SimFaults FaultsFor(int index) {
    vrm::SimFaults faults;
    const std::string own = "VRM650T_SIM_FAULTS_" + std::to_string(index + 1);
    const char* env = std::getenv(own.c_str());
    const char* name = own.c_str();
    if (!env) {
        env = std::getenv("VRM650T_SIM_FAULTS");
        name = "VRM650T_SIM_FAULTS";
    }
    if (!env || !*env) return faults;
    std::string error;
    if (!vrm::ParseSimFaults(env, faults, &error)) Warn(std::string(name) + ": not understood: " + error);
    return faults;
}

std::uint32_t BaudFromEnvironment() {
    const char* env = std::getenv("VRM650T_SIM_BAUD");
    if (!env || !*env) return 0;
    char* end = nullptr;
    const unsigned long v = std::strtoul(env, &end, 10);
    if (*end != '\0' || v > 10'000'000UL) {
        Warn(std::string("VRM650T_SIM_BAUD: not a rate: ") + env);
        return 0;
    }
    return static_cast<std::uint32_t>(v);
}

// Takes the radio for this session; false (with the error set) when another
// session holds it.
bool Hold(SimCable& s) {
    if (s.lockFd >= 0) return true;
    const std::string lockPath = s.path + ".lock";
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        // A folder that is missing is created with the state file; without a
        // lock file the session still runs, as it did before locks.
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        s.lastError = errno == EWOULDBLOCK ? PIPELINK_BUSY : PIPELINK_USB_ERROR;
        return false;
    }
    s.lockFd = fd;
    return true;
}

void Release(SimCable& s) {
    if (s.lockFd < 0) return;
    ::close(s.lockFd);  // closing the descriptor drops the lock
    s.lockFd = -1;
}

void Save(SimCable& s) {
    std::string error;
    if (!vrm::SaveSimState(s.path, s.radio, &error)) Warn(error);
}

// Starts a session on cable `index`: holds its radio, loads its state and
// opens the link.
bool Start(SimCable& s, int index) {
    s.lastError = PIPELINK_OK;
    s.link.Delete();
    s.index = index;
    s.path = vrm::SimStatePaths().at(static_cast<std::size_t>(index));
    if (vrm::SimRadioUnplugged(s.path)) {
        vrm::SimFaults absent;
        absent.absent = true;
        s.link.SetFaults(absent);
        s.link.SetBaud(BaudFromEnvironment());
        s.link.SetOnChange(nullptr);
        return s.link.Init() != 0;
    }
    // Held before the state is loaded, so that what is loaded is what the
    // last session left.
    if (!Hold(s) || !LoadRadio(s)) return false;
    s.link.SetFaults(FaultsFor(index));
    s.link.SetBaud(BaudFromEnvironment());
    s.link.SetOnChange([&s] { Save(s); });
    s.radio.AppendLog("session");
    const auto& log = s.radio.Log();
    s.link.SetNextSession(static_cast<std::uint32_t>(std::count(log.begin(), log.end(), std::string("session"))));
    return s.link.Init() != 0;
}

int ErrorOf(const SimCable& s) { return s.lastError != PIPELINK_OK ? s.lastError : s.link.LastError(); }

SimCable* CableOf(PipelinkHandle handle) {
    if (handle == PIPELINK_INVALID_HANDLE || handle == 0) return nullptr;
    return reinterpret_cast<SimCable*>(handle);
}

}  // namespace

PIPELINK_EXPORT PipelinkBool GetDevicePath(const PipelinkGuid* interfaceClass, char* out, uint32_t size) {
    (void)interfaceClass;
    if (!out || size == 0) return 0;
    const std::string path = "simulated:" + vrm::DefaultSimStatePath();
    if (path.size() + 1 > size) return 0;
    std::memcpy(out, path.c_str(), path.size() + 1);
    return 1;
}

PIPELINK_EXPORT PipelinkHandle OpenDevice(const PipelinkGuid* interfaceClass, uint32_t unused) {
    (void)interfaceClass;
    (void)unused;
    SimCable& s = First();
    s.path = vrm::DefaultSimStatePath();
    if (!vrm::SimRadioUnplugged(s.path) && !LoadRadio(s)) return PIPELINK_INVALID_HANDLE;
    return reinterpret_cast<PipelinkHandle>(&s);
}

PIPELINK_EXPORT PipelinkBool WinUSB_init(void) { return Start(First(), 0) ? 1 : 0; }

PIPELINK_EXPORT PipelinkBool WinUSB_Delete(void) {
    SimCable& s = First();
    const int r = s.link.Delete();
    Release(s);
    return r;
}

PIPELINK_EXPORT PipelinkBool WinUSB_Send(const uint8_t* data, uint32_t length) {
    if (!data && length) return 0;
    return First().link.Send(data, length);
}

PIPELINK_EXPORT PipelinkBool WinUSB_Recv(uint8_t* dst, uint32_t* count) { return First().link.Recv(dst, count); }

PIPELINK_EXPORT PipelinkBool WinUSB_TimeOutSet(uint32_t ms) { return First().link.TimeOutSet(ms); }

PIPELINK_EXPORT int PipelinkLastError(void) { return ErrorOf(First()); }

PIPELINK_EXPORT int PipelinkListCables(PipelinkCable* out, uint32_t max) {
    const std::size_t count = vrm::SimStatePaths().size();
    for (std::size_t i = 0; out && i < count && i < max; ++i) {
        out[i] = PipelinkCable{};
        out[i].bus = 1;
        out[i].address = static_cast<uint8_t>(i + 2);
        std::snprintf(out[i].portPath, sizeof out[i].portPath, "%s", PortPathOf(static_cast<int>(i)).c_str());
        std::snprintf(out[i].serial, sizeof out[i].serial, "%s", SerialOf(static_cast<int>(i)).c_str());
    }
    return static_cast<int>(count);
}

PIPELINK_EXPORT PipelinkHandle PipelinkCableOpen(const char* id, int* error) {
    const int count = static_cast<int>(vrm::SimStatePaths().size());
    int index = -1;
    for (int i = 0; i < count && index < 0; ++i)
        if (!id || !*id || PortPathOf(i) == id || SerialOf(i) == id) index = i;
    if (index < 0) {
        if (error) *error = PIPELINK_NO_DEVICE;
        return PIPELINK_INVALID_HANDLE;
    }
    auto* s = new SimCable;
    if (!Start(*s, index)) {
        if (error) *error = ErrorOf(*s);
        s->link.Delete();
        Release(*s);
        delete s;
        return PIPELINK_INVALID_HANDLE;
    }
    if (error) *error = PIPELINK_OK;
    return reinterpret_cast<PipelinkHandle>(s);
}

PIPELINK_EXPORT PipelinkBool PipelinkCableSend(PipelinkHandle cable, const uint8_t* data, uint32_t length) {
    SimCable* s = CableOf(cable);
    if (!s || (!data && length)) return 0;
    return s->link.Send(data, length);
}

PIPELINK_EXPORT PipelinkBool PipelinkCableRecv(PipelinkHandle cable, uint8_t* dst, uint32_t* count) {
    SimCable* s = CableOf(cable);
    if (!s) {
        if (count) *count = 0;
        return 0;
    }
    return s->link.Recv(dst, count);
}

PIPELINK_EXPORT PipelinkBool PipelinkCableTimeOutSet(PipelinkHandle cable, uint32_t ms) {
    SimCable* s = CableOf(cable);
    return s ? s->link.TimeOutSet(ms) : 0;
}

PIPELINK_EXPORT int PipelinkCableLastError(PipelinkHandle cable) {
    SimCable* s = CableOf(cable);
    return s ? ErrorOf(*s) : PIPELINK_NO_DEVICE;
}

PIPELINK_EXPORT PipelinkBool PipelinkCableClose(PipelinkHandle cable) {
    SimCable* s = CableOf(cable);
    if (!s) return 0;
    const int r = s->link.Delete();
    Release(*s);
    delete s;
    return r;
}
