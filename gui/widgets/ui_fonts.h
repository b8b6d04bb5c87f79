// The four user-interface fonts that the language file's settings describe:
// the dialog and view font, the grid font, the fixed-pitch font (tree bar,
// memory map) and the second fixed-pitch font (printing).
//
// Sizes: "*FontSize" and "*FPitchFontSize" are character heights in pixels,
// "*GridFontSize" is in points.
#pragma once

#include <QFont>

namespace vrm {

struct LanguageSettings;

struct UiFonts {
    QFont dialog;
    QFont grid;
    QFont fixedPitch;
    QFont fixedPitchPrint;

    static UiFonts FromSettings(const LanguageSettings& settings);
};

}  // namespace vrm
