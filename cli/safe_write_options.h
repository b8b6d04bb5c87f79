// The safe write's options on the command line, shared by radio write and
// station write.
#pragma once

#include <string>

#include "cli/cli.h"
#include "core/link/safe_write.h"

namespace vrm::cli {

// The path as the log names it: absolute, so that the row says which file.
std::string AbsolutePath(const std::string& path);
// The data folder the program uses: "Trevona/VRM-650T" below the documents
// folder (XDG_DOCUMENTS_DIR, else ~/Documents).
std::string DataFolder();
// --no-backup, --backup-dir DIR, --no-verify, --log FILE, --no-log: the safe
// write's options, all on by default with the data folder's backups and log.
bool SafeWriteOptionsFrom(Context& ctx, SafeWriteOptions& options);

}  // namespace vrm::cli

#define VRM_CLI_SAFE_WRITE_OPTIONS                                                                              \
    ::vrm::cli::Switch("--no-backup", "write without reading the radio's data into a backup first"),             \
        ::vrm::cli::Valued("--backup-dir", "DIR", "where the backups go (an existing folder)"),                  \
        ::vrm::cli::Switch("--no-verify", "do not read the radio back after writing"),                            \
        ::vrm::cli::Valued("--log", "FILE", "the programming log to add a row to"),                               \
        ::vrm::cli::Switch("--no-log", "add no row to the programming log")
