/* libpipelink.so: the USB transport of the programming cable.
 *
 * The program loads the library by name for every transfer and looks each
 * export up by name at every call, so the names and the call shapes below are
 * the contract between the program, this library and the simulated radio's
 * drop-in copy of it. The seven exports keep module-global state (one cable
 * at a time); the PipelinkCable* exports hold each cable by a handle.
 *
 * Results are booleans (nonzero = success) unless stated. The interface-class
 * argument of GetDevicePath and OpenDevice keeps the call shape of the
 * cable's original driver interface; on Linux the cable is found by its USB
 * vendor and product ID instead (pipelink/cable_ids.h, or PIPELINK_DEVICE).
 */
#ifndef VRM_PIPELINK_PIPELINK_H
#define VRM_PIPELINK_PIPELINK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int PipelinkBool;
typedef intptr_t PipelinkHandle;

#define PIPELINK_INVALID_HANDLE ((PipelinkHandle)-1)

/* One USB read delivers at most this many bytes; WinUSB_Recv's destination
 * must hold that many. */
#define PIPELINK_READ_SIZE 127

/* The receive timeout right after WinUSB_init, in milliseconds. */
#define PIPELINK_INITIAL_TIMEOUT_MS 500

/* A send that the cable does not take within this time fails. */
#define PIPELINK_SEND_TIMEOUT_MS 3000

/* The interface class of the cable's device interface. */
typedef struct PipelinkGuid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
} PipelinkGuid;

#define PIPELINK_INTERFACE_CLASS \
    { 0x82E5AFD8u, 0x1F2Bu, 0x4583u, { 0x9C, 0x27, 0xFE, 0x04, 0x6D, 0x9C, 0x4B, 0x09 } }

/* What PipelinkLastError reports: why the cable could not be opened, or that
 * it went away during a transfer. */
enum PipelinkError {
    PIPELINK_OK = 0,
    PIPELINK_NO_DEVICE = 1,      /* no cable with a known vendor/product ID */
    PIPELINK_NO_PERMISSION = 2,  /* found, but the user may not open it */
    PIPELINK_BUSY = 3,           /* found, but another program holds it */
    PIPELINK_NO_BULK_PIPES = 4,  /* found, but no interface with bulk IN and OUT */
    PIPELINK_USB_ERROR = 5,      /* the USB library failed otherwise */
    PIPELINK_DISCONNECTED = 6    /* the cable went away while open */
};

/* Copies the cable's device path (its usbfs node) into out, at most size
 * bytes including the terminator; fails when there is no cable or the path
 * does not fit. */
PipelinkBool GetDevicePath(const PipelinkGuid* interfaceClass, char* out, uint32_t size);
/* Opens the cable and claims its interface; returns a handle or
 * PIPELINK_INVALID_HANDLE. The second argument is not used. */
PipelinkHandle OpenDevice(const PipelinkGuid* interfaceClass, uint32_t unused);
/* Opens the cable, learns its pipes and sets the receive timeout to 500 ms. */
PipelinkBool WinUSB_init(void);
/* Releases and closes the cable. */
PipelinkBool WinUSB_Delete(void);
/* Sends length bytes on the bulk OUT pipe. */
PipelinkBool WinUSB_Send(const uint8_t* data, uint32_t length);
/* One bulk IN read of up to 127 bytes into dst; *count gets the number read. */
PipelinkBool WinUSB_Recv(uint8_t* dst, uint32_t* count);
/* Sets the receive timeout in milliseconds (0 waits for ever). */
PipelinkBool WinUSB_TimeOutSet(uint32_t ms);

/* Not one of the seven: a PipelinkError code for the last open or transfer. */
int PipelinkLastError(void);

/* Not one of the seven: what the cable doctor learns of one present device
 * that matches the cable table (or PIPELINK_DEVICE). */
typedef struct PipelinkCableProbe {
    uint8_t bus;
    uint8_t address;
    uint16_t vendor;
    uint16_t product;
    int openResult;  /* PIPELINK_OK when it opened and its interface was claimed */
    char serial[64]; /* empty when the device does not tell */
} PipelinkCableProbe;

/* Lists the matching devices into out (at most max of them), trying to open
 * and claim each and releasing it again. Returns how many match (which may be
 * more than max), or -1 when USB cannot be started at all. Must not be called
 * while a cable is open through WinUSB_init. */
int PipelinkProbeCables(PipelinkCableProbe* out, uint32_t max);

/* Not one of the seven: several cables at once, each by its own handle.
 * A cable is named by its port path ("bus-port.port...", stable while it is
 * plugged into the same hub port) or by its serial number. Every handle has
 * its own USB session, pipes, timeout and error: a fault, a timeout or a pull
 * on one cable never touches another, and the seven exports above keep
 * working on the first cable found. */
typedef struct PipelinkCable {
    uint8_t bus;
    uint8_t address;
    char portPath[32];
    char serial[64]; /* empty when the cable does not tell */
} PipelinkCable;

/* Lists the present cables into out (at most max); returns how many there
 * are (which may be more than max), or -1 when USB cannot be started. Opens
 * no cable, so it may run while others are in use. */
int PipelinkListCables(PipelinkCable* out, uint32_t max);
/* Opens and claims the cable whose port path or serial number is id (the
 * first cable when id is null or empty); the receive timeout starts at
 * 500 ms. On failure returns PIPELINK_INVALID_HANDLE and puts the
 * PipelinkError code into *error (when error is not null). */
PipelinkHandle PipelinkCableOpen(const char* id, int* error);
PipelinkBool PipelinkCableSend(PipelinkHandle cable, const uint8_t* data, uint32_t length);
/* One bulk IN read of up to 127 bytes into dst; *count gets the number read. */
PipelinkBool PipelinkCableRecv(PipelinkHandle cable, uint8_t* dst, uint32_t* count);
PipelinkBool PipelinkCableTimeOutSet(PipelinkHandle cable, uint32_t ms);
/* The PipelinkError code of the cable's last transfer. */
int PipelinkCableLastError(PipelinkHandle cable);
/* Releases and closes the cable; the handle is gone afterwards. */
PipelinkBool PipelinkCableClose(PipelinkHandle cable);

typedef PipelinkBool (*PipelinkInitFn)(void);
typedef PipelinkBool (*PipelinkDeleteFn)(void);
typedef PipelinkBool (*PipelinkSendFn)(const uint8_t*, uint32_t);
typedef PipelinkBool (*PipelinkRecvFn)(uint8_t*, uint32_t*);
typedef PipelinkBool (*PipelinkTimeOutSetFn)(uint32_t);
typedef int (*PipelinkLastErrorFn)(void);
typedef int (*PipelinkProbeCablesFn)(PipelinkCableProbe*, uint32_t);
typedef int (*PipelinkListCablesFn)(PipelinkCable*, uint32_t);
typedef PipelinkHandle (*PipelinkCableOpenFn)(const char*, int*);
typedef PipelinkBool (*PipelinkCableSendFn)(PipelinkHandle, const uint8_t*, uint32_t);
typedef PipelinkBool (*PipelinkCableRecvFn)(PipelinkHandle, uint8_t*, uint32_t*);
typedef PipelinkBool (*PipelinkCableTimeOutSetFn)(PipelinkHandle, uint32_t);
typedef int (*PipelinkCableLastErrorFn)(PipelinkHandle);
typedef PipelinkBool (*PipelinkCableCloseFn)(PipelinkHandle);

#ifdef __cplusplus
}
#endif

#endif
