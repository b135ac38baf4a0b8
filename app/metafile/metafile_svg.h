#pragma once

#include <string>

// The SVG text of a metafile. Each raises a TVandrelError whose message is the reason
// alone ("the metafile is damaged") when `bytes` is not a picture of its kind; the
// window puts it after "The picture cannot be read: ".

// An enhanced metafile (EMF), through libemf2svg. The picture is the header's bounds.
std::string EnhancedMetafileSvg(std::string bytes);

// A Windows metafile (WMF), through libwmf's SVG output. A placeable metafile keeps
// the size its header gives, at 96 pixels an inch; a plain one is what it draws.
std::string MetafileSvg(std::string bytes);
