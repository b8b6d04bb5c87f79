#include "core/document/model_change.h"

namespace vrm {

ModelChange::ModelChange(ModelCatalogue& catalogue, std::string decimalSeparator)
    : catalogue_(catalogue), decimalSeparator_(std::move(decimalSeparator)) {}

std::vector<ListEntry> ModelChange::Models() const { return ModelCatalogue::ModelList(); }

int ModelChange::CurrentModelEntry() const {
    const int model = catalogue_.FindModel();
    if (model < 0) return -1;
    const std::string text = ModelCatalogue::ModelListText(model);
    const std::vector<ListEntry> models = Models();
    for (std::size_t i = 0; i < models.size(); ++i) {
        if (models[i].text == text) return static_cast<int>(i);
    }
    return -1;
}

std::vector<ListEntry> ModelChange::Bands(int model) const {
    return ModelCatalogue::BandList(model, decimalSeparator_);
}

int ModelChange::CurrentBandEntry(int model) const {
    const int record = catalogue_.BandRecordOf();
    if (record < 0) return -1;
    const std::string text = ModelCatalogue::BandText(record, decimalSeparator_);
    const std::vector<ListEntry> bands = Bands(model);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        if (bands[i].text == text) return static_cast<int>(i);
    }
    return -1;
}

int ModelChange::BandEntryAfterModelChange(int model, std::uint16_t previousBandWord) const {
    const std::vector<ListEntry> bands = Bands(model);
    const ModelRecord* record = ModelCatalogue::Model(model);
    if (bands.empty() || !record) return bands.empty() ? -1 : 0;
    const BandRecord* first = ModelCatalogue::Band(record->firstBandRecord);
    const int bandCode = previousBandWord >> 8;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const int data = bands[i].data;
        if ((data >> 8) == bandCode && first && (data & 0xFF) == first->marketCode) return static_cast<int>(i);
    }
    return 0;
}

ModelChange::Plan ModelChange::Evaluate(int model, std::uint16_t bandWord) const {
    Plan plan;
    const ModelRecord* record = ModelCatalogue::Model(model);
    if (!record) return plan;
    if (bandWord != catalogue_.BandWord()) {
        if ((bandWord & 0xFF) == catalogue_.MarketCode()) {
            plan.question = tid::kMsgBandChange;
            plan.bandsChanged = true;
        } else {
            plan.question = tid::kMsgDataReset;
            plan.dataReset = true;
        }
    }
    if (model != catalogue_.FindModel() && !plan.dataReset && record->entryMode != catalogue_.EntryMode()) {
        plan.question = tid::kMsgDataReset;
        plan.dataReset = true;
        plan.bandsChanged = false;
    }
    return plan;
}

bool ModelChange::Apply(const Plan& plan, int model, std::uint16_t bandWord) {
    const ModelRecord* record = ModelCatalogue::Model(model);
    if (!record) return false;
    RadioImage& image = catalogue_.Image();
    const ModelIdentity before = image.Identity();
    if (plan.dataReset) image.Clear();
    catalogue_.SetModel(model);
    catalogue_.SetBandWord(bandWord);
    catalogue_.SetEntryMode(record->entryMode);
    catalogue_.RecomputeBandLimits();
    if (plan.dataReset) {
        image.InitialiseDefaults(catalogue_, false);
    } else if (plan.bandsChanged) {
        image.DeleteAllChannels();
        image.WriteDefaultTestFrequencies(catalogue_);
        image.WriteDefaultBandPoints(catalogue_);
    }
    return plan.dataReset || plan.bandsChanged || image.Identity() != before;
}

}  // namespace vrm
