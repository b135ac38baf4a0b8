#pragma once

#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>

// libjpeg's errors, and its warnings of data that is missing or corrupt, stop decoding:
// they jump back to `Escape` with `Reason` holding libjpeg's message. Other warnings (an
// unknown JFIF revision, a doubtful colour profile) leave the pixels as they are meant
// to be and are let through. A picture is then either whole or refused, never half
// decoded.
struct TStrictJpegErrors {
    jpeg_error_mgr Manager{};
    std::jmp_buf Escape{};
    std::string Reason;
};

// Makes `errors` the error handler of `info`; call before jpeg_create_decompress.
void UseStrictJpegErrors(jpeg_decompress_struct& info, TStrictJpegErrors& errors);
