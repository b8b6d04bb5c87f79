#include "cli/safe_write_options.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "core/base/text_ids.h"
#include "core/document/app_settings.h"
#include "core/link/programming_log.h"

namespace vrm::cli {

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path.front() == '/') return path;
    char cwd[PATH_MAX];
    return ::getcwd(cwd, sizeof cwd) ? std::string(cwd) + "/" + path : path;
}

std::string DataFolder() {
    std::string documents;
    if (const char* xdg = std::getenv("XDG_DOCUMENTS_DIR"); xdg && *xdg) documents = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) documents = std::string(home) + "/Documents";
    return DefaultDataFolder(documents, "");
}

bool SafeWriteOptionsFrom(Context& ctx, SafeWriteOptions& options) {
    options.backup = !ctx.args.Flag("--no-backup");
    const auto dir = ctx.args.Value("--backup-dir");
    options.verify = !ctx.args.Flag("--no-verify");
    const auto log = ctx.args.Value("--log");
    options.log = !ctx.args.Flag("--no-log");
    if (dir && dir->empty()) {
        ctx.err << Format(ctx, tid::kCliDirMissing, {std::string("--backup-dir")}) << "\n";
        return false;
    }
    if (log && log->empty()) {
        ctx.err << Format(ctx, tid::kCliDirMissing, {std::string("--log")}) << "\n";
        return false;
    }
    const bool needFolder = (options.backup && !dir) || !log;
    const std::string folder = needFolder ? DataFolder() : std::string();
    options.backupFolder = dir ? *dir : folder + kBackupFolderName;
    options.logPath = log ? *log : folder + kProgrammingLogName;
    return true;
}

}  // namespace vrm::cli
