// The graph stream: the whole graph written to and read from a memory stream, for
// Assign and the clipboard; and the series and marks blocks, which the form
// description stores as well.
#include "graph/control/files/graph_stream.h"

#include <array>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "graph/control/zemplot.h"
#include "graph/core/error.h"
#include "graph/control/files/section_layouts.h"

namespace {

constexpr const char* kMagicAndVersion = "qvtk03.01";
constexpr std::size_t kSectionBuffer = 4096;
constexpr std::size_t kMarkBuffer = 200;

// The fewest bytes a stored series can take: its display and data sections each
// at least an end of section (a three-character tag and a boolean, 6 bytes), and a
// points header of two tags with a one-byte value each and an empty string (14).
// A count that the bytes left cannot hold is a damaged stream, found before any
// series is made for it.
constexpr int64_t kLeastSeriesBytes = 6 + 6 + 14;
// A mark section: at least its end.
constexpr int64_t kLeastMarkBytes = 6;

[[noreturn]] void RaiseReadError()
{
    throw TVandrelError("Stream read error");
}

void CheckCountFits(uint16_t count, int64_t leastBytes, const TMemoryStream& stream)
{
    if (count > (stream.Size() - stream.Position()) / leastBytes)
        RaiseReadError();
}

void CheckMagicAndVersion(const std::string& text)
{
    if (text.size() < 4 || text.compare(0, 4, "qvtk") != 0)
        throw TVandrelError("Not a valid graph file");
    if (text.size() < 5 || text[4] != '0')
        throw TVandrelError("Wrong Graph version");
}

// Data a later version may add after the graph: a 32-bit length, then the data.
void SkipExtension(TMemoryStream& stream)
{
    std::array<uint8_t, 4> length{};
    if (stream.Read(length.data(), length.size()) != length.size())
        RaiseReadError();
    const auto extension = static_cast<int32_t>(static_cast<uint32_t>(length[0]) | static_cast<uint32_t>(length[1]) << 8
                                                | static_cast<uint32_t>(length[2]) << 16
                                                | static_cast<uint32_t>(length[3]) << 24);
    stream.Seek(stream.Position() + extension);
}

}  // namespace

void WithPlottingOff(TZemplot& graph, const std::function<void()>& work)
{
    const bool plotting = graph.Plotting();
    graph.SetPlotting(false);
    try {
        work();
    } catch (...) {
        // The load's own error is the one to report; a paint failing as Plotting
        // comes back must not hide it. Plotting is set before the paint, so it is
        // back either way.
        try {
            graph.SetPlotting(plotting);
        } catch (...) {
        }
        throw;
    }
    graph.SetPlotting(plotting);
}

void WriteCountValue(TValueWriter& writer, uint16_t count)
{
    if (CompactValues()) {
        writer.WriteString("I");
        writer.WriteInteger(count);
    } else {
        writer.WriteString("S");
        writer.WriteString(std::to_string(count));
    }
}

uint16_t ReadCountValue(TValueReader& reader)
{
    const int32_t value = reader.ReadString() == "I" ? reader.ReadInteger() : IntegerOfText(reader.ReadString());
    // No writer stores a count beyond 16 bits; cut, -1 would become 65535 series.
    if (value < 0 || value > std::numeric_limits<uint16_t>::max())
        RaiseReadError();
    return static_cast<uint16_t>(value);
}

uint16_t TZemplot::CountSeries()
{
    FSeriesCount = 0;
    for (const TSeries* series = FFirstSeries; series != nullptr; series = series->Next())
        ++FSeriesCount;
    return FSeriesCount;
}

uint16_t TZemplot::CountMarks()
{
    FMarkCount = static_cast<uint16_t>(FMarks.size());
    return FMarkCount;
}

void TZemplot::WriteSeriesBlock(TMemoryStream& stream)
{
    TxyWriter writer(stream, kSectionBuffer);
    for (const TSeries* series = FFirstSeries; series != nullptr; series = series->Next())
        WriteSeriesSection(writer, *series, FIncludePoints);
}

void TZemplot::ReadSeriesBlock(TMemoryStream& stream)
{
    CheckCountFits(FSeriesCount, kLeastSeriesBytes, stream);
    TxyReader reader(stream, kSectionBuffer);
    // Stored series are numbered anew, 1 up, in the order they were stored.
    for (int32_t number = 1; number <= FSeriesCount; ++number)
        ReadSeriesSection(reader, NewSeries(number));
}

void TZemplot::WriteMarksBlock(TMemoryStream& stream)
{
    TxyWriter writer(stream, kMarkBuffer);
    for (const TZemplotMark& mark : FMarks)
        WriteMarkSection(writer, mark);
}

void TZemplot::ReadMarksBlock(TMemoryStream& stream)
{
    CheckCountFits(FMarkCount, kLeastMarkBytes, stream);
    TxyReader reader(stream, kMarkBuffer);
    std::vector<TZemplotMark> marks;
    marks.reserve(FMarkCount);
    try {
        for (int32_t i = 0; i < FMarkCount; ++i)
            marks.push_back(ReadMarkSection(reader));
    } catch (...) {
        // A damaged block keeps the marks read before the fault.
        AddMarks(std::move(marks));
        throw;
    }
    AddMarks(std::move(marks));
}

void TZemplot::SaveGraphToStream(TMemoryStream& stream, bool includePoints)
{
    FIncludePoints = includePoints;
    {
        TxyWriter writer(stream, kSectionBuffer);
        writer.WriteString(kMagicAndVersion);
        WriteAppearanceSection(writer, FAppearance);
        WriteDimensionsSection(writer, FDimensions);
        WriteAxisSection(writer, FXAxis);
        WriteAxisSection(writer, FYAxis);
        WriteAxisSection(writer, FYAxis_Second);
        WriteLegendSection(writer, FLegend);
        WriteCountValue(writer, CountSeries());
        WriteCountValue(writer, CountMarks());
    }
    if (FSeriesCount > 0)
        WriteSeriesBlock(stream);
    if (FMarkCount > 0)
        WriteMarksBlock(stream);
    // Room for data a later version may add: its length, and nothing yet.
    const std::array<uint8_t, 4> noExtension{};
    stream.Write(noExtension.data(), noExtension.size());
}

void TZemplot::LoadGraphFromStream(TMemoryStream& stream)
{
    WithPlottingOff(*this, [&] {
        DeleteAllSeries();
        ClearMarks();
        ResetDefaults();
        {
            TxyReader reader(stream, kSectionBuffer);
            CheckMagicAndVersion(reader.ReadString());
            ReadAppearanceSection(reader, FAppearance);
            ReadDimensionsSection(reader, FDimensions);
            ReadAxisSection(reader, FXAxis);
            ReadAxisSection(reader, FYAxis);
            ReadAxisSection(reader, FYAxis_Second);
            ReadLegendSection(reader, FLegend);
            FSeriesCount = ReadCountValue(reader);
            FMarkCount = ReadCountValue(reader);
        }
        if (FSeriesCount > 0)
            ReadSeriesBlock(stream);
        if (FMarkCount > 0)
            ReadMarksBlock(stream);
        SkipExtension(stream);
    });
}

void TZemplot::Assign(const QObject& source)
{
    const auto* graph = dynamic_cast<const TZemplot*>(&source);
    if (graph == nullptr || graph == this)
        return;
    TMemoryStream stream;
    // Saving counts the source's series and marks anew, which changes nothing a
    // user of the source can see.
    const_cast<TZemplot*>(graph)->SaveGraphToStream(stream, true);
    stream.Seek(0);
    LoadGraphFromStream(stream);
}
