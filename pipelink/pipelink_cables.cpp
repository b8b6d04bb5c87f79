// libpipelink.so: the exports that list the programming cables present and
// open, use and close a chosen one by its handle. Each open cable has a USB
// session of its own, so that a fault, a pull or a timeout on one never
// reaches another, nor the first-cable exports' session.
#include <libusb.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "pipelink/pipelink.h"
#include "pipelink/usb_devices.h"

#define PIPELINK_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using namespace pipelink;

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
    if (s->handle) ReleaseAndClose(s->handle, s->interfaceNumber, s->kernelDriverDetached);
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
    const int claimed = ClaimInterface(handle, pipes.interfaceNumber, &detached);
    if (claimed != 0) {
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
