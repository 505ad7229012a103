#include "cmykjpeg.h"

#include "colourconversion.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "jpegerrors.h"

namespace {

struct FileCloser
{
    void operator()(FILE *file) const { std::fclose(file); }
};

// Everything C++ that outlives a jump back from libjpeg is made before it.
struct Work
{
    QImage image;
    std::vector<JSAMPLE> row;
    // Without a profile: the colour of each ink under each amount of black.
    std::vector<quint8> plain;
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
    JpegErrors errors;
    info.err = errors.install();
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
        // Straight into the picture's 32-bit pixels, 0xffRRGGBB in host order.
        const cmsUInt32Number rgb32 = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? TYPE_BGRA_8 : TYPE_ARGB_8;
        work.transform = cmykToSrgbTransform(icc, iccSize, inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8, rgb32);
        std::free(icc);
    }
    if (!work.transform) {
        work.plain.resize(256 * 256);
        for (int ink = 0; ink < 256; ++ink)
            for (int black = 0; black < 256; ++black)
                work.plain[size_t(ink) * 256 + size_t(black)] =
                        quint8(qRound(cmykWithoutProfile(ink / 255.0, black / 255.0) * 255.0));
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
    // The transform leaves the fourth byte, which must be opaque.
    work.image.fill(Qt::black);
    work.row.resize(size_t(width) * 4);
    while (info.output_scanline < info.output_height) {
        auto *line = reinterpret_cast<QRgb *>(work.image.scanLine(int(info.output_scanline)));
        JSAMPROW row = work.row.data();
        jpeg_read_scanlines(&info, &row, 1);
        if (work.transform) {
            cmsDoTransform(work.transform.get(), row, line, cmsUInt32Number(width));
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const JSAMPLE *stored = row + 4 * x;
            const auto ink = [&](int c) { return inverted ? 255 - stored[c] : stored[c]; };
            const quint8 *underBlack = &work.plain[size_t(ink(3))];
            line[x] = qRgb(underBlack[ink(0) * 256], underBlack[ink(1) * 256], underBlack[ink(2) * 256]);
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    work.image.setColorSpace(QColorSpace::SRgb);
    *image = work.image;
    return CmykJpeg::Decoded;
}
