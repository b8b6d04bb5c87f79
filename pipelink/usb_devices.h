// What both halves of libpipelink.so need of the USB bus: which devices are
// programming cables, where their bulk pipes are, their port path and serial
// number, and how a libusb error reads as a PipelinkError. Not exported.
#pragma once

#include <libusb.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pipelink {

struct VidPid {
    std::uint16_t vendor;
    std::uint16_t product;
};

// The IDs to look for: PIPELINK_DEVICE=vvvv:pppp when set (a malformed value
// matches nothing, so a typo shows up as "no cable" rather than as a silent
// fallback), else the cable table.
std::vector<VidPid> WantedIds();
bool IsWanted(libusb_device* device, const std::vector<VidPid>& wanted);

// A libusb error as a PipelinkError code.
int ErrorOf(int usbResult);

struct Pipes {
    int interfaceNumber = -1;
    std::uint8_t bulkIn = 0;
    std::uint8_t bulkOut = 0;
    std::uint8_t interrupt = 0;
};

// The first interface (alternate setting 0) of the active configuration that
// has both a bulk IN and a bulk OUT endpoint.
bool FindPipes(libusb_device* device, Pipes* out);

// Claims the interface on an opened cable, taking it from a kernel driver
// first when one holds it (*detached says so). On failure the driver is given
// back and the libusb error returned; the caller still closes the handle.
int ClaimInterface(libusb_device_handle* handle, int interfaceNumber, bool* detached);
// Releases the claimed interface, gives a detached kernel driver back and
// closes the handle (an interface number below 0: nothing was claimed).
void ReleaseAndClose(libusb_device_handle* handle, int interfaceNumber, bool detached);

// "bus-port.port..." as the kernel names the device; empty when unknown.
std::string PortPath(libusb_device* device);
// The serial number from sysfs (readable without opening the device); `out`
// is left as it is when there is none.
void SerialFromSysfs(libusb_device* device, char* out, std::size_t size);

}  // namespace pipelink
