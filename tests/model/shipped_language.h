// The shipped English language file, loaded once for the tests that need the
// texts of the code tables and the data-file messages.
#pragma once

#include <string>

#include "core/base/language_table.h"

namespace vrm::test {

inline const LanguageTable& EnglishTexts() {
    static LanguageTable table;
    static const bool loaded = table.Load(std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_en.lng", false, nullptr);
    (void)loaded;
    return table;
}

}  // namespace vrm::test
