#include "heifhandler.h"
#include "readerinterface.h"

#include "codedinput.h"
#include "encoderthreads.h"

#include <QColorSpace>
#include <QDebug>
#include <QIODevice>
#include <QList>
#include <QImage>
#include <QPointF>
#include <QVariant>
#include <QtEndian>

#include <lcms2.h>
#include <libheif/heif.h>

#include <algorithm>
#include <cmath>
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

struct ProfileDeleter {
    void operator()(void *profile) const { cmsCloseProfile(profile); }
};
struct CurveDeleter {
    void operator()(cmsToneCurve *curve) const { cmsFreeToneCurve(curve); }
};

struct NclxDeleter {
    void operator()(heif_color_profile_nclx *nclx) const { heif_nclx_color_profile_free(nclx); }
};
using NclxPtr = std::unique_ptr<heif_color_profile_nclx, NclxDeleter>;

// An unknown colour description is an error that still hands out a profile.
NclxPtr nclxOf(const heif_image_handle *handle)
{
    heif_color_profile_nclx *nclx = nullptr;
    const bool read = succeeded(heif_image_handle_get_nclx_color_profile(handle, &nclx));
    NclxPtr owned(nclx);
    return read ? std::move(owned) : nullptr;
}

// PQ and HLG values are light levels far above paper white, which no
// profile Qt converts can describe: such pictures are refused.
QByteArray hdrTransferOf(const heif_image_handle *handle)
{
    const NclxPtr nclx = heif_image_handle_get_color_profile_type(handle) == heif_color_profile_type_nclx
                                 ? nclxOf(handle)
                                 : nullptr;
    if (nclx && nclx->transfer_characteristics == heif_transfer_characteristic_ITU_R_BT_2100_0_PQ)
        return "PQ";
    if (nclx && nclx->transfer_characteristics == heif_transfer_characteristic_ITU_R_BT_2100_0_HLG)
        return "HLG";
    return {};
}

// What an output's profile is called when only the codes describe the colours.
QString describe(const heif_color_profile_nclx &nclx)
{
    return QStringLiteral("Colour primaries %1, transfer %2")
            .arg(nclx.color_primaries)
            .arg(nclx.transfer_characteristics);
}

// The video cameras' curve (a power with a linear foot, of BT.709, BT.601 and
// BT.2020 alike) as the inverse that takes the values to light:
// ((v + 0.099) / 1.099)^(1 / 0.45) above 0.081, v / 4.5 below.
constexpr double videoCurve[] = {1 / 0.45, 1 / 1.099, 0.099 / 1.099, 1 / 4.5, 0.081};

// Qt 6.4 builds no colour space from a parametric curve but reads one from
// an ICC profile, which Little CMS writes.
QColorSpace videoColorSpace(const heif_color_profile_nclx &nclx)
{
    const cmsCIExyY white{nclx.color_primary_white_x, nclx.color_primary_white_y, 1};
    const cmsCIExyYTRIPLE primaries{{nclx.color_primary_red_x, nclx.color_primary_red_y, 1},
                                    {nclx.color_primary_green_x, nclx.color_primary_green_y, 1},
                                    {nclx.color_primary_blue_x, nclx.color_primary_blue_y, 1}};
    const std::unique_ptr<cmsToneCurve, CurveDeleter> curve(cmsBuildParametricToneCurve(nullptr, 4, videoCurve));
    cmsToneCurve *curves[] = {curve.get(), curve.get(), curve.get()};
    const std::unique_ptr<void, ProfileDeleter> profile(curve ? cmsCreateRGBProfile(&white, &primaries, curves)
                                                              : nullptr);
    if (!profile)
        return {};
    cmsMLU *description = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(description, "en", "US", describe(nclx).toLatin1().constData());
    cmsWriteTag(profile.get(), cmsSigProfileDescriptionTag, description);
    cmsMLUfree(description);
    cmsUInt32Number size = 0;
    if (!cmsSaveProfileToMem(profile.get(), nullptr, &size))
        return {};
    QByteArray icc(qsizetype(size), Qt::Uninitialized);
    if (!cmsSaveProfileToMem(profile.get(), icc.data(), &size))
        return {};
    return QColorSpace::fromIccProfile(icc);
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
    const NclxPtr nclx = type == heif_color_profile_type_nclx ? nclxOf(handle) : nullptr;
    if (!nclx)
        return {};
    // libheif gives the primaries' coordinates; unspecified ones are taken for sRGB's.
    const bool srgbPrimaries = nclx->color_primaries == heif_color_primaries_ITU_R_BT_709_5
                               || nclx->color_primary_white_x <= 0;
    if (nclx->color_primary_white_x <= 0) {
        nclx->color_primary_red_x = 0.64f, nclx->color_primary_red_y = 0.33f;
        nclx->color_primary_green_x = 0.30f, nclx->color_primary_green_y = 0.60f;
        nclx->color_primary_blue_x = 0.15f, nclx->color_primary_blue_y = 0.06f;
        nclx->color_primary_white_x = 0.3127f, nclx->color_primary_white_y = 0.3290f;
    }
    const QPointF white(nclx->color_primary_white_x, nclx->color_primary_white_y);
    const QPointF red(nclx->color_primary_red_x, nclx->color_primary_red_y);
    const QPointF green(nclx->color_primary_green_x, nclx->color_primary_green_y);
    const QPointF blue(nclx->color_primary_blue_x, nclx->color_primary_blue_y);
    using Transfer = QColorSpace::TransferFunction;
    QColorSpace space;
    switch (nclx->transfer_characteristics) {
    case heif_transfer_characteristic_ITU_R_BT_709_5:
    case heif_transfer_characteristic_ITU_R_BT_601_6:
    case heif_transfer_characteristic_ITU_R_BT_2020_2_10bit:
    case heif_transfer_characteristic_ITU_R_BT_2020_2_12bit:
        return videoColorSpace(*nclx);
    case heif_transfer_characteristic_linear:
        if (srgbPrimaries)
            return QColorSpace(QColorSpace::SRgbLinear);
        space = QColorSpace(white, red, green, blue, Transfer::Linear);
        break;
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_M:
        space = QColorSpace(white, red, green, blue, Transfer::Gamma, 2.2f);
        break;
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_B_G:
        space = QColorSpace(white, red, green, blue, Transfer::Gamma, 2.8f);
        break;
    default:
        // sRGB's curve, which an unspecified one is taken for.
        if (srgbPrimaries)
            return QColorSpace(QColorSpace::SRgb);
        if (nclx->color_primaries == heif_color_primaries_SMPTE_EG_432_1)
            return QColorSpace(QColorSpace::DisplayP3);
        space = QColorSpace(white, red, green, blue, Transfer::SRgb);
    }
    space.setDescription(describe(*nclx));
    return space;
}

// Each stored level of a sample as one of the picture's (0 to top): widened,
// and stretched from the video range (16 to 235 at 8 bits) when stored so.
QList<quint16> levelsFor(int bits, int top, bool videoRange)
{
    const int highest = (1 << bits) - 1;
    const double black = videoRange ? double(16 << (bits - 8)) : 0;
    const double span = videoRange ? double(219 << (bits - 8)) : highest;
    QList<quint16> levels(highest + 1);
    for (int level = 0; level <= highest; ++level)
        levels[level] = quint16(qBound(0.0, std::round((level - black) * top / span), double(top)));
    return levels;
}

// libheif hands grey pictures over as they are stored: it leaves their video
// range as it is when it makes them RGB, so the grey plane is read here.
bool copyPixels(const heif_image *decoded, QImage &target)
{
    const bool grey = heif_image_get_colorspace(decoded) == heif_colorspace_monochrome;
    if (!grey && heif_image_get_chroma_format(decoded) != heif_chroma_444)
        return false;
    heif_color_profile_nclx *nclxRaw = nullptr;
    heif_image_get_nclx_color_profile(decoded, &nclxRaw);
    const NclxPtr nclx(nclxRaw);
    const bool videoRange = grey && nclx && !nclx->full_range_flag;

    const bool deep = target.depth() == 64;
    const bool alpha = target.hasAlphaChannel();
    const int pixelSamples = deep || alpha ? 4 : 3;
    const heif_channel channels[] = {grey ? heif_channel_Y : heif_channel_R, grey ? heif_channel_Y : heif_channel_G,
                                     grey ? heif_channel_Y : heif_channel_B, heif_channel_Alpha};
    for (int sample = 0; sample < (alpha ? 4 : 3); ++sample) {
        const heif_channel channel = channels[sample];
        int stride = 0;
        const uint8_t *plane = heif_image_get_plane_readonly(decoded, channel, &stride);
        if (!plane || heif_image_get_width(decoded, channel) < target.width()
            || heif_image_get_height(decoded, channel) < target.height())
            return false;
        const int bits = qBound(8, heif_image_get_bits_per_pixel_range(decoded, channel), 16);
        const bool wide = heif_image_get_bits_per_pixel(decoded, channel) > 8;
        const bool stretched = videoRange && channel != heif_channel_Alpha;
        if (!deep && !wide && !stretched) {
            // Most pictures: 8-bit samples as they are.
            for (int y = 0; y < target.height(); ++y) {
                const uint8_t *row = plane + qsizetype(y) * stride;
                uchar *line = target.scanLine(y) + sample;
                for (int x = 0; x < target.width(); ++x)
                    line[pixelSamples * x] = row[x];
            }
            continue;
        }
        const QList<quint16> levels = levelsFor(bits, deep ? 0xffff : 0xff, stretched);
        const quint16 highest = quint16(levels.size() - 1);
        for (int y = 0; y < target.height(); ++y) {
            const uint8_t *row = plane + qsizetype(y) * stride;
            uchar *line = target.scanLine(y);
            for (int x = 0; x < target.width(); ++x) {
                const quint16 stored = wide ? reinterpret_cast<const quint16 *>(row)[x] : row[x];
                const quint16 level = levels[qMin(stored, highest)];
                if (deep)
                    reinterpret_cast<quint16 *>(line)[pixelSamples * x + sample] = level;
                else
                    line[pixelSamples * x + sample] = uchar(level);
            }
        }
    }
    if (deep && !alpha) {
        for (int y = 0; y < target.height(); ++y) {
            auto *line = reinterpret_cast<quint16 *>(target.scanLine(y));
            for (int x = 0; x < target.width(); ++x)
                line[4 * x + 3] = 0xffff;
        }
    }
    return true;
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

QByteArray HeifHandler::header() const
{
    if (!m_data.isEmpty())
        return m_data.left(headerPeekBytes);
    return device() && device()->isReadable() ? device()->peek(headerPeekBytes) : QByteArray();
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
    return selectPicture(m_picture);
}

bool HeifHandler::selectPicture(int number)
{
    m_state = State::Failed;
    const int count = heif_context_get_number_of_top_level_images(m_context.get());
    if (number < 0 || number >= count)
        return false;
    heif_item_id primary = 0;
    if (!succeeded(heif_context_get_primary_image_ID(m_context.get(), &primary)))
        return false;
    QList<heif_item_id> ids(count);
    heif_context_get_list_of_top_level_image_IDs(m_context.get(), ids.data(), count);
    ids.removeOne(primary);
    ids.prepend(primary);
    heif_image_handle *handle = nullptr;
    if (!succeeded(heif_context_get_image_handle(m_context.get(), ids.at(number), &handle)) || !handle)
        return false;
    m_handle.reset(handle);
    m_picture = number;
    m_size = QSize(heif_image_handle_get_width(handle), heif_image_handle_get_height(handle));
    if (m_size.isEmpty())
        return false;
    m_state = State::Parsed;
    return true;
}

int HeifHandler::imageCount() const
{
    auto *self = const_cast<HeifHandler *>(this);
    if (m_state == State::Finished || self->parseHeader())
        return heif_context_get_number_of_top_level_images(m_context.get());
    return 0;
}

bool HeifHandler::jumpToImage(int imageNumber)
{
    if (m_state == State::Unread && !parseHeader())
        return false;
    return m_context && selectPicture(imageNumber);
}

int HeifHandler::currentImageNumber() const
{
    return m_picture;
}

bool HeifHandler::read(QImage *image)
{
    if (!parseHeader())
        return false;
    m_state = State::Failed;

    const QImage::Format format = imageFormatFor(m_handle.get());
    QImage result;
    if (!hdrTransferOf(m_handle.get()).isEmpty())
        return false;
    // Refuses images above the reader's allocation limit before anything is decoded.
    if (!allocateImage(m_size, format, &result))
        return false;

    // Colour pictures come as RGB planes, grey ones as the plane they are stored in.
    heif_decoding_options *options = heif_decoding_options_alloc();
    heif_image *decodedRaw = nullptr;
    const heif_error error = heif_decode_image(m_handle.get(), &decodedRaw, heif_colorspace_undefined,
                                               heif_chroma_undefined, options);
    heif_decoding_options_free(options);
    ImagePtr decoded(decodedRaw);
    if (!succeeded(error) || !decoded)
        return false;
    const QSize decodedSize(heif_image_get_primary_width(decoded.get()), heif_image_get_primary_height(decoded.get()));
    if (decodedSize != m_size && !allocateImage(decodedSize, format, &result))
        return false;
    if (!copyPixels(decoded.get(), result))
        return false;
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
    case Animation:
        return isImageSequence(header());
    case Description:
        // Read only to say why a picture is refused.
        if (m_handle || self->parseHeader()) {
            if (const QByteArray transfer = hdrTransferOf(m_handle.get()); !transfer.isEmpty())
                return QStringLiteral("%1: %2").arg(QLatin1String(RefusalText::hdrTransfer), QLatin1String(transfer));
        }
        return {};
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
    // Read only: whether the file announces an image sequence.
    if (option == Animation)
        return !formatFromHeader(header()).isEmpty();
    return option == Size || option == ImageFormat || option == Quality || option == Description;
}
