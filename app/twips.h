// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The form is drawn up in twips, 1/1440 inch, measured from the top-left
// corner of the client area.  The screen counts pixels at its logical
// resolution: at 96 dots per inch 15 twips make one pixel.

#include <cmath>

namespace korvanet {

inline constexpr double kTwipsPerInch = 1440.0;

inline int TwipsToPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

}  // namespace korvanet
