#pragma once

#include <set>
#include <string>

#include "graph/control/zemplot.h"

// A graph whose every stored setting differs from the default: each published
// property of the axes and settings objects changed, three series numbered 2, 5
// and 9 with points and their display and data settings changed, and one mark of
// each of the four kinds.
void ChangeEverything(TZemplot& graph);

// Expects every published property of the axes and settings objects to be equal,
// except those named in `unstored` ("Appearance.ErrorCaption").
void ExpectSameSettings(const TZemplot& expected, const TZemplot& actual, const std::set<std::string>& unstored = {});
// Expects the same series in order (by their stored settings and points; numbers
// aside) and the same marks.
void ExpectSameSeriesAndMarks(const TZemplot& expected, const TZemplot& actual);
