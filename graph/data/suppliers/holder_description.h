#pragma once

#include "graph/stream/value_reader.h"
#include "graph/stream/value_writer.h"

class TxyHolder;

// A text holder's entry in a form description: the class name "TxyHolder" and the
// object name (UTF-8) as short strings, one record for every property, and a 0 byte
// ending them. A record is the property's name as a short string, then its value:
//
//   Tag                             integer
//   Textseparators                  string, as shown (first tab as T)
//   TextMarkers                     string
//   data.Strings                    a list: type byte 1, each line as a string
//                                   value, then a 0 byte
//   XPaddingPolicy, YPaddingPolicy  vaIdent "ppTotal" or "ppExtra"
//   XPadCount, YPadCount            integer
//   ID                              string
//
// Strings are UTF-8, vaString below 256 bytes and vaLString from there on. OnChange
// is bound in code and not stored.
//
// Failures raise TVandrelError: "Class <name> not found" for an entry of another
// class, "Property <name> does not exist" for a name the holder does not have,
// "Invalid property value" for a value of the wrong type or an unknown policy name,
// and the value reader's own errors.

void WriteHolderEntry(TValueWriter& writer, const TxyHolder& holder);
// Each record goes through the holder's setter as it comes, so a data.Strings
// record fires OnChange once.
void ReadHolderEntry(TValueReader& reader, TxyHolder& holder);
