// Where two images differ, field by field with the editors' keys, captions,
// labels and texts: Compare with Radio (the document against a read of the
// radio), and the comparison of two data files (vrm650t-cli diff, File >
// Compare With...).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/model/radio_image.h"

namespace vrm {

class LanguageTable;

struct FieldDifference {
    std::string key;       // "channel.3.rx"
    std::string section;   // the caption of the item's editor ("Channel Information")
    std::string row;       // a record table's row as its editor titles it ("3", "Low"); "" on a form
    std::string label;     // the editor's label of the item
    std::string document;  // the text the editor shows for the first image (the document, file A; "" when hidden there)
    std::string radio;     // ... and for the second (the radio, file B)

    // Where the item is, as the lists show it: the section, and a record
    // table's row after it ("Channel Information 3").
    std::string Place() const { return row.empty() ? section : section + " " + row; }
};

struct ImageComparison {
    std::vector<FieldDifference> fields;
    // Bytes that differ although no item shows a difference (areas no editor
    // shows); empty when an item differs.
    std::vector<std::size_t> otherBytes;

    bool Identical() const { return fields.empty() && otherBytes.empty(); }
};

// Every item either image's model shows whose text differs, in the editors'
// order (the first image's items, then those only the second's model shows),
// and, when none differs, the differing bytes in [begin, end).
ImageComparison CompareItems(const ImageBuffer& first, const ImageBuffer& second, const LanguageTable& language,
                             const std::string& separator, std::size_t begin, std::size_t end);

// Compares the document's image with what a read of the radio gave. Only the
// range a write changes counts (0x000-0x3EF): the last block, which no write
// sends, is taken from the document, and byte 12, which a read always sets,
// is left out.
ImageComparison CompareImages(const ImageBuffer& document, const ImageBuffer& radio, const LanguageTable& language,
                              const std::string& separator);

// Two data files' images compared whole (all 1024 bytes).
struct FileComparison {
    std::string firstModel;   // "HRV-41 LMR : K UHF : 440-480 MHz" ("" for an identity no model has)
    std::string secondModel;
    ImageComparison items;
    std::vector<std::size_t> bytes;  // every differing byte, in address order

    bool SameModel() const { return firstModel == secondModel; }
    bool Identical() const { return bytes.empty(); }
};

// Files of different models are compared too: the items both models show by
// their keys, the items only one shows with "" on the other side.
FileComparison CompareFiles(const ImageBuffer& first, const ImageBuffer& second, const LanguageTable& language,
                            const std::string& separator);

}  // namespace vrm
