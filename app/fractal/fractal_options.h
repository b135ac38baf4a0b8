#pragma once

#include <optional>
#include <span>
#include <string>

#include "app/fractal/reference_shapes.h"

// What a vandrel-fractal command line asks for.
struct TFractalOptions {
    const TReferenceShape* Shape = nullptr;
    int Size = 0;
    int MarginX = 0;
    int MarginY = 0;
    int Line = 1;
    // Grey levels of noise of a photograph-like grey picture; none: the one-bit picture.
    std::optional<double> Noise;
    std::string Output;
    bool Help = false;
};

// Reads the arguments after the program name: the shape's name, then the picture to
// write, with options anywhere (their value as the next argument or after '=').
// Raises an error whose message names what is wrong.
TFractalOptions ParseFractalOptions(std::span<const std::string> arguments);

// The text of --help.
std::string FractalUsage();
