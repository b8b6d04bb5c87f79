// Reading and replacing the program's files safely: every file the program
// reads or writes (data files, tuning files, language files, exports,
// backups) goes through here, so that all of them treat links, special files
// and interruptions the same way.
//
// - Inputs are opened without blocking and must be regular files (or links to
//   one): a FIFO, a device or a socket is refused at once instead of hanging
//   or reading without end, and a size limit refuses what cannot be ours.
// - A replacement is written to a temporary file beside the target and
//   renamed over it only when complete and flushed, so the old file stays
//   whole until the new one is. A symbolic link is followed to its target
//   (a dangling link's target is created); the link itself stays. Anything
//   that is not a regular file is never replaced. The new file keeps the
//   replaced one's owner, group and mode where the system lets us; other hard
//   links to the old file keep the old contents.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vrm {

struct FileOutcome {
    int systemError = 0;      // errno when the system refused
    bool notRegular = false;  // the name is a device, FIFO, socket or other special file
    bool tooLarge = false;    // reading: the file is larger than the limit
    bool ownerKept = true;    // replacing: false when the new file could not take the old owner
    bool writeFailed = false; // replacing: the temporary file was created, writing or renaming it failed
    bool Ok() const { return systemError == 0 && !notRegular && !tooLarge; }
};

// Reads a whole regular file of at most `limit` bytes into `data`.
FileOutcome ReadRegularFile(const std::string& path, std::size_t limit, std::string& data);

// Reads at most `size` bytes from the start of a regular file into `buf`;
// `got` is how many it holds. Never blocks on a special file.
FileOutcome ReadFilePrefix(const std::string& path, std::uint8_t* buf, std::size_t size, std::size_t& got);

// Where a write to `path` lands: symbolic links are followed (also a dangling
// one, whose target does not exist yet), relative link targets taken from the
// link's folder. `path` itself when it is no link or the chain is too long.
std::string WriteTarget(const std::string& path);

// True when something is at `path`, a dangling link included: the overwrite
// question is asked for every existing name.
bool NameExists(const std::string& path);

// Whether `path` may be replaced, checked before any work is done for it (a
// radio read, a backup): a folder, a special file or a file the user may not
// write is refused; a missing name is fine.
FileOutcome CheckReplaceable(const std::string& path);

// A folder path with exactly one trailing '/' ("/" for an empty one).
std::string WithTrailingSeparator(std::string folder);

// Replaces (or creates) the file `path` with `bytes`, as described above.
FileOutcome ReplaceFile(const std::string& path, const std::uint8_t* bytes, std::size_t size);

}  // namespace vrm
