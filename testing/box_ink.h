// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How dark a box of the form draws its text: black for a value of the run in
// hand, grey for one a run left stale, nothing for an empty box.

#include <QImage>
#include <QLineEdit>
#include <algorithm>

namespace korvanet::testing {

// The darkest grey level in what the box draws: its text, when it has any.
inline int DarkestInk(QLineEdit* box) {
    const QImage image = box->grab().toImage();
    int darkest = 255;
    for (int y = 3; y < image.height() - 3; ++y) {
        for (int x = 3; x < image.width() - 3; ++x) darkest = std::min(darkest, qGray(image.pixel(x, y)));
    }
    return darkest;
}

}  // namespace korvanet::testing
