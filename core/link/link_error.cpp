#include "core/link/link_error.h"

#include "core/base/text_ids.h"

namespace vrm {

LinkError LinkErrorFromCode(int code) {
    switch (code) {
        case 0: return LinkError::kNone;
        case 1: return LinkError::kNoCable;
        case 2: return LinkError::kNoPermission;
        case 3: return LinkError::kBusy;
        case 4: return LinkError::kUnusableCable;
        case 6: return LinkError::kDisconnected;
        default: return LinkError::kUsbError;
    }
}

std::uint32_t LinkErrorText(LinkError error) {
    switch (error) {
        case LinkError::kNone: return 0;
        case LinkError::kNoCable: return tid::kLinkNoCable;
        case LinkError::kNoPermission: return tid::kLinkNoPermission;
        case LinkError::kBusy: return tid::kLinkBusy;
        case LinkError::kUnusableCable: return tid::kLinkUnusableCable;
        case LinkError::kUsbError: return tid::kLinkUsbError;
        case LinkError::kDisconnected: return tid::kLinkDisconnected;
        case LinkError::kInterrupted: return tid::kLinkInterrupted;
        case LinkError::kLibraryMissing: return tid::kLinkLibraryMissing;
    }
    return tid::kLinkUsbError;
}

}  // namespace vrm
