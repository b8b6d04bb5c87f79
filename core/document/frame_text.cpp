#include "core/document/frame_text.h"

#include "core/base/text_format.h"

namespace vrm {

std::string MainFrameTitle(const std::string& modelSummary, const std::string& fileLabel,
                           const std::string& fileName, bool noEncryption) {
    std::string title = FormatText("%s  [ %s ] [ %s : %s ]", {kProgramName, modelSummary, fileLabel, fileName});
    if (noEncryption) title += FormatText("%10s%s", {"", kNoEncryptionText});
    return title;
}

}  // namespace vrm
