#include "app/picture/metafile_converter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>

#include <sys/resource.h>

#include "graph/core/error.h"

namespace {

// The converter's own reasons are short; the error box shows no more of a line than this.
constexpr qsizetype kLongestReason = 300;

[[noreturn]] void CannotRead(const QString& reason)
{
    throw TVandrelError(QStringLiteral("The picture cannot be read: %1").arg(reason).toStdString());
}

// Runs in the child between fork and exec, so it only makes system calls. A limit
// that cannot be set is one already lower than ours, which is left as it is.
void LimitConverter()
{
    const rlimit noCoreDump{0, 0}; // a crash on a forged file leaves nothing behind
    setrlimit(RLIMIT_CORE, &noCoreDump);
#ifndef VANDREL_SANITIZED
    const rlimit memory{rlim_t(kMetafileMemoryLimit), rlim_t(kMetafileMemoryLimit)};
    setrlimit(RLIMIT_AS, &memory);
    setrlimit(RLIMIT_DATA, &memory);
#endif
}

#ifdef VANDREL_SANITIZED
// AddressSanitizer maps terabytes of shadow memory, which both address-space and data
// limits count, so a limited sanitized converter could not even start. Its own
// allocator refuses any single block above the limit instead.
void LimitSanitizedConverter(QProcess& process)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString options = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       options + (options.isEmpty() ? "" : ":") +
                           QStringLiteral("allocator_may_return_null=1:max_allocation_size_mb=%1")
                               .arg(kMetafileMemoryLimit >> 20));
    process.setProcessEnvironment(environment);
}
#endif

QString Seconds(std::chrono::milliseconds time)
{
    return QString::number(double(time.count()) / 1000.0);
}

// The converter's reason is its last line; the libraries may have spoken before it.
QString ReasonOf(const QByteArray& errorOutput)
{
    const QList<QByteArray> lines = errorOutput.trimmed().split('\n');
    return QString::fromUtf8(lines.last().trimmed()).left(kLongestReason);
}

}  // namespace

QString MetafileConverterProgram()
{
    // Beside the program in its build folder; installed, among the programs only it runs.
    const QString folder = QCoreApplication::applicationDirPath();
    const QString beside = folder + QStringLiteral("/vandrel-metafile");
    const QString installed = folder + QStringLiteral("/../libexec/vandrel/vandrel-metafile");
    return QFileInfo::exists(beside) || !QFileInfo::exists(installed) ? beside : QFileInfo(installed).canonicalFilePath();
}

TMetafileConverter::TMetafileConverter() : FProgram(MetafileConverterProgram()) {}

QByteArray TMetafileConverter::Svg(TPictureKind kind, const QByteArray& bytes) const
{
    QProcess process;
    process.setProgram(FProgram);
    process.setArguments({kind == TPictureKind::EnhancedMetafile ? QStringLiteral("emf") : QStringLiteral("wmf")});
    process.setChildProcessModifier(LimitConverter);
#ifdef VANDREL_SANITIZED
    LimitSanitizedConverter(process);
#endif
    const QDeadlineTimer deadline(FTimeLimit);
    process.start();
    if (!process.waitForStarted(int(deadline.remainingTime())))
        CannotRead(QStringLiteral("the metafile converter %1 cannot be started (%2)")
                       .arg(FProgram, process.errorString()));
    process.write(bytes);
    process.closeWriteChannel();
    process.waitForFinished(int(deadline.remainingTime()));
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(-1);
        CannotRead(QStringLiteral("the metafile converter took longer than %1 s").arg(Seconds(FTimeLimit)));
    }
    if (process.exitStatus() == QProcess::CrashExit)
        CannotRead(QStringLiteral("the metafile converter stopped (crashed)"));
    if (process.exitCode() != 0) {
        const QString reason = ReasonOf(process.readAllStandardError());
        CannotRead(reason.isEmpty() ? QStringLiteral("the metafile converter stopped (exit status %1)")
                                          .arg(process.exitCode())
                                    : reason);
    }
    return process.readAllStandardOutput();
}
