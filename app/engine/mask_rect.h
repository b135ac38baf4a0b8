#pragma once

// A rectangle of pixels: columns X to X + Width - 1, rows Y to Y + Height - 1.
struct TMaskRect {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;

    friend bool operator==(const TMaskRect&, const TMaskRect&) = default;
};
