#pragma once

#include <cstddef>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <QStringList>

// The lines of a text source, read forward one at a time, so that a long text never
// sits in memory whole.
class TTextLines {
public:
    virtual ~TTextLines() = default;

    // The next line into `line`; false past the last one.
    virtual bool Read(std::string& line) = 0;
    // Back before the first line.
    virtual void Rewind() = 0;
    // All lines of the source.
    virtual std::size_t Count() = 0;
};

// A file's lines, ending at CR, LF or CRLF, with a UTF-8 byte order mark before the
// first one dropped. Only a block of the file and the line being read are held.
class TFileLines : public TTextLines {
public:
    explicit TFileLines(std::string path);

    bool IsOpen() const { return FFile.is_open(); }
    // Raises "The text file could not be read to its end" when reading fails.
    bool Read(std::string& line) override;
    void Rewind() override;
    // Counted in a pass of its own on first asking, which leaves the reading here
    // where it stands.
    std::size_t Count() override;

private:
    // The next block of the file; false at its end.
    bool Fill();

    std::string FPath;
    std::ifstream FFile;
    std::vector<char> FBlock;
    std::size_t FPos = 0;
    std::size_t FEnd = 0;
    bool FAtStart = true;
    bool FAfterReturn = false; // the last line ended at a CR: an LF next ends it too
    std::optional<std::size_t> FCount;
};

// A text holder's lines, read in place: the list must outlive the reader, and
// lines added to it later are read too.
class THolderLines : public TTextLines {
public:
    explicit THolderLines(const QStringList& lines) : FLines(lines) {}

    bool Read(std::string& line) override;
    void Rewind() override { FNext = 0; }
    std::size_t Count() override { return static_cast<std::size_t>(FLines.size()); }

private:
    const QStringList& FLines;
    qsizetype FNext = 0;
};
