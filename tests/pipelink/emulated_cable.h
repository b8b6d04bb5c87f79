// An emulated programming cable for tests of the real transport library:
// umockdev's ioctl handler plays the cable, bulk OUT transfers go to a
// SimulatedRadio and the radio's answers come back as bulk IN transfers.
#pragma once

#include <glib-object.h>
#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <umockdev.h>

#include <chrono>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>

#include "sim/simulated_radio.h"

namespace vrm::test {

using SteadyClock = std::chrono::steady_clock;
inline const std::string kLibrary = std::string(VRM_BIN_DIR) + "/libpipelink.so";
inline const char* kNode = "/dev/bus/usb/001/002";

// Device, configuration, interface and endpoint descriptors of a cable with
// bulk IN 0x81 and bulk OUT 0x02 (64-byte packets), vendor 1209, product 650A.
inline const char* kCableDescriptors =
    "120100020000004009120A65000100000001"
    "0902200001010080FA"
    "090400000202FF0000"
    "07058102400000"
    "07050202400000";
// The same device whose only interface has one interrupt endpoint.
inline const char* kNoBulkDescriptors =
    "120100020000004009120A65000100000001"
    "0902190001010080FA"
    "090400000101FF0000"
    "0705830308000A";

inline bool Preloaded() {
    const char* p = std::getenv("LD_PRELOAD");
    return p && std::strstr(p, "libumockdev-preload");
}

// The emulated cable.
class Cable {
public:
    explicit Cable(SimulatedRadio& radio) : radio_(radio) {}

    std::mutex mutex;
    bool busy = false;          // the interface is claimed by someone else
    bool stopReading = false;   // bulk OUT transfers never complete
    int slowOut = 0;            // the replies to this OUT transfer (1-based) ...
    std::chrono::milliseconds slowBy{0};  // ... come this much later
    int outTransfers = 0;

    static gboolean Handle(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self) {
        return static_cast<Cable*>(self)->OnIoctl(client);
    }

private:
    struct Reply {
        std::vector<std::uint8_t> bytes;
        SteadyClock::time_point ready;
    };

    gboolean OnIoctl(UMockdevIoctlClient* client) {
        std::lock_guard<std::mutex> lock(mutex);
        const gulong request = umockdev_ioctl_client_get_request(client);
        UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
        switch (request) {
            case USBDEVFS_GET_CAPABILITIES: {
                UMockdevIoctlData* d = umockdev_ioctl_data_resolve(arg, 0, sizeof(guint32), nullptr);
                *reinterpret_cast<guint32*>(d->data) = USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
                                                      USBDEVFS_CAP_REAP_AFTER_DISCONNECT | USBDEVFS_CAP_ZERO_PACKET;
                g_object_unref(d);
                umockdev_ioctl_client_complete(client, 0, 0);
                return TRUE;
            }
            case USBDEVFS_CLAIMINTERFACE:
                if (busy) umockdev_ioctl_client_complete(client, -1, EBUSY);
                else umockdev_ioctl_client_complete(client, 0, 0);
                return TRUE;
            case USBDEVFS_RELEASEINTERFACE:
            case USBDEVFS_CLEAR_HALT:
            case USBDEVFS_RESET:
            case USBDEVFS_RESETEP:
                umockdev_ioctl_client_complete(client, 0, 0);
                return TRUE;
            case USBDEVFS_GETDRIVER:
                umockdev_ioctl_client_complete(client, -1, ENODATA);
                return TRUE;
            case USBDEVFS_SUBMITURB:
                return Submit(client, arg);
            case USBDEVFS_REAPURB:
            case USBDEVFS_REAPURBNDELAY:
                return Reap(client, arg);
            case USBDEVFS_DISCARDURB: {
                const gulong addr = *reinterpret_cast<gulong*>(arg->data);
                for (auto it = inFlight_.begin(); it != inFlight_.end(); ++it) {
                    if ((*it)->client_addr != addr) continue;
                    discarded_.push_back(*it);
                    inFlight_.erase(it);
                    umockdev_ioctl_client_complete(client, 0, 0);
                    return TRUE;
                }
                for (auto it = stalledOut_.begin(); it != stalledOut_.end(); ++it) {
                    if ((*it)->client_addr != addr) continue;
                    discarded_.push_back(*it);
                    stalledOut_.erase(it);
                    umockdev_ioctl_client_complete(client, 0, 0);
                    return TRUE;
                }
                umockdev_ioctl_client_complete(client, -1, EINVAL);
                return TRUE;
            }
            default:
                return FALSE;
        }
    }

    gboolean Submit(UMockdevIoctlClient* client, UMockdevIoctlData* arg) {
        UMockdevIoctlData* urbData = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), nullptr);
        auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
        if (urb->type != USBDEVFS_URB_TYPE_BULK) {
            g_object_unref(urbData);
            umockdev_ioctl_client_complete(client, -1, EINVAL);
            return TRUE;
        }
        if (urb->endpoint & 0x80) {
            inFlight_.push_back(urbData);
        } else {
            UMockdevIoctlData* buffer = umockdev_ioctl_data_resolve(
                urbData, G_STRUCT_OFFSET(usbdevfs_urb, buffer), static_cast<gsize>(urb->buffer_length), nullptr);
            ++outTransfers;
            if (stopReading) {
                stalledOut_.push_back(urbData);
            } else {
                const auto now = SteadyClock::now();
                for (SimReply& r : radio_.Receive(buffer->data, static_cast<std::size_t>(urb->buffer_length))) {
                    auto ready = now + std::chrono::milliseconds(r.delayMs);
                    if (outTransfers == slowOut) ready += slowBy;
                    replies_.push_back({std::move(r.bytes), ready});
                }
                urb->actual_length = urb->buffer_length;
                urb->status = 0;
                done_.push_back(urbData);
            }
            g_object_unref(buffer);
        }
        umockdev_ioctl_client_complete(client, 0, 0);
        return TRUE;
    }

    gboolean Reap(UMockdevIoctlClient* client, UMockdevIoctlData* arg) {
        UMockdevIoctlData* urbData = nullptr;
        if (!discarded_.empty()) {
            urbData = discarded_.front();
            discarded_.pop_front();
            reinterpret_cast<usbdevfs_urb*>(urbData->data)->status = -ENOENT;
        } else if (!done_.empty()) {
            urbData = done_.front();
            done_.pop_front();
        } else if (!inFlight_.empty() && !replies_.empty() && replies_.front().ready <= SteadyClock::now()) {
            urbData = inFlight_.front();
            inFlight_.pop_front();
            auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
            Reply r = std::move(replies_.front());
            replies_.pop_front();
            const std::size_t n = std::min(r.bytes.size(), static_cast<std::size_t>(urb->buffer_length));
            std::memcpy(urb->buffer, r.bytes.data(), n);
            urb->actual_length = static_cast<int>(n);
            urb->status = 0;
        }
        if (!urbData) {
            umockdev_ioctl_client_complete(client, -1, EAGAIN);
            return TRUE;
        }
        UMockdevIoctlData* ptr = umockdev_ioctl_data_resolve(arg, 0, sizeof(gpointer), nullptr);
        umockdev_ioctl_data_set_ptr(ptr, 0, urbData);
        g_object_unref(ptr);
        g_object_unref(urbData);
        umockdev_ioctl_client_complete(client, 0, 0);
        return TRUE;
    }

    SimulatedRadio& radio_;
    std::deque<UMockdevIoctlData*> inFlight_;
    std::deque<UMockdevIoctlData*> stalledOut_;
    std::deque<UMockdevIoctlData*> done_;
    std::deque<UMockdevIoctlData*> discarded_;
    std::deque<Reply> replies_;
};

}  // namespace vrm::test
