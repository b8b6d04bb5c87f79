// Writing and reading a data file, as Save and Open do it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/fields/channel_fields.h"
#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/files/data_file.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"

namespace {

class NoPrompts : public vrm::Prompter {
public:
    vrm::Answer Ask(const vrm::Message&) override { return vrm::Answer::Ok; }
    vrm::PasswordResult AskPassword(vrm::PasswordGate& gate) override {
        return gate.Submit("4711") == vrm::PasswordGate::Verdict::Accepted ? vrm::PasswordResult::Accepted
                                                                          : vrm::PasswordResult::Refused;
    }
};

struct Setup {
    vrm::RadioImage image;
    vrm::ModelCatalogue catalogue{image};
    vrm::DataFile file{image, catalogue};
    vrm::VirtualClock clock{{12, 34}};
    vrm::LanguageTable language;
    NoPrompts prompter;
    std::string folder;
    std::string path;

    Setup() {
        char tmpl[] = "/tmp/vrm-bench-XXXXXX";
        folder = ::mkdtemp(tmpl) ? tmpl : "/tmp";
        path = folder + "/bench.dat";
        catalogue.ResetIdentity();
        image.SetPresetChannelWriter(vrm::WritePresetChannels);
        image.InitialiseDefaults(catalogue, false);
    }
    ~Setup() { std::filesystem::remove_all(folder); }
};

void WriteAndRead(benchmark::State& state, bool protectedFile) {
    Setup s;
    const vrm::DataFileSecurity security{"4711", protectedFile};
    for (auto _ : state) {
        const auto w = s.file.Write(s.path, security, s.clock);
        const auto r = s.file.Read(s.path, s.prompter, s.language);
        if (!w.Ok() || !r.Ok()) {
            state.SkipWithError("data file round trip failed");
            break;
        }
        benchmark::DoNotOptimize(s.image.Transfer().data());
    }
}

void BM_DataFileWriteRead(benchmark::State& state) { WriteAndRead(state, false); }
void BM_DataFileWriteReadProtected(benchmark::State& state) { WriteAndRead(state, true); }

// The file-open dialog previews every selection.
void BM_DataFilePreview(benchmark::State& state) {
    Setup s;
    s.file.Write(s.path, {}, s.clock);
    for (auto _ : state) {
        const auto p = vrm::DataFile::Preview(s.path);
        if (p.code != 0) {
            state.SkipWithError("preview failed");
            break;
        }
        benchmark::DoNotOptimize(p.line1.data());
    }
}

}  // namespace

BENCHMARK(BM_DataFileWriteRead)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DataFileWriteReadProtected)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DataFilePreview)->Unit(benchmark::kMicrosecond);
