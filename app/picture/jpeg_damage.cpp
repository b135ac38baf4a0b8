// Whether a JPEG's coded data is whole, by decoding it with libjpeg.
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

#include "app/picture/jpeg_errors.h"
#include "app/picture/picture_damage.h"

namespace {

struct TFileCloser {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};

}  // namespace

std::optional<std::string> JpegDamage(const TRegularFile& file, uint64_t memoryBytes)
{
    const int descriptor = OwnDescriptorAtStart(file);
    if (descriptor < 0)
        return std::nullopt; // Qt's own reading will say what is wrong
    const std::unique_ptr<std::FILE, TFileCloser> stream(::fdopen(descriptor, "rb"));
    if (!stream) {
        ::close(descriptor);
        return std::nullopt;
    }

    jpeg_decompress_struct info{};
    TStrictJpegErrors errors;
    UseStrictJpegErrors(info, errors);
    // Nothing with a destructor lives between here and the jumps back.
    if (setjmp(errors.Escape) != 0) {
        jpeg_destroy_decompress(&info);
        return errors.Reason;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = static_cast<long>(std::min<uint64_t>(memoryBytes, LONG_MAX));
    jpeg_stdio_src(&info, stream.get());
    jpeg_read_header(&info, TRUE);
    // At an eighth of the size each block is its average alone: every coded bit is
    // still read, at a fraction of the work.
    info.scale_num = 1;
    info.scale_denom = 8;
    info.dct_method = JDCT_IFAST;
    info.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&info);
    // From libjpeg's own pool, which the jumps back free with everything else.
    JSAMPARRAY rows = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                info.output_width * static_cast<JDIMENSION>(info.output_components), 1);
    while (info.output_scanline < info.output_height)
        jpeg_read_scanlines(&info, rows, 1);
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return std::nullopt;
}
