// Why the link to the cable is not usable, as the transport library reports
// it (PipelinkLastError) or as the port finds it (library missing). The port
// keeps the code of its last SetOpen(true) so that a transfer that fails can
// tell the user what to do.
#pragma once

#include <cstdint>

namespace vrm {

enum class LinkError : int {
    kNone = 0,
    kNoCable = 1,        // no cable with a known vendor/product ID is plugged in
    kNoPermission = 2,   // found, but this user may not open it (udev rule missing)
    kBusy = 3,           // found, but another program holds it
    kUnusableCable = 4,  // found, but it has no bulk IN/OUT pipe pair
    kUsbError = 5,       // the USB library failed otherwise
    kDisconnected = 6,   // the cable went away during the transfer
    kInterrupted = 7,    // the transfer was stopped (a signal to the command line)
    kLibraryMissing = 100,  // libpipelink.so could not be loaded
};

// Maps a PipelinkLastError() code; unknown codes count as kUsbError.
LinkError LinkErrorFromCode(int code);

// The text ID of the message that explains `error`; 0 for kNone.
std::uint32_t LinkErrorText(LinkError error);

}  // namespace vrm
