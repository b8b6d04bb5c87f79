// The whole configuration of an image as YAML text, and back.
//
// The text holds the model number, every field by its key (nested by the
// dots of the key) with the value the editor shows (list fields by their
// script token, check boxes as on/off, so that the text reads the same in
// every language), and the bytes no field reproduces as rows of hex bytes:
//
//   model: 2  # HRV-41  LMR  [UHF]: K
//   fields:
//     channel:
//       1:
//         rx: 462.56250
//   bytes:
//     0x000: 50 48 52 56 2D 34 31 FF FF FF 00 01 FF FF FF FF
//
// An import builds the image in this order: a blank image (every byte 0xFF)
// with the model's identity; the byte rows (so they never undo a field); the
// fields, each as the editor commits it, in the order of the Edit menu's
// tables and each table's own order (a channel's frequencies before its
// tones), whatever their order in the text. A field that a rule keeps
// disabled until another field is set is tried again after each pass over
// the rest. A rule that refills an emptied table (the test frequencies'
// defaults) judges the imported table once, at the end. Any error refuses the
// whole text, and so does a text without a field; the caller's data is
// untouched. Every value the image then holds other than the text gives it is
// a note. CR LF and lone CR line ends read as LF.
//
// An export checks itself: it imports its own text and, for every byte that
// comes out different, lists the byte as a row and leaves out the field that
// wrote it, until the import gives the image byte for byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/radio_image.h"

namespace vrm {

class LanguageTable;

// The largest text an import reads: an export is some tens of kilobytes.
inline constexpr std::size_t kConfigTextMaxBytes = 1024 * 1024;

struct ConfigTextExport {
    bool ok = false;
    std::string text;     // the YAML
    std::string problem;  // why not (the image names no offered model)
};

// The YAML of `image` (its live buffer; `image` itself is not changed).
ConfigTextExport ExportConfigText(const ImageBuffer& image, const LanguageTable& language);

struct ConfigTextImport {
    bool ok = false;
    ImageBuffer image{};             // the imported image when ok
    int line = 0;                    // where the refusal lies (0: the whole file)
    std::string key;                 // the key refused ("" when none)
    std::string problem;             // the refusal, with line and key, in the user's language
    // "key: message" for what the rules reported while applying, then one
    // line for each value stored other than given (key, given, stored).
    std::vector<std::string> notes;
};

// The image a YAML text describes, or the refusal.
ConfigTextImport ImportConfigText(std::string_view text, const LanguageTable& language);

// Reads the file (a regular file of at most kConfigTextMaxBytes, checked
// before anything is parsed) and imports it.
ConfigTextImport ImportConfigTextFile(const std::string& path, const LanguageTable& language);

}  // namespace vrm
