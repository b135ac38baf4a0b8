#include "app/picture/jpeg_errors.h"

#include <jerror.h>

namespace {

[[noreturn]] void StopOnError(j_common_ptr info)
{
    auto* errors = reinterpret_cast<TStrictJpegErrors*>(info->err);
    char text[JMSG_LENGTH_MAX] = {};
    (*info->err->format_message)(info, text);
    errors->Reason = text;
    std::longjmp(errors->Escape, 1);
}

void StopOnDataWarning(j_common_ptr info, int level)
{
    if (level != -1)
        return; // trace messages
    switch (info->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_MUST_RESYNC:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
        StopOnError(info);
    default:
        break;
    }
}

}  // namespace

void UseStrictJpegErrors(jpeg_decompress_struct& info, TStrictJpegErrors& errors)
{
    info.err = jpeg_std_error(&errors.Manager);
    errors.Manager.error_exit = StopOnError;
    errors.Manager.emit_message = StopOnDataWarning;
}
