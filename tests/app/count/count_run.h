#pragma once

// vandrel-count run as a user runs it, for the tests of its output.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>

struct TRun {
    int Status;
    std::string Out;
    std::string Err;
};

inline TRun RunCount(const QStringList& arguments)
{
    QProcess process;
    process.start(VANDREL_COUNT, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}

inline QString Sample(const char* name)
{
    return QStringLiteral(SAMPLES_DIR "/") + name;
}
