// Compare with Radio: where a radio's memory differs from the document, field
// by field with the editors' keys, labels and texts.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "model/radio_image.h"

namespace vrm {

class LanguageTable;

struct FieldDifference {
    std::string key;       // "channel.3.rx"
    std::string label;     // the editor's label of the item
    std::string document;  // the text the editor shows for the document ("" when hidden there)
    std::string radio;     // ... and for the radio
};

struct ImageComparison {
    std::vector<FieldDifference> fields;
    // Bytes of the written range that differ although no item shows a
    // difference (areas no editor shows); empty when an item differs.
    std::vector<std::size_t> otherBytes;

    bool Identical() const { return fields.empty() && otherBytes.empty(); }
};

// Compares the document's image with what a read of the radio gave. Only the
// range a write changes counts (0x000-0x3EF): the last block, which no write
// sends, is taken from the document, and byte 12, which a read always sets,
// is left out.
ImageComparison CompareImages(const ImageBuffer& document, const ImageBuffer& radio, const LanguageTable& language,
                              const std::string& separator);

}  // namespace vrm
