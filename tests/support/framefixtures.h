#pragma once
// Sources of several pages or frames, written by the real encoders: libtiff,
// giflib, libwebp's animation encoder and Qt's PDF writer.

#include <QFile>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QString>

#include <avif/avif.h>
#include <gif_lib.h>
#include <tiffio.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <vector>

namespace framefixtures {

// Opaque pages, 8-bit RGB, one directory each.
inline bool writeTiffPages(const QString &path, const QList<QImage> &pages)
{
    TIFF *tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    bool ok = tiff != nullptr;
    for (const QImage &page : pages) {
        const QImage rgb = page.convertToFormat(QImage::Format_RGB888);
        ok = ok && TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, rgb.width()) && TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, rgb.height())
                && TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3) && TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8)
                && TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB)
                && TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG)
                && TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        for (int y = 0; ok && y < rgb.height(); ++y)
            ok = TIFFWriteScanline(tiff, const_cast<uchar *>(rgb.constScanLine(y)), uint32_t(y)) == 1;
        ok = ok && TIFFWriteDirectory(tiff);
    }
    if (tiff)
        TIFFClose(tiff);
    return ok;
}

// One frame of an animation: its picture (transparent pixels leave the
// canvas as it is), where it lies on the canvas, for how long it shows, and
// the GIF disposal that follows it.
struct Frame
{
    QImage image;
    QPoint at;
    int delayMs = 100;
    int disposal = DISPOSE_DO_NOT;
};

inline bool writeGif(const QString &path, const QSize &canvas, const QList<Frame> &frames, int loops = 0)
{
    int error = 0;
    GifFileType *gif = EGifOpenFileName(QFile::encodeName(path).constData(), false, &error);
    bool ok = gif && EGifPutScreenDesc(gif, canvas.width(), canvas.height(), 8, 0, nullptr) != GIF_ERROR;
    if (ok) {
        EGifSetGifVersion(gif, true);
        unsigned char loop[3] = {1, uchar(loops & 0xff), uchar(loops >> 8)};
        ok = EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) != GIF_ERROR
                && EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") != GIF_ERROR
                && EGifPutExtensionBlock(gif, 3, loop) != GIF_ERROR && EGifPutExtensionTrailer(gif) != GIF_ERROR;
    }
    for (const Frame &frame : frames) {
        // Index 0 is transparent; the frame's colours follow.
        std::vector<GifColorType> colours(1);
        QHash<QRgb, int> indexOf;
        std::vector<GifPixelType> pixels;
        for (int y = 0; y < frame.image.height(); ++y) {
            for (int x = 0; x < frame.image.width(); ++x) {
                const QRgb pixel = frame.image.pixel(x, y);
                if (qAlpha(pixel) == 0) {
                    pixels.push_back(0);
                    continue;
                }
                if (!indexOf.contains(pixel)) {
                    indexOf.insert(pixel, int(colours.size()));
                    colours.push_back({GifByteType(qRed(pixel)), GifByteType(qGreen(pixel)), GifByteType(qBlue(pixel))});
                }
                pixels.push_back(GifPixelType(indexOf.value(pixel)));
            }
        }
        colours.resize(256);
        ColorMapObject *map = GifMakeMapObject(256, colours.data());
        const GraphicsControlBlock control{frame.disposal, false, frame.delayMs / 10, 0};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) != GIF_ERROR
                && EGifPutImageDesc(gif, frame.at.x(), frame.at.y(), frame.image.width(), frame.image.height(), false, map)
                        != GIF_ERROR;
        for (int y = 0; ok && y < frame.image.height(); ++y)
            ok = EGifPutLine(gif, pixels.data() + size_t(y) * size_t(frame.image.width()), frame.image.width()) != GIF_ERROR;
        GifFreeMapObject(map);
    }
    return gif && EGifCloseFile(gif, &error) != GIF_ERROR && ok;
}

// Whole canvases, lossless.
inline QByteArray encodeWebpAnimation(const QList<Frame> &frames, int loops = 0)
{
    const QSize size = frames.first().image.size();
    WebPAnimEncoderOptions options;
    WebPAnimEncoderOptionsInit(&options);
    options.anim_params.loop_count = loops;
    WebPAnimEncoder *encoder = WebPAnimEncoderNew(size.width(), size.height(), &options);
    WebPConfig config;
    WebPConfigInit(&config);
    config.lossless = 1;
    int timestamp = 0;
    bool ok = encoder != nullptr;
    for (const Frame &frame : frames) {
        const QImage rgba = frame.image.convertToFormat(QImage::Format_RGBA8888);
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.use_argb = 1;
        picture.width = size.width();
        picture.height = size.height();
        ok = ok && WebPPictureImportRGBA(&picture, rgba.constBits(), int(rgba.bytesPerLine()))
                && WebPAnimEncoderAdd(encoder, &picture, timestamp, &config);
        WebPPictureFree(&picture);
        timestamp += frame.delayMs;
    }
    WebPData data;
    WebPDataInit(&data);
    QByteArray bytes;
    if (ok && WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr) && WebPAnimEncoderAssemble(encoder, &data))
        bytes = QByteArray(reinterpret_cast<const char *>(data.bytes), qsizetype(data.size));
    WebPDataClear(&data);
    WebPAnimEncoderDelete(encoder);
    return bytes;
}

// An AVIF image sequence of whole canvases, each shown for its delay; empty
// when libavif has no AV1 encoder.
inline QByteArray encodeAvifSequence(const QList<Frame> &frames)
{
    avifEncoder *encoder = avifEncoderCreate();
    encoder->timescale = 1000;
    encoder->speed = AVIF_SPEED_FASTEST;
    bool ok = true;
    for (const Frame &frame : frames) {
        const QImage rgba = frame.image.convertToFormat(QImage::Format_RGBA8888);
        avifImage *image = avifImageCreate(uint32_t(rgba.width()), uint32_t(rgba.height()), 8, AVIF_PIXEL_FORMAT_YUV444);
        avifRGBImage rgb;
        avifRGBImageSetDefaults(&rgb, image);
        rgb.format = AVIF_RGB_FORMAT_RGBA;
        rgb.pixels = const_cast<uint8_t *>(rgba.constBits());
        rgb.rowBytes = uint32_t(rgba.bytesPerLine());
        ok = ok && avifImageRGBToYUV(image, &rgb) == AVIF_RESULT_OK
                && avifEncoderAddImage(encoder, image, uint64_t(frame.delayMs), AVIF_ADD_IMAGE_FLAG_NONE) == AVIF_RESULT_OK;
        avifImageDestroy(image);
    }
    avifRWData output = AVIF_DATA_EMPTY;
    QByteArray bytes;
    if (ok && avifEncoderFinish(encoder, &output) == AVIF_RESULT_OK)
        bytes = QByteArray(reinterpret_cast<const char *>(output.data), qsizetype(output.size));
    avifRWDataFree(&output);
    avifEncoderDestroy(encoder);
    return bytes;
}

// A page of each size (in points), filled with its colour.
inline bool writePdfPages(const QString &path, const QList<QSize> &points, const QList<QColor> &colours)
{
    QPdfWriter writer(path);
    writer.setPageMargins(QMarginsF());
    writer.setPageSize(QPageSize(points.first(), QPageSize::Point));
    QPainter painter(&writer);
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (i > 0) {
            writer.setPageSize(QPageSize(points.at(i), QPageSize::Point));
            writer.newPage();
        }
        painter.fillRect(QRect(QPoint(), QSize(writer.width(), writer.height())), colours.at(i));
    }
    return painter.end();
}

} // namespace framefixtures
