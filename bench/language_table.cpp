// Loading the English language file and looking texts up.
//
// Targets on the team machine: a load under 5 ms, a lookup under 50 ns. The
// std::map lookup is the reference the table's own index must match or beat.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "core/base/language_table.h"

namespace {

// The shipped English file, or a generated file of about its size with a
// text for every required ID.
std::string EnglishFile() {
    static std::string path;
    if (!path.empty()) return path;
    const std::string shipped = std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_en.lng";
    if (std::filesystem::exists(shipped)) return path = shipped;
    char folder[] = "/tmp/vrm-bench-XXXXXX";
    if (!::mkdtemp(folder)) std::abort();
    path = std::string(folder) + "/vrm650t_en.lng";
    std::ofstream out(path, std::ios::binary);
    out << "*Language,vrm650t_en.lng\r\n*Font,DejaVu Sans\r\n*DispLanguage,English\r\n";
    for (const char* key : {"*LMRHelpFile", "*LMRSEHelpFile", "*BRSHelpFile", "*BRSSEHelpFile", "*BRSonlyHelpFile",
                            "*LMREHelpFile", "*LMRESEHelpFile", "*LMREonlyHelpFile", "*BRSEHelpFile",
                            "*BRSESEHelpFile", "*GMRSHelpFile", "*GMRSSEHelpFile", "*GMRSonlyHelpFile", "*AdHelpFile"})
        out << key << ",help.html\r\n";
    out << "\r\n";
    for (std::uint32_t id : vrm::LanguageTable::RequiredIds())
        out << "^#" << id << ",\"A caption, or a message of some length, for text " << id << "\"\r\n";
    return path;
}

void BM_LoadEnglishFile(benchmark::State& state) {
    const std::string path = EnglishFile();
    vrm::LanguageTable table;
    for (auto _ : state) {
        table.ResetSettings();
        if (!table.Load(path, false, nullptr)) {
            state.SkipWithError("the English file does not load");
            break;
        }
        benchmark::DoNotOptimize(table.Text(10000001));
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_LoadEnglishFile)->Unit(benchmark::kMillisecond);

void BM_LookupEveryRequiredId(benchmark::State& state) {
    vrm::LanguageTable table;
    if (!table.Load(EnglishFile(), false, nullptr)) state.SkipWithError("the English file does not load");
    const std::vector<std::uint32_t> ids = vrm::LanguageTable::RequiredIds();
    for (auto _ : state) {
        for (std::uint32_t id : ids) benchmark::DoNotOptimize(table.Text(id));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * ids.size()));
}
BENCHMARK(BM_LookupEveryRequiredId);

void BM_LookupAbsentIds(benchmark::State& state) {
    vrm::LanguageTable table;
    if (!table.Load(EnglishFile(), false, nullptr)) state.SkipWithError("the English file does not load");
    std::vector<std::uint32_t> ids = vrm::LanguageTable::RequiredIds();
    for (auto& id : ids) id += 50000000;
    for (auto _ : state) {
        for (std::uint32_t id : ids) benchmark::DoNotOptimize(table.Text(id));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * ids.size()));
}
BENCHMARK(BM_LookupAbsentIds);

// Reference: the same texts in an ordered map keyed by the ID.
void BM_StdMapLookupReference(benchmark::State& state) {
    vrm::LanguageTable table;
    if (!table.Load(EnglishFile(), false, nullptr)) state.SkipWithError("the English file does not load");
    std::map<std::uint32_t, std::string> map;
    for (std::uint32_t id : table.TextIds()) map.emplace(id, table.Text(id));
    const std::vector<std::uint32_t> ids = vrm::LanguageTable::RequiredIds();
    for (auto _ : state) {
        for (std::uint32_t id : ids) {
            const auto it = map.find(id);
            benchmark::DoNotOptimize(it == map.end() ? "" : it->second.c_str());
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * ids.size()));
}
BENCHMARK(BM_StdMapLookupReference);

void BM_ScanInstalledLanguages(benchmark::State& state) {
    const std::string folder = std::filesystem::path(EnglishFile()).parent_path().string();
    vrm::LanguageTable table;
    for (auto _ : state) benchmark::DoNotOptimize(table.ScanInstalledLanguages(folder));
}
BENCHMARK(BM_ScanInstalledLanguages)->Unit(benchmark::kMillisecond);

}  // namespace
