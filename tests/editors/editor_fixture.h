// A radio image of a chosen model with its New defaults, an edit session on
// it with the English texts, and the script-level access the CLI uses.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/fields/channel_fields.h"
#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "model/shipped_language.h"

namespace vrm::test {

// Models: 1 HRV-41 (4 channels, typed, market class 1 with band 0x0100),
// 2 Varitel (4 channels, 99 presets), 3 HRV-41A (16 channels, typed).
struct EditorFixture {
    RadioImage image;
    ModelCatalogue catalogue{image};
    EditSession session{image, catalogue, EnglishTexts()};

    explicit EditorFixture(int model = 3, std::uint16_t bandWord = 0) {
        image.SetPresetChannelWriter(WritePresetChannels);
        image.Clear();
        catalogue.SetModel(model);
        catalogue.SetBandWord(bandWord ? bandWord
                                       : static_cast<std::uint16_t>(ModelCatalogue::BandList(model, ".").front().data));
        image.InitialiseDefaults(catalogue, false);
        image.TakeSnapshot();
    }

    ScriptWrite Set(const std::string& key, const std::string& value) { return SetFromScript(session, key, value); }
    std::string Get(const std::string& key) const {
        const auto ref = FindField(session.Context(), key);
        return ref ? session.Text(*ref) : "<no field>";
    }
    std::size_t Channel(int n) const { return kChannelTable.offset + kChannelRecordSize * static_cast<std::size_t>(n); }
    std::uint8_t Byte(std::size_t at) const { return image.Live()[at]; }
};

}  // namespace vrm::test
