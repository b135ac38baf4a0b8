#include "app/count/done_pictures.h"

#include <QByteArray>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "graph/core/error.h"

TDonePictures ReadDonePictures(const std::string& path)
{
    TDonePictures done;
    std::error_code missing;
    if (!std::filesystem::exists(path, missing) && !missing)
        return done;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw TVandrelError(path + ": the earlier output cannot be opened");
    for (std::string line; std::getline(file, line);) {
        const bool whole = !file.eof(); // the last line ended by its newline
        done.Length += line.size() + (whole ? 1 : 0);
        if (!whole)
            break;
        done.WholeLinesLength = done.Length;
        const QJsonDocument object = QJsonDocument::fromJson(QByteArray::fromStdString(line));
        if (const QJsonValue name = object["file"]; object.isObject() && name.isString())
            done.Files.insert(QFile::encodeName(name.toString()).toStdString());
    }
    if (file.bad())
        throw TVandrelError(path + ": the earlier output cannot be read");
    return done;
}
