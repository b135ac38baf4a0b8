#pragma once

#include "app/window/method_choice.h"
#include "graph/control/graph_types.h"

// The method dialog's choices and the colour of the shape, kept between runs in the
// program's settings (QSettings of the application's organisation and name).
struct TRememberedMethod {
    TMethodChoice Choice;
    TColor Colour = clBlack;
};

// What was saved last; the defaults for anything missing or out of range.
TRememberedMethod LoadRememberedMethod();
void SaveRememberedMethod(const TRememberedMethod& remembered);
