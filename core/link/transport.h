// What the port needs of the USB transport library: the five exports it
// calls, and the open-failure query. The program's transport loads
// libpipelink.so by name at every SetOpen(true), looks every export up at
// every call and unloads the library at SetOpen(false); in-process tests put
// a simulated radio behind the same interface.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct PipelinkCableProbe;
struct PipelinkCable;

namespace vrm {

// One USB read delivers at most this many bytes; Recv's destination holds them.
inline constexpr std::size_t kUsbReadSize = 127;

class Transport {
public:
    virtual ~Transport() = default;

    // Loads the library; false when it cannot be loaded.
    virtual bool Load() = 0;
    // Unloads it (nothing when not loaded).
    virtual void Unload() = 0;
    virtual bool IsLoaded() const = 0;

    // Each call returns the export's result, or nullopt when the library is
    // not loaded or does not have the export.
    virtual std::optional<int> Init() = 0;
    virtual std::optional<int> Delete() = 0;
    virtual std::optional<int> Send(const std::uint8_t* data, std::uint32_t length) = 0;
    // `dst` must hold kUsbReadSize bytes.
    virtual std::optional<int> Recv(std::uint8_t* dst, std::uint32_t* count) = 0;
    virtual std::optional<int> TimeOutSet(std::uint32_t ms) = 0;
    // The library's PipelinkLastError() code.
    virtual std::optional<int> LastError() = 0;
};

// The program's transport: dlopen by name, dlsym at every call, never cached.
class LibraryTransport final : public Transport {
public:
    static constexpr const char* kDefaultName = "libpipelink.so";

    // `name` is handed to dlopen as it is: a bare name is searched on the
    // library path (LD_LIBRARY_PATH first, then the program's RUNPATH
    // $ORIGIN); a name with a '/' loads that file.
    explicit LibraryTransport(std::string name = kDefaultName) : name_(std::move(name)) {}
    // A transport on one chosen cable (its port path or serial number; empty:
    // the first cable found) through the library's handle-based exports, so
    // that several ports can drive several cables at once.
    LibraryTransport(std::string name, std::string cable)
        : name_(std::move(name)), cable_(std::move(cable)), byHandle_(true) {}
    ~LibraryTransport() override { Unload(); }
    LibraryTransport(const LibraryTransport&) = delete;
    LibraryTransport& operator=(const LibraryTransport&) = delete;

    bool Load() override;
    void Unload() override;
    bool IsLoaded() const override { return handle_ != nullptr; }

    std::optional<int> Init() override;
    std::optional<int> Delete() override;
    std::optional<int> Send(const std::uint8_t* data, std::uint32_t length) override;
    std::optional<int> Recv(std::uint8_t* dst, std::uint32_t* count) override;
    std::optional<int> TimeOutSet(std::uint32_t ms) override;
    std::optional<int> LastError() override;
    // Not for the port: the cable doctor's listing (PipelinkProbeCables).
    std::optional<int> ProbeCables(PipelinkCableProbe* out, std::uint32_t max);
    // The present cables (PipelinkListCables).
    std::optional<int> ListCables(PipelinkCable* out, std::uint32_t max);
    bool ByHandle() const { return byHandle_; }
    const std::string& Cable() const { return cable_; }

    const std::string& Name() const { return name_; }
    // dlerror() of the last failed Load, for diagnostics.
    const std::string& LoadError() const { return loadError_; }

private:
    void* Symbol(const char* name) const;

    std::string name_;
    std::string cable_;
    bool byHandle_ = false;
    std::intptr_t cableHandle_ = -1;  // the open cable's handle, -1 when none
    int openError_ = 0;               // why the last handle open failed
    void* handle_ = nullptr;
    std::string loadError_;
};

}  // namespace vrm
