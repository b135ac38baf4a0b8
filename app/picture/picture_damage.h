#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "app/picture/regular_file.h"

// Qt's decoders give back what they could read of a cut or corrupt picture as if it
// were whole (a BMP's missing rows are whatever memory held, a JPEG's are grey). These
// checks read the file with the format's own rules, or its reference decoder, before
// Qt decodes it, and say why it is not whole; nothing when it is, or when the file is
// of a kind they do not know (Qt then decides).

// Raises "The picture is damaged or incomplete: <name> (<why>)", the one message of
// every reader for a file that is cut short, corrupt or claims more than it holds.
[[noreturn]] void ThrowDamaged(const std::string& name, const std::string& why);

// Chooses the check by the file's first bytes. `memoryBytes` bounds what a decoder
// may allocate while it checks.
std::optional<std::string> PictureDamage(const TRegularFile& file, uint64_t memoryBytes);

// The pixel data of an uncompressed BMP must fit in the file; a run-length coded one
// must reach its end (or its last row) before the file does.
std::optional<std::string> BmpDamage(const TRegularFile& file);
// libjpeg decodes every scan (at an eighth of the size, which reads every coded bit)
// and its warnings of corrupt or missing data count as damage.
std::optional<std::string> JpegDamage(const TRegularFile& file, uint64_t memoryBytes);
// giflib reads the first image, the one that is shown and counted, and its LZW codes
// must make every pixel.
std::optional<std::string> GifDamage(const TRegularFile& file);
// giflib's words for its error `code`.
std::string GifErrorText(int code);
// libtiff reads the first directory; every strip or tile must lie inside the file and,
// uncompressed, hold all its rows.
std::optional<std::string> TiffDamage(const TRegularFile& file);

// A descriptor of its own for the file, standing at its start, for a library that reads
// from where the descriptor stands and closes it when done; -1 when there is none.
int OwnDescriptorAtStart(const TRegularFile& file);

// Up to `length` bytes of the file from `offset`; fewer at its end.
std::string ReadFileBytes(const TRegularFile& file, uint64_t offset, std::size_t length);
// As ReadFileBytes, into `bytes` (as many as it holds): how many were read.
std::size_t ReadFileInto(const TRegularFile& file, uint64_t offset, std::span<uint8_t> bytes);
