// The configuration lists on paper: which lists there are, and the document
// of the chosen ones, built from the editors' field tables so that a
// print-out shows exactly what the editors show (texts, headings, the
// current language), its numbers and dates written as that language writes
// them.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/print_document.h"
#include "core/base/text_ids.h"

namespace vrm {

class EditSession;
struct EditContext;
struct FieldTable;

namespace print {

enum class PrintList { Channels, Features, Keys, Scan, TestFrequencies, BandPoints, CustomCodes, Message, Advanced };

struct PrintListInfo {
    PrintList list;
    const char* token;      // as scripts and the settings name it
    tid::TextId caption;    // check box and section heading
};

// Every list in print order (the order of the Edit menu).
std::span<const PrintListInfo> PrintLists();
const PrintListInfo& InfoOf(PrintList list);

// False for a list the model has no editor for (QT/DQT customization on the
// models whose frequencies are typed).
bool ListOffered(const EditContext& ctx, PrintList list);

// "channels,features"; `bad` gets the first unknown token. Blanks around a
// token are ignored; an empty text names no list.
std::optional<std::vector<PrintList>> ParseLists(std::string_view text, std::string* bad = nullptr);
std::string ListTokens(const std::vector<PrintList>& lists);
// "channels, features, ..." of every list, for a message.
std::string AllListTokens();

// What the title block says besides the model.
struct PrintHeader {
    std::string fileName;   // the data file's name as the title bar shows it
    std::string printedAt;  // the date and time of printing (PrintedNow of print_language.h)
};

// The document of `lists` (in print order, lists the model does not offer
// left out) in the session's language, with that language's decimal
// separator. A channel code linked to a custom entry gives its value
// ("CQT2 (100.0)").
Document BuildConfigurationDocument(const EditSession& session, const std::vector<PrintList>& lists,
                                    const PrintHeader& header);

}  // namespace print
}  // namespace vrm
