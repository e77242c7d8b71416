// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The forms in which the results of the adjustment reach the window: each
// rounds (ties to even) before it formats, as its value is shown.

#include <string>

namespace korvanet {

// Side 6 from the coordinates (Text6): "402.8201", 4 decimals, no blank.
std::string DerivedSideText(double side);
// Azimuth A->D in d.mmss (Text5): "80.286 度", rounded to 5, shown with 3 decimals.
std::string DerivedAzimuthText(double packed);
// A misclosure in arc seconds: " 4.40 秒".
std::string SecondsText(double seconds);
// A sine-condition misclosure kept in metres, shown in millimetres: " 3.92 毫米".
std::string MisclosureMillimetreText(float metres);
// A weight reciprocal: " 1.0066", 4 decimals, general form (no trailing zeros).
std::string WeightReciprocalText(double value);
// The mean error of unit weight: " 2.37 秒", 2 decimals, general form.
std::string UnitWeightErrorText(float m0);
// A mean error in millimetres: " 3.46 毫米".
std::string MillimetreText(float millimetres);
// A computed coordinate: " 4325241.581".
std::string CoordinateText(double metres);
// A name, or a coordinate shown as it was typed: " " + text.
std::string EnteredText(const std::string& text);

}  // namespace korvanet
