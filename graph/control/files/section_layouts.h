#pragma once

#include "graph/stream/tagged_stream.h"

class TAppearance;
class TAxis;
class TDimensions;
class TLegend;
class TSeries;
struct TZemplotMark;

// Each stored object of the graph as one section of tagged values: a header (field
// 99, the section's name), its fields in ascending number, the end of section. The
// readers apply each field as it comes, through the object's setters, and skip
// fields they do not know.

void WriteAppearanceSection(TxyWriter& writer, const TAppearance& appearance);
void ReadAppearanceSection(TxyReader& reader, TAppearance& appearance);

void WriteDimensionsSection(TxyWriter& writer, const TDimensions& dimensions);
void ReadDimensionsSection(TxyReader& reader, TDimensions& dimensions);

void WriteLegendSection(TxyWriter& writer, const TLegend& legend);
void ReadLegendSection(TxyReader& reader, TLegend& legend);

void WriteAxisSection(TxyWriter& writer, const TAxis& axis);
void ReadAxisSection(TxyReader& reader, TAxis& axis);

// The series display section, then the series' data section and its points (a
// count of 0 unless `includePoints`).
void WriteSeriesSection(TxyWriter& writer, const TSeries& series, bool includePoints);
// Field 11 puts the series on its graph's YAxis (true) or YAxis_Second (false).
void ReadSeriesSection(TxyReader& reader, TSeries& series);

void WriteMarkSection(TxyWriter& writer, const TZemplotMark& mark);
// The mark as its section stores it; a field the section lacks stays 0.
TZemplotMark ReadMarkSection(TxyReader& reader);
