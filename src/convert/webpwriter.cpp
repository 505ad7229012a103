#include "imagewriters.h"

#include <QColorSpace>

#include "encoderthreads.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <memory>

namespace {

struct PictureDeleter
{
    void operator()(WebPPicture *picture) const { WebPPictureFree(picture); }
};
struct MemoryWriterDeleter
{
    void operator()(WebPMemoryWriter *writer) const { WebPMemoryWriterClear(writer); }
};
struct MuxDeleter
{
    void operator()(WebPMux *mux) const { WebPMuxDelete(mux); }
};

// The encoded bytes with the picture's colour profile in an ICCP chunk.
QByteArray withColourProfile(const uint8_t *bytes, size_t size, const QByteArray &icc)
{
    const std::unique_ptr<WebPMux, MuxDeleter> mux(WebPMuxNew());
    const WebPData picture{bytes, size};
    const WebPData profile{reinterpret_cast<const uint8_t *>(icc.constData()), size_t(icc.size())};
    WebPData assembled{};
    if (!mux || WebPMuxSetImage(mux.get(), &picture, 0) != WEBP_MUX_OK
        || WebPMuxSetChunk(mux.get(), "ICCP", &profile, 0) != WEBP_MUX_OK
        || WebPMuxAssemble(mux.get(), &assembled) != WEBP_MUX_OK)
        return QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size));
    QByteArray result(reinterpret_cast<const char *>(assembled.bytes), qsizetype(assembled.size));
    WebPDataClear(&assembled);
    return result;
}

} // namespace

bool encodeWebp(const QImage &image, const WriteOptions &options, QIODevice *device, QString *error,
                const QByteArray &unappliedProfile)
{
    const auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (image.width() > WEBP_MAX_DIMENSION || image.height() > WEBP_MAX_DIMENSION)
        return fail(QStringLiteral("The picture is too large for WEBP: at most %1 pixels a side")
                        .arg(WEBP_MAX_DIMENSION));

    // Quality 100 has always meant lossless here.
    const int quality = options.quality < 0 ? 75 : qMin(options.quality, 100);
    const bool lossless = options.lossless || quality == 100;
    const bool alpha = image.hasAlphaChannel();

    // libwebp reads Qt's 32-bit pixels as they lie in memory; a lossy picture
    // goes straight to the encoder's YUV planes, without an RGB copy first.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    const QImage::Format pixelFormat = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    const auto import = alpha ? WebPPictureImportBGRA : WebPPictureImportBGRX;
#else
    const QImage::Format pixelFormat = alpha ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888;
    const auto import = alpha ? WebPPictureImportRGBA : WebPPictureImportRGBX;
#endif
    const QImage source = image.format() == pixelFormat ? image : image.convertToFormat(pixelFormat);

    WebPPicture picture;
    WebPConfig config;
    WebPMemoryWriter output;
    if (!WebPPictureInit(&picture) || !WebPConfigInit(&config))
        return fail(QStringLiteral("The webp encoder cannot start"));
    const std::unique_ptr<WebPPicture, PictureDeleter> pictureOwner(&picture);
    WebPMemoryWriterInit(&output);
    const std::unique_ptr<WebPMemoryWriter, MemoryWriterDeleter> outputOwner(&output);

    picture.width = source.width();
    picture.height = source.height();
    picture.use_argb = lossless;
    if (!import(&picture, source.constBits(), int(source.bytesPerLine())))
        return fail(QStringLiteral("The webp encoder failed: out of memory"));
    config.lossless = lossless;
    // A lossless picture's quality is the effort spent; 70 is libwebp's default.
    config.quality = lossless ? 70 : quality;
    config.alpha_quality = int(config.quality);
    // A second thread for the lossy encoder's analysis and filtering, unless
    // the run already keeps every core busy with a file of its own.
    config.thread_level = codecThreadCount() != 1;
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &output;
    if (!WebPEncode(&config, &picture))
        return fail(QStringLiteral("The webp encoder failed: error %1").arg(int(picture.error_code)));

    const QByteArray icc = image.colorSpace().isValid() ? image.colorSpace().iccProfile() : unappliedProfile;
    const QByteArray bytes = icc.isEmpty()
                                 ? QByteArray::fromRawData(reinterpret_cast<const char *>(output.mem),
                                                           qsizetype(output.size))
                                 : withColourProfile(output.mem, output.size, icc);
    // A failed write is the device's to report.
    device->write(bytes);
    return true;
}
