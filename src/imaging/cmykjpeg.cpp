#include "cmykjpeg.h"

#include "colourconversion.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

struct ErrorManager
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void leave(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

// Warnings (corrupt data) are not printed; the loader notes a file cut short itself.
void keepQuiet(j_common_ptr, int) {}

struct FileCloser
{
    void operator()(FILE *file) const { std::fclose(file); }
};

quint8 to8(quint16 value)
{
    return quint8((value * 255u + 32767u) / 65535u);
}

// Everything C++ that outlives a jump back from libjpeg is made before it.
struct Work
{
    QImage image;
    std::vector<JSAMPLE> row;
    std::vector<quint16> inks;
    std::vector<quint16> rgb;
    LcmsTransform transform;
};

} // namespace

CmykJpeg decodeCmykJpeg(const QString &path, int factor, QImage *image, QString *reason)
{
    const std::unique_ptr<FILE, FileCloser> file(std::fopen(QFile::encodeName(path).constData(), "rb"));
    if (!file)
        return CmykJpeg::NotCmyk;
    Work work;
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = leave;
    errors.manager.emit_message = keepQuiet;
    // A file that turns out to be CMYK and then fails is damaged; before that
    // it is left to the other decoders.
    volatile bool cmyk = false;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        if (!cmyk)
            return CmykJpeg::NotCmyk;
        *reason = QCoreApplication::translate("CmykJpeg", "damaged or truncated");
        return CmykJpeg::Failed;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file.get());
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xffff);
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space != JCS_CMYK && info.jpeg_color_space != JCS_YCCK) {
        jpeg_destroy_decompress(&info);
        return CmykJpeg::NotCmyk;
    }
    cmyk = true;
    const bool inverted = info.saw_Adobe_marker;
    JOCTET *icc = nullptr;
    unsigned int iccSize = 0;
    if (jpeg_read_icc_profile(&info, &icc, &iccSize)) {
        work.transform = cmykToSrgbTransform(icc, iccSize);
        std::free(icc);
    }
    info.out_color_space = JCS_CMYK;
    info.scale_num = 1;
    info.scale_denom = unsigned(factor);
    jpeg_start_decompress(&info);
    const int width = int(info.output_width);
    work.image = QImage(width, int(info.output_height), QImage::Format_RGB32);
    if (work.image.isNull()) {
        jpeg_destroy_decompress(&info);
        *reason = QCoreApplication::translate("CmykJpeg", "there is not enough memory to decode it");
        return CmykJpeg::Failed;
    }
    work.row.resize(size_t(width) * 4);
    work.inks.resize(size_t(width) * 4);
    work.rgb.resize(size_t(width) * 3);
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        JSAMPROW row = work.row.data();
        jpeg_read_scanlines(&info, &row, 1);
        for (size_t i = 0; i < work.inks.size(); ++i)
            work.inks[i] = quint16((inverted ? 255 - work.row[i] : work.row[i]) * 257);
        if (work.transform) {
            cmsDoTransform(work.transform.get(), work.inks.data(), work.rgb.data(), cmsUInt32Number(width));
        } else {
            for (size_t i = 0; i < work.rgb.size(); ++i) {
                const quint16 *ink = &work.inks[i / 3 * 4];
                work.rgb[i] = quint16(qRound(cmykWithoutProfile(ink[i % 3] / 65535.0, ink[3] / 65535.0) * 65535.0));
            }
        }
        auto *line = reinterpret_cast<QRgb *>(work.image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(to8(work.rgb[3 * x]), to8(work.rgb[3 * x + 1]), to8(work.rgb[3 * x + 2]));
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    work.image.setColorSpace(QColorSpace::SRgb);
    *image = work.image;
    return CmykJpeg::Decoded;
}
