// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The form's fonts.  The form names "MS Sans Serif", which no free desktop
// has; a CJK sans-serif stands in for it so the Chinese captions show.

#include <QFont>

namespace korvanet {

inline constexpr const char* kFormFontFamily = "MS Sans Serif";
inline constexpr const char* kFormFontStandIn = "Noto Sans CJK SC";

// Maps the form's family to the stand-in; harmless to call more than once.
void InstallFormFontSubstitute();

// The form's family, bold, at `points`: 8.25 for the controls, 12 for the
// title, 13.5 for the point letters, 9.75 for the azimuth label.
QFont FormFont(double points);

}  // namespace korvanet
