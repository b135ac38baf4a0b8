#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "graph/control/appearance.h"
#include "graph/control/axis.h"
#include "graph/control/dimensions.h"
#include "graph/control/graph_owner.h"
#include "graph/control/legend.h"
#include "graph/data/data_series.h"

// A graph as the axes and settings objects see it, counting its paints and notices.
class TFakeGraphOwner : public TGraphOwner {
public:
    TFakeGraphOwner()
        : XAxis_(*this), YAxis_(*this), YAxis_Second(*this), Dimensions_(*this),
          Appearance_(*this, TFontAttributes{}), Legend(*this, TFontAttributes{})
    {
        XAxis_.ResetDefaults(TAxisRole::X);
        YAxis_.ResetDefaults(TAxisRole::Y);
        YAxis_Second.ResetDefaults(TAxisRole::SecondY);
        Dimensions_.ResetDefaults();
        Appearance_.ResetDefaults(clWhite);
        Legend.ResetDefaults(Appearance_.BackgroundColor(), Width);
    }

    bool Plotting() const override { return IsPlotting; }
    void Paint() override { ++Paints; }
    void DoRescale() override { ++Rescales; }
    bool AxisHasData(const TAxis*) const override { return HasData; }
    bool ScalesValid() const override { return ScalesAreValid; }
    TAppearance& Appearance() override { return Appearance_; }
    const TAppearance& Appearance() const override { return Appearance_; }
    const TDimensions& Dimensions() const override { return Dimensions_; }
    const TAxis& XAxis() const override { return XAxis_; }
    int32_t DrawWidth() const override { return Width; }
    int32_t DrawHeight() const override { return Height; }
    void ForEachSeries(const std::function<void(TDataSeries&)>& action) override
    {
        for (TDataSeries* series : Series)
            action(*series);
    }

    bool IsPlotting = true;
    bool HasData = true;
    bool ScalesAreValid = true;
    int32_t Width = 200;
    int32_t Height = 200;
    int Paints = 0;
    int Rescales = 0;
    std::vector<TDataSeries*> Series;

    TAxis XAxis_;
    TAxis YAxis_;
    TAxis YAxis_Second;
    TDimensions Dimensions_;
    TAppearance Appearance_;
    TLegend Legend;
};

// The axes' powers of ten run a few parts in 10^10 high by design; results built on
// them are compared to that precision.
#define EXPECT_CLOSE(actual, expected) \
    EXPECT_NEAR((actual), (expected), 1e-7 * std::max(1.0, std::fabs(static_cast<double>(expected))))
