// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/field_book_report.h"
