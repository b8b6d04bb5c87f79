#include "gui/widgets/ui_fonts.h"

#include <QFontInfo>
#include <algorithm>
#include <optional>

#include "core/base/language_table.h"

namespace vrm {
namespace {

QFont MakeFont(const std::string& family, bool fixedPitch) {
    QFont font(QString::fromStdString(family));
    font.setStyleHint(fixedPitch ? QFont::TypeWriter : QFont::SansSerif);
    if (fixedPitch) font.setFixedPitch(true);
    return font;
}

std::optional<QFont>& DesktopFont() {
    static std::optional<QFont> font;
    return font;
}

}  // namespace

void UiFonts::RememberDesktopFont(const QFont* font) {
    if (font) DesktopFont() = *font;
    else DesktopFont().reset();
}

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
    if (const std::optional<QFont>& desktop = DesktopFont()) {
        const int pixels = QFontInfo(*desktop).pixelSize();
        for (QFont* f : {&fonts.dialog, &fonts.fixedPitch}) f->setPixelSize(std::max(f->pixelSize(), pixels));
        const qreal points = desktop->pointSizeF() > 0 ? desktop->pointSizeF() : pixels * 72.0 / 96.0;
        fonts.grid.setPointSizeF(std::max(fonts.grid.pointSizeF(), points));
    }
    return fonts;
}

}  // namespace vrm
