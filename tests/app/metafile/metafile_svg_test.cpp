#include "app/metafile/metafile_svg.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <string>
#include <utility>

#include "graph/core/error.h"
#include "tests/app/picture/metafile_samples.h"

namespace {

// The converters meet files from anywhere: every single damaged byte either still
// gives an SVG or raises the error with a reason, and never crashes the converter.
TEST(MetafileSvg, DamagedBytesGiveAnSvgOrAReasonAndNeverCrash)
{
    const struct {
        const char* name;
        QByteArray original;
        std::function<std::string(std::string)> convert;
    } kinds[] = {
        {"enhanced metafile", TinyEnhancedMetafile(), EnhancedMetafileSvg},
        {"metafile", TinyMetafile(), MetafileSvg},
    };
    for (const auto& kind : kinds)
        for (qsizetype i = 0; i < kind.original.size(); ++i)
            for (const char value : {char(0x00), char(0xFF), char(0x80)}) {
                std::string bytes = kind.original.toStdString();
                bytes[size_t(i)] = value;
                try {
                    EXPECT_NE(kind.convert(bytes).find("<svg"), std::string::npos) << kind.name << " byte " << i;
                } catch (const TVandrelError& error) {
                    const std::string reason = error.what();
                    EXPECT_FALSE(reason.empty() || reason.starts_with("The picture")) << kind.name << " byte " << i;
                }
            }
}

// The exit code and standard output of the program run with `arguments`.
std::pair<int, std::string> RunConverter(const QStringList& arguments)
{
    QProcess process;
    process.start(VANDREL_METAFILE, arguments);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(10000));
    return {process.exitCode(), process.readAllStandardOutput().toStdString()};
}

// The window gives the bytes on standard input; a person may name the file instead.
TEST(MetafileProgram, ConvertsANamedFileAndRefusesAWrongCommandLine)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("shape.wmf");
    WriteFile(path, TinyMetafile());
    EXPECT_EQ(RunConverter({"wmf", path}), std::pair(0, MetafileSvg(TinyMetafile().toStdString())));
    for (const QStringList& wrong : {QStringList{}, QStringList{"png"}, QStringList{"wmf", path, "more"}})
        EXPECT_EQ(RunConverter(wrong), std::pair(2, std::string())) << wrong.join(' ').toStdString();
}

}  // namespace
