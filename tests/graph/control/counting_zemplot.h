#pragma once

#include "graph/control/zemplot.h"

// A graph that counts its paints.
class TCountingZemplot : public TZemplot {
public:
    void Paint() override
    {
        ++Paints;
        TZemplot::Paint();
    }
    int Paints = 0;
};
