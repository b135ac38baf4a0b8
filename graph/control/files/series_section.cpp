#include "graph/control/zemplot.h"
#include "graph/stream/section_layout.h"
#include "graph/control/files/section_layouts.h"

namespace {

const TSectionLayout<TSeries>& DisplayLayout()
{
    using namespace section_fields;
    using T = TSeries;
    // PointShape comes before PointSize, whose setter corrects the size by the shape.
    static const TSectionLayout<T> layout{
        .Name = "Series",
        .HeaderKey = "",
        .Fields = {
            Boolean(1, "", &T::Active, &T::SetActive),
            Boolean(2, "", &T::DrawLine, &T::SetDrawLine),
            Boolean(3, "", &T::DrawPoints, &T::SetDrawPoints),
            Boolean(4, "", &T::FillPoints, &T::SetFillPoints),
            Integer(5, "", &T::LineColor, &T::SetLineColor),
            Integer(6, "", &T::PointColor, &T::SetPointColor),
            Integer(7, "", &T::BoundLineColor, &T::SetBoundLineColor),
            Integer(8, "", &T::PointShape, &T::SetPointShape),
            Integer(9, "", &T::LineStyle, &T::SetLineStyle),
            Integer(10, "", &T::PointSize, &T::SetPointSize),
            {11,
             [](TxyWriter& writer, const T& series) {
                 writer.WriteTaggedBoolean(11, "FirstAxis", &series.Axis() == &series.Graph().YAxis());
             },
             [](TxyReader& reader, T& series) {
                 TZemplot& graph = series.Graph();
                 series.SetAxis(reader.ReadAsBoolean() ? graph.YAxis() : graph.YAxis_Second());
             }},
            Float(12, "UpperBound", &T::UpperBound, &T::SetUpperBound),
            Float(13, "LowerBound", &T::LowerBound, &T::SetLowerBound),
            Integer(14, "BoundsMode", &T::BoundsMode, &T::SetBoundsMode),
            Integer(15, "BoundLineMode", &T::BoundLineMode, &T::SetBoundLineMode),
            Integer(16, "RegressionLineColor", &T::RegressionLineColor, &T::SetRegressionLineColor),
            Integer(17, "RegressionLineStyle", &T::RegressionLineStyle, &T::SetRegressionLineStyle),
            Integer(18, "ShowInLegend", &T::ShowInLegend, &T::SetShowInLegend),
        }};
    return layout;
}

}  // namespace

void WriteSeriesSection(TxyWriter& writer, const TSeries& series, bool includePoints)
{
    DisplayLayout().Write(writer, series);
    series.WriteDataSection(writer, includePoints);
}

void ReadSeriesSection(TxyReader& reader, TSeries& series)
{
    DisplayLayout().Read(reader, series);
    series.ReadDataSection(reader);
}
