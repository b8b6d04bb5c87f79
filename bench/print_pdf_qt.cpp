// The PDF of a full 16-channel configuration with every list: building the
// document from the field tables, paginating and painting it.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <string>

#include "bench/bench_main.h"
#include "core/fields/channel_fields.h"
#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/exchange/configuration_print.h"
#include "core/exchange/pdf_output.h"
#include "core/base/language_table.h"

namespace {

void BM_SixteenChannelPdf(benchmark::State& state) {
    vrm::LanguageTable language;
    if (!language.Load(std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_en.lng", false, nullptr)) {
        state.SkipWithError("no language file");
        return;
    }
    vrm::RadioImage image;
    vrm::ModelCatalogue catalogue(image);
    image.SetPresetChannelWriter(vrm::WritePresetChannels);
    image.Clear();
    catalogue.SetModel(3);
    catalogue.SetBandWord(static_cast<std::uint16_t>(vrm::ModelCatalogue::BandList(3, ".").front().data));
    image.InitialiseDefaults(catalogue, false);
    vrm::EditSession session(image, catalogue, language);
    // Every channel in use.
    for (int n = 0; n < 16; ++n)
        vrm::SetFromScript(session, "channel." + std::to_string(n + 1) + ".rx", std::to_string(450.0 + 0.0125 * n));
    std::vector<vrm::print::PrintList> all;
    for (const auto& info : vrm::print::PrintLists()) all.push_back(info.list);
    std::string bytes;
    for (auto _ : state) {
        const vrm::print::Document doc = vrm::print::BuildConfigurationDocument(session, all, {"fleet.dat", "now"});
        if (!vrm::print::MakePdf(doc, {}, bytes)) {
            state.SkipWithError("no PDF");
            break;
        }
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_SixteenChannelPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    return vrm::bench::RunBenchmarks(argc, argv);
}
