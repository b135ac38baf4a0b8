#pragma once

class TAxis;
class TLegend;
class TSeries;
class TZemplot;

// Gives the window's graph the settings it starts with: log-log axes titled for the
// analysis, white background, the cross at zero, and one series of green diamonds
// with its least-squares line.
void SetInitialGraphSettings(TZemplot& graph);

// The parts of those settings that a detailed analysis changes, to put back: the
// hidden second y axis, the hidden legend, the result series' name and legend entry.
void SetInitialSecondAxis(TAxis& axis);
void SetInitialLegend(TLegend& legend);
void SetResultSeriesLegend(TSeries& series);
