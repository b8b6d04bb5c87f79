#include "cli/pdf_module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

namespace vrm::cli {
namespace {

using VersionFn = const char* (*)();
using MakeFn = int (*)(const print::Document*, const print::PdfOptions*, std::string*, int*);

struct Writer {
    std::string path;
    std::string reason;
    MakeFn make = nullptr;
};

// The library sits beside the program's own file (the build folder's bin/,
// or the installed program folder behind the bin/ link).
std::string WriterPath() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (ec ? std::filesystem::path(".") : self.parent_path()) / "libvrm650t-pdf.so";
}

Writer Open() {
    Writer w;
    w.path = WriterPath();
    void* handle = ::dlopen(w.path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* error = ::dlerror();
        w.reason = error ? error : "dlopen";
        return w;
    }
    const auto version = reinterpret_cast<VersionFn>(::dlsym(handle, "vrm650t_pdf_version"));
    const auto make = reinterpret_cast<MakeFn>(::dlsym(handle, "vrm650t_pdf_make"));
    if (!version || !make) {
        w.reason = "no PDF writer entry points";
    } else if (std::strcmp(version(), VRM_VERSION) != 0) {
        w.reason = std::string("version ") + version() + ", not " + VRM_VERSION;
    } else {
        w.make = make;
        return w;  // stays loaded until the process ends
    }
    ::dlclose(handle);
    return w;
}

const Writer& TheWriter() {
    static const Writer writer = Open();
    return writer;
}

}  // namespace

bool LoadPdfWriter(std::string& path, std::string& reason) {
    const Writer& w = TheWriter();
    path = w.path;
    reason = w.reason;
    return w.make != nullptr;
}

bool MakePdfWithWriter(const print::Document& doc, const print::PdfOptions& options, std::string& bytes) {
    const Writer& w = TheWriter();
    return w.make && w.make(&doc, &options, &bytes, nullptr) == 1;
}

}  // namespace vrm::cli
