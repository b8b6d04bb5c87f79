#include "pipelink/usb_devices.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "pipelink/cable_ids.h"
#include "pipelink/pipelink.h"

namespace pipelink {

namespace {

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

}  // namespace

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

bool IsWanted(libusb_device* device, const std::vector<VidPid>& wanted) {
    libusb_device_descriptor desc{};
    if (libusb_get_device_descriptor(device, &desc) != 0) return false;
    for (const VidPid& id : wanted)
        if (desc.idVendor == id.vendor && desc.idProduct == id.product) return true;
    return false;
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

// "bus-port.port..." as the kernel names the device; empty when unknown.
std::string PortPath(libusb_device* device) {
    std::uint8_t ports[8];
    const int depth = libusb_get_port_numbers(device, ports, sizeof ports);
    if (depth <= 0) return {};
    std::string name = std::to_string(libusb_get_bus_number(device)) + "-";
    for (int i = 0; i < depth; ++i) name += (i ? "." : "") + std::to_string(ports[i]);
    return name;
}

// The serial number from sysfs (readable without opening the device), as the
// kernel read it when the device was plugged in.
void SerialFromSysfs(libusb_device* device, char* out, std::size_t size) {
    const std::string name = PortPath(device);
    if (name.empty()) return;
    std::FILE* f = std::fopen(("/sys/bus/usb/devices/" + name + "/serial").c_str(), "r");
    if (!f) return;
    if (std::fgets(out, static_cast<int>(size), f)) out[std::strcspn(out, "\r\n")] = '\0';
    else out[0] = '\0';
    std::fclose(f);
}

int ClaimInterface(libusb_device_handle* handle, int interfaceNumber, bool* detached) {
    *detached = libusb_kernel_driver_active(handle, interfaceNumber) == 1 &&
                libusb_detach_kernel_driver(handle, interfaceNumber) == 0;
    const int claimed = libusb_claim_interface(handle, interfaceNumber);
    if (claimed != 0 && *detached) {
        libusb_attach_kernel_driver(handle, interfaceNumber);
        *detached = false;
    }
    return claimed;
}

void ReleaseAndClose(libusb_device_handle* handle, int interfaceNumber, bool detached) {
    if (interfaceNumber >= 0) {
        libusb_release_interface(handle, interfaceNumber);
        if (detached) libusb_attach_kernel_driver(handle, interfaceNumber);
    }
    libusb_close(handle);
}

}  // namespace pipelink
