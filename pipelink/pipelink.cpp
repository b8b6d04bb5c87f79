// libpipelink.so over libusb-1.0: finds the programming cable by its vendor
// and product ID, claims its first interface with a bulk IN and a bulk OUT
// endpoint, and moves bytes over those two pipes. No framing, no scrambling:
// the program does all of that.
//
// This file has the seven exports that work on the first cable found, and
// the cable doctor's probe; pipelink_cables.cpp has the exports that list
// the cables and work on a chosen one.
#include "pipelink/pipelink.h"

#include <libusb.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "pipelink/usb_devices.h"

#define PIPELINK_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using namespace pipelink;

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

// The first present device whose IDs are wanted, referenced; null when none.
libusb_device* FindCable(libusb_context* context) {
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context, &list);
    if (count < 0) return nullptr;
    const std::vector<VidPid> wanted = WantedIds();
    libusb_device* found = nullptr;
    for (ssize_t i = 0; i < count && !found; ++i)
        if (IsWanted(list[i], wanted)) found = libusb_ref_device(list[i]);
    libusb_free_device_list(list, 1);
    return found;
}

void CloseCable() {
    State& s = g_state;
    if (s.handle) ReleaseAndClose(s.handle, s.interfaceNumber, s.kernelDriverDetached);
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
    const int claimed = ClaimInterface(handle, pipes.interfaceNumber, &detached);
    if (claimed != 0) {
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
        if (!IsWanted(list[i], wanted) || libusb_get_device_descriptor(list[i], &desc) != 0) continue;
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
