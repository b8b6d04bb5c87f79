// The text IDs of what screen readers are told: the ranges and forms a field
// takes, where a grid cell stands, the key image's text and the progress of
// a transfer.
#pragma once

namespace vrm::tid {

inline constexpr TextId kAccRange = 19180001;          // en: "%s to %s" | de: "%s bis %s"
inline constexpr TextId kAccRangeStep = 19180002;      // en: "%s to %s in steps of %s" | de: "%s bis %s in Schritten von %s"
inline constexpr TextId kAccRangeOrOff = 19180003;     // en: "%s, or %s" | de: "%s oder %s"
inline constexpr TextId kAccFrequencyRange = 19180004; // en: "%s to %s MHz" | de: "%s bis %s MHz"
inline constexpr TextId kAccTextLength = 19180005;     // en: "Up to %d characters" | de: "Bis zu %d Zeichen"
inline constexpr TextId kAccCodeForms = 19180006;      // en: "%s, a tone from %s to %s Hz, or a code from D000N to D777I" | de: "%s, ein Ton von %s bis %s Hz oder ein Code von D000N bis D777I"
inline constexpr TextId kAccGridCell = 19180007;       // en: "Row %s, %s" | de: "Zeile %s, %s"
inline constexpr TextId kAccKeyImage = 19180008;       // en: "%s: %s" | de: "%s: %s"
inline constexpr TextId kAccProgress = 19180009;       // en: "%s: %d percent" | de: "%s: %d Prozent"
inline constexpr TextId kAccNoKey = 19180010;          // en: "No key selected" | de: "Keine Taste gewählt"
// The print preview's parts, which the framework leaves unnamed.
inline constexpr TextId kAccPreviewPages = 19190001;   // en: "Pages" | de: "Seiten"
inline constexpr TextId kAccPreviewZoom = 19190002;    // en: "Zoom:" | de: "Zoom:"
inline constexpr TextId kAccPreviewPage = 19190003;    // en: "Page" | de: "Seite"

}  // namespace vrm::tid
