#include "tiffdecoder.h"

#include "colourconversion.h"
#include "pipelinerules.h"
#include "pixelrows.h"
#include "tiffpages.h"
#include "tiffsamples.h"

#include <QColorSpace>

#include <tiffio.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <vector>

namespace {

bool refuse(QString *reason, const QString &why)
{
    *reason = why;
    return false;
}

enum class Model { Grey, Palette, Rgb, Cmyk, Lab, RgbaInterface };

// What the decoder makes of a page's tags.
struct Page
{
    TiffLayout layout;
    Model model = Model::RgbaInterface;
    uint16_t orientation = ORIENTATION_TOPLEFT;
};

QSize storedSize(const TiffLayout &layout)
{
    return QSize(int(std::min<uint32_t>(layout.width, INT_MAX)), int(std::min<uint32_t>(layout.height, INT_MAX)));
}

// The pipeline's size verdict, for the picture decoded at the given depth
// and reduced by factor.
bool sizeFits(const TiffLayout &layout, int bitsPerPixel, int factor, QString *reason)
{
    switch (pictureSizeVerdict(reducedSize(storedSize(layout), factor), bitsPerPixel)) {
    case PictureSize::Fits:
        return true;
    case PictureSize::Empty:
        return refuse(reason, tiffDamaged());
    case PictureSize::TooLarge:
        break;
    }
    return refuse(reason, tiffTooLarge(layout));
}

// L*a*b* of one pixel, in the encoding of its photometric interpretation.
cmsCIELab labValue(quint32 l, quint32 a, quint32 b, const TiffLayout &layout)
{
    const double top = std::ldexp(1.0, layout.bits) - 1.0;
    const auto signedValue = [&](quint32 v) { return v >= (1u << (layout.bits - 1)) ? double(v) - top - 1.0 : double(v); };
    switch (layout.photometric) {
    case PHOTOMETRIC_CIELAB: {
        const double scale = layout.bits == 16 ? 256.0 : 1.0;
        return {l * 100.0 / top, signedValue(a) / scale, signedValue(b) / scale};
    }
    case PHOTOMETRIC_ICCLAB:
        // ICC's encoding: 16-bit L* reaches 100 at 0xff00, a* and b* are offset by 128.
        if (layout.bits == 16)
            return {l * 100.0 / 65280.0, a / 256.0 - 128.0, b / 256.0 - 128.0};
        return {l * 100.0 / 255.0, a - 128.0, b - 128.0};
    }
    // ITULab with its default ranges (L* 0..100, a* -85..85, b* -75..125).
    return {l * 100.0 / top, -85.0 + a * 170.0 / top, -75.0 + b * 200.0 / top};
}

// CMYK through the file's own profile when it carries a usable one; a null
// transform otherwise.
LcmsTransform cmykTransform(TIFF *tiff)
{
    uint32_t size = 0;
    void *data = nullptr;
    if (!TIFFGetField(tiff, TIFFTAG_ICCPROFILE, &size, &data) || size == 0)
        return {};
    return cmykToSrgbTransform(data, size, TYPE_CMYK_16, TYPE_RGB_16);
}

// A palette's colours on 0..1 each.
struct Palette
{
    uint16_t *red = nullptr;
    uint16_t *green = nullptr;
    uint16_t *blue = nullptr;
    double scale = 65535.0;

    bool read(TIFF *tiff, int bits)
    {
        if (!TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue))
            return false;
        // Some writers store 8-bit entries; as libtiff's RGBA interface does,
        // a map with no entry above 255 is taken as such.
        const int entries = 1 << bits;
        const auto eightBit = [entries](const uint16_t *map) {
            return std::all_of(map, map + entries, [](uint16_t v) { return v < 256; });
        };
        scale = eightBit(red) && eightBit(green) && eightBit(blue) ? 255.0 : 65535.0;
        return true;
    }
};

// A palette picture kept as indexes into its colour table.
bool decodeIndexed(TiffBands &bands, const TiffLayout &layout, const Palette &palette, QImage &image, QString *reason)
{
    QList<QRgb> table;
    for (int i = 0; i < 1 << layout.bits; ++i)
        table << qRgb(unitTo8(palette.red[i] / palette.scale), unitTo8(palette.green[i] / palette.scale),
                      unitTo8(palette.blue[i] / palette.scale));
    image.setColorTable(table);
    for (uint32_t y = 0; y < layout.height; ++y) {
        if (bands.startsBand(y) && !bands.read(y, reason))
            return false;
        uchar *line = image.scanLine(int(y));
        for (uint32_t x = 0; x < layout.width; ++x)
            line[x] = uchar(tiffRawSample(bands.row(0, y), layout.separate ? x : qint64(x) * layout.samples, layout.bits));
    }
    return true;
}

// Turns stored rows into red, green, blue and alpha on 0..1, through a
// colour transform where the model needs one.
class RowConverter
{
public:
    RowConverter(const TiffLayout &layout, Model model, const Palette &palette, LcmsTransform transform)
        : m_layout(layout), m_model(model), m_palette(palette), m_transform(std::move(transform)), m_reader(layout),
          m_values(size_t(layout.width) * layout.samples), m_rgba(size_t(layout.width) * 4),
          // 16 bits on both sides of a colour transform let Little CMS precompute it.
          m_colour(size_t(layout.width) * 4), m_converted(size_t(layout.width) * 3)
    {
    }

    // The working rows hold the stored width, which a reduced picture does not bound.
    static bool fits(const TiffLayout &layout)
    {
        return qint64(layout.width) * (layout.samples + 4) * qint64(sizeof(double)) <= tiffAllocationLimitBytes();
    }

    const double *convert(const TiffBands &bands, uint32_t y)
    {
        const size_t width = m_layout.width;
        const int samples = m_layout.samples;
        if (m_layout.separate) {
            for (int c = 0; c < samples; ++c)
                m_reader.unpack(bands.row(c, y), qint64(width), m_values.data() + c, samples);
        } else {
            m_reader.unpack(bands.row(0, y), qint64(width) * samples, m_values.data(), 1);
        }
        for (size_t x = 0; x < width; ++x)
            m_rgba[4 * x + 3] = m_layout.alpha < 0 ? 1.0 : m_values[x * samples + m_layout.alpha];
        colours(bands, y);
        if (m_transform) {
            cmsDoTransform(m_transform.get(), m_colour.data(), m_converted.data(), cmsUInt32Number(width));
            for (size_t x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c)
                    m_rgba[4 * x + c] = m_converted[3 * x + c] / 65535.0;
        }
        return m_rgba.data();
    }

private:
    quint32 raw(const TiffBands &bands, uint32_t y, uint32_t x, int c) const
    {
        const bool separate = m_layout.separate;
        return tiffRawSample(bands.row(separate ? c : 0, y), separate ? qint64(x) : qint64(x) * m_layout.samples + c,
                             m_layout.bits);
    }

    // The colours of row y into the RGBA row, or into the transform's input.
    void colours(const TiffBands &bands, uint32_t y)
    {
        const size_t width = m_layout.width;
        const int samples = m_layout.samples;
        switch (m_model) {
        case Model::Grey: {
            const bool inverted = m_layout.photometric == PHOTOMETRIC_MINISWHITE;
            // All three channels: grey with alpha is stored in an RGBA picture.
            for (size_t x = 0; x < width; ++x)
                std::fill_n(&m_rgba[4 * x], 3, inverted ? 1.0 - m_values[x * samples] : m_values[x * samples]);
            break;
        }
        case Model::Rgb:
            for (size_t x = 0; x < width; ++x)
                std::copy_n(&m_values[x * samples], 3, &m_rgba[4 * x]);
            break;
        case Model::Palette:
            for (uint32_t x = 0; x < width; ++x) {
                const quint32 index = raw(bands, y, x, 0);
                m_rgba[4 * size_t(x)] = m_palette.red[index] / m_palette.scale;
                m_rgba[4 * size_t(x) + 1] = m_palette.green[index] / m_palette.scale;
                m_rgba[4 * size_t(x) + 2] = m_palette.blue[index] / m_palette.scale;
            }
            break;
        case Model::Cmyk:
            cmyk();
            break;
        case Model::Lab:
            // Little CMS's 16-bit encoding: L* 0..100, a* and b* -128..127 over the full range.
            for (uint32_t x = 0; x < width; ++x) {
                const cmsCIELab lab = labValue(raw(bands, y, x, 0), raw(bands, y, x, 1), raw(bands, y, x, 2), m_layout);
                m_colour[3 * size_t(x)] = unitTo16(lab.L / 100.0);
                m_colour[3 * size_t(x) + 1] = unitTo16((lab.a + 128.0) / 255.0);
                m_colour[3 * size_t(x) + 2] = unitTo16((lab.b + 128.0) / 255.0);
            }
            break;
        case Model::RgbaInterface:
            break;
        }
    }

    void cmyk()
    {
        const size_t width = m_layout.width;
        const int samples = m_layout.samples;
        if (m_transform) {
            for (size_t x = 0; x < width; ++x)
                for (int c = 0; c < 4; ++c)
                    m_colour[4 * x + c] = unitTo16(m_values[x * samples + c]);
            return;
        }
        // Without a profile, the plain conversion of libtiff's RGBA interface.
        for (size_t x = 0; x < width; ++x) {
            const double *ink = &m_values[x * samples];
            for (int c = 0; c < 3; ++c)
                m_rgba[4 * x + c] = cmykWithoutProfile(ink[c], ink[3]);
        }
    }

    const TiffLayout m_layout;
    const Model m_model;
    const Palette m_palette;
    const LcmsTransform m_transform;
    const TiffSampleReader m_reader;
    std::vector<double> m_values;
    std::vector<double> m_rgba;
    std::vector<quint16> m_colour;
    std::vector<quint16> m_converted;
};

// Turns the stored samples into the image's pixels, row by row; with a
// factor above 1, into a picture that many times smaller, a band at a time.
bool decodeSamples(TIFF *tiff, const TiffReport &report, const Page &page, int factor, QImage &image, QString *reason)
{
    const TiffLayout &layout = page.layout;
    TiffBands bands;
    if (!bands.open(tiff, &report, layout, reason))
        return false;
    Palette palette;
    if (page.model == Model::Palette) {
        if (!palette.read(tiff, layout.bits))
            return refuse(reason, tiffDamaged());
        if (image.format() == QImage::Format_Indexed8)
            return decodeIndexed(bands, layout, palette, image, reason);
    }
    LcmsTransform transform;
    if (page.model == Model::Cmyk)
        transform = cmykTransform(tiff);
    else if (page.model == Model::Lab && !(transform = labToSrgbTransform()))
        return refuse(reason, tiffUnsupported(layout));
    if (!RowConverter::fits(layout))
        return refuse(reason, tiffOutOfMemory());
    RowConverter converter(layout, page.model, palette, std::move(transform));
    std::optional<RowReducer> reducer;
    if (factor > 1)
        reducer.emplace(&image, int(layout.width), factor, layout.premultiplied);
    for (uint32_t y = 0; y < layout.height; ++y) {
        if (bands.startsBand(y) && !bands.read(y, reason))
            return false;
        const double *rgba = converter.convert(bands, y);
        if (reducer)
            reducer->add(rgba);
        else
            storeRgbaRow(image, int(y), rgba);
    }
    if (reducer)
        reducer->finish();
    return true;
}

// YCbCr, LogLuv and the like, 8 bits at most, through libtiff's RGBA interface.
bool decodeThroughRgbaInterface(TIFF *tiff, const TiffLayout &layout, QImage *image, QString *reason)
{
    char message[1024] = {};
    TIFFRGBAImage rgba;
    if (!TIFFRGBAImageOK(tiff, message) || !TIFFRGBAImageBegin(&rgba, tiff, 1, message))
        return refuse(reason, tiffUnsupported(layout));
    // The pixels as stored: the loader turns them.
    rgba.req_orientation = rgba.orientation;
    const std::unique_ptr<uint32_t[]> raster(new (std::nothrow) uint32_t[size_t(layout.width) * layout.height]);
    QImage decoded(int(layout.width), int(layout.height),
                   rgba.alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    const bool read = raster && !decoded.isNull() && TIFFRGBAImageGet(&rgba, raster.get(), layout.width, layout.height);
    TIFFRGBAImageEnd(&rgba);
    if (!raster || decoded.isNull())
        return refuse(reason, tiffOutOfMemory());
    if (!read)
        return refuse(reason, tiffDamaged());
    for (uint32_t y = 0; y < layout.height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(decoded.scanLine(int(y)));
        const uint32_t *source = raster.get() + size_t(y) * layout.width;
        for (uint32_t x = 0; x < layout.width; ++x)
            line[x] = qRgba(TIFFGetR(source[x]), TIFFGetG(source[x]), TIFFGetB(source[x]), TIFFGetA(source[x]));
    }
    *image = decoded;
    return true;
}

bool decodable(const TiffLayout &layout, Model model)
{
    const bool unsignedInteger = layout.format == SAMPLEFORMAT_UINT && layout.bits <= 32;
    const bool anyInteger = unsignedInteger || (layout.format == SAMPLEFORMAT_INT && layout.bits >= 2 && layout.bits <= 32);
    const bool floating = layout.format == SAMPLEFORMAT_IEEEFP && (layout.bits == 16 || layout.bits == 32 || layout.bits == 64);
    switch (model) {
    case Model::Grey:
    case Model::Rgb:
        return anyInteger || floating;
    case Model::Palette:
    case Model::Cmyk:
        return unsignedInteger && layout.bits <= 16;
    case Model::Lab:
        return unsignedInteger && (layout.bits == 8 || layout.bits == 16);
    case Model::RgbaInterface:
        // The interface gives 8 bits a channel: deeper YCbCr would lose some.
        return layout.photometric == PHOTOMETRIC_LOGLUV || layout.photometric == PHOTOMETRIC_LOGL
               || (unsignedInteger && layout.bits <= 8);
    }
    return false;
}


// How the page's colours are read, and whether this decoder reads them.
bool readModel(TIFF *tiff, Page *page, uint16_t extraCount, const uint16_t *extraTypes, QString *reason)
{
    TiffLayout &layout = page->layout;
    int colourSamples = 0;
    switch (layout.photometric) {
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_MINISBLACK:
        page->model = Model::Grey;
        colourSamples = 1;
        break;
    case PHOTOMETRIC_PALETTE:
        page->model = Model::Palette;
        colourSamples = 1;
        break;
    case PHOTOMETRIC_RGB:
        page->model = Model::Rgb;
        colourSamples = 3;
        break;
    case PHOTOMETRIC_SEPARATED: {
        uint16_t inkSet = INKSET_CMYK;
        TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &inkSet);
        if (inkSet != INKSET_CMYK)
            return refuse(reason, TiffTexts::tr("TIFF with inks other than CMYK is not supported"));
        page->model = Model::Cmyk;
        colourSamples = 4;
        break;
    }
    case PHOTOMETRIC_CIELAB:
    case PHOTOMETRIC_ICCLAB:
    case PHOTOMETRIC_ITULAB:
        page->model = Model::Lab;
        colourSamples = 3;
        break;
    }
    const int colours = layout.samples - extraCount;
    if (extraCount > 0) {
        // An unspecified extra sample after RGB is associated alpha, as in libtiff's RGBA interface.
        const uint16_t type = extraTypes[0];
        if (type == EXTRASAMPLE_ASSOCALPHA || type == EXTRASAMPLE_UNASSALPHA
            || (type == EXTRASAMPLE_UNSPECIFIED && page->model == Model::Rgb && layout.samples > 3)) {
            layout.alpha = colours;
            layout.premultiplied = type != EXTRASAMPLE_UNASSALPHA;
        }
    }
    if (!decodable(layout, page->model) || colours < colourSamples)
        return refuse(reason, tiffUnsupported(layout));
    // Converting colours needs them apart from their alpha.
    if (layout.premultiplied && (page->model == Model::Cmyk || page->model == Model::Lab))
        return refuse(reason, TiffTexts::tr("%1 TIFF with premultiplied alpha is not supported")
                                      .arg(tiffPhotometricName(layout.photometric)));
    return true;
}


// The tags that say how the samples are laid out and what they mean.
bool readLayout(TIFF *tiff, Page *page, QString *reason)
{
    TiffLayout &layout = page->layout;
    if (!TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &layout.width) || !TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &layout.height)
        || !TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &layout.photometric))
        return refuse(reason, tiffDamaged());
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t compression = COMPRESSION_NONE;
    uint16_t extraCount = 0;
    uint16_t *extraTypes = nullptr;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &layout.bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &layout.samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &layout.format);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &page->orientation);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes);
    if (layout.bits == 0 || layout.samples == 0 || extraCount > layout.samples)
        return refuse(reason, tiffDamaged());
    if (layout.format == SAMPLEFORMAT_VOID)
        layout.format = SAMPLEFORMAT_UINT;
    layout.separate = planar == PLANARCONFIG_SEPARATE && layout.samples > 1;
    if (!TIFFIsCODECConfigured(compression))
        return refuse(reason, TiffTexts::tr("TIFF compression %1 is not supported").arg(compression));
    return readModel(tiff, page, extraCount, extraTypes, reason);
}


// The format the samples are decoded into.
QImage::Format decodedFormat(const Page &page, int factor)
{
    const TiffLayout &layout = page.layout;
    // More than 8 bits a sample stay 16; a palette's colours are 8-bit.
    const bool deep = page.model != Model::Palette && layout.bits > 8;
    // Averaged blocks leave the palette.
    if (page.model == Model::Palette && layout.bits <= 8 && layout.alpha < 0 && factor == 1)
        return QImage::Format_Indexed8;
    if (page.model == Model::Grey && layout.alpha < 0)
        return deep ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8;
    if (layout.alpha < 0)
        return deep ? QImage::Format_RGBX64 : QImage::Format_RGB32;
    if (layout.premultiplied)
        return deep ? QImage::Format_RGBA64_Premultiplied : QImage::Format_ARGB32_Premultiplied;
    return deep ? QImage::Format_RGBA64 : QImage::Format_ARGB32;
}

// The page's pixels, reduced towards atLeast where it is given.
bool decodePixels(TIFF *tiff, const TiffReport &report, const Page &page, const QSize &atLeast, QImage *decoded,
                  QString *reason)
{
    const TiffLayout &layout = page.layout;
    if (page.model == Model::RgbaInterface)
        return sizeFits(layout, 32, 1, reason) && decodeThroughRgbaInterface(tiff, layout, decoded, reason);
    // The least size is upright; orientations 5 to 8 store the picture transposed.
    const bool transposed = page.orientation >= ORIENTATION_LEFTTOP && page.orientation <= ORIENTATION_LEFTBOT;
    const int factor =
            atLeast.isValid() ? reductionFactor(storedSize(layout), transposed ? atLeast.transposed() : atLeast) : 1;
    const QImage::Format format = decodedFormat(page, factor);
    if (!sizeFits(layout, QImage::toPixelFormat(format).bitsPerPixel(), factor, reason))
        return false;
    *decoded = QImage(reducedSize(storedSize(layout), factor), format);
    if (decoded->isNull())
        return refuse(reason, tiffOutOfMemory());
    return decodeSamples(tiff, report, page, factor, *decoded, reason);
}

// Converted colours are sRGB; others keep the file's profile, where Qt reads it.
void attachColourSpace(TIFF *tiff, Model model, QImage *image)
{
    if (model == Model::Cmyk || model == Model::Lab) {
        image->setColorSpace(QColorSpace::SRgb);
        return;
    }
    uint32_t size = 0;
    void *data = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_ICCPROFILE, &size, &data) && size > 0) {
        const QColorSpace space = QColorSpace::fromIccProfile(QByteArray(static_cast<const char *>(data), qsizetype(size)));
        if (space.isValid())
            image->setColorSpace(space);
    }
}

} // namespace

int tiffPageCount(const QString &path)
{
    const TiffPage first(path, 0);
    return first.isOpen() ? int(TIFFNumberOfDirectories(first.tiff())) : 0;
}

bool tiffPageSize(const QString &path, int page, QSize *size, int *orientation)
{
    const TiffPage file(path, page);
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t tagOrientation = ORIENTATION_TOPLEFT;
    if (!file.isOpen() || !TIFFGetField(file.tiff(), TIFFTAG_IMAGEWIDTH, &width)
        || !TIFFGetField(file.tiff(), TIFFTAG_IMAGELENGTH, &height))
        return false;
    TIFFGetFieldDefaulted(file.tiff(), TIFFTAG_ORIENTATION, &tagOrientation);
    *size = QSize(int(std::min<uint32_t>(width, INT_MAX)), int(std::min<uint32_t>(height, INT_MAX)));
    *orientation = tagOrientation >= 1 && tagOrientation <= 8 ? tagOrientation : 1;
    return true;
}

bool decodeTiffFile(const QString &path, QImage *image, int *orientation, QString *reason, const QSize &atLeast,
                    int page)
{
    const TiffPage file(path, page);
    if (!file.isOpen())
        return refuse(reason, tiffDamaged());
    TIFF *tiff = file.tiff();
    TiffReport &report = file.report();
    // Only damage to the pixels counts; a malformed tag that libtiff skips does not.
    report.damaged = false;
    Page tags;
    QImage decoded;
    if (!readLayout(tiff, &tags, reason) || !decodePixels(tiff, report, tags, atLeast, &decoded, reason))
        return false;
    if (report.damaged)
        return refuse(reason, tiffDamaged());
    attachColourSpace(tiff, tags.model, &decoded);
    *image = decoded;
    *orientation = tags.orientation >= 1 && tags.orientation <= 8 ? tags.orientation : 1;
    reason->clear();
    return true;
}

bool isTiffData(const QByteArray &head)
{
    static const char signatures[][4] = {{'I', 'I', 42, 0}, {'M', 'M', 0, 42}, {'I', 'I', 43, 0}, {'M', 'M', 0, 43}};
    return std::any_of(std::begin(signatures), std::end(signatures),
                       [&](const char *signature) { return head.startsWith(QByteArrayView(signature, 4)); });
}
