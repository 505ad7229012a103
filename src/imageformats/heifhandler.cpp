#include "heifhandler.h"

#include "codedinput.h"
#include "encoderthreads.h"

#include <QColorSpace>
#include <QDebug>
#include <QIODevice>
#include <QList>
#include <QImage>
#include <QVariant>
#include <QtEndian>

#include <libheif/heif.h>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

// Batch defaults: good visual quality (about 45 dB on a 12 MP photo) in a
// few seconds. For still pictures x265's faster presets give nearly the same
// size at the same quality as its default "slow", in a tenth of the time.
constexpr int defaultHevcQuality = 60;
constexpr const char *hevcPreset = "ultrafast";
constexpr int defaultAv1Quality = 70;
constexpr int av1Speed = 8;

// The brands that announce an image sequence or a still image of each codec.
constexpr const char *heicBrands[] = {"heic", "heix", "heim", "heis", "hevc", "hevx"};
constexpr const char *avifBrands[] = {"avif", "avis"};
constexpr const char *heifBrands[] = {"mif1", "msf1"};
// The brands of image sequences (AVIF, HEIF and HEVC ones), which libheif
// 1.15 reads only through a still image stored beside the sequence.
constexpr const char *sequenceBrands[] = {"avis", "msf1", "hevc", "hevx", "hevm", "hevs"};

void ensureLibraryInitialised()
{
    static std::once_flag once;
    std::call_once(once, [] { heif_init(nullptr); });
}

template<std::size_t N>
bool isOneOf(const QByteArray &brand, const char *const (&brands)[N])
{
    for (const char *b : brands) {
        if (brand == b)
            return true;
    }
    return false;
}

bool succeeded(const heif_error &error)
{
    return error.code == heif_error_Ok;
}

struct ImageDeleter {
    void operator()(heif_image *image) const { heif_image_release(image); }
};
using ImagePtr = std::unique_ptr<heif_image, ImageDeleter>;

struct EncoderDeleter {
    void operator()(heif_encoder *encoder) const { heif_encoder_release(encoder); }
};

QImage::Format imageFormatFor(const heif_image_handle *handle)
{
    const bool alpha = heif_image_handle_has_alpha_channel(handle);
    const bool premultiplied = heif_image_handle_is_premultiplied_alpha(handle);
    if (heif_image_handle_get_luma_bits_per_pixel(handle) > 8) {
        if (!alpha)
            return QImage::Format_RGBX64;
        return premultiplied ? QImage::Format_RGBA64_Premultiplied : QImage::Format_RGBA64;
    }
    if (!alpha)
        return QImage::Format_RGB888;
    return premultiplied ? QImage::Format_RGBA8888_Premultiplied : QImage::Format_RGBA8888;
}

heif_chroma chromaFor(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGBX64:
        return heif_chroma_interleaved_RRGGBB_LE;
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied:
        return heif_chroma_interleaved_RRGGBBAA_LE;
    case QImage::Format_RGB888:
        return heif_chroma_interleaved_RGB;
    default:
        return heif_chroma_interleaved_RGBA;
    }
}

QColorSpace colorSpaceOf(const heif_image_handle *handle)
{
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
    if (type == heif_color_profile_type_prof || type == heif_color_profile_type_rICC) {
        QByteArray icc(qsizetype(heif_image_handle_get_raw_color_profile_size(handle)), Qt::Uninitialized);
        if (icc.isEmpty() || !succeeded(heif_image_handle_get_raw_color_profile(handle, icc.data())))
            return {};
        return QColorSpace::fromIccProfile(icc);
    }
    if (type != heif_color_profile_type_nclx)
        return {};
    heif_color_profile_nclx *nclx = nullptr;
    // An unknown colour description is an error that still hands out a profile.
    if (!succeeded(heif_image_handle_get_nclx_color_profile(handle, &nclx)) || !nclx) {
        heif_nclx_color_profile_free(nclx);
        return {};
    }
    QColorSpace space;
    const bool srgbTransfer = nclx->transfer_characteristics == heif_transfer_characteristic_IEC_61966_2_1;
    const bool linearTransfer = nclx->transfer_characteristics == heif_transfer_characteristic_linear;
    if (nclx->color_primaries == heif_color_primaries_ITU_R_BT_709_5 && srgbTransfer)
        space = QColorSpace(QColorSpace::SRgb);
    else if (nclx->color_primaries == heif_color_primaries_ITU_R_BT_709_5 && linearTransfer)
        space = QColorSpace(QColorSpace::SRgbLinear);
    else if (nclx->color_primaries == heif_color_primaries_SMPTE_EG_432_1 && srgbTransfer)
        space = QColorSpace(QColorSpace::DisplayP3);
    heif_nclx_color_profile_free(nclx);
    return space;
}

// Widens samples of 9 to 16 significant bits to the full 16-bit range.
inline quint16 widen(quint16 value, int bits)
{
    if (bits >= 16)
        return value;
    return quint16((value << (16 - bits)) | (value >> (2 * bits - 16)));
}

void copyPixels(const heif_image *decoded, QImage &target)
{
    int stride = 0;
    const uint8_t *plane = heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
    const int width = target.width();
    if (target.depth() == 64) {
        const int bits = qBound(9, heif_image_get_bits_per_pixel_range(decoded, heif_channel_interleaved), 16);
        const bool hasAlpha = target.format() != QImage::Format_RGBX64;
        const int sourceChannels = hasAlpha ? 4 : 3;
        for (int y = 0; y < target.height(); ++y) {
            const auto *source = reinterpret_cast<const quint16 *>(plane + qsizetype(y) * stride);
            auto *line = reinterpret_cast<quint16 *>(target.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const quint16 *pixel = source + x * sourceChannels;
                line[4 * x + 0] = widen(qFromLittleEndian(pixel[0]), bits);
                line[4 * x + 1] = widen(qFromLittleEndian(pixel[1]), bits);
                line[4 * x + 2] = widen(qFromLittleEndian(pixel[2]), bits);
                line[4 * x + 3] = hasAlpha ? widen(qFromLittleEndian(pixel[3]), bits) : 0xffff;
            }
        }
        return;
    }
    const qsizetype rowBytes = qsizetype(width) * (target.depth() / 8);
    for (int y = 0; y < target.height(); ++y)
        std::memcpy(target.scanLine(y), plane + qsizetype(y) * stride, rowBytes);
}

// The major brand first, then the compatible ones; none when the bytes do
// not open with a file type box.
QList<QByteArray> brandsOf(const QByteArray &header)
{
    if (header.size() < 16 || header.mid(4, 4) != "ftyp")
        return {};
    const quint32 boxSize = qFromBigEndian<quint32>(header.constData());
    if (boxSize < 16 || boxSize % 4 != 0)
        return {};
    QList<QByteArray> brands{header.mid(8, 4)};
    const qsizetype end = qMin<qsizetype>(boxSize, header.size());
    for (qsizetype at = 16; at + 4 <= end; at += 4)
        brands << header.mid(at, 4);
    return brands;
}

heif_error writeToDevice(heif_context *, const void *data, size_t size, void *userData)
{
    auto *device = static_cast<QIODevice *>(userData);
    if (device->write(static_cast<const char *>(data), qint64(size)) != qint64(size))
        return {heif_error_Encoding_error, heif_suberror_Cannot_write_output_data, "cannot write the output"};
    return {heif_error_Ok, heif_suberror_Unspecified, ""};
}

} // namespace

void HeifHandler::ContextDeleter::operator()(heif_context *context) const { heif_context_free(context); }
void HeifHandler::HandleDeleter::operator()(heif_image_handle *handle) const { heif_image_handle_release(handle); }

HeifHandler::HeifHandler() = default;
HeifHandler::~HeifHandler() = default;

QByteArray HeifHandler::formatFromHeader(const QByteArray &header)
{
    const QList<QByteArray> brands = brandsOf(header);
    if (brands.isEmpty())
        return {};
    const QByteArray &major = brands.first();
    if (isOneOf(major, avifBrands))
        return "avif";
    if (isOneOf(major, heicBrands))
        return "heic";
    bool generic = false;
    bool heic = false;
    for (const QByteArray &brand : brands) {
        if (isOneOf(brand, avifBrands))
            return "avif";
        heic = heic || isOneOf(brand, heicBrands);
        generic = generic || isOneOf(brand, heifBrands);
    }
    if (heic)
        return "heic";
    return generic ? QByteArray("heif") : QByteArray();
}

bool HeifHandler::isImageSequence(const QByteArray &header)
{
    const QList<QByteArray> brands = brandsOf(header);
    return std::any_of(brands.cbegin(), brands.cend(), [](const QByteArray &brand) { return isOneOf(brand, sequenceBrands); });
}

bool HeifHandler::canRead(QIODevice *device)
{
    return device && !formatFromHeader(device->peek(headerPeekBytes)).isEmpty();
}

bool HeifHandler::canRead() const
{
    if (m_state == State::Parsed)
        return true;
    if (m_state != State::Unread || !device())
        return false;
    const QByteArray format = formatFromHeader(device()->peek(headerPeekBytes));
    if (format.isEmpty())
        return false;
    setFormat(format);
    return true;
}

bool HeifHandler::parseHeader()
{
    if (m_state != State::Unread)
        return m_state == State::Parsed;
    m_state = State::Failed;
    if (!device())
        return false;
    if (!readCodedInput(device(), &m_data))
        return false;
    if (formatFromHeader(m_data.left(headerPeekBytes)).isEmpty())
        return false;

    ensureLibraryInitialised();
    m_context.reset(heif_context_alloc());
    if (!m_context)
        return false;
    // Reads the boxes only; the pixels stay coded until read().
    if (!succeeded(heif_context_read_from_memory_without_copy(m_context.get(), m_data.constData(),
                                                              size_t(m_data.size()), nullptr)))
        return false;
    heif_image_handle *handle = nullptr;
    if (!succeeded(heif_context_get_primary_image_handle(m_context.get(), &handle)) || !handle)
        return false;
    m_handle.reset(handle);
    m_size = QSize(heif_image_handle_get_width(handle), heif_image_handle_get_height(handle));
    if (m_size.isEmpty())
        return false;
    m_state = State::Parsed;
    return true;
}

bool HeifHandler::read(QImage *image)
{
    if (!parseHeader())
        return false;
    m_state = State::Failed;

    const QImage::Format format = imageFormatFor(m_handle.get());
    QImage result;
    // Refuses images above the reader's allocation limit before anything is decoded.
    if (!allocateImage(m_size, format, &result))
        return false;

    heif_decoding_options *options = heif_decoding_options_alloc();
    heif_image *decodedRaw = nullptr;
    const heif_error error = heif_decode_image(m_handle.get(), &decodedRaw, heif_colorspace_RGB,
                                               chromaFor(format), options);
    heif_decoding_options_free(options);
    ImagePtr decoded(decodedRaw);
    if (!succeeded(error) || !decoded)
        return false;
    const QSize decodedSize(heif_image_get_width(decoded.get(), heif_channel_interleaved),
                            heif_image_get_height(decoded.get(), heif_channel_interleaved));
    if (decodedSize != m_size && !allocateImage(decodedSize, format, &result))
        return false;
    int stride = 0;
    if (!heif_image_get_plane_readonly(decoded.get(), heif_channel_interleaved, &stride))
        return false;

    copyPixels(decoded.get(), result);
    const QColorSpace space = colorSpaceOf(m_handle.get());
    if (space.isValid())
        result.setColorSpace(space);
    *image = result;
    m_state = State::Finished;
    return true;
}

bool HeifHandler::write(const QImage &image)
{
    if (image.isNull() || !device())
        return false;
    const bool av1 = format().toLower() == "avif";
    ensureLibraryInitialised();

    std::unique_ptr<heif_context, ContextDeleter> context(heif_context_alloc());
    heif_encoder *encoderRaw = nullptr;
    if (!context
        || !succeeded(heif_context_get_encoder_for_format(context.get(),
                                                          av1 ? heif_compression_AV1 : heif_compression_HEVC,
                                                          &encoderRaw)))
        return false;
    std::unique_ptr<heif_encoder, EncoderDeleter> encoder(encoderRaw);

    const int quality = (m_quality >= 0 && m_quality <= 100) ? m_quality
                                                             : (av1 ? defaultAv1Quality : defaultHevcQuality);
    heif_encoder_set_lossy_quality(encoder.get(), quality);
    if (av1)
        heif_encoder_set_parameter_integer(encoder.get(), "speed", av1Speed);
    else
        heif_encoder_set_parameter_string(encoder.get(), "preset", hevcPreset);
    // A still picture is one frame: more frame encoders only hold more memory,
    // as many as x265 picks for the machine's cores.
    if (!av1)
        heif_encoder_set_parameter_string(encoder.get(), "x265:frame-threads", "1");
    if (const int threads = codecThreadCount(); threads > 0) {
        if (av1)
            heif_encoder_set_parameter_integer(encoder.get(), "threads", threads);
        else
            heif_encoder_set_parameter_string(encoder.get(), "x265:pools", QByteArray::number(threads).constData());
    }

    const bool alpha = image.hasAlphaChannel();
    const int width = image.width();
    const int height = image.height();
    heif_image *pictureRaw = nullptr;
    if (!succeeded(heif_image_create(width, height, heif_colorspace_RGB,
                                     alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                                     &pictureRaw)))
        return false;
    ImagePtr picture(pictureRaw);
    if (!succeeded(heif_image_add_plane(picture.get(), heif_channel_interleaved, width, height, 8)))
        return false;
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(picture.get(), heif_channel_interleaved, &stride);
    if (!plane)
        return false;
    // Converted a band of rows at a time straight into libheif's plane, so the
    // encoder's input costs no second picture-sized copy.
    const QImage::Format planeFormat = alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888;
    const qsizetype rowBytes = qsizetype(width) * (alpha ? 4 : 3);
    constexpr int bandRows = 64;
    for (int top = 0; top < height; top += bandRows) {
        const int rows = qMin(bandRows, height - top);
        QImage band(image.constScanLine(top), width, rows, image.bytesPerLine(), image.format());
        band.setColorTable(image.colorTable());
        band = band.convertToFormat(planeFormat);
        for (int y = 0; y < rows; ++y)
            std::memcpy(plane + qsizetype(top + y) * stride, band.constScanLine(y), rowBytes);
    }

    // sRGB is what a reader assumes anyway; any other space travels as ICC,
    // and so does a profile the picture came with but Qt could not parse.
    const QColorSpace space = image.colorSpace();
    const QByteArray icc = !space.isValid()                         ? m_metadata.icc
                           : space != QColorSpace(QColorSpace::SRgb) ? space.iccProfile()
                                                                     : QByteArray();
    if (!icc.isEmpty())
        heif_image_set_raw_color_profile(picture.get(), "prof", icc.constData(), size_t(icc.size()));

    heif_encoding_options *options = heif_encoding_options_alloc();
    options->save_alpha_channel = alpha;
    heif_image_handle *handleRaw = nullptr;
    const heif_error encoded = heif_context_encode_image(context.get(), picture.get(), encoder.get(), options, &handleRaw);
    heif_encoding_options_free(options);
    const std::unique_ptr<heif_image_handle, HandleDeleter> handle(handleRaw);
    if (!succeeded(encoded))
        return false;
    // Metadata libheif refuses is left out; the picture is still written.
    if (!m_metadata.exif.isEmpty()
        && !succeeded(heif_context_add_exif_metadata(context.get(), handle.get(), m_metadata.exif.constData(),
                                                     int(m_metadata.exif.size()))))
        qDebug() << "HEIF: EXIF left out";
    if (!m_metadata.xmp.isEmpty()
        && !succeeded(heif_context_add_XMP_metadata(context.get(), handle.get(), m_metadata.xmp.constData(),
                                                    int(m_metadata.xmp.size()))))
        qDebug() << "HEIF: XMP left out";

    heif_writer writer{};
    writer.writer_api_version = 1;
    writer.write = &writeToDevice;
    return succeeded(heif_context_write(context.get(), &writer, device()));
}

QVariant HeifHandler::option(ImageOption option) const
{
    auto *self = const_cast<HeifHandler *>(this);
    switch (option) {
    case Size:
        if (m_state == State::Finished || self->parseHeader())
            return m_size;
        return {};
    case ImageFormat:
        if (m_handle && (m_state == State::Finished || self->parseHeader()))
            return imageFormatFor(m_handle.get());
        return {};
    case Quality:
        return m_quality;
    default:
        return {};
    }
}

void HeifHandler::setOption(ImageOption option, const QVariant &value)
{
    if (option == Quality)
        m_quality = value.toInt();
    else if (option == Description)
        m_metadata = encoderMetadataFromDescription(value.toString());
}

bool HeifHandler::supportsOption(ImageOption option) const
{
    return option == Size || option == ImageFormat || option == Quality || option == Description;
}
