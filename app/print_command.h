#pragma once
// The Print command of the window: the report of the last Compute run on the
// default printer, or, when the system has none, as a PDF the user places.

class QWidget;

namespace korvanet {

struct SurveyState;

// Shows every refusal or failure in a message box on `parent`; never throws.
void RunPrintCommand(const SurveyState& state, QWidget* parent);

}  // namespace korvanet
