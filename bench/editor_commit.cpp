// One committed edit as the editors make it: a typed frequency through the
// field access and the channel rules, with its undo step, and the undo
// itself.
#include <benchmark/benchmark.h>

#include "core/fields/channel_fields.h"
#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/base/language_table.h"

namespace {

struct Setup {
    vrm::RadioImage image;
    vrm::ModelCatalogue catalogue{image};
    vrm::LanguageTable language;
    vrm::EditSession session{image, catalogue, language};
    vrm::FieldRef rx;

    Setup() {
        catalogue.ResetIdentity();  // 16 channels, typed frequencies
        image.InitialiseDefaults(catalogue, false);
        rx = *vrm::FindField(session.Context(), "channel.9.rx");
    }
};

// Two frequencies in turn, so that every commit changes the image.
void BM_TypedCommitWithUndoStep(benchmark::State& state) {
    Setup s;
    const vrm::FieldInput inputs[] = {vrm::FieldInput::Typed("462.5625"), vrm::FieldInput::Typed("467.7125")};
    std::size_t i = 0;
    for (auto _ : state) {
        const vrm::WriteResult r = s.session.Commit(s.rx, inputs[i++ & 1]);
        if (!r.Ok()) {
            state.SkipWithError("commit refused");
            break;
        }
        if (s.session.UndoDepth() >= vrm::EditSession::kMaxUndoSteps) s.session.ClearHistory();
    }
}

// A commit and its undo, the image back where it was each round.
void BM_CommitAndUndo(benchmark::State& state) {
    Setup s;
    for (auto _ : state) {
        s.session.Commit(s.rx, vrm::FieldInput::Typed("462.5625"));
        if (!s.session.Undo()) {
            state.SkipWithError("nothing to undo");
            break;
        }
    }
}

// What `set` does per assignment: the key looked up, the value turned into
// the editor's input, the commit.
void BM_ScriptAssignment(benchmark::State& state) {
    Setup s;
    const char* values[] = {"88.5", "D023N"};
    vrm::SetFromScript(s.session, "channel.9.rx", "462.5625");
    std::size_t i = 0;
    for (auto _ : state) {
        const auto w = vrm::SetFromScript(s.session, "channel.9.decode", values[i++ & 1]);
        if (!w.Ok()) {
            state.SkipWithError("assignment refused");
            break;
        }
        if (s.session.UndoDepth() >= vrm::EditSession::kMaxUndoSteps) s.session.ClearHistory();
    }
}

}  // namespace

BENCHMARK(BM_TypedCommitWithUndoStep);
BENCHMARK(BM_CommitAndUndo);
BENCHMARK(BM_ScriptAssignment);
