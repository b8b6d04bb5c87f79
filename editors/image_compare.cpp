#include "editors/image_compare.h"

#include <algorithm>
#include <vector>
#include <map>
#include <memory>

#include "editors/edit_session.h"
#include "editors/field_registry.h"
#include "model/model_catalogue.h"

namespace vrm {

namespace {

constexpr std::size_t kWrittenEnd = 0x3F0;
constexpr std::size_t kReadSetsByte = 12;

// An image with its model and an edit session, to read the items' texts.
struct Side {
    Side(const ImageBuffer& bytes, const LanguageTable& language, const std::string& separator) {
        image.Transfer() = bytes;
        image.AdoptTransferImage();
        catalogue.RecomputeBandLimits();
        session = std::make_unique<EditSession>(image, catalogue, language);
        session->SetDecimalSeparator(separator);
    }
    struct Item {
        std::string key;
        tid::TextId label = 0;
        std::string text;
    };
    // Every item the model shows, in the editors' order.
    std::vector<Item> Items() const {
        std::vector<Item> items;
        for (const FieldRef& ref : AllFields(session->Context()))
            if (session->Shown(ref)) items.push_back({ref.Key(), ref.field->label, session->Text(ref)});
        return items;
    }

    RadioImage image;
    ModelCatalogue catalogue{image};
    std::unique_ptr<EditSession> session;
};

}  // namespace

ImageComparison CompareImages(const ImageBuffer& document, const ImageBuffer& radio, const LanguageTable& language,
                              const std::string& separator) {
    ImageBuffer written = radio;
    std::copy(document.begin() + kWrittenEnd, document.end(), written.begin() + kWrittenEnd);
    written[kReadSetsByte] = document[kReadSetsByte];

    const Side doc(document, language, separator);
    const Side rad(written, language, separator);
    const auto docItems = doc.Items();
    const auto radItems = rad.Items();

    ImageComparison result;
    const auto labelText = [&](tid::TextId id) { return id ? doc.session->Context().Text(id) : std::string(); };
    std::map<std::string, const Side::Item*> radioByKey, documentByKey;
    for (const Side::Item& item : radItems) radioByKey[item.key] = &item;
    for (const Side::Item& item : docItems) documentByKey[item.key] = &item;
    for (const Side::Item& item : docItems) {
        const auto it = radioByKey.find(item.key);
        const std::string radioText = it == radioByKey.end() ? std::string() : it->second->text;
        if (it == radioByKey.end() || radioText != item.text)
            result.fields.push_back({item.key, labelText(item.label), item.text, radioText});
    }
    // Items only the radio's model shows.
    for (const Side::Item& item : radItems)
        if (!documentByKey.count(item.key))
            result.fields.push_back({item.key, labelText(item.label), std::string(), item.text});

    if (result.fields.empty())
        for (std::size_t i = 0; i < kWrittenEnd; ++i)
            if (document[i] != written[i]) result.otherBytes.push_back(i);
    return result;
}

}  // namespace vrm
