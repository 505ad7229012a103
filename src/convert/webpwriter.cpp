#include "imagewriters.h"

#include <QColorSpace>
#include <QCoreApplication>

#include "animationwriter.h"
#include "encoderthreads.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <climits>
#include <memory>

namespace {

// The texts of this file, translated under one name.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(ImageWriters)
};

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

// The encoded file, still or animated, with a colour profile in an ICCP chunk.
QByteArray withColourProfile(const uint8_t *bytes, size_t size, const QByteArray &icc)
{
    const WebPData encoded{bytes, size};
    const std::unique_ptr<WebPMux, MuxDeleter> mux(WebPMuxCreate(&encoded, 0));
    const WebPData profile{reinterpret_cast<const uint8_t *>(icc.constData()), size_t(icc.size())};
    WebPData assembled{};
    if (!mux || WebPMuxSetChunk(mux.get(), "ICCP", &profile, 0) != WEBP_MUX_OK
        || WebPMuxAssemble(mux.get(), &assembled) != WEBP_MUX_OK)
        return QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size));
    QByteArray result(reinterpret_cast<const char *>(assembled.bytes), qsizetype(assembled.size));
    WebPDataClear(&assembled);
    return result;
}

// The encoder's settings for the options. Quality 100 has always meant
// lossless here.
bool configure(const WriteOptions &options, WebPConfig *config)
{
    if (!WebPConfigInit(config))
        return false;
    const int quality = options.quality < 0 ? 75 : qMin(options.quality, 100);
    config->lossless = options.lossless || quality == 100;
    // A lossless picture's quality is the effort spent; 70 is libwebp's default.
    config->quality = config->lossless ? 70 : float(qMin(100.0, quality + options.qualityFraction));
    config->alpha_quality = int(config->quality);
    // A second thread for the lossy encoder's analysis and filtering, unless
    // the run already keeps every core busy with a file of its own.
    config->thread_level = codecThreadCount() != 1;
    return true;
}

// libwebp reads Qt's 32-bit pixels as they lie in memory; a lossy still goes
// straight to the encoder's YUV planes (argb false), without an RGB copy first.
bool importPixels(const QImage &image, bool alpha, bool argb, WebPPicture *picture)
{
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    const QImage::Format pixelFormat = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    const auto import = alpha ? WebPPictureImportBGRA : WebPPictureImportBGRX;
#else
    const QImage::Format pixelFormat = alpha ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888;
    const auto import = alpha ? WebPPictureImportRGBA : WebPPictureImportRGBX;
#endif
    const QImage source = image.format() == pixelFormat ? image : image.convertToFormat(pixelFormat);
    picture->width = source.width();
    picture->height = source.height();
    picture->use_argb = argb;
    return import(picture, source.constBits(), int(source.bytesPerLine()));
}

bool fail(const QString &reason, QString *error)
{
    if (error)
        *error = reason;
    return false;
}

QString tooLarge()
{
    return Texts::tr("The picture is too large for WEBP: at most %1 pixels a side").arg(WEBP_MAX_DIMENSION);
}

struct AnimEncoderDeleter
{
    void operator()(WebPAnimEncoder *encoder) const { WebPAnimEncoderDelete(encoder); }
};

// libwebp's animation encoder compares each frame with the one before and
// stores only the changed rectangle, choosing blending and disposal itself.
// It keeps the encoded frames in memory until the file is assembled.
class WebpAnimation : public AnimationWriter
{
public:
    WebpAnimation(const QString &targetPath, const WebPConfig &config, const QSize &canvas, WebPAnimEncoder *encoder)
        : targetPath(targetPath), config(config), canvas(canvas), encoder(encoder)
    {
    }

    bool addFrame(const QImage &frame, int delayMs, QString *error) override
    {
        if (frame.size() != canvas)
            return fail(Texts::tr("A frame of %1 x %2 pixels does not fit the %3 x %4 animation")
                            .arg(frame.width()).arg(frame.height()).arg(canvas.width()).arg(canvas.height()),
                        error);
        WebPPicture picture;
        if (!WebPPictureInit(&picture))
            return fail(Texts::tr("The webp encoder cannot start"), error);
        const std::unique_ptr<WebPPicture, PictureDeleter> pictureOwner(&picture);
        if (!importPixels(frame, true, true, &picture))
            return fail(Texts::tr("The webp encoder failed: out of memory"), error);
        if (!WebPAnimEncoderAdd(encoder.get(), &picture, timestamp, &config))
            return fail(encoderError(), error);
        if (frames++ == 0 && frame.colorSpace().isValid())
            icc = frame.colorSpace().iccProfile();
        timestamp = int(qMin<qint64>(INT_MAX, qint64(timestamp) + qMax(0, delayMs)));
        return true;
    }

    bool finish(QString *error) override
    {
        if (frames == 0)
            return fail(Texts::tr("Image is empty"), error);
        // The last frame lasts until the end time given with no frame.
        WebPData assembled{};
        if (!WebPAnimEncoderAdd(encoder.get(), nullptr, timestamp, nullptr)
            || !WebPAnimEncoderAssemble(encoder.get(), &assembled))
            return fail(encoderError(), error);
        const QByteArray bytes = icc.isEmpty() ? QByteArray(reinterpret_cast<const char *>(assembled.bytes),
                                                            qsizetype(assembled.size))
                                               : withColourProfile(assembled.bytes, assembled.size, icc);
        WebPDataClear(&assembled);
        // The file only replaces an existing target once it is complete.
        TargetFile file(targetPath);
        if (!file.open())
            return fail(file.failureReason(), error);
        // A failed write is kept by the file and reported by its commit.
        file.write(bytes);
        return file.commit(error);
    }

private:
    QString encoderError() const
    {
        const char *text = WebPAnimEncoderGetError(encoder.get());
        return Texts::tr("The webp encoder failed: %1")
            .arg(text && *text ? QString::fromLatin1(text) : Texts::tr("out of memory"));
    }

    const QString targetPath;
    const WebPConfig config;
    const QSize canvas;
    const std::unique_ptr<WebPAnimEncoder, AnimEncoderDeleter> encoder;
    int timestamp = 0;
    int frames = 0;
    QByteArray icc;
};

} // namespace

bool encodeWebp(const QImage &image, const WriteOptions &options, QIODevice *device, QString *error,
                const QByteArray &unappliedProfile)
{
    if (image.width() > WEBP_MAX_DIMENSION || image.height() > WEBP_MAX_DIMENSION)
        return fail(tooLarge(), error);

    WebPPicture picture;
    WebPConfig config;
    WebPMemoryWriter output;
    if (!WebPPictureInit(&picture) || !configure(options, &config))
        return fail(Texts::tr("The webp encoder cannot start"), error);
    const std::unique_ptr<WebPPicture, PictureDeleter> pictureOwner(&picture);
    WebPMemoryWriterInit(&output);
    const std::unique_ptr<WebPMemoryWriter, MemoryWriterDeleter> outputOwner(&output);

    if (!importPixels(image, image.hasAlphaChannel(), config.lossless, &picture))
        return fail(Texts::tr("The webp encoder failed: out of memory"), error);
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &output;
    if (!WebPEncode(&config, &picture))
        return fail(Texts::tr("The webp encoder failed: error %1").arg(int(picture.error_code)), error);

    const QByteArray icc = image.colorSpace().isValid() ? image.colorSpace().iccProfile() : unappliedProfile;
    const QByteArray bytes = icc.isEmpty()
                                 ? QByteArray::fromRawData(reinterpret_cast<const char *>(output.mem),
                                                           qsizetype(output.size))
                                 : withColourProfile(output.mem, output.size, icc);
    // A failed write is the device's to report.
    device->write(bytes);
    return true;
}

std::unique_ptr<AnimationWriter> createWebpAnimation(const QString &targetPath, const WriteOptions &options,
                                                     const QSize &canvas, int loopCount, QString *error)
{
    if (canvas.width() > WEBP_MAX_DIMENSION || canvas.height() > WEBP_MAX_DIMENSION) {
        fail(tooLarge(), error);
        return nullptr;
    }
    WebPConfig config;
    WebPAnimEncoderOptions animation;
    if (!configure(options, &config) || !WebPAnimEncoderOptionsInit(&animation)) {
        fail(Texts::tr("The webp encoder cannot start"), error);
        return nullptr;
    }
    animation.anim_params.loop_count = loopCount;
    WebPAnimEncoder *encoder = WebPAnimEncoderNew(canvas.width(), canvas.height(), &animation);
    if (!encoder) {
        fail(Texts::tr("The webp encoder failed: out of memory"), error);
        return nullptr;
    }
    return std::make_unique<WebpAnimation>(targetPath, config, canvas, encoder);
}
