#pragma once

#include "graph/stream/value_reader.h"
#include "graph/stream/value_writer.h"

class TZemplot;

// The graph's entry in a form description: the class name "TZemplot" and the object
// name (UTF-8) as short strings, the property records, and a 0 byte ending them.
// A record is the property's name as a short string followed by its value:
//
//   Left, Top, Width, Height        the control's geometry; a side above 8192
//                                   pixels is read as 8192
//   DragAllowed                     only when not its default
//   XAxis.<name>, YAxis.<name>,     the published properties of the settings
//   YAxis_Second.<name>,            objects, in the order of their Published()
//   Dimensions.<name>,              lists; a property equal to its declared
//   Appearance.<name>,              default is left out
//   Legend.<name>
//   Align, BevelInner, BevelOuter,  the panel, each left out at its default
//   BevelWidth, BorderStyle,
//   BorderWidth
//   Plotting                        always
//   SeriesCount, MarkCount          always: a count value (WriteCountValue)
//   SeriesInfo, MarksInfo           only when the count is not 0: one vaBinary
//                                   holding the series or marks block
//
// Values: booleans vaTrue / vaFalse; integers and colours the smallest integer
// type; floats vaExtended; strings vaString (vaLString from 256 bytes);
// enumerations vaIdent with the value's name ("alClient", "bvRaised", "bsNone",
// "psDot"). A font takes four records under its own name: <name>.Name (string),
// <name>.Height (integer), <name>.Color (integer) and <name>.Style (vaSet of
// fsBold, fsItalic, fsUnderline, fsStrikeOut). Events are bound in code and not
// stored.
//
// Failures raise TVandrelError: "Property <name> does not exist" for a name the
// graph does not have, "Class <name> not found" for an entry of another class,
// "Invalid property value" for a value of the wrong type or an unknown enumeration
// or style name, "internal filing error: TZemplot" for series (and "internal
// filing error2: TZemplot" for marks) while their count is 0, and the value
// reader's own errors.

// Recounts the series and marks into the graph's counts.
void WriteGraphEntry(TValueWriter& writer, TZemplot& graph);
// Reads an entry into `graph`, a control that holds no series or marks yet. Each
// property goes through its setter as it comes, a font attribute by attribute.
// Plotting is off while it reads and is set at the end to the stored value (the
// value from before when none is stored), also when an error escapes.
void ReadGraphEntry(TValueReader& reader, TZemplot& graph);
