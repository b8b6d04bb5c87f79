// The configuration text: an export (which imports itself until it is exact)
// and an import, of a model's New defaults with every channel in use, and of
// an image of random bytes (where many fields go as byte rows).
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "core/fields/channel_fields.h"
#include "core/exchange/config_text.h"
#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/base/language_table.h"

namespace {

const vrm::LanguageTable& English() {
    static vrm::LanguageTable table;
    static const bool loaded = table.Load(std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_en.lng", false, nullptr);
    (void)loaded;
    return table;
}

// Model 3 (16 channels); `random` fills everything after the identity.
vrm::ImageBuffer Image(bool random) {
    vrm::RadioImage image;
    vrm::ModelCatalogue catalogue(image);
    image.SetPresetChannelWriter(vrm::WritePresetChannels);
    catalogue.SetModel(3);
    catalogue.SetBandWord(static_cast<std::uint16_t>(vrm::ModelCatalogue::BandList(3, ".").front().data));
    image.InitialiseDefaults(catalogue, false);
    vrm::EditSession session(image, catalogue, English());
    for (int n = 1; n <= 16; ++n)
        vrm::SetFromScript(session, "channel." + std::to_string(n) + ".rx", std::to_string(450 + n) + ".125");
    if (random) {
        std::mt19937 bytes(14);
        for (std::size_t b = vrm::kIdentitySize; b < vrm::kImageSize; ++b)
            image.Live()[b] = static_cast<std::uint8_t>(bytes());
    }
    return image.Live();
}

void BM_ExportConfigText(benchmark::State& state) {
    const vrm::ImageBuffer image = Image(state.range(0) != 0);
    for (auto _ : state) {
        const vrm::ConfigTextExport text = vrm::ExportConfigText(image, English());
        if (!text.ok) {
            state.SkipWithError("export failed");
            break;
        }
        benchmark::DoNotOptimize(text.text.data());
    }
}
BENCHMARK(BM_ExportConfigText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ImportConfigText(benchmark::State& state) {
    const std::string text = vrm::ExportConfigText(Image(state.range(0) != 0), English()).text;
    for (auto _ : state) {
        const vrm::ConfigTextImport back = vrm::ImportConfigText(text, English());
        if (!back.ok) {
            state.SkipWithError("import refused");
            break;
        }
        benchmark::DoNotOptimize(back.image.data());
    }
}
BENCHMARK(BM_ImportConfigText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
