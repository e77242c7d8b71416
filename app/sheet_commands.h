// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One step of the observation sheet's undo stack: the sheet before and after
// an edit, a paste, the switch of D or a job put in.  A whole figure is
// twenty-five short texts, so each step keeps both contents whole.

#include <QUndoCommand>

#include "app/observation_sheet_model.h"

namespace korvanet {

class SheetChangeCommand : public QUndoCommand {
public:
    SheetChangeCommand(ObservationSheetModel* model, SheetContent before, SheetContent after,
                       const QString& what);

    void undo() override;
    void redo() override;

private:
    ObservationSheetModel* model_;
    SheetContent before_;
    SheetContent after_;
};

}  // namespace korvanet
