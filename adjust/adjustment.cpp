#include "adjustment.h"
namespace korvanet {
void RunAdjustment(SurveyState&, RunValues&, TextDisplay&) {}
}
