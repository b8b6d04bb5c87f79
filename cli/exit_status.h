// The exit statuses of vrm650t-cli: one meaning in every command, so that a
// script can tell what went wrong without knowing which command it ran. The
// message on stderr says the rest. docs/cli.md and the man page list the same values.
#pragma once

namespace vrm::cli {

inline constexpr int kExitOk = 0;
// The answer is "no": the two files, or the radio and the file, differ; no
// such text; no cable can be used.
inline constexpr int kExitNo = 1;
// An input file cannot be used: it cannot be opened or read, has the wrong
// size or kind, is damaged, holds a model this program does not accept, or
// its password is missing or wrong.
inline constexpr int kExitInputRefused = 2;
// The output file was not written: its name cannot be replaced, the overwrite
// question was not answered yes, or writing failed. An old file is kept.
inline constexpr int kExitNotWritten = 3;
// A value was refused by its field's rule (set, channels import with
// --strict); nothing was written. An import refuses its text whole: that is
// kExitInputRefused.
inline constexpr int kExitValueRefused = 4;
// The radio did not answer, a step of the transfer failed, the read-back
// found blocks that differ, or the radio lacks what was asked of it.
inline constexpr int kExitRadioFailed = 5;
// The radio's model or band does not fit the file.
inline constexpr int kExitModelMismatch = 6;
// A question about the radio was answered no (another radio, restore).
inline constexpr int kExitCancelled = 7;
// lang check: 10 + the language file's load error code.
inline constexpr int kExitLanguageBase = 10;
// Wrong usage: an unknown command or option, a missing or malformed value.
inline constexpr int kUsageError = 64;
// A stopped transfer: 128 + the signal's number.
inline constexpr int kExitSignalBase = 128;

}  // namespace vrm::cli
