// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sheet_commands.h"

namespace korvanet {

SheetChangeCommand::SheetChangeCommand(ObservationSheetModel* model, SheetContent before, SheetContent after,
                                       const QString& what)
    : QUndoCommand(what), model_(model), before_(std::move(before)), after_(std::move(after)) {}

void SheetChangeCommand::undo() { model_->setContent(before_); }

void SheetChangeCommand::redo() { model_->setContent(after_); }

}  // namespace korvanet
