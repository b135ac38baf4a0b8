#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QTemporaryDir>

#include <string>

// Pictures written to a folder of their own, and the check that a picture decoded a row
// at a time is the picture Qt decodes whole.
class StreamedPictures : public testing::Test {
protected:
    // The path of the file `name` holding `bytes`, in the system's bytes.
    std::string Write(const std::string& name, const QByteArray& bytes);

    // The streamed mask of `path` equals Qt's for the rules that suit its colours, and
    // its runs hand every pixel once in Qt's colour.
    void ExpectQtsMask(const std::string& path, const std::string& what);

    // Every cut of `bytes` (a picture written as `name`) is refused as damaged, left to
    // Qt, or gives the whole picture's mask; nearly all are refused.
    void ExpectEveryCutRefusedOrWhole(const std::string& name, const QByteArray& bytes);

    QTemporaryDir FFolder;
};
