// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Leica GSI-8 and GSI-16 files: one block of words a line (GSI-16 lines
// begin with '*'); a word is its word index (WI, two or three digits), its
// information characters (the sixth character of the word is the unit), a
// sign, 8 or 16 data characters and a blank.

#include <string>

#include "compute/instrument_record.h"

namespace korvanet {

// Whether the text reads as GSI: its first line that is not blank is a block.
bool LooksLikeGsi(const std::string& text);

// The stations and pointings of a GSI file.  Throws a FieldBookLineError
// naming the line of a block or word that is not GSI, a unit that the word
// cannot have, a pointing before any station, and the like.
InstrumentRecord ReadGsi(const std::string& text);

}  // namespace korvanet
