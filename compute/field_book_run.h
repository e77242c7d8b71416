// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A field book reduced against its class and turned into the job it gives:
// the one way the batch tool, the window and the report go from a book to
// the figure.
//
// The job: the tolerance (or the class's m_beta), A and D as given (or 0 0
// and the orientation), the names, the eight angles packed to 0.01″ and the
// sides to 0.1 mm, in the order of entry/job_layout.h.

#include <optional>
#include <string>
#include <vector>

#include "adjust/field_reduction.h"
#include "adjust/order_classes.h"
#include "compute/order_class_table.h"

namespace korvanet {

struct FieldBookRun {
    FieldBook book;
    FieldReduction reduction;
    std::optional<OrderClass> orderClass;  // the book's class, when it names one
    std::vector<std::string> missing;      // what the job still lacks ("station B", "S(3)", "tolerance")
    std::optional<bool> compliant;         // none without a class: every judged check passed
    std::optional<std::vector<std::string>> job;  // the answers, when nothing is missing
};

// Reduces `book` against the class it names.  Throws an InputError when it
// names a class the table does not hold.
FieldBookRun RunFieldBook(const FieldBook& book, const OrderClassTable& table);

}  // namespace korvanet
