#pragma once

#include <string>
#include <vector>

#include "app/fractal/reference_shapes.h"
#include "app/picture/memory_budget.h"

// One reference shape drawn, saved and measured as any picture is.
struct TSelfTestResult {
    const TReferenceShape* Shape = nullptr;
    int Ratio = 0; // of the geometric box sizes, from 1 to the shape's size
    int FitFrom = 0;
    int FitTo = 0;
    double Measured = 0.0; // D
    double Error = 0.0; // |D - exact|
    bool Passed = false;
};

// Draws every reference shape at its default size, shifted off the picture's corner,
// saves it as a PNG in a folder of its own and measures it with the recommended
// method: the least count over grid offsets, geometric sizes, the fit range chosen
// automatically. Raises an error when a picture cannot be written or read back.
std::vector<TSelfTestResult> RunSelfTest(TMemoryBudget& budget);

// The results as a table, one shape a row, with a last line saying whether all passed.
std::string SelfTestText(const std::vector<TSelfTestResult>& results);
