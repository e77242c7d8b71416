// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text raw data of the common domestic total stations: records named
// STA, BKB, BS, SS, SD, HVD, HV, HD ..., a record's name, height and code on
// one line and its values on the next, angles packed d.mmss.
//
//   STA ST001,1.205,AD            station: name, instrument height, code
//   XYZ 100.000,100.000,10.000      its coordinates (not taken: see below)
//   BKB BS001,45.2526,50.0000     the backsight's orientation (one line)
//   BS BS001,1.800                a pointing: name, target height, code
//   HVD 98.2354,90.2314,10.235      Hz, V (zenith), slope distance
//   SD A2,1.800,CODE1             a pointing with a distance
//   HVD 78.3628,92.4612,4.751
//   SA A3,1.800,CODE1             a pointing by angles only
//   HV 63.2349,89.2547              Hz, V
//   SS A4,1.800,CODE1             a side shot, as some instruments write it,
//   SD 41.1012,91.0203,25.310       SD then being its values: Hz, V, slope
//   SC A1,1.800,CODE1             a coordinate shot: no angles, not read
//   NEZ 104.662,99.567,10.214
//   NOTE this note                a note (one line)
//
// The name and the record's first field are parted by a blank or a comma,
// the fields by commas.  STN is read as STA.  Records that say nothing
// observed (JOB, DATE, NAME, INST, NOTE, ATMOS, SCALE, BKB) are left out
// with a note.  Refused as not read: HD (horizontal distance and height
// difference: no zenith to tell the face, no slope distance), OFFSET (an
// eccentric pointing is no pointing of the point) and UNITS (a file in feet
// or gon would be read wrong).  The station's XYZ is not taken: instruments
// differ on whether X is east or north, and a known point swapped is worse
// than one typed in.

#include <string>

#include "compute/instrument_record.h"

namespace korvanet {

// Whether the text reads as such a file: its first record is one of these.
bool LooksLikeTextRaw(const std::string& text);

// The stations and pointings of the file.  Throws a FieldBookLineError
// naming the line of a record or a value that cannot be read.
InstrumentRecord ReadTextRaw(const std::string& text);

}  // namespace korvanet
