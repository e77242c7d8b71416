// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text raw data of the common domestic total stations: records named
// STA, BKB, BS, SS, SD, HVD, HV, HD ..., a record's name, height and code on
// one line and its values on the next, angles packed d.mmss.

#include <string>

#include "compute/instrument_record.h"

namespace korvanet {

// Whether the text reads as such a file: its first record is one of these.
bool LooksLikeTextRaw(const std::string& text);

// The stations and pointings of the file.  Throws a FieldBookLineError
// naming the line of a record or a value that cannot be read.
InstrumentRecord ReadTextRaw(const std::string& text);

}  // namespace korvanet
