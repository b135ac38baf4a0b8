#include "app/metafile/metafile_svg.h"

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "graph/core/error.h"

namespace {

[[noreturn]] void CannotRead(const char* reason)
{
    throw TVandrelError(reason);
}

uint32_t U32At(const std::string& bytes, size_t offset)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | uint8_t(bytes[offset + size_t(i)]);
    return value;
}

constexpr uint32_t kEmrHeader = 1;
constexpr uint32_t kEmrEof = 14;
constexpr uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr size_t kEmfHeaderSize = 88;

// libemf2svg only says that it failed; walking the chain of records first lets the
// error say what is wrong, and keeps a broken chain away from the library.
void CheckEnhancedMetafile(const std::string& bytes)
{
    if (bytes.size() < kEmfHeaderSize || U32At(bytes, 0) != kEmrHeader || U32At(bytes, 40) != kEmfSignature)
        CannotRead("not an enhanced metafile");
    for (size_t offset = 0; offset <= bytes.size() - 8;) {
        const uint32_t type = U32At(bytes, offset);
        const uint32_t size = U32At(bytes, offset + 4);
        if (size < 8 || size % 4 != 0 || size > bytes.size() - offset)
            CannotRead("the enhanced metafile is damaged");
        if (type == kEmrEof)
            return;
        offset += size;
    }
    CannotRead("the enhanced metafile is incomplete");
}

struct TFreeDeleter {
    void operator()(char* text) const { std::free(text); }
};

struct TWmfDeleter {
    void operator()(wmfAPI* api) const { wmf_api_destroy(api); }
};

[[noreturn]] void MetafileFailed(wmf_error_t error)
{
    switch (error) {
    case wmf_E_BadFormat:
        CannotRead("the metafile is damaged");
    case wmf_E_EOF:
        CannotRead("the metafile is incomplete");
    case wmf_E_InsMem:
        CannotRead("not enough memory for the metafile");
    default:
        CannotRead("not a metafile");
    }
}

}  // namespace

std::string EnhancedMetafileSvg(std::string bytes)
{
    CheckEnhancedMetafile(bytes);
    generatorOptions options{};
    options.svgDelimiter = true;
    char* out = nullptr;
    size_t outLength = 0;
    // The library wants writable bytes: the ones taken by value.
    const int converted = emf2svg(bytes.data(), bytes.size(), &out, &outLength, &options);
    const std::unique_ptr<char, TFreeDeleter> owned(out);
    if (converted != 1 || out == nullptr || outLength == 0)
        CannotRead("the enhanced metafile cannot be converted");
    return std::string(out, outLength);
}

std::string MetafileSvg(std::string bytes)
{
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    wmfAPI* created = nullptr;
    // The library's own messages would only reach the terminal; the error says why.
    constexpr unsigned long kFlags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (const wmf_error_t error = wmf_api_create(&created, kFlags, &options); error != wmf_E_None)
        MetafileFailed(error);
    // Destroying the API also frees everything it handed out, the SVG text included.
    const std::unique_ptr<wmfAPI, TWmfDeleter> api(created);

    if (const wmf_error_t error = wmf_mem_open(api.get(), reinterpret_cast<unsigned char*>(bytes.data()),
                                               long(bytes.size()));
        error != wmf_E_None)
        MetafileFailed(error);
    wmfD_Rect drawn{};
    if (const wmf_error_t error = wmf_scan(api.get(), 0, &drawn); error != wmf_E_None)
        MetafileFailed(error);
    unsigned width = 0;
    unsigned height = 0;
    if (const wmf_error_t error = wmf_display_size(api.get(), &width, &height, 96, 96); error != wmf_E_None)
        MetafileFailed(error);

    // The scan gives the extent of what is drawn, from the window origin (in points for
    // a placeable metafile). A placeable metafile's page is its header's box, from that
    // origin, so its shapes stay where they are instead of filling the whole picture.
    wmfD_Rect page = drawn;
    const wmfPlaceableMetaHeader* header = api->File->pmh;
    if (api->File->placeable && header->Inch != 0) {
        float across = 0;
        float down = 0;
        wmf_size(api.get(), &across, &down);
        const float points = 72.0f / float(header->Inch);
        page.TL = {0, 0};
        page.BR = {across * points, down * points};
    }
    if (width == 0 || height == 0 || page.BR.x <= page.TL.x || page.BR.y <= page.TL.y)
        CannotRead("the metafile draws nothing");

    wmf_svg_t* device = WMF_SVG_GetData(api.get());
    device->bbox = page;
    device->width = width;
    device->height = height;
    device->out = wmf_stream_create(api.get(), nullptr);
    if (device->out == nullptr)
        MetafileFailed(wmf_E_InsMem);
    if (const wmf_error_t error = wmf_play(api.get(), 0, &drawn); error != wmf_E_None)
        MetafileFailed(error);
    char* text = nullptr;
    unsigned long length = 0;
    wmf_stream_destroy(api.get(), device->out, &text, &length);
    device->out = nullptr;
    if (text == nullptr || length == 0)
        CannotRead("the metafile cannot be converted");
    return std::string(text, length);
}
