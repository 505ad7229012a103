#pragma once
// Files the program's writers never make (orientations, 10-bit and grey
// samples, absurd declared sizes): real encoders where there is one, patched by hand where not.

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

inline QByteArray encodeWithQt(const QImage &image, const QByteArray &format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    return writer.write(image) ? bytes : QByteArray();
}

// HEIF or AVIF through libheif, with irot/imir boxes or 10-bit samples; an
// 8-bit Grayscale8 picture as one grey plane; nclx: how the file describes its colours.
inline QByteArray encodeHeif(const QImage &image, bool av1, int orientation = 1, int bits = 8,
                             heif_color_profile_nclx *nclx = nullptr, const QImage &beside = QImage())
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
    const bool deep = bits > 8;
    const bool grey = image.format() == QImage::Format_Grayscale8;
    const int samples = grey ? 1 : 3;
    const QImage rgb = grey ? image : image.convertToFormat(deep ? QImage::Format_RGBX64 : QImage::Format_RGB888);
    heif_image *picture = nullptr;
    heif_image_create(rgb.width(), rgb.height(), grey ? heif_colorspace_monochrome : heif_colorspace_RGB,
                      grey ? heif_chroma_monochrome
                           : (deep ? heif_chroma_interleaved_RRGGBB_LE : heif_chroma_interleaved_RGB),
                      &picture);
    const heif_channel channel = grey ? heif_channel_Y : heif_channel_interleaved;
    heif_image_add_plane(picture, channel, rgb.width(), rgb.height(), bits);
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(picture, channel, &stride);
    for (int y = 0; y < rgb.height(); ++y) {
        if (!deep) {
            std::memcpy(plane + y * stride, rgb.constScanLine(y), size_t(rgb.width()) * samples);
            continue;
        }
        const auto *source = reinterpret_cast<const quint16 *>(rgb.constScanLine(y));
        auto *target = reinterpret_cast<quint16 *>(plane + y * stride);
        for (int x = 0; x < rgb.width(); ++x)
            for (int c = 0; c < 3; ++c)
                target[3 * x + c] = qToLittleEndian(quint16(source[4 * x + c] >> (16 - bits)));
    }
    if (nclx)
        heif_image_set_nclx_color_profile(picture, nclx);
    heif_encoding_options *options = heif_encoding_options_alloc();
    options->image_orientation = heif_orientation(orientation);
    // libheif leaves the nclx box out of HEVC files unless told otherwise.
    options->macOS_compatibility_workaround_no_nclx_profile = nclx == nullptr;
    heif_context_encode_image(context.get(), picture, encoder, options, nullptr);
    heif_encoding_options_free(options);
    heif_image_release(picture);
    // A second picture beside the primary one, as a camera's burst keeps them.
    if (!beside.isNull()) {
        const QImage second = beside.convertToFormat(QImage::Format_RGB888);
        heif_image_create(second.width(), second.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &picture);
        heif_image_add_plane(picture, heif_channel_interleaved, second.width(), second.height(), 8);
        plane = heif_image_get_plane(picture, heif_channel_interleaved, &stride);
        for (int y = 0; y < second.height(); ++y)
            std::memcpy(plane + y * stride, second.constScanLine(y), size_t(second.width()) * 3);
        heif_context_encode_image(context.get(), picture, encoder, nullptr, nullptr);
        heif_image_release(picture);
    }
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

// A lossless JPEG XL codestream with an orientation, or grey samples (with or without
// alpha); or the picture as a cropped layer of a larger declared canvas; or
// with a black channel beside the colours, as CMYK keeps its K. Given ticks,
// an animation looping forever, each frame shown for its ticks at 100 a
// second, written 1000/10 so that a reader must use both terms.
inline QByteArray encodeJxlFrames(const QList<QImage> &frames, const QList<uint32_t> &ticks, int orientation,
                                  bool grey = false, bool withAlpha = false, const QSize &canvas = QSize(),
                                  bool withBlack = false)
{
    const QSize size = frames.first().size();
    const QList<int> channels = grey ? (withAlpha ? QList<int>{0, 3} : QList<int>{0}) : QList<int>{0, 1, 2};
    std::unique_ptr<JxlEncoder, void (*)(JxlEncoder *)> encoder(JxlEncoderCreate(nullptr), JxlEncoderDestroy);
    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = uint32_t(canvas.isValid() ? canvas.width() : size.width());
    info.ysize = uint32_t(canvas.isValid() ? canvas.height() : size.height());
    info.bits_per_sample = 8;
    info.num_color_channels = grey ? 1 : 3;
    info.alpha_bits = withAlpha ? 8 : 0;
    info.num_extra_channels = (withAlpha ? 1 : 0) + (withBlack ? 1 : 0);
    info.uses_original_profile = JXL_TRUE;
    info.orientation = JxlOrientation(orientation);
    info.have_animation = ticks.isEmpty() ? JXL_FALSE : JXL_TRUE;
    info.animation.tps_numerator = 1000;
    info.animation.tps_denominator = 10;
    JxlEncoderSetBasicInfo(encoder.get(), &info);
    const uint32_t blackIndex = withAlpha ? 1 : 0;
    if (withBlack) {
        JxlExtraChannelInfo black;
        JxlEncoderInitExtraChannelInfo(JXL_CHANNEL_BLACK, &black);
        black.bits_per_sample = 8;
        JxlEncoderSetExtraChannelInfo(encoder.get(), blackIndex, &black);
    }
    JxlColorEncoding colour;
    JxlColorEncodingSetToSRGB(&colour, grey ? JXL_TRUE : JXL_FALSE);
    JxlEncoderSetColorEncoding(encoder.get(), &colour);
    JxlEncoderFrameSettings *settings = JxlEncoderFrameSettingsCreate(encoder.get(), nullptr);
    JxlEncoderSetFrameLossless(settings, JXL_TRUE);
    JxlEncoderFrameSettingsSetOption(settings, JXL_ENC_FRAME_SETTING_EFFORT, 1);
    for (qsizetype i = 0; i < frames.size(); ++i) {
        // Grey samples take the red channel: the grey fixtures are grey already.
        const QImage rgba = frames.at(i).convertToFormat(QImage::Format_RGBA8888);
        QByteArray samples;
        for (const uchar *pixel = rgba.constBits(); pixel < rgba.constBits() + rgba.sizeInBytes(); pixel += 4)
            for (const int channel : channels)
                samples.append(char(pixel[channel]));
        JxlFrameHeader frame;
        JxlEncoderInitFrameHeader(&frame);
        frame.duration = ticks.value(i);
        frame.layer_info.have_crop = canvas.isValid() ? JXL_TRUE : JXL_FALSE;
        frame.layer_info.xsize = uint32_t(rgba.width());
        frame.layer_info.ysize = uint32_t(rgba.height());
        JxlEncoderSetFrameHeader(settings, &frame);
        const JxlPixelFormat format{uint32_t(channels.size()), JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
        if (JxlEncoderAddImageFrame(settings, &format, samples.constData(), size_t(samples.size())) != JXL_ENC_SUCCESS)
            return {};
        const QByteArray black(qsizetype(rgba.width()) * rgba.height(), '\x40');
        const JxlPixelFormat blackFormat{1, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
        if (withBlack
            && JxlEncoderSetExtraChannelBuffer(settings, &blackFormat, black.constData(), size_t(black.size()), blackIndex)
                   != JXL_ENC_SUCCESS)
            return {};
    }
    JxlEncoderCloseInput(encoder.get());
    QByteArray bytes(1 << 20, Qt::Uninitialized);
    auto *next = reinterpret_cast<uint8_t *>(bytes.data());
    size_t available = size_t(bytes.size());
    if (JxlEncoderProcessOutput(encoder.get(), &next, &available) != JXL_ENC_SUCCESS)
        return {};
    bytes.truncate(bytes.size() - qsizetype(available));
    return bytes;
}

inline QByteArray encodeJxl(const QImage &image, int orientation, bool grey = false, bool withAlpha = false,
                            const QSize &canvas = QSize(), bool withBlack = false)
{
    return encodeJxlFrames({image}, {}, orientation, grey, withAlpha, canvas, withBlack);
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

} // namespace codecfixtures
