#include "core/exchange/image_compare.h"

#include <algorithm>
#include <map>
#include <vector>

#include "core/fields/edit_session.h"
#include "core/fields/field_listing.h"
#include "core/fields/field_registry.h"
#include "core/files/document.h"
#include "core/model/model_catalogue.h"

namespace vrm {

namespace {

constexpr std::size_t kWrittenEnd = 0x3F0;
constexpr std::size_t kReadSetsByte = 12;

// An image held as it is, with its model and an edit session, to read the
// items' texts.
struct Side {
    Side(const ImageBuffer& bytes, const LanguageTable& language, const std::string& separator) : document(language) {
        document.Hold(bytes);
        document.Session().SetDecimalSeparator(separator);
    }
    struct Item {
        std::string key;
        FieldRef ref;
        std::string text;
    };
    // Every item the model shows, in the editors' order, with its text as
    // the editor shows it: a record not in use (a channel deleted) shows
    // empty cells on the models whose grid leaves them blank, whatever its
    // bytes hold.
    std::vector<Item> Items() const {
        std::vector<Item> items;
        const EditSession& session = document.Session();
        const EditContext& ctx = session.Context();
        for (const FieldRef& ref : AllFields(ctx)) {
            if (!session.Shown(ref)) continue;
            std::string text = ref.table->IsRecordTable() ? GridCellText(ctx, *ref.table, GridColumn{ref.field}, ref.row)
                                                          : session.Text(ref);
            items.push_back({ref.Key(), ref, std::move(text)});
        }
        return items;
    }
    // The difference's names of an item as this side's editors show them.
    FieldDifference Named(const Item& item) const {
        const EditSession& session = document.Session();
        const EditContext& ctx = session.Context();
        const FieldTable& table = *item.ref.table;
        FieldDifference d;
        d.key = item.key;
        const tid::TextId caption = EditorCaption(table);
        d.section = caption ? ctx.Text(caption) : std::string(table.prefix);
        if (table.IsRecordTable())
            d.row = table.records->rowTitle ? ctx.Text(table.records->rowTitle(item.ref.row))
                                            : std::to_string(item.ref.row + 1);
        d.label = item.ref.field->label ? ctx.Text(item.ref.field->label) : std::string();
        return d;
    }

    Document document;
};

std::vector<std::size_t> DifferingBytes(const ImageBuffer& a, const ImageBuffer& b, std::size_t begin,
                                        std::size_t end) {
    std::vector<std::size_t> at;
    for (std::size_t i = begin; i < end && i < a.size(); ++i)
        if (a[i] != b[i]) at.push_back(i);
    return at;
}

}  // namespace

ImageComparison CompareItems(const ImageBuffer& first, const ImageBuffer& second, const LanguageTable& language,
                             const std::string& separator, std::size_t begin, std::size_t end) {
    const Side one(first, language, separator);
    const Side two(second, language, separator);
    const auto oneItems = one.Items();
    const auto twoItems = two.Items();

    ImageComparison result;
    std::map<std::string, const Side::Item*> twoByKey, oneByKey;
    for (const Side::Item& item : twoItems) twoByKey[item.key] = &item;
    for (const Side::Item& item : oneItems) oneByKey[item.key] = &item;
    // An item one model does not have counts as empty there: an empty cell of
    // a channel the other model lacks is no difference.
    for (const Side::Item& item : oneItems) {
        const auto it = twoByKey.find(item.key);
        const std::string twoText = it == twoByKey.end() ? std::string() : it->second->text;
        if (twoText == item.text) continue;
        FieldDifference d = one.Named(item);
        d.document = item.text;
        d.radio = twoText;
        result.fields.push_back(std::move(d));
    }
    // Items only the second image's model shows.
    for (const Side::Item& item : twoItems) {
        if (oneByKey.count(item.key) || item.text.empty()) continue;
        FieldDifference d = two.Named(item);
        d.radio = item.text;
        result.fields.push_back(std::move(d));
    }
    if (result.fields.empty()) result.otherBytes = DifferingBytes(first, second, begin, end);
    return result;
}

ImageComparison CompareImages(const ImageBuffer& document, const ImageBuffer& radio, const LanguageTable& language,
                              const std::string& separator) {
    ImageBuffer written = radio;
    std::copy(document.begin() + kWrittenEnd, document.end(), written.begin() + kWrittenEnd);
    written[kReadSetsByte] = document[kReadSetsByte];
    return CompareItems(document, written, language, separator, 0, kWrittenEnd);
}

FileComparison CompareFiles(const ImageBuffer& first, const ImageBuffer& second, const LanguageTable& language,
                            const std::string& separator) {
    FileComparison result;
    const auto identity = [](const ImageBuffer& bytes) {
        ModelIdentity id{};
        std::copy(bytes.begin(), bytes.begin() + kIdentitySize, id.begin());
        return id;
    };
    result.firstModel = ModelCatalogue::ModelSummaryText(identity(first), separator);
    result.secondModel = ModelCatalogue::ModelSummaryText(identity(second), separator);
    result.items = CompareItems(first, second, language, separator, 0, kImageSize);
    result.bytes = DifferingBytes(first, second, 0, kImageSize);
    return result;
}

}  // namespace vrm
