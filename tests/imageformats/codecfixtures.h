#pragma once
// Fixtures that the program's writers cannot make: files carrying an
// orientation, and headers declaring absurd sizes. Made through the real
// encoders where there is one, patched by hand where there is not.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

#include <jxl/encode.h>
#include <libheif/heif.h>

#include <cstring>
#include <memory>

namespace codecfixtures {

// Mean absolute difference per channel, alpha included; lossy codecs miss
// single pixels at sharp edges by a lot, so the mean is what tells a decoder
// fault from coding noise. 255 when the sizes differ.
inline double meanChannelDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return 255;
    const QImage ca = a.convertToFormat(QImage::Format_ARGB32);
    const QImage cb = b.convertToFormat(QImage::Format_ARGB32);
    double total = 0;
    for (int y = 0; y < ca.height(); ++y) {
        const auto *la = reinterpret_cast<const QRgb *>(ca.constScanLine(y));
        const auto *lb = reinterpret_cast<const QRgb *>(cb.constScanLine(y));
        for (int x = 0; x < ca.width(); ++x) {
            total += qAbs(qRed(la[x]) - qRed(lb[x])) + qAbs(qGreen(la[x]) - qGreen(lb[x]))
                     + qAbs(qBlue(la[x]) - qBlue(lb[x])) + qAbs(qAlpha(la[x]) - qAlpha(lb[x]));
        }
    }
    return total / (4.0 * ca.width() * ca.height());
}

inline QByteArray encodeWithQt(const QImage &image, const QByteArray &format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    return writer.write(image) ? bytes : QByteArray();
}

// HEIF or AVIF whose irot/imir boxes say: show the stored pixels with this EXIF-style orientation.
inline QByteArray encodeHeifWithOrientation(const QImage &image, bool av1, int orientation)
{
    heif_init(nullptr);
    std::unique_ptr<heif_context, void (*)(heif_context *)> context(heif_context_alloc(), heif_context_free);
    heif_encoder *encoder = nullptr;
    heif_context_get_encoder_for_format(context.get(), av1 ? heif_compression_AV1 : heif_compression_HEVC, &encoder);
    if (!encoder)
        return {};
    heif_encoder_set_lossy_quality(encoder, 90);
    if (av1)
        heif_encoder_set_parameter_integer(encoder, "speed", 9);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    heif_image *picture = nullptr;
    heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &picture);
    heif_image_add_plane(picture, heif_channel_interleaved, rgb.width(), rgb.height(), 8);
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(picture, heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(plane + y * stride, rgb.constScanLine(y), size_t(rgb.width()) * 3);
    heif_encoding_options *options = heif_encoding_options_alloc();
    options->image_orientation = heif_orientation(orientation);
    heif_context_encode_image(context.get(), picture, encoder, options, nullptr);
    heif_encoding_options_free(options);
    heif_image_release(picture);
    heif_encoder_release(encoder);

    QByteArray bytes;
    heif_writer writer{};
    writer.writer_api_version = 1;
    writer.write = [](heif_context *, const void *data, size_t size, void *userData) {
        static_cast<QByteArray *>(userData)->append(static_cast<const char *>(data), qsizetype(size));
        return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
    };
    heif_context_write(context.get(), &writer, &bytes);
    return bytes;
}

// A 10-bit HEIF or AVIF, as cameras and phones write them.
inline QByteArray encodeHeifTenBit(const QImage &image, bool av1)
{
    heif_init(nullptr);
    std::unique_ptr<heif_context, void (*)(heif_context *)> context(heif_context_alloc(), heif_context_free);
    heif_encoder *encoder = nullptr;
    heif_context_get_encoder_for_format(context.get(), av1 ? heif_compression_AV1 : heif_compression_HEVC, &encoder);
    if (!encoder)
        return {};
    heif_encoder_set_lossy_quality(encoder, 90);
    if (av1)
        heif_encoder_set_parameter_integer(encoder, "speed", 9);
    const QImage deep = image.convertToFormat(QImage::Format_RGBX64);
    heif_image *picture = nullptr;
    heif_image_create(deep.width(), deep.height(), heif_colorspace_RGB, heif_chroma_interleaved_RRGGBB_LE, &picture);
    heif_image_add_plane(picture, heif_channel_interleaved, deep.width(), deep.height(), 10);
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(picture, heif_channel_interleaved, &stride);
    for (int y = 0; y < deep.height(); ++y) {
        const auto *source = reinterpret_cast<const quint16 *>(deep.constScanLine(y));
        auto *target = reinterpret_cast<quint16 *>(plane + y * stride);
        for (int x = 0; x < deep.width(); ++x)
            for (int c = 0; c < 3; ++c)
                target[3 * x + c] = qToLittleEndian(quint16(source[4 * x + c] >> 6));
    }
    heif_context_encode_image(context.get(), picture, encoder, nullptr, nullptr);
    heif_image_release(picture);
    heif_encoder_release(encoder);

    QByteArray bytes;
    heif_writer writer{};
    writer.writer_api_version = 1;
    writer.write = [](heif_context *, const void *data, size_t size, void *userData) {
        static_cast<QByteArray *>(userData)->append(static_cast<const char *>(data), qsizetype(size));
        return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
    };
    heif_context_write(context.get(), &writer, &bytes);
    return bytes;
}

// A lossless JPEG XL codestream with the given orientation in its header.
inline QByteArray encodeJxlWithOrientation(const QImage &image, int orientation)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::unique_ptr<JxlEncoder, void (*)(JxlEncoder *)> encoder(JxlEncoderCreate(nullptr), JxlEncoderDestroy);
    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = uint32_t(rgb.width());
    info.ysize = uint32_t(rgb.height());
    info.bits_per_sample = 8;
    info.num_color_channels = 3;
    info.uses_original_profile = JXL_TRUE;
    info.orientation = JxlOrientation(orientation);
    JxlEncoderSetBasicInfo(encoder.get(), &info);
    JxlColorEncoding srgb;
    JxlColorEncodingSetToSRGB(&srgb, JXL_FALSE);
    JxlEncoderSetColorEncoding(encoder.get(), &srgb);
    JxlEncoderFrameSettings *settings = JxlEncoderFrameSettingsCreate(encoder.get(), nullptr);
    JxlEncoderSetFrameLossless(settings, JXL_TRUE);
    JxlEncoderFrameSettingsSetOption(settings, JXL_ENC_FRAME_SETTING_EFFORT, 1);
    const JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, size_t(rgb.bytesPerLine())};
    if (JxlEncoderAddImageFrame(settings, &format, rgb.constBits(), size_t(rgb.sizeInBytes())) != JXL_ENC_SUCCESS)
        return {};
    JxlEncoderCloseInput(encoder.get());
    QByteArray bytes(1 << 20, Qt::Uninitialized);
    auto *next = reinterpret_cast<uint8_t *>(bytes.data());
    size_t available = size_t(bytes.size());
    if (JxlEncoderProcessOutput(encoder.get(), &next, &available) != JXL_ENC_SUCCESS)
        return {};
    bytes.truncate(bytes.size() - qsizetype(available));
    return bytes;
}

// A lossless grey JPEG XL, with or without alpha (taken from the image).
inline QByteArray encodeJxlGrey(const QImage &image, bool withAlpha)
{
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    QByteArray samples;
    for (int y = 0; y < rgba.height(); ++y) {
        for (int x = 0; x < rgba.width(); ++x) {
            const QRgb pixel = rgba.pixel(x, y);
            samples.append(char(qGray(pixel)));
            if (withAlpha)
                samples.append(char(qAlpha(pixel)));
        }
    }
    std::unique_ptr<JxlEncoder, void (*)(JxlEncoder *)> encoder(JxlEncoderCreate(nullptr), JxlEncoderDestroy);
    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = uint32_t(rgba.width());
    info.ysize = uint32_t(rgba.height());
    info.bits_per_sample = 8;
    info.num_color_channels = 1;
    info.alpha_bits = withAlpha ? 8 : 0;
    info.num_extra_channels = withAlpha ? 1 : 0;
    info.uses_original_profile = JXL_TRUE;
    JxlEncoderSetBasicInfo(encoder.get(), &info);
    JxlColorEncoding grey;
    JxlColorEncodingSetToSRGB(&grey, JXL_TRUE);
    JxlEncoderSetColorEncoding(encoder.get(), &grey);
    JxlEncoderFrameSettings *settings = JxlEncoderFrameSettingsCreate(encoder.get(), nullptr);
    JxlEncoderSetFrameLossless(settings, JXL_TRUE);
    JxlEncoderFrameSettingsSetOption(settings, JXL_ENC_FRAME_SETTING_EFFORT, 1);
    const JxlPixelFormat format{withAlpha ? 2u : 1u, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    if (JxlEncoderAddImageFrame(settings, &format, samples.constData(), size_t(samples.size())) != JXL_ENC_SUCCESS)
        return {};
    JxlEncoderCloseInput(encoder.get());
    QByteArray bytes(1 << 20, Qt::Uninitialized);
    auto *next = reinterpret_cast<uint8_t *>(bytes.data());
    size_t available = size_t(bytes.size());
    if (JxlEncoderProcessOutput(encoder.get(), &next, &available) != JXL_ENC_SUCCESS)
        return {};
    bytes.truncate(bytes.size() - qsizetype(available));
    return bytes;
}

// Inserts an EXIF block with an orientation tag right after the JPEG's SOI marker.
inline QByteArray jpegWithExifOrientation(const QByteArray &jpeg, int orientation)
{
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    auto put16 = [&](quint16 v) { tiff.append(char(v & 0xff)).append(char(v >> 8)); };
    auto put32 = [&](quint32 v) { put16(quint16(v & 0xffff)); put16(quint16(v >> 16)); };
    put16(1);                      // one entry
    put16(0x0112);                 // Orientation
    put16(3);                      // SHORT
    put32(1);                      // one value
    put16(quint16(orientation));   // the value, padded to four bytes
    put16(0);
    put32(0);                      // no next IFD
    QByteArray app1 = QByteArray("Exif\0\0", 6) + tiff;
    const quint16 length = quint16(app1.size() + 2);
    QByteArray segment("\xff\xe1", 2);
    segment.append(char(length >> 8)).append(char(length & 0xff)).append(app1);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

// Rewrites every 'ispe' box (the stored image size) of a HEIF file.
inline QByteArray heifDeclaringSize(QByteArray heif, quint32 width, quint32 height)
{
    for (qsizetype at = heif.indexOf("ispe"); at >= 0; at = heif.indexOf("ispe", at + 4)) {
        if (at + 16 > heif.size())
            break;
        qToBigEndian(width, heif.data() + at + 8);
        qToBigEndian(height, heif.data() + at + 12);
    }
    return heif;
}

// Rewrites the frame size of a baseline or progressive JPEG.
inline QByteArray jpegDeclaringSize(QByteArray jpeg, quint16 width, quint16 height)
{
    for (qsizetype at = 2; at + 9 < jpeg.size();) {
        const uchar marker = uchar(jpeg.at(at + 1));
        if (marker == 0xc0 || marker == 0xc2) {
            qToBigEndian(height, jpeg.data() + at + 5);
            qToBigEndian(width, jpeg.data() + at + 7);
            return jpeg;
        }
        at += 2 + qFromBigEndian<quint16>(jpeg.constData() + at + 2);
    }
    return {};
}

inline quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xffffffffu;
    for (char c : data) {
        crc ^= uchar(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// Rewrites the IHDR size of a PNG, with a valid checksum.
inline QByteArray pngDeclaringSize(QByteArray png, quint32 width, quint32 height)
{
    const qsizetype at = png.indexOf("IHDR");
    if (at < 0)
        return {};
    qToBigEndian(width, png.data() + at + 4);
    qToBigEndian(height, png.data() + at + 8);
    qToBigEndian(crc32(png.mid(at, 4 + 13)), png.data() + at + 4 + 13);
    return png;
}

// A bare JPEG XL codestream header (size and default metadata) declaring a
// size, with no frame after it.
inline QByteArray jxlHeaderDeclaringSize(quint32 width, quint32 height)
{
    QByteArray bytes("\xff\x0a", 2);
    quint64 bits = 0;
    int used = 0;
    auto put = [&](quint64 value, int count) {
        bits |= value << used;
        used += count;
    };
    // Sizes up to 2^18 take selector 2 and 18 bits.
    put(0, 1);           // not a small (multiple of 8) size
    put(2, 2);
    put(height - 1, 18);
    put(0, 3);           // no aspect ratio: the width follows
    put(2, 2);
    put(width - 1, 18);
    put(1, 1);           // image metadata: all default
    for (int i = 0; i < (used + 7) / 8; ++i)
        bytes.append(char((bits >> (8 * i)) & 0xff));
    return bytes + QByteArray(64, '\0');
}

} // namespace codecfixtures
