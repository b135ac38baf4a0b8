#pragma once

class TZemplot;

// Gives the window's graph the settings it starts with: log-log axes titled for the
// analysis, white background, the cross at zero, and one series of green diamonds
// with its least-squares line.
void SetInitialGraphSettings(TZemplot& graph);
