// The four user-interface fonts that the language file's settings describe:
// the dialog and view font, the grid font, the fixed-pitch font (tree bar,
// memory map) and the second fixed-pitch font (printing).
//
// Sizes: "*FontSize" and "*FPitchFontSize" are character heights in pixels,
// "*GridFontSize" is in points. A larger desktop font wins over each.
#pragma once

#include <QFont>

namespace vrm {

struct LanguageSettings;

struct UiFonts {
    QFont dialog;
    QFont grid;
    QFont fixedPitch;
    QFont fixedPitchPrint;

    // The language file's fonts, never smaller than the desktop's font once
    // that was remembered: a user who set a large desktop font keeps it.
    static UiFonts FromSettings(const LanguageSettings& settings);
    // The desktop's font as the program found it at start (before it set
    // its own); null forgets it.
    static void RememberDesktopFont(const QFont* font);
};

}  // namespace vrm
