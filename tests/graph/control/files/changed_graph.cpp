#include "tests/graph/control/files/changed_graph.h"

#include <gtest/gtest.h>

#include <string>

namespace {

template <typename TObject>
void ChangeAll(TObject& object)
{
    for (const TPublishedProperty<TObject>& property : TObject::Published()) {
        const TPublishedValue value = property.Get(object);
        switch (property.Kind) {
        case TPublishedKind::Boolean:
            property.Set(object, !std::get<bool>(value));
            break;
        case TPublishedKind::Integer:
            property.Set(object, std::get<int64_t>(value) + 3);
            break;
        case TPublishedKind::Enumeration:
            property.Set(object, (std::get<int64_t>(value) + 1) % static_cast<int64_t>(property.EnumNames.size()));
            break;
        case TPublishedKind::Float:
            property.Set(object, std::get<double>(value) + 1.5);
            break;
        case TPublishedKind::String:
            property.Set(object, std::get<std::string>(value) + " changed");
            break;
        case TPublishedKind::Font:
            property.Set(object, TFontAttributes{.Name = "Courier New", .Height = -19, .Color = 0x123456,
                                                 .Style = fsBold | fsItalic | fsUnderline | fsStrikeOut});
            break;
        }
    }
}

template <typename TObject>
void ExpectSame(const TObject& expected, const TObject& actual, const std::string& object,
                const std::set<std::string>& unstored)
{
    for (const TPublishedProperty<TObject>& property : TObject::Published())
        if (!unstored.contains(object + "." + property.Name)) {
            EXPECT_TRUE(property.Get(expected) == property.Get(actual)) << object << "." << property.Name;
        }
}

void ChangeSeries(TSeries& series, int k)
{
    series.SetActive(k != 2);
    series.SetDrawLine(k != 1);
    series.SetDrawPoints(k == 1);
    series.SetFillPoints(k != 0);
    series.SetLineColor(0x102030u + k);
    series.SetPointColor(0x405060u + k);
    series.SetBoundLineColor(0x708090u + k);
    series.SetPointShape(static_cast<uint8_t>(k + 1));
    series.SetLineStyle(static_cast<TPenStyle>(k + 1));
    series.SetPointSize(static_cast<uint16_t>(8 + 2 * k));
    series.SetAxis(k == 1 ? series.Graph().YAxis_Second() : series.Graph().YAxis());
    series.SetUpperBound(7.5 + k);
    series.SetLowerBound(-2.25 - k);
    series.SetBoundsMode(static_cast<uint8_t>(k + 1));
    series.SetBoundLineMode(psDashDotDot);
    series.SetRegressionLineColor(0xA0B0C0u + k);
    series.SetRegressionLineStyle(psDot);
    series.SetShowInLegend(static_cast<uint8_t>(k + 2));

    series.SetSeriesName("series " + std::to_string(k));
    series.SetNumericalTolerance(1e-9 * (k + 1));
    series.SetDuplicatesAllowed(k == 2);
    series.SetAutoZero(k == 0);
    series.SetZeroValue(0.125 * k);
    series.SetRegressionType(static_cast<uint8_t>(k + 2));
    series.SetRegressionControlValue1(50 + k);
    series.SetRegressionControlValue2(0.1 + k);
    series.SetDataSource(static_cast<uint8_t>(k + 1));
    series.SetDatasourceInfo("source " + std::to_string(k));
    series.SetDivideTextByWidth(true);
    series.SetFileHasHeaders(static_cast<uint16_t>(k + 2));
    series.SetTextSeparators(",;");
    series.SetTextMarkers("|");
    series.SetXDataColumn("(col 3)");
    series.SetYDataColumn("height");
    series.SetRowSamplingFrequency(static_cast<uint16_t>(k + 3));
    series.SetColumnWidth(static_cast<uint16_t>(12 + k));
    series.SetRowChoiceMode(static_cast<uint8_t>(k + 1));
    series.SetRowChoiceValue1(3.5);
    series.SetRowChoiceValue2(-4.25);
    series.SetXFormat(1);
    series.SetYFormat(static_cast<uint8_t>(k));
    for (int i = 0; i < 5 + k; ++i)
        series.AddPoint(0.1 * i + k, 1.0 / (i + 1) - k);
}

}  // namespace

void ChangeEverything(TZemplot& graph)
{
    ChangeAll(graph.XAxis());
    ChangeAll(graph.YAxis());
    ChangeAll(graph.YAxis_Second());
    ChangeAll(graph.Dimensions());
    ChangeAll(graph.Appearance());
    ChangeAll(graph.Legend());
    int k = 0;
    for (const int32_t number : {2, 5, 9})
        ChangeSeries(graph.NewSeries(number), k++);
    graph.SetMark(7, 0.5, 0.25, 0.75, 1.5, 0x0000FF, "vertical", kMarkVerticalLine, true);
    graph.SetMark(3, 1.5, 2.25, 0, 0, 0x00FF00, "horizontal", kMarkHorizontalLine, false);
    graph.SetMark(12, 0.5, 0.5, 4, 0, 0xFF0000, "box", kMarkBox, true);
    graph.SetMark(20, -1, -2, 3, 4, 0x808080, "line", kMarkLine, false);
}

void ExpectSameSettings(const TZemplot& expected, const TZemplot& actual, const std::set<std::string>& unstored)
{
    ExpectSame(expected.XAxis(), actual.XAxis(), "XAxis", unstored);
    ExpectSame(expected.YAxis(), actual.YAxis(), "YAxis", unstored);
    ExpectSame(expected.YAxis_Second(), actual.YAxis_Second(), "YAxis_Second", unstored);
    ExpectSame(expected.Dimensions(), actual.Dimensions(), "Dimensions", unstored);
    ExpectSame(expected.Appearance(), actual.Appearance(), "Appearance", unstored);
    ExpectSame(expected.Legend(), actual.Legend(), "Legend", unstored);
}

void ExpectSameSeriesAndMarks(const TZemplot& expected, const TZemplot& actual)
{
    const TSeries* want = expected.FirstSeries();
    const TSeries* have = actual.FirstSeries();
    for (; want != nullptr && have != nullptr; want = want->Next(), have = have->Next()) {
        SCOPED_TRACE(want->SeriesName());
        EXPECT_EQ(have->Active(), want->Active());
        EXPECT_EQ(have->DrawLine(), want->DrawLine());
        EXPECT_EQ(have->DrawPoints(), want->DrawPoints());
        EXPECT_EQ(have->FillPoints(), want->FillPoints());
        EXPECT_EQ(have->LineColor(), want->LineColor());
        EXPECT_EQ(have->PointColor(), want->PointColor());
        EXPECT_EQ(have->BoundLineColor(), want->BoundLineColor());
        EXPECT_EQ(have->PointShape(), want->PointShape());
        EXPECT_EQ(have->LineStyle(), want->LineStyle());
        EXPECT_EQ(have->PointSize(), want->PointSize());
        EXPECT_EQ(&have->Axis() == &actual.YAxis(), &want->Axis() == &expected.YAxis());
        EXPECT_EQ(have->UpperBound(), want->UpperBound());
        EXPECT_EQ(have->LowerBound(), want->LowerBound());
        EXPECT_EQ(have->BoundsMode(), want->BoundsMode());
        EXPECT_EQ(have->BoundLineMode(), want->BoundLineMode());
        EXPECT_EQ(have->RegressionLineColor(), want->RegressionLineColor());
        EXPECT_EQ(have->RegressionLineStyle(), want->RegressionLineStyle());
        EXPECT_EQ(have->ShowInLegend(), want->ShowInLegend());
        EXPECT_EQ(have->SeriesName(), want->SeriesName());
        EXPECT_EQ(have->NumericalTolerance(), want->NumericalTolerance());
        EXPECT_EQ(have->DuplicatesAllowed(), want->DuplicatesAllowed());
        EXPECT_EQ(have->AutoZero(), want->AutoZero());
        EXPECT_EQ(have->ZeroValue(), want->ZeroValue());
        EXPECT_EQ(have->RegressionType(), want->RegressionType());
        EXPECT_EQ(have->RegressionControlValue1(), want->RegressionControlValue1());
        EXPECT_EQ(have->RegressionControlValue2(), want->RegressionControlValue2());
        EXPECT_EQ(have->DataSource(), want->DataSource());
        EXPECT_EQ(have->DatasourceInfo(), want->DatasourceInfo());
        EXPECT_EQ(have->DivideTextByWidth(), want->DivideTextByWidth());
        EXPECT_EQ(have->FileHasHeaders(), want->FileHasHeaders());
        EXPECT_EQ(have->TextSeparators(), want->TextSeparators());
        EXPECT_EQ(have->TextMarkers(), want->TextMarkers());
        EXPECT_EQ(have->XDataColumn(), want->XDataColumn());
        EXPECT_EQ(have->YDataColumn(), want->YDataColumn());
        EXPECT_EQ(have->RowSamplingFrequency(), want->RowSamplingFrequency());
        EXPECT_EQ(have->ColumnWidth(), want->ColumnWidth());
        EXPECT_EQ(have->RowChoiceMode(), want->RowChoiceMode());
        EXPECT_EQ(have->RowChoiceValue1(), want->RowChoiceValue1());
        EXPECT_EQ(have->RowChoiceValue2(), want->RowChoiceValue2());
        EXPECT_EQ(have->XFormat(), want->XFormat());
        EXPECT_EQ(have->YFormat(), want->YFormat());
        ASSERT_EQ(have->Count(), want->Count());
        for (int32_t i = 0; i < want->Count(); ++i) {
            EXPECT_EQ(have->Points()[static_cast<std::size_t>(i)].X, want->Points()[static_cast<std::size_t>(i)].X);
            EXPECT_EQ(have->Points()[static_cast<std::size_t>(i)].Y, want->Points()[static_cast<std::size_t>(i)].Y);
        }
    }
    EXPECT_EQ(want, nullptr) << "series missing";
    EXPECT_EQ(have, nullptr) << "series too many";
    EXPECT_EQ(actual.Marks(), expected.Marks());
}
