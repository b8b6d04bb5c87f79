// The rules of the model dialog: which model and band are preselected, which
// band follows a change of model, what OK asks and what it changes in the
// image. The dialog only shows the lists and hands the choices over.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/base/text_ids.h"
#include "core/model/model_catalogue.h"

namespace vrm {

class ModelChange {
public:
    ModelChange(ModelCatalogue& catalogue, std::string decimalSeparator);

    // The model list (offered models) and the entry of the current model
    // (-1 when the current identity is none of them).
    std::vector<ListEntry> Models() const;
    int CurrentModelEntry() const;

    // The band list of a model and the entry whose text is the current band's
    // (-1 when none).
    std::vector<ListEntry> Bands(int model) const;
    int CurrentBandEntry(int model) const;

    // After the model selection changed to `model`: the band entry whose band
    // code is that of `previousBandWord` and whose market code is that of
    // the model's first band record; else the first entry.
    int BandEntryAfterModelChange(int model, std::uint16_t previousBandWord) const;

    struct Plan {
        tid::TextId question = 0;  // 0: nothing to confirm
        bool dataReset = false;     // the whole image returns to the New defaults
        bool bandsChanged = false;  // only the band changes: channels go, test frequencies follow
    };
    // What OK with this model and band word means.
    Plan Evaluate(int model, std::uint16_t bandWord) const;

    // Carries the plan out. Returns true when the identity changed.
    bool Apply(const Plan& plan, int model, std::uint16_t bandWord);

private:
    ModelCatalogue& catalogue_;
    std::string decimalSeparator_;
};

}  // namespace vrm
