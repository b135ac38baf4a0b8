#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

#include "app/picture/picture_file.h"

// How long one conversion may take, and how much memory the converter may map: far
// above what a real metafile needs, far below what a forged header can ask for.
inline constexpr std::chrono::milliseconds kMetafileTimeLimit{10'000};
inline constexpr qint64 kMetafileMemoryLimit = qint64(1) << 30;

// Where the window finds the program vandrel-metafile: beside the running program, or
// when installed in libexec/vandrel beside its bin.
QString MetafileConverterProgram();

// Turns metafiles into SVG by running vandrel-metafile, one short-lived process per
// file, with limits on its address space and data, and a time limit. The metafile
// libraries never parse a file in the caller's process, so a file that crashes them,
// makes them run on or asks them for gigabytes only costs that process.
class TMetafileConverter {
public:
    // The program beside the running one, with kMetafileTimeLimit.
    TMetafileConverter();

    const QString& Program() const { return FProgram; }
    void SetProgram(const QString& program) { FProgram = program; }
    std::chrono::milliseconds TimeLimit() const { return FTimeLimit; }
    void SetTimeLimit(std::chrono::milliseconds limit) { FTimeLimit = limit; }

    // The SVG text of `bytes`, an enhanced metafile or a metafile as `kind` says.
    // Raises "The picture cannot be read: <reason>", the reason being the converter's
    // own or that it could not start, stopped (crashed) or took longer than its limit.
    QByteArray Svg(TPictureKind kind, const QByteArray& bytes) const;

private:
    QString FProgram;
    std::chrono::milliseconds FTimeLimit = kMetafileTimeLimit;
};
