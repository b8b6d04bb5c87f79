// libpipelink.so over libusb-1.0: finds the programming cable by its vendor
// and product ID, claims its first interface with a bulk IN and a bulk OUT
// endpoint, and moves bytes over those two pipes. No framing, no scrambling:
// the program does all of that.
#include "pipelink/pipelink.h"

#include <libusb.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "pipelink/cable_ids.h"

#define PIPELINK_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Module-global state of the one open cable.
struct State {
    libusb_context* context = nullptr;
    libusb_device_handle* handle = nullptr;
    int interfaceNumber = -1;
    bool kernelDriverDetached = false;
    std::uint8_t bulkOut = 0;
    std::uint8_t bulkIn = 0;
    std::uint8_t interrupt = 0;  // recorded, not used
    std::uint8_t speed = 0;      // recorded, not used
    unsigned receiveTimeoutMs = PIPELINK_INITIAL_TIMEOUT_MS;
    int lastError = PIPELINK_OK;
};

State g_state;

struct VidPid {
    std::uint16_t vendor;
    std::uint16_t product;
};

bool ParseHex16(const char* text, std::size_t length, std::uint16_t* out) {
    if (length == 0 || length > 4) return false;
    unsigned value = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
        else return false;
        value = value * 16 + digit;
    }
    *out = static_cast<std::uint16_t>(value);
    return true;
}

// The IDs to look for: PIPELINK_DEVICE=vvvv:pppp when set (a malformed value
// matches nothing, so a typo shows up as "no cable" rather than as a silent
// fallback), else the cable table.
std::vector<VidPid> WantedIds() {
    std::vector<VidPid> ids;
    const char* env = std::getenv("PIPELINK_DEVICE");
    if (env && *env) {
        const char* colon = std::strchr(env, ':');
        VidPid id{};
        if (colon && ParseHex16(env, static_cast<std::size_t>(colon - env), &id.vendor) &&
            ParseHex16(colon + 1, std::strlen(colon + 1), &id.product)) {
            ids.push_back(id);
        }
        return ids;
    }
    for (std::size_t i = 0; i < PIPELINK_CABLE_ID_COUNT; ++i)
        ids.push_back({kPipelinkCableIds[i].vendor, kPipelinkCableIds[i].product});
    return ids;
}

int ErrorOf(int usbResult) {
    switch (usbResult) {
        case LIBUSB_ERROR_ACCESS: return PIPELINK_NO_PERMISSION;
        case LIBUSB_ERROR_BUSY: return PIPELINK_BUSY;
        case LIBUSB_ERROR_NO_DEVICE:
        case LIBUSB_ERROR_NOT_FOUND: return PIPELINK_NO_DEVICE;
        default: return PIPELINK_USB_ERROR;
    }
}

// The first present device whose IDs are wanted, referenced; null when none.
libusb_device* FindCable(libusb_context* context) {
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context, &list);
    if (count < 0) return nullptr;
    const std::vector<VidPid> wanted = WantedIds();
    libusb_device* found = nullptr;
    for (ssize_t i = 0; i < count && !found; ++i) {
        libusb_device_descriptor desc{};
        if (libusb_get_device_descriptor(list[i], &desc) != 0) continue;
        for (const VidPid& id : wanted) {
            if (desc.idVendor == id.vendor && desc.idProduct == id.product) {
                found = libusb_ref_device(list[i]);
                break;
            }
        }
    }
    libusb_free_device_list(list, 1);
    return found;
}

struct Pipes {
    int interfaceNumber = -1;
    std::uint8_t bulkIn = 0;
    std::uint8_t bulkOut = 0;
    std::uint8_t interrupt = 0;
};

// The first interface (alternate setting 0) of the active configuration that
// has both a bulk IN and a bulk OUT endpoint. An isochronous endpoint ends
// the walk of an interface's endpoints.
bool FindPipes(libusb_device* device, Pipes* out) {
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != 0 || !config) {
        if (libusb_get_config_descriptor(device, 0, &config) != 0 || !config) return false;
    }
    bool ok = false;
    for (int i = 0; i < config->bNumInterfaces && !ok; ++i) {
        const libusb_interface& itf = config->interface[i];
        if (itf.num_altsetting < 1) continue;
        const libusb_interface_descriptor& alt = itf.altsetting[0];
        Pipes pipes;
        pipes.interfaceNumber = alt.bInterfaceNumber;
        for (int e = 0; e < alt.bNumEndpoints; ++e) {
            const libusb_endpoint_descriptor& ep = alt.endpoint[e];
            const int type = ep.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK;
            if (type == LIBUSB_TRANSFER_TYPE_BULK) {
                if (ep.bEndpointAddress & LIBUSB_ENDPOINT_IN) {
                    if (!pipes.bulkIn) pipes.bulkIn = ep.bEndpointAddress;
                } else if (!pipes.bulkOut) {
                    pipes.bulkOut = ep.bEndpointAddress;
                }
            } else if (type == LIBUSB_TRANSFER_TYPE_INTERRUPT) {
                pipes.interrupt = ep.bEndpointAddress;
            } else {
                break;
            }
        }
        if (pipes.bulkIn && pipes.bulkOut) {
            *out = pipes;
            ok = true;
        }
    }
    libusb_free_config_descriptor(config);
    return ok;
}

void CloseCable() {
    State& s = g_state;
    if (s.handle) {
        if (s.interfaceNumber >= 0) {
            libusb_release_interface(s.handle, s.interfaceNumber);
            if (s.kernelDriverDetached) libusb_attach_kernel_driver(s.handle, s.interfaceNumber);
        }
        libusb_close(s.handle);
    }
    s.handle = nullptr;
    s.interfaceNumber = -1;
    s.kernelDriverDetached = false;
    s.bulkIn = s.bulkOut = s.interrupt = 0;
    s.speed = 0;
}

void EndSession() {
    CloseCable();
    if (g_state.context) libusb_exit(g_state.context);
    g_state.context = nullptr;
}

bool EnsureContext() {
    if (g_state.context) return true;
    // Without a USB bus (no usbfs) libusb cannot start: there is no cable.
    if (libusb_init(&g_state.context) != 0) {
        g_state.context = nullptr;
        g_state.lastError = PIPELINK_NO_DEVICE;
        return false;
    }
    return true;
}

void NoteTransferError(int usbResult) {
    if (usbResult == LIBUSB_ERROR_NO_DEVICE) g_state.lastError = PIPELINK_DISCONNECTED;
}

}  // namespace

PIPELINK_EXPORT PipelinkBool GetDevicePath(const PipelinkGuid* interfaceClass, char* out, uint32_t size) {
    (void)interfaceClass;
    if (!out || size == 0) return 0;
    // Use the open session's context, or a short-lived one of our own.
    libusb_context* context = g_state.context;
    bool own = false;
    if (!context) {
        if (libusb_init(&context) != 0) {
            g_state.lastError = PIPELINK_NO_DEVICE;
            return 0;
        }
        own = true;
    }
    PipelinkBool ok = 0;
    libusb_device* device = FindCable(context);
    if (!device) {
        g_state.lastError = PIPELINK_NO_DEVICE;
    } else {
        char path[64];
        const int n = std::snprintf(path, sizeof path, "/dev/bus/usb/%03u/%03u",
                                    static_cast<unsigned>(libusb_get_bus_number(device)),
                                    static_cast<unsigned>(libusb_get_device_address(device)));
        if (n > 0 && static_cast<std::size_t>(n) < size) {
            std::memcpy(out, path, static_cast<std::size_t>(n) + 1);
            ok = 1;
        }
        libusb_unref_device(device);
    }
    if (own) libusb_exit(context);
    return ok;
}

PIPELINK_EXPORT PipelinkHandle OpenDevice(const PipelinkGuid* interfaceClass, uint32_t unused) {
    (void)interfaceClass;
    (void)unused;
    State& s = g_state;
    CloseCable();
    if (!EnsureContext()) return PIPELINK_INVALID_HANDLE;

    libusb_device* device = FindCable(s.context);
    if (!device) {
        s.lastError = PIPELINK_NO_DEVICE;
        return PIPELINK_INVALID_HANDLE;
    }
    Pipes pipes;
    const bool havePipes = FindPipes(device, &pipes);
    libusb_device_handle* handle = nullptr;
    const int opened = libusb_open(device, &handle);
    s.speed = static_cast<std::uint8_t>(libusb_get_device_speed(device));
    libusb_unref_device(device);
    if (opened != 0) {
        s.lastError = ErrorOf(opened);
        return PIPELINK_INVALID_HANDLE;
    }
    if (!havePipes) {
        libusb_close(handle);
        s.lastError = PIPELINK_NO_BULK_PIPES;
        return PIPELINK_INVALID_HANDLE;
    }
    bool detached = false;
    if (libusb_kernel_driver_active(handle, pipes.interfaceNumber) == 1) {
        if (libusb_detach_kernel_driver(handle, pipes.interfaceNumber) == 0) detached = true;
    }
    const int claimed = libusb_claim_interface(handle, pipes.interfaceNumber);
    if (claimed != 0) {
        if (detached) libusb_attach_kernel_driver(handle, pipes.interfaceNumber);
        libusb_close(handle);
        s.lastError = ErrorOf(claimed);
        return PIPELINK_INVALID_HANDLE;
    }
    s.handle = handle;
    s.interfaceNumber = pipes.interfaceNumber;
    s.kernelDriverDetached = detached;
    s.bulkIn = pipes.bulkIn;
    s.bulkOut = pipes.bulkOut;
    s.interrupt = pipes.interrupt;
    s.lastError = PIPELINK_OK;
    return reinterpret_cast<PipelinkHandle>(handle);
}

PIPELINK_EXPORT PipelinkBool WinUSB_init(void) {
    // Every transfer starts from zero state, even if the library stayed
    // loaded or the last session was not closed.
    EndSession();
    g_state = State{};
    static const PipelinkGuid kClass = PIPELINK_INTERFACE_CLASS;
    if (OpenDevice(&kClass, 1) == PIPELINK_INVALID_HANDLE) return 0;
    g_state.receiveTimeoutMs = PIPELINK_INITIAL_TIMEOUT_MS;
    return 1;
}

PIPELINK_EXPORT PipelinkBool WinUSB_Delete(void) {
    const bool wasOpen = g_state.handle != nullptr;
    EndSession();
    return wasOpen ? 1 : 0;
}

PIPELINK_EXPORT PipelinkBool WinUSB_Send(const uint8_t* data, uint32_t length) {
    State& s = g_state;
    if (!s.handle || !s.bulkOut || (!data && length) || length > INT_MAX) return 0;
    int transferred = 0;
    // libusb takes a non-const buffer for both directions; an OUT transfer
    // only reads it.
    const int r = libusb_bulk_transfer(s.handle, s.bulkOut, const_cast<unsigned char*>(data),
                                       static_cast<int>(length), &transferred, PIPELINK_SEND_TIMEOUT_MS);
    if (r != 0) {
        NoteTransferError(r);
        return 0;
    }
    return transferred == static_cast<int>(length) ? 1 : 0;
}

PIPELINK_EXPORT PipelinkBool WinUSB_Recv(uint8_t* dst, uint32_t* count) {
    if (count) *count = 0;
    State& s = g_state;
    if (!dst || !count || !s.handle || !s.bulkIn) return 0;
    unsigned char local[PIPELINK_READ_SIZE + 1] = {};
    int transferred = 0;
    const int r = libusb_bulk_transfer(s.handle, s.bulkIn, local, PIPELINK_READ_SIZE, &transferred,
                                       s.receiveTimeoutMs);
    if (transferred > 0) {
        if (transferred > PIPELINK_READ_SIZE) transferred = PIPELINK_READ_SIZE;
        std::memcpy(dst, local, static_cast<std::size_t>(transferred));
        *count = static_cast<uint32_t>(transferred);
    }
    if (r != 0) {
        NoteTransferError(r);
        return 0;
    }
    return 1;
}

PIPELINK_EXPORT PipelinkBool WinUSB_TimeOutSet(uint32_t ms) {
    g_state.receiveTimeoutMs = ms;
    return g_state.handle && g_state.bulkIn ? 1 : 0;
}

PIPELINK_EXPORT int PipelinkLastError(void) { return g_state.lastError; }

namespace {

// The serial number from sysfs (readable without opening the device), as the
// kernel read it when the device was plugged in.
void SerialFromSysfs(libusb_device* device, char* out, std::size_t size) {
    std::uint8_t ports[8];
    const int depth = libusb_get_port_numbers(device, ports, sizeof ports);
    if (depth <= 0) return;
    std::string name = std::to_string(libusb_get_bus_number(device)) + "-";
    for (int i = 0; i < depth; ++i) name += (i ? "." : "") + std::to_string(ports[i]);
    std::FILE* f = std::fopen(("/sys/bus/usb/devices/" + name + "/serial").c_str(), "r");
    if (!f) return;
    if (std::fgets(out, static_cast<int>(size), f)) out[std::strcspn(out, "\r\n")] = '\0';
    else out[0] = '\0';
    std::fclose(f);
}

// Opens and claims the device's bulk interface the way OpenDevice does, notes
// the outcome and the serial number, and lets it go again.
void Probe(libusb_device* device, PipelinkCableProbe* probe) {
    Pipes pipes;
    const bool havePipes = FindPipes(device, &pipes);
    libusb_device_descriptor desc{};
    libusb_get_device_descriptor(device, &desc);
    libusb_device_handle* handle = nullptr;
    const int opened = libusb_open(device, &handle);
    if (opened != 0) {
        probe->openResult = ErrorOf(opened);
    } else if (!havePipes) {
        probe->openResult = PIPELINK_NO_BULK_PIPES;
    } else {
        const int claimed = libusb_claim_interface(handle, pipes.interfaceNumber);
        probe->openResult = claimed == 0 ? PIPELINK_OK : ErrorOf(claimed);
        if (claimed == 0) libusb_release_interface(handle, pipes.interfaceNumber);
    }
    if (handle && desc.iSerialNumber) {
        unsigned char text[sizeof probe->serial];
        const int n = libusb_get_string_descriptor_ascii(handle, desc.iSerialNumber, text, sizeof text - 1);
        if (n > 0) {
            std::memcpy(probe->serial, text, static_cast<std::size_t>(n));
            probe->serial[n] = '\0';
        }
    }
    if (handle) libusb_close(handle);
    if (!probe->serial[0]) SerialFromSysfs(device, probe->serial, sizeof probe->serial);
}

}  // namespace

PIPELINK_EXPORT int PipelinkProbeCables(PipelinkCableProbe* out, uint32_t max) {
    if (g_state.handle) return -1;  // a transfer has the cable
    libusb_context* context = nullptr;
    if (libusb_init(&context) != 0) return -1;
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context, &list);
    if (count < 0) {
        libusb_exit(context);
        return -1;
    }
    const std::vector<VidPid> wanted = WantedIds();
    int found = 0;
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor desc{};
        if (libusb_get_device_descriptor(list[i], &desc) != 0) continue;
        bool match = false;
        for (const VidPid& id : wanted) match = match || (desc.idVendor == id.vendor && desc.idProduct == id.product);
        if (!match) continue;
        if (out && static_cast<uint32_t>(found) < max) {
            PipelinkCableProbe* p = &out[found];
            *p = PipelinkCableProbe{};
            p->bus = libusb_get_bus_number(list[i]);
            p->address = libusb_get_device_address(list[i]);
            p->vendor = desc.idVendor;
            p->product = desc.idProduct;
            Probe(list[i], p);
        }
        ++found;
    }
    libusb_free_device_list(list, 1);
    libusb_exit(context);
    return found;
}

namespace {

// One cable opened through PipelinkCableOpen: a USB session of its own, so
// that nothing one cable does reaches another.
struct CableSession {
    libusb_context* context = nullptr;
    libusb_device_handle* handle = nullptr;
    int interfaceNumber = -1;
    bool kernelDriverDetached = false;
    std::uint8_t bulkIn = 0;
    std::uint8_t bulkOut = 0;
    unsigned receiveTimeoutMs = PIPELINK_INITIAL_TIMEOUT_MS;
    int lastError = PIPELINK_OK;
};

bool IsWanted(libusb_device* device, const std::vector<VidPid>& wanted) {
    libusb_device_descriptor desc{};
    if (libusb_get_device_descriptor(device, &desc) != 0) return false;
    for (const VidPid& id : wanted)
        if (desc.idVendor == id.vendor && desc.idProduct == id.product) return true;
    return false;
}

// "bus-port.port..." as the kernel names the device; empty when unknown.
std::string PortPath(libusb_device* device) {
    std::uint8_t ports[8];
    const int depth = libusb_get_port_numbers(device, ports, sizeof ports);
    if (depth <= 0) return {};
    std::string name = std::to_string(libusb_get_bus_number(device)) + "-";
    for (int i = 0; i < depth; ++i) name += (i ? "." : "") + std::to_string(ports[i]);
    return name;
}

void Describe(libusb_device* device, PipelinkCable* out) {
    *out = PipelinkCable{};
    out->bus = libusb_get_bus_number(device);
    out->address = libusb_get_device_address(device);
    const std::string path = PortPath(device);
    std::snprintf(out->portPath, sizeof out->portPath, "%s", path.c_str());
    SerialFromSysfs(device, out->serial, sizeof out->serial);
}

CableSession* SessionOf(PipelinkHandle cable) {
    if (cable == PIPELINK_INVALID_HANDLE || cable == 0) return nullptr;
    return reinterpret_cast<CableSession*>(cable);
}

void CloseSession(CableSession* s) {
    if (s->handle) {
        if (s->interfaceNumber >= 0) {
            libusb_release_interface(s->handle, s->interfaceNumber);
            if (s->kernelDriverDetached) libusb_attach_kernel_driver(s->handle, s->interfaceNumber);
        }
        libusb_close(s->handle);
    }
    if (s->context) libusb_exit(s->context);
    delete s;
}

// Opens and claims `device` into `s`; a PipelinkError code.
int OpenInto(libusb_device* device, CableSession* s) {
    Pipes pipes;
    if (!FindPipes(device, &pipes)) return PIPELINK_NO_BULK_PIPES;
    libusb_device_handle* handle = nullptr;
    const int opened = libusb_open(device, &handle);
    if (opened != 0) return ErrorOf(opened);
    bool detached = false;
    if (libusb_kernel_driver_active(handle, pipes.interfaceNumber) == 1 &&
        libusb_detach_kernel_driver(handle, pipes.interfaceNumber) == 0)
        detached = true;
    const int claimed = libusb_claim_interface(handle, pipes.interfaceNumber);
    if (claimed != 0) {
        if (detached) libusb_attach_kernel_driver(handle, pipes.interfaceNumber);
        libusb_close(handle);
        return ErrorOf(claimed);
    }
    s->handle = handle;
    s->interfaceNumber = pipes.interfaceNumber;
    s->kernelDriverDetached = detached;
    s->bulkIn = pipes.bulkIn;
    s->bulkOut = pipes.bulkOut;
    return PIPELINK_OK;
}

}  // namespace

PIPELINK_EXPORT int PipelinkListCables(PipelinkCable* out, uint32_t max) {
    libusb_context* context = nullptr;
    if (libusb_init(&context) != 0) return -1;
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context, &list);
    if (count < 0) {
        libusb_exit(context);
        return -1;
    }
    // Listed by bus and hub ports, so that the order stays the same from one
    // listing to the next whatever order the system enumerates in.
    const std::vector<VidPid> wanted = WantedIds();
    std::vector<std::pair<std::vector<int>, libusb_device*>> found;
    for (ssize_t i = 0; i < count; ++i) {
        if (!IsWanted(list[i], wanted)) continue;
        std::uint8_t ports[8];
        const int depth = libusb_get_port_numbers(list[i], ports, sizeof ports);
        std::vector<int> key{libusb_get_bus_number(list[i])};
        for (int d = 0; d < depth; ++d) key.push_back(ports[d]);
        key.push_back(libusb_get_device_address(list[i]));
        found.emplace_back(std::move(key), list[i]);
    }
    std::sort(found.begin(), found.end());
    for (std::size_t i = 0; out && i < found.size() && i < max; ++i) Describe(found[i].second, &out[i]);
    libusb_free_device_list(list, 1);
    libusb_exit(context);
    return static_cast<int>(found.size());
}

PIPELINK_EXPORT PipelinkHandle PipelinkCableOpen(const char* id, int* error) {
    int dummy = 0;
    int& err = error ? *error : dummy;
    auto* s = new CableSession;
    if (libusb_init(&s->context) != 0) {
        s->context = nullptr;
        CloseSession(s);
        err = PIPELINK_NO_DEVICE;
        return PIPELINK_INVALID_HANDLE;
    }
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(s->context, &list);
    const std::vector<VidPid> wanted = WantedIds();
    err = PIPELINK_NO_DEVICE;
    for (ssize_t i = 0; i < count; ++i) {
        if (!IsWanted(list[i], wanted)) continue;
        PipelinkCable cable;
        Describe(list[i], &cable);
        const bool chosen = !id || !*id || std::strcmp(id, cable.portPath) == 0 ||
                            (cable.serial[0] && std::strcmp(id, cable.serial) == 0);
        if (!chosen) continue;
        err = OpenInto(list[i], s);
        break;
    }
    if (count >= 0) libusb_free_device_list(list, 1);
    if (err != PIPELINK_OK) {
        CloseSession(s);
        return PIPELINK_INVALID_HANDLE;
    }
    return reinterpret_cast<PipelinkHandle>(s);
}

PIPELINK_EXPORT PipelinkBool PipelinkCableSend(PipelinkHandle cable, const uint8_t* data, uint32_t length) {
    CableSession* s = SessionOf(cable);
    if (!s || (!data && length) || length > INT_MAX) return 0;
    int transferred = 0;
    const int r = libusb_bulk_transfer(s->handle, s->bulkOut, const_cast<unsigned char*>(data),
                                       static_cast<int>(length), &transferred, PIPELINK_SEND_TIMEOUT_MS);
    if (r != 0) {
        if (r == LIBUSB_ERROR_NO_DEVICE) s->lastError = PIPELINK_DISCONNECTED;
        return 0;
    }
    return transferred == static_cast<int>(length) ? 1 : 0;
}

PIPELINK_EXPORT PipelinkBool PipelinkCableRecv(PipelinkHandle cable, uint8_t* dst, uint32_t* count) {
    if (count) *count = 0;
    CableSession* s = SessionOf(cable);
    if (!s || !dst || !count) return 0;
    unsigned char local[PIPELINK_READ_SIZE + 1] = {};
    int transferred = 0;
    const int r = libusb_bulk_transfer(s->handle, s->bulkIn, local, PIPELINK_READ_SIZE, &transferred,
                                       s->receiveTimeoutMs);
    if (transferred > 0) {
        if (transferred > PIPELINK_READ_SIZE) transferred = PIPELINK_READ_SIZE;
        std::memcpy(dst, local, static_cast<std::size_t>(transferred));
        *count = static_cast<uint32_t>(transferred);
    }
    if (r != 0) {
        if (r == LIBUSB_ERROR_NO_DEVICE) s->lastError = PIPELINK_DISCONNECTED;
        return 0;
    }
    return 1;
}

PIPELINK_EXPORT PipelinkBool PipelinkCableTimeOutSet(PipelinkHandle cable, uint32_t ms) {
    CableSession* s = SessionOf(cable);
    if (!s) return 0;
    s->receiveTimeoutMs = ms;
    return 1;
}

PIPELINK_EXPORT int PipelinkCableLastError(PipelinkHandle cable) {
    CableSession* s = SessionOf(cable);
    return s ? s->lastError : PIPELINK_NO_DEVICE;
}

PIPELINK_EXPORT PipelinkBool PipelinkCableClose(PipelinkHandle cable) {
    CableSession* s = SessionOf(cable);
    if (!s) return 0;
    CloseSession(s);
    return 1;
}
