#include "gui/widgets/ui_fonts.h"

#include "core/base/language_table.h"

namespace vrm {
namespace {

QFont MakeFont(const std::string& family, bool fixedPitch) {
    QFont font(QString::fromStdString(family));
    font.setStyleHint(fixedPitch ? QFont::TypeWriter : QFont::SansSerif);
    if (fixedPitch) font.setFixedPitch(true);
    return font;
}

}  // namespace

UiFonts UiFonts::FromSettings(const LanguageSettings& settings) {
    UiFonts fonts;
    fonts.dialog = MakeFont(settings.FontName(), false);
    fonts.dialog.setPixelSize(settings.fontSize > 0 ? settings.fontSize : 14);
    fonts.grid = MakeFont(settings.FontName(), false);
    fonts.grid.setPointSizeF(settings.gridFontSize > 0 ? settings.gridFontSize : 8.0);
    fonts.fixedPitch = MakeFont(settings.fixedPitchFont, true);
    fonts.fixedPitch.setPixelSize(settings.fixedPitchFontSize > 0 ? settings.fixedPitchFontSize : 13);
    fonts.fixedPitchPrint = MakeFont(settings.fixedPitchFont2, true);
    fonts.fixedPitchPrint.setPixelSize(settings.fixedPitchFontSize > 0 ? settings.fixedPitchFontSize : 13);
    return fonts;
}

}  // namespace vrm
