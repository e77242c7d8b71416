// SPDX-License-Identifier: GPL-3.0-or-later
#include "adjust/field_book.h"

namespace korvanet {

FieldInstruments InstrumentsOf(const FieldBook& book) {
    FieldInstruments in;
    if (book.theodolite) in.theodolite = static_cast<int>(book.theodolite->value);
    if (book.edm) {
        in.edmA = (*book.edm)[0].value;
        in.edmB = (*book.edm)[1].value;
    }
    if (book.constants) {
        in.constantK = (*book.constants)[0].value;
        in.constantR = (*book.constants)[1].value;
    }
    if (book.atmosphere) {
        in.atmosphereA = (*book.atmosphere)[0].value;
        in.atmosphereB = (*book.atmosphere)[1].value;
    }
    return in;
}

}  // namespace korvanet
