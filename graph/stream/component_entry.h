#pragma once

#include <string>
#include <string_view>

#include <QObject>

#include "graph/core/error.h"
#include "graph/stream/value_reader.h"
#include "graph/stream/value_writer.h"

// The head of a component's entry in a form description: its class name and its
// object name, each a short string. The property records and a 0 byte follow.
inline void WriteEntryHead(TValueWriter& writer, std::string_view className, const QObject& component)
{
    writer.WriteShortString(className);
    writer.WriteShortString(component.objectName().toStdString());
}

// Raises "Class <name> not found" for an entry of another class.
inline void ReadEntryHead(TValueReader& reader, std::string_view className, QObject& component)
{
    const std::string found = reader.ReadShortString();
    if (found != className)
        throw TVandrelError("Class " + found + " not found");
    component.setObjectName(QString::fromStdString(reader.ReadShortString()));
}
