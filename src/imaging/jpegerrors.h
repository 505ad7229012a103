#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// libjpeg reports a fatal error by calling error_exit, which must not
// return: this one keeps libjpeg's message and jumps back to the setjmp on
// `jump`. Warnings (corrupt data) are not printed: callers that care notice
// a file cut short themselves.
struct JpegErrors
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = {};

    // For a compress or decompress struct's err.
    jpeg_error_mgr *install()
    {
        jpeg_std_error(&manager);
        manager.error_exit = [](j_common_ptr info) {
            auto *errors = reinterpret_cast<JpegErrors *>(info->err);
            errors->manager.format_message(info, errors->message);
            std::longjmp(errors->jump, 1);
        };
        manager.emit_message = [](j_common_ptr, int) {};
        manager.output_message = [](j_common_ptr) {};
        return &manager;
    }
};
