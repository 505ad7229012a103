#include "jxlhandler.h"
#include "jxlfromjpeg.h"
#include "jxldecoding.h"
#include "readerinterface.h"

#include "codedinput.h"
#include "encoderthreads.h"
#include "exiforientation.h"

#include <QColorSpace>
#include <QDebug>
#include <QIODevice>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QVariant>

#include <jxl/decode.h>
#include <jxl/encode.h>
#include <jxl/thread_parallel_runner.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// libjxl's own default: visually lossless at a few seconds for 12 MP.
constexpr float defaultDistance = 1.0f;
constexpr int encoderEffort = 7;
constexpr qsizetype outputChunkBytes = 1 << 16;
// libjxl 0.7 holds about 45 bytes a pixel of any frame it encodes, so a
// picture goes in as tiles of this size, each a layer that replaces its part
// of the canvas: decoders put them together into the one picture, and the
// encoder's memory stays that of one tile whatever the picture's size.
constexpr int tileSide = 2048;
constexpr int signatureBytes = 12;

struct EncoderDeleter {
    void operator()(JxlEncoder *encoder) const { JxlEncoderDestroy(encoder); }
};
// The 0-100 scale of QImageWriter::setQuality onto a Butteraugli distance,
// the same curve as libjxl's command-line encoder (90 gives 1.0).
float distanceForQuality(int quality)
{
    const float q = float(qBound(0, quality, 99));
    if (q >= 30)
        return 0.1f + (100 - q) * 0.09f;
    return qMin(25.0f, 6.4f + std::pow(2.5f, (30 - q) / 5.0f) / 6.25f);
}

// The Exif box starts with the offset of the TIFF header within it, here 0.
// A box libjxl refuses is left out; the picture is still written.
void addMetadataBoxes(JxlEncoder *encoder, const EncoderMetadata &metadata)
{
    if (metadata.exif.isEmpty() && metadata.xmp.isEmpty())
        return;
    if (JxlEncoderUseBoxes(encoder) != JXL_ENC_SUCCESS) {
        qDebug() << "JPEG XL: metadata left out";
        return;
    }
    const auto add = [encoder](const char *type, const QByteArray &contents) {
        if (!contents.isEmpty()
            && JxlEncoderAddBox(encoder, type, reinterpret_cast<const uint8_t *>(contents.constData()),
                                size_t(contents.size()), JXL_FALSE)
                   != JXL_ENC_SUCCESS)
            qDebug() << "JPEG XL:" << type << "box left out";
    };
    add("Exif", metadata.exif.isEmpty() ? QByteArray() : QByteArray(4, '\0') + metadata.exif);
    add("xml ", metadata.xmp);
}

// The header's facts, with the stored size: the orientation is left to the
// reader's transformation.
bool readBasicInfo(const JxlDecoding &decoding, JxlBasicInfo *info)
{
    return decoding.get() && JxlDecoderProcessInput(decoding.get()) == JXL_DEC_BASIC_INFO
           && JxlDecoderGetBasicInfo(decoding.get(), info) == JXL_DEC_SUCCESS;
}

bool declaresBlackChannel(const JxlDecoder *decoder, const JxlBasicInfo &info)
{
    for (uint32_t i = 0; i < info.num_extra_channels; ++i) {
        JxlExtraChannelInfo channel;
        if (JxlDecoderGetExtraChannelInfo(decoder, i, &channel) == JXL_DEC_SUCCESS && channel.type == JXL_CHANNEL_BLACK)
            return true;
    }
    return false;
}

// libjxl takes 16-bit RGB only as three samples a pixel, which no QImage
// format holds.
QByteArray packedRgb48(const QImage &rgbx64)
{
    QByteArray packed(qsizetype(rgbx64.width()) * rgbx64.height() * 3 * sizeof(quint16), Qt::Uninitialized);
    auto *out = reinterpret_cast<quint16 *>(packed.data());
    for (int y = 0; y < rgbx64.height(); ++y) {
        const auto *in = reinterpret_cast<const quint16 *>(rgbx64.constScanLine(y));
        for (int x = 0; x < rgbx64.width(); ++x, in += 4)
            out = std::copy_n(in, 3, out);
    }
    return packed;
}

// An encoder with its thread pool, the pool declared first: the encoder
// uses it until it is gone.
class Encoder
{
public:
    bool start()
    {
        m_runner = makeJxlRunner();
        m_encoder.reset(JxlEncoderCreate(nullptr));
        return m_encoder && m_runner
               && JxlEncoderSetParallelRunner(m_encoder.get(), JxlThreadParallelRunner, m_runner.get())
                      == JXL_ENC_SUCCESS;
    }
    JxlEncoder *get() const { return m_encoder.get(); }

private:
    JxlRunnerPtr m_runner;
    std::unique_ptr<JxlEncoder, EncoderDeleter> m_encoder;
};

// How the tiles of a picture go in: 8 or 16 bits a sample, with or without alpha.
struct TileLayout
{
    bool alpha;
    bool deep;
    QImage::Format format() const
    {
        return deep ? (alpha ? QImage::Format_RGBA64 : QImage::Format_RGBX64)
                    : (alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    }
};

bool setPictureInfo(JxlEncoder *encoder, QSize size, const TileLayout &layout, bool lossless)
{
    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = uint32_t(size.width());
    info.ysize = uint32_t(size.height());
    info.bits_per_sample = layout.deep ? 16 : 8;
    info.num_color_channels = 3;
    info.alpha_bits = layout.alpha ? info.bits_per_sample : 0;
    info.num_extra_channels = layout.alpha ? 1 : 0;
    info.uses_original_profile = lossless ? JXL_TRUE : JXL_FALSE;
    return JxlEncoderSetBasicInfo(encoder, &info) == JXL_ENC_SUCCESS;
}

// sRGB is what a reader assumes anyway; any other space travels as ICC,
// and so does a profile the picture came with but Qt could not parse.
bool setColours(JxlEncoder *encoder, const QColorSpace &space, const QByteArray &unparsedProfile)
{
    const QByteArray icc = !space.isValid()                         ? unparsedProfile
                           : space != QColorSpace(QColorSpace::SRgb) ? space.iccProfile()
                                                                     : QByteArray();
    if (!icc.isEmpty()
        && JxlEncoderSetICCProfile(encoder, reinterpret_cast<const uint8_t *>(icc.constData()), size_t(icc.size()))
               == JXL_ENC_SUCCESS)
        return true;
    JxlColorEncoding srgb;
    JxlColorEncodingSetToSRGB(&srgb, JXL_FALSE);
    return JxlEncoderSetColorEncoding(encoder, &srgb) == JXL_ENC_SUCCESS;
}

// Patch search costs up to four times the memory on flat areas, which no
// estimate made from the picture's size could foresee.
JxlEncoderFrameSettings *frameSettings(JxlEncoder *encoder, bool lossless, int quality)
{
    JxlEncoderFrameSettings *settings = JxlEncoderFrameSettingsCreate(encoder, nullptr);
    if (!settings
        || JxlEncoderFrameSettingsSetOption(settings, JXL_ENC_FRAME_SETTING_EFFORT, encoderEffort) != JXL_ENC_SUCCESS
        || JxlEncoderFrameSettingsSetOption(settings, JXL_ENC_FRAME_SETTING_PATCHES, 0) != JXL_ENC_SUCCESS)
        return nullptr;
    const JxlEncoderStatus mode =
        lossless ? JxlEncoderSetFrameLossless(settings, JXL_TRUE)
                 : JxlEncoderSetFrameDistance(settings, quality < 0 ? defaultDistance : distanceForQuality(quality));
    return mode == JXL_ENC_SUCCESS ? settings : nullptr;
}

// Hands the device what the encoder has made of its input so far.
bool writeOutput(JxlEncoder *encoder, QIODevice *device)
{
    QByteArray chunk(outputChunkBytes, Qt::Uninitialized);
    for (;;) {
        auto *next = reinterpret_cast<uint8_t *>(chunk.data());
        size_t available = size_t(chunk.size());
        const JxlEncoderStatus status = JxlEncoderProcessOutput(encoder, &next, &available);
        const qint64 produced = chunk.size() - qint64(available);
        if (produced > 0 && device->write(chunk.constData(), produced) != produced)
            return false;
        if (status != JXL_ENC_NEED_MORE_OUTPUT)
            return status == JXL_ENC_SUCCESS;
    }
}

// Each tile is encoded and written out before the next is handed over.
bool writeTiles(JxlEncoder *encoder, JxlEncoderFrameSettings *settings, const QImage &image,
                const TileLayout &layout, QIODevice *device)
{
    for (int top = 0; top < image.height(); top += tileSide) {
        for (int left = 0; left < image.width(); left += tileSide) {
            const QImage tile =
                image.copy(QRect(left, top, tileSide, tileSide) & image.rect()).convertToFormat(layout.format());
            JxlFrameHeader header;
            JxlEncoderInitFrameHeader(&header);
            header.layer_info.have_crop = JXL_TRUE;
            header.layer_info.crop_x0 = left;
            header.layer_info.crop_y0 = top;
            header.layer_info.xsize = uint32_t(tile.width());
            header.layer_info.ysize = uint32_t(tile.height());
            header.layer_info.blend_info.blendmode = JXL_BLEND_REPLACE;
            const QByteArray packed = layout.deep && !layout.alpha ? packedRgb48(tile) : QByteArray();
            const void *pixels = packed.isEmpty() ? static_cast<const void *>(tile.constBits()) : packed.constData();
            const size_t bytes = packed.isEmpty() ? size_t(tile.sizeInBytes()) : size_t(packed.size());
            const JxlPixelFormat pixelFormat{layout.alpha ? 4u : 3u, layout.deep ? JXL_TYPE_UINT16 : JXL_TYPE_UINT8,
                                             JXL_NATIVE_ENDIAN, packed.isEmpty() ? size_t(tile.bytesPerLine()) : 0};
            if (JxlEncoderSetFrameHeader(settings, &header) != JXL_ENC_SUCCESS
                || JxlEncoderAddImageFrame(settings, &pixelFormat, pixels, bytes) != JXL_ENC_SUCCESS)
                return false;
            if (left + tileSide >= image.width() && top + tileSide >= image.height())
                JxlEncoderCloseInput(encoder);
            if (!writeOutput(encoder, device))
                return false;
        }
    }
    return true;
}

} // namespace

bool JxlHandler::canRead(QIODevice *device)
{
    if (!device)
        return false;
    const QByteArray head = device->peek(signatureBytes);
    const JxlSignature signature = JxlSignatureCheck(reinterpret_cast<const uint8_t *>(head.constData()),
                                                     size_t(head.size()));
    return signature == JXL_SIG_CODESTREAM || signature == JXL_SIG_CONTAINER;
}

bool JxlHandler::canRead() const
{
    if (m_state == State::Parsed)
        return true;
    if (m_state != State::Unread || !canRead(device()))
        return false;
    setFormat("jxl");
    return true;
}

bool JxlHandler::parseHeader()
{
    if (m_state != State::Unread)
        return m_state == State::Parsed;
    m_state = State::Failed;
    if (!canRead(device()))
        return false;
    if (!readCodedInput(device(), &m_data))
        return false;

    const JxlDecoding decoding(m_data, JXL_DEC_BASIC_INFO, true);
    JxlBasicInfo info;
    // CMY with the black apart cannot be shown without the CMYK profile
    // applied to all four; the first three alone would be a wrong picture.
    if (!readBasicInfo(decoding, &info))
        return false;
    m_blackChannel = declaresBlackChannel(decoding.get(), info);
    if (m_blackChannel)
        return false;
    if (info.xsize == 0 || info.ysize == 0 || info.xsize > INT_MAX || info.ysize > INT_MAX)
        return false;
    m_size = QSize(int(info.xsize), int(info.ysize));
    m_orientation = int(info.orientation);
    m_bitsPerSample = int(info.bits_per_sample);
    m_grayscale = info.num_color_channels == 1;
    m_alpha = info.alpha_bits > 0;
    m_usesOriginalProfile = info.uses_original_profile;
    m_state = State::Parsed;
    return true;
}

bool JxlHandler::read(QImage *image)
{
    if (!parseHeader())
        return false;
    m_state = State::Failed;

    JxlDecoding decoding(m_data, JXL_DEC_COLOR_ENCODING | JXL_DEC_FULL_IMAGE, true);
    JxlDecoder *decoder = decoding.get();
    // The first event tells how the pixels will come out.
    if (!decoder || JxlDecoderProcessInput(decoder) != JXL_DEC_COLOR_ENCODING
        || !decoding.chooseColours(m_usesOriginalProfile, m_grayscale))
        return false;

    const bool deep = m_bitsPerSample > 8;
    const bool decodeDeep = deep || decoding.viaWideGamut();
    QImage::Format format;
    uint32_t channels = 4;
    if (m_grayscale && !m_alpha) {
        format = deep ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8;
        channels = 1;
    } else if (m_alpha) {
        format = decodeDeep ? QImage::Format_RGBA64 : QImage::Format_RGBA8888;
    } else if (decodeDeep) {
        format = QImage::Format_RGBX64;
    } else {
        format = QImage::Format_RGB888;
        channels = 3;
    }
    QImage result;
    // Refuses images above the reader's allocation limit before anything is decoded.
    if (!allocateImage(m_size, format, &result))
        return false;
    const JxlPixelFormat pixelFormat{channels, decodeDeep ? JXL_TYPE_UINT16 : JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN,
                                     size_t(result.bytesPerLine())};

    for (;;) {
        const JxlDecoderStatus status = JxlDecoderProcessInput(decoder);
        if (status == JXL_DEC_NEED_IMAGE_OUT_BUFFER) {
            size_t needed = 0;
            if (JxlDecoderImageOutBufferSize(decoder, &pixelFormat, &needed) != JXL_DEC_SUCCESS
                || needed > size_t(result.sizeInBytes())
                || JxlDecoderSetImageOutBuffer(decoder, &pixelFormat, result.bits(),
                                               size_t(result.sizeInBytes()))
                       != JXL_DEC_SUCCESS)
                return false;
        } else if (status == JXL_DEC_FULL_IMAGE) {
            break; // the first frame is all we want
        } else {
            return false; // errors, and input that ends before the first frame does
        }
    }

    decoding.applyColours(&result);
    if (decoding.viaWideGamut() && !deep)
        result.convertTo(m_alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    *image = result;
    m_state = State::Finished;
    return true;
}

bool JxlHandler::write(const QImage &image)
{
    if (image.isNull() || !device())
        return false;
    const bool lossless = m_quality >= 100;
    // Lossless keeps every sample a deeper picture has; lossy files are
    // written in 8 bits, the loss below what the encoder throws away anyway.
    // (For grey formats Qt counts the grey as the first, red, channel.)
    const TileLayout layout{image.hasAlphaChannel(), lossless && image.pixelFormat().redSize() > 8};
    Encoder encoder;
    if (!encoder.start() || !setPictureInfo(encoder.get(), image.size(), layout, lossless)
        || !setColours(encoder.get(), image.colorSpace(), m_metadata.icc))
        return false;
    addMetadataBoxes(encoder.get(), m_metadata);
    JxlEncoderFrameSettings *settings = frameSettings(encoder.get(), lossless, m_quality);
    return settings && writeTiles(encoder.get(), settings, image, layout, device());
}

bool writeJxlFromJpeg(const JpegForJxl &source, QIODevice *device)
{
    Encoder encoder;
    if (!encoder.start())
        return false;
    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = uint32_t(source.size.width());
    info.ysize = uint32_t(source.size.height());
    info.num_color_channels = source.grey ? 1 : 3;
    info.uses_original_profile = JXL_TRUE;
    info.orientation = source.orientation >= 1 && source.orientation <= 8 ? JxlOrientation(source.orientation)
                                                                          : JXL_ORIENT_IDENTITY;
    if (JxlEncoderSetBasicInfo(encoder.get(), &info) != JXL_ENC_SUCCESS
        || JxlEncoderStoreJPEGMetadata(encoder.get(), JXL_TRUE) != JXL_ENC_SUCCESS)
        return false;
    JxlEncoderFrameSettings *settings = JxlEncoderFrameSettingsCreate(encoder.get(), nullptr);
    if (!settings
        || JxlEncoderFrameSettingsSetOption(settings, JXL_ENC_FRAME_SETTING_EFFORT, encoderEffort) != JXL_ENC_SUCCESS
        || JxlEncoderAddJPEGFrame(settings, reinterpret_cast<const uint8_t *>(source.jpeg.constData()),
                                  size_t(source.jpeg.size()))
               != JXL_ENC_SUCCESS)
        return false;
    JxlEncoderCloseInput(encoder.get());
    return writeOutput(encoder.get(), device);
}

QVariant JxlHandler::option(ImageOption option) const
{
    auto *self = const_cast<JxlHandler *>(this);
    const auto known = [&] { return m_state == State::Finished || self->parseHeader(); };
    switch (option) {
    case Size:
        return known() ? QVariant(m_size) : QVariant();
    case ImageTransformation:
        return known() ? QVariant(int(transformationForOrientation(m_orientation))) : QVariant();
    case Quality:
        return m_quality;
    case Description:
        // Read only to say why a picture is refused.
        if (!known() && m_blackChannel)
            return QStringLiteral("%1: yes").arg(QLatin1String(RefusalText::blackChannel));
        return {};
    default:
        return {};
    }
}

void JxlHandler::setOption(ImageOption option, const QVariant &value)
{
    if (option == Quality)
        m_quality = value.toInt();
    else if (option == Description)
        m_metadata = encoderMetadataFromDescription(value.toString());
}

bool JxlHandler::supportsOption(ImageOption option) const
{
    return option == Size || option == ImageTransformation || option == Quality || option == Description;
}
