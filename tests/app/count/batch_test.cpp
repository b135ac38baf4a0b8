// vandrel-count over batches: folders, lists of names, resumed runs and the output file.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/app/count/count_run.h"

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

std::string ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("(missing)");
}

void WriteAll(const QString& path, const std::string& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
}

// The program run with `input` on its standard input.
TRun RunWithInput(const QStringList& arguments, const std::string& input)
{
    QProcess process;
    process.start(VANDREL_COUNT, arguments);
    process.write(input.data(), static_cast<qint64>(input.size()));
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}

// A shell command line, the program being "$0": redirections as a user writes them.
TRun RunInShell(const QString& script)
{
    QProcess process;
    process.start("/bin/sh", {"-c", script, VANDREL_COUNT});
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}

class VandrelCountBatch : public testing::Test {
protected:
    // Pictures of random blobs in a folder and a sub-folder, PNG and BMP, beside a
    // text file and a damaged picture; the pictures' paths, sorted.
    void SetUp() override
    {
        ASSERT_TRUE(QDir(FFolder.path()).mkpath("pictures/deeper"));
        std::mt19937 random(21);
        for (int i = 0; i < 14; ++i) {
            QImage image(40 + static_cast<int>(random() % 60), 30 + static_cast<int>(random() % 60), QImage::Format_RGB32);
            image.fill(Qt::white);
            const unsigned density = 1 + random() % 8;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (random() % 10 < density)
                        image.setPixel(x, y, 0xFF000000);
            const QString name = QString("%1/pictures/%2blob%3.%4")
                                     .arg(FFolder.path(), i % 3 == 0 ? "deeper/" : "")
                                     .arg(i, 2, 10, QChar('0'))
                                     .arg(i % 2 == 0 ? "png" : "bmp");
            ASSERT_TRUE(image.save(name));
            FPictures.push_back(name.toStdString());
        }
        WriteAll(Path("pictures/notes.txt"), "not a picture\n");
        WriteAll(Path("pictures/damaged.png"), "\x89PNG\r\n\x1a\nshort");
        FPictures.push_back(Path("pictures/damaged.png").toStdString());
        std::ranges::sort(FPictures);
    }

    QString Path(const QString& name) const { return FFolder.filePath(name); }

    std::string NameList() const
    {
        std::string list;
        for (const std::string& picture : FPictures)
            list += picture + "\n";
        return list;
    }

    QTemporaryDir FFolder;
    std::vector<std::string> FPictures;
};

const QStringList kSizes = {"--min", "2", "--max", "29", "--step", "3"};

TEST_F(VandrelCountBatch, AFolderStandardInputAndAListGiveTheSameRowsAsTheFitOfEachPicture)
{
    const TRun fromFolder = RunCount(kSizes + QStringList{"--format", "summary", "--recursive", Path("pictures")});
    const TRun fromInput = RunWithInput(kSizes + QStringList{"--format=summary", "--jobs", "3", "-"}, NameList());
    WriteAll(Path("list"), NameList());
    const TRun fromList = RunCount(kSizes + QStringList{"--format", "summary", "--files-from", Path("list")});
    // The damaged picture is a row with its error, and makes the status 1.
    EXPECT_EQ(fromFolder.Status, 1);
    EXPECT_EQ(fromInput.Status, 1);
    EXPECT_EQ(fromList.Status, 1);
    EXPECT_EQ(fromInput.Out, fromFolder.Out);
    EXPECT_EQ(fromList.Out, fromFolder.Out);

    const std::vector<std::string> rows = Lines(fromFolder.Out);
    ASSERT_EQ(rows.size(), FPictures.size() + 1);
    EXPECT_EQ(rows[0], "file,width,height,shape_pixels,method,n,D,D_low,D_high,r2,warnings,error");
    const TRun details = RunCount(kSizes + QStringList{"--format", "jsonl", "--details", "--recursive", Path("pictures")});
    const std::vector<std::string> objects = Lines(details.Out);
    ASSERT_EQ(objects.size(), FPictures.size());
    for (std::size_t i = 0; i < FPictures.size(); ++i) {
        const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(objects[i])).object();
        EXPECT_EQ(json["file"].toString().toStdString(), FPictures[i]);
        const QStringList cells = QString::fromStdString(rows[i + 1]).split(',');
        ASSERT_EQ(cells.size(), 12) << rows[i + 1];
        EXPECT_EQ(cells[0].toStdString(), FPictures[i]);
        if (json.contains("error")) {
            EXPECT_EQ(cells[11], json["error"].toString());
            EXPECT_NE(cells[11], "");
            continue;
        }
        EXPECT_EQ(cells[1].toInt(), json["width"].toInt());
        EXPECT_EQ(cells[3].toLongLong(), json["provenance"]["shape_pixels"].toInteger());
        EXPECT_EQ(cells[5].toInt(), json["fit"]["n"].toInt());
        EXPECT_EQ(cells[6].toDouble(), json["D"].toDouble());
        EXPECT_EQ(cells[7].toDouble(), json["ci95"][0].toDouble());
        EXPECT_EQ(cells[8].toDouble(), json["ci95"][1].toDouble());
        EXPECT_EQ(cells[11], "");
    }

    // Without --recursive a folder stands for the pictures directly in it.
    const TRun shallow = RunCount(kSizes + QStringList{"--format", "summary", Path("pictures")});
    EXPECT_EQ(Lines(shallow.Out).size(), 1 + std::ranges::count_if(FPictures, [](const std::string& picture) {
                                              return picture.find("/deeper/") == std::string::npos;
                                          }));
}

TEST_F(VandrelCountBatch, ARunCutShortAndResumedHoldsEveryPictureOnce)
{
    const QString folder = Path("pictures");
    const TRun whole = RunCount(kSizes + QStringList{"--format", "jsonl", "--jobs", "2", "--recursive", folder});
    std::vector<std::string> expected = Lines(whole.Out);
    ASSERT_EQ(expected.size(), FPictures.size());
    std::ranges::sort(expected);
    // Cut inside the first line, half-way, and just before the last newline.
    for (const std::size_t cut : {std::size_t{9}, whole.Out.size() / 2, whole.Out.size() - 1}) {
        for (const bool throughOutput : {false, true}) {
            WriteAll(Path("run.jsonl"), whole.Out.substr(0, cut));
            const QString resume = throughOutput
                                       ? "exec \"$0\" --format jsonl --recursive --skip-done run.jsonl --output run.jsonl "
                                       : "exec \"$0\" --format jsonl --recursive --skip-done run.jsonl >> run.jsonl ";
            const TRun resumed =
                RunInShell("cd '" + FFolder.path() + "' && " + resume + kSizes.join(' ') + " '" + folder + "'");
            // 1 while the damaged picture is still to do
            EXPECT_TRUE(resumed.Status == 0 || resumed.Status == 1) << resumed.Err;
            std::vector<std::string> lines = Lines(ReadAll(Path("run.jsonl")));
            std::ranges::sort(lines);
            EXPECT_EQ(lines, expected) << "cut at " << cut << (throughOutput ? " with --output" : " appended");
        }
    }
    // Everything done: nothing to add, and nothing failed this time.
    const TRun nothingLeft = RunCount(kSizes + QStringList{"--format", "jsonl", "--recursive", "--skip-done",
                                                           Path("run.jsonl"), folder});
    EXPECT_EQ(nothingLeft.Status, 0);
    EXPECT_EQ(nothingLeft.Out, "");
}

TEST_F(VandrelCountBatch, TheOutputFileAppearsWholeOrNotAtAll)
{
    const QString folder = Path("pictures");
    const auto entries = [&] {
        return QDir(FFolder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    WriteAll(Path("results.jsonl"), "earlier\n");
    const QString run = "exec \"$0\" --format jsonl --recursive --output '" + Path("results.jsonl") + "' '" + folder + "'";
    // Writing fails part-way (the file size limit, its signal ignored): the earlier file
    // stays as it was and no temporary file is left beside it.
    const TRun failing = RunInShell("trap '' XFSZ; ulimit -f 2; " + run);
    EXPECT_EQ(failing.Status, 1);
    EXPECT_NE(failing.Err.find("the results could not be written to"), std::string::npos) << failing.Err;
    EXPECT_EQ(ReadAll(Path("results.jsonl")), "earlier\n");
    EXPECT_EQ(entries(), (QStringList{"pictures", "results.jsonl"}));

    const TRun complete = RunInShell(run);
    EXPECT_EQ(complete.Status, 1); // the damaged picture
    EXPECT_EQ(ReadAll(Path("results.jsonl")), RunCount({"--format", "jsonl", "--recursive", folder}).Out);
    EXPECT_EQ(entries(), (QStringList{"pictures", "results.jsonl"}));

    // Killed part-way by that signal: the file of that name is still the last whole one.
    const std::string before = ReadAll(Path("results.jsonl"));
    EXPECT_EQ(RunInShell("ulimit -f 2; " + run).Status, -1);
    EXPECT_EQ(ReadAll(Path("results.jsonl")), before);

    // Stopped politely while it waits for names: its temporary file goes with it.
    QDir(FFolder.path()).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(FFolder.path()));
    QProcess waiting;
    waiting.start(VANDREL_COUNT, {"--output", Path("results.csv"), "-"});
    ASSERT_TRUE(waiting.waitForStarted());
    for (int i = 0; i < 500 && entries().isEmpty(); ++i)
        QThread::msleep(10);
    EXPECT_EQ(entries().size(), 1);
    waiting.terminate();
    EXPECT_TRUE(waiting.waitForFinished());
    EXPECT_EQ(waiting.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(entries(), QStringList());
}

// The recipes of the README for many cores or machines: the list cut into slices, the
// slices measured apart (by GNU parallel, or as the tasks of a SLURM job array, one
// task run twice as a requeued one is) and the parts merged.
TEST(VandrelCountRecipes, SlicesMeasuredApartMergeIntoOneRun)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkpath("pictures/more"));
    std::mt19937 random(200);
    for (int i = 0; i < 200; ++i) {
        QImage image(16 + static_cast<int>(random() % 16), 16 + static_cast<int>(random() % 16), QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (random() % 4 == 0)
                    image.setPixel(x, y, 0xFF000000);
        ASSERT_TRUE(image.save(folder.filePath(QString("pictures/%1%2.png").arg(i % 5 == 0 ? "more/" : "").arg(i))));
    }
    const QString options = "--min 2 --max 14 --step 4";
    const TRun whole = RunInShell("cd '" + folder.path() + "' && exec \"$0\" --format jsonl --recursive " + options +
                                  " pictures");
    ASSERT_EQ(whole.Status, 0) << whole.Err;
    ASSERT_EQ(Lines(whole.Out).size(), 200u);

    const TRun parallel = RunInShell(
        "set -e; cd '" + folder.path() + "'\n"
        "LC_ALL=C find pictures -type f -name '*.png' | LC_ALL=C sort > list\n"
        "split --number=l/8 --numeric-suffixes --suffix-length=3 list slice-\n"
        "parallel --jobs 2 \"$0\" --format jsonl " + options + " --files-from {} --output {}.jsonl ::: slice-???\n"
        "cat slice-???.jsonl");
    EXPECT_EQ(parallel.Status, 0) << parallel.Err;
    EXPECT_EQ(parallel.Out, whole.Out);

    const TRun slurm = RunInShell(
        "set -e; cd '" + folder.path() + "'\n"
        "export VANDREL_COUNT=\"$0\" SLURM_ARRAY_TASK_COUNT=7\n"
        "for task in 0 1 2 3 4 5 6 0; do\n"
        "  SLURM_ARRAY_TASK_ID=$task '" SCRIPTS_DIR "/slurm-batch.sh' list parts " + options + "\n"
        "done\n"
        "cat parts/part-*.jsonl");
    EXPECT_EQ(slurm.Status, 0) << slurm.Err;
    EXPECT_EQ(slurm.Out, whole.Out);
}

}  // namespace
