// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The checks of an order class that a design (精度估算) can answer before
// any observation: the smallest angle, the weakest side and the measured
// sides as for an adjusted figure, and in place of the observed triangle
// closures the closure to be expected, 2 sigma0 (the mean error of the sum
// of a triangle's four observed angles of mean error sigma0), against the
// class's closure limit.  Ferrero's angle mean error needs observed closures
// and is not checked.
//
// Notation as in order_classes.h; sigma0 the planned angle mean error, arc
// seconds.

#include "adjust/figure_precision.h"
#include "adjust/order_classes.h"

namespace korvanet {

ClassCompliance CheckDesignOrderClass(const FigureSummary& figure, const OrderClass& orderClass,
                                      double sigma0);

}  // namespace korvanet
