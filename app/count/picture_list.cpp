#include "app/count/picture_list.h"

#include <QFile>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/picture/picture_file.h"
#include "graph/core/error.h"

namespace fs = std::filesystem;

namespace {

bool CountedKind(const fs::path& path)
{
    try {
        return PictureKindOf(QFile::decodeName(path.c_str())) == TPictureKind::Bitmap;
    } catch (const TVandrelError&) {
        return false; // not a picture at all
    }
}

// The counted pictures in `folder`, sorted by their path.
std::vector<std::string> FolderPictures(const std::string& folder, bool recursive)
{
    std::vector<std::string> pictures;
    const auto take = [&](const fs::directory_entry& entry) {
        std::error_code ignored;
        if (entry.is_regular_file(ignored) && CountedKind(entry.path()))
            pictures.push_back(entry.path().string());
    };
    try {
        if (recursive)
            for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
                take(entry);
        else
            for (const fs::directory_entry& entry : fs::directory_iterator(folder))
                take(entry);
    } catch (const fs::filesystem_error& error) {
        throw TVandrelError(folder + ": the folder cannot be read: " + error.code().message());
    }
    std::ranges::sort(pictures);
    return pictures;
}

void AddName(const std::string& name, bool recursive, std::vector<std::string>& pictures)
{
    std::error_code ignored;
    if (!fs::is_directory(name, ignored)) {
        pictures.push_back(name);
        return;
    }
    const std::vector<std::string> inside = FolderPictures(name, recursive);
    pictures.insert(pictures.end(), inside.begin(), inside.end());
}

void AddListed(std::istream& list, const std::string& listName, bool recursive, std::vector<std::string>& pictures)
{
    for (std::string line; std::getline(list, line);) {
        if (line.ends_with('\r'))
            line.pop_back();
        if (!line.empty())
            AddName(line, recursive, pictures);
    }
    if (list.bad())
        throw TVandrelError(listName + ": the list of pictures cannot be read");
}

}  // namespace

std::vector<std::string> ListPictures(const TPictureSources& sources, std::istream& standardInput)
{
    std::vector<std::string> pictures;
    for (const std::string& operand : sources.Operands) {
        if (operand == "-")
            AddListed(standardInput, "standard input", sources.Recursive, pictures);
        else
            AddName(operand, sources.Recursive, pictures);
    }
    for (const std::string& listName : sources.Lists) {
        if (listName == "-") {
            AddListed(standardInput, "standard input", sources.Recursive, pictures);
            continue;
        }
        std::ifstream list(listName);
        if (!list)
            throw TVandrelError(listName + ": the list of pictures cannot be opened");
        AddListed(list, listName, sources.Recursive, pictures);
    }
    return pictures;
}
