#include "graph/data/data_series.h"

#include "graph/stream/section_layout.h"

namespace {

const TSectionLayout<TDataSeries>& DataLayout()
{
    using namespace section_fields;
    using T = TDataSeries;
    // Tolerance and duplicates come before the points that merge under them. Field
    // 11 was given up and is never used again.
    static const TSectionLayout<T> layout{
        .Name = nullptr,
        .HeaderKey = "",
        .Fields = {
            String(1, "SeriesName", &T::SeriesName, &T::SetSeriesName),
            Float(2, "NumericalTolerance", &T::NumericalTolerance, &T::SetNumericalTolerance),
            Boolean(3, "DuplicatesAllowed", &T::DuplicatesAllowed, &T::SetDuplicatesAllowed),
            Boolean(4, "AutoZero", &T::AutoZero, &T::SetAutoZero),
            Float(5, "ZeroValue", &T::ZeroValue, &T::SetZeroValue),
            Integer(6, "RegressionType", &T::RegressionType, &T::SetRegressionType),
            Integer(7, "RegressionControlValue1", &T::RegressionControlValue1, &T::SetRegressionControlValue1),
            // The key repeats field 7's text; readers never look at keys.
            Float(8, "RegressionControlValue1", &T::RegressionControlValue2, &T::SetRegressionControlValue2),
            Integer(9, "DataSource", &T::DataSource, &T::SetDataSource),
            String(10, "DatasourceInfo", &T::DatasourceInfo, &T::SetDatasourceInfo),
            Boolean(12, "DivideTextByWidth", &T::DivideTextByWidth, &T::SetDivideTextByWidth),
            Integer(13, "FileHasHeaders", &T::FileHasHeaders, &T::SetFileHasHeaders),
            String(14, "TextSeparators", &T::TextSeparators, &T::SetTextSeparators),
            String(15, "TextMarkers", &T::TextMarkers, &T::SetTextMarkers),
            String(16, "XDataColumn", &T::XDataColumn, &T::SetXDataColumn),
            String(17, "YDataColumn", &T::YDataColumn, &T::SetYDataColumn),
            Integer(18, "RowSamplingFrequency", &T::RowSamplingFrequency, &T::SetRowSamplingFrequency),
            Integer(19, "ColumnWidth", &T::ColumnWidth, &T::SetColumnWidth),
            Integer(20, "RowChoiceMode", &T::RowChoiceMode, &T::SetRowChoiceMode),
            Float(21, "RowChoiceValue1", &T::RowChoiceValue1, &T::SetRowChoiceValue1),
            Float(22, "RowChoiceValue2", &T::RowChoiceValue2, &T::SetRowChoiceValue2),
            Integer(23, "XFormat", &T::XFormat, &T::SetXFormat),
            Integer(24, "YFormat", &T::YFormat, &T::SetYFormat),
        }};
    return layout;
}

}  // namespace

void TDataSeries::WriteDataSection(TxyWriter& writer, bool includePoints) const
{
    DataLayout().Write(writer, *this);
    writer.WritePointsHeader(includePoints ? Count() : 0);
    if (includePoints)
        for (const TDataPoint& point : Points())
            writer.WritePointPair(point.X, point.Y);
}

void TDataSeries::ReadDataSection(TxyReader& reader)
{
    DataLayout().Read(reader, *this);
    const int32_t count = reader.ReadPointsHeader();
    for (int32_t i = 0; i < count; ++i) {
        double x = 0.0;
        double y = 0.0;
        reader.ReadPointPair(x, y);
        AddPoint(x, y);
    }
}
