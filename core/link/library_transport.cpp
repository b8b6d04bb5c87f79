#include <dlfcn.h>
#include <unistd.h>

#include <string>

#include "core/link/transport.h"
#include "pipelink/pipelink.h"

namespace vrm {

namespace {

// The folder of the running executable, with a trailing '/'; empty when
// unknown.
std::string ExecutableFolder() {
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    std::string path(buf, static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

bool LibraryTransport::Load() {
    if (handle_) return true;
    handle_ = ::dlopen(name_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_ && name_.find('/') == std::string::npos) {
        // The executable's RUNPATH ($ORIGIN) is searched only when dlopen
        // sees the program as its caller, which an interposed dlopen (a
        // sanitizer's, say) hides; the copy beside the program is what that
        // search would have found.
        const char* err = ::dlerror();
        std::string first = err ? err : "";
        const std::string folder = ExecutableFolder();
        if (!folder.empty()) handle_ = ::dlopen((folder + name_).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle_) {
            loadError_ = first;
            return false;
        }
    }
    if (!handle_) {
        const char* err = ::dlerror();
        loadError_ = err ? err : "";
        return false;
    }
    loadError_.clear();
    return true;
}

void LibraryTransport::Unload() {
    if (!handle_) return;
    if (byHandle_) (void)Delete();
    ::dlclose(handle_);
    handle_ = nullptr;
}

void* LibraryTransport::Symbol(const char* name) const {
    if (!handle_) return nullptr;
    return ::dlsym(handle_, name);
}

// dlsym hands back a data pointer; POSIX guarantees it converts to the
// function's pointer type.
template <typename Fn>
static Fn As(void* symbol) {
    return reinterpret_cast<Fn>(symbol);
}

std::optional<int> LibraryTransport::Init() {
    if (byHandle_) {
        auto open = As<PipelinkCableOpenFn>(Symbol("PipelinkCableOpen"));
        if (!open) return std::nullopt;
        (void)Delete();
        openError_ = PIPELINK_OK;
        cableHandle_ = open(cable_.empty() ? nullptr : cable_.c_str(), &openError_);
        return cableHandle_ == PIPELINK_INVALID_HANDLE ? 0 : 1;
    }
    auto fn = As<PipelinkInitFn>(Symbol("WinUSB_init"));
    if (!fn) return std::nullopt;
    return fn();
}

std::optional<int> LibraryTransport::Delete() {
    if (byHandle_) {
        auto close = As<PipelinkCableCloseFn>(Symbol("PipelinkCableClose"));
        if (!close) return std::nullopt;
        if (cableHandle_ == PIPELINK_INVALID_HANDLE) return 0;
        const int r = close(cableHandle_);
        cableHandle_ = PIPELINK_INVALID_HANDLE;
        return r;
    }
    auto fn = As<PipelinkDeleteFn>(Symbol("WinUSB_Delete"));
    if (!fn) return std::nullopt;
    return fn();
}

std::optional<int> LibraryTransport::Send(const std::uint8_t* data, std::uint32_t length) {
    if (byHandle_) {
        auto fn = As<PipelinkCableSendFn>(Symbol("PipelinkCableSend"));
        if (!fn) return std::nullopt;
        return cableHandle_ == PIPELINK_INVALID_HANDLE ? 0 : fn(cableHandle_, data, length);
    }
    auto fn = As<PipelinkSendFn>(Symbol("WinUSB_Send"));
    if (!fn) return std::nullopt;
    return fn(data, length);
}

std::optional<int> LibraryTransport::Recv(std::uint8_t* dst, std::uint32_t* count) {
    if (byHandle_) {
        auto fn = As<PipelinkCableRecvFn>(Symbol("PipelinkCableRecv"));
        if (!fn) return std::nullopt;
        if (cableHandle_ != PIPELINK_INVALID_HANDLE) return fn(cableHandle_, dst, count);
        if (count) *count = 0;
        return 0;
    }
    auto fn = As<PipelinkRecvFn>(Symbol("WinUSB_Recv"));
    if (!fn) return std::nullopt;
    return fn(dst, count);
}

std::optional<int> LibraryTransport::TimeOutSet(std::uint32_t ms) {
    if (byHandle_) {
        auto fn = As<PipelinkCableTimeOutSetFn>(Symbol("PipelinkCableTimeOutSet"));
        if (!fn) return std::nullopt;
        return cableHandle_ == PIPELINK_INVALID_HANDLE ? 0 : fn(cableHandle_, ms);
    }
    auto fn = As<PipelinkTimeOutSetFn>(Symbol("WinUSB_TimeOutSet"));
    if (!fn) return std::nullopt;
    return fn(ms);
}

std::optional<int> LibraryTransport::LastError() {
    if (byHandle_) {
        auto fn = As<PipelinkCableLastErrorFn>(Symbol("PipelinkCableLastError"));
        if (!fn) return std::nullopt;
        return cableHandle_ == PIPELINK_INVALID_HANDLE ? openError_ : fn(cableHandle_);
    }
    auto fn = As<PipelinkLastErrorFn>(Symbol("PipelinkLastError"));
    if (!fn) return std::nullopt;
    return fn();
}

std::optional<int> LibraryTransport::ListCables(PipelinkCable* out, std::uint32_t max) {
    auto fn = As<PipelinkListCablesFn>(Symbol("PipelinkListCables"));
    if (!fn) return std::nullopt;
    return fn(out, max);
}

std::optional<int> LibraryTransport::ProbeCables(PipelinkCableProbe* out, std::uint32_t max) {
    auto fn = As<PipelinkProbeCablesFn>(Symbol("PipelinkProbeCables"));
    if (!fn) return std::nullopt;
    return fn(out, max);
}

}  // namespace vrm
