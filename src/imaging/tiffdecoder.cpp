#include "tiffdecoder.h"

#include "colourconversion.h"
#include "pipelinerules.h"
#include "pixelrows.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QFile>
#include <QFloat16>
#include <QSysInfo>

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

qint64 allocationLimitBytes()
{
    return qint64(allocationLimitMegabytes()) * 1024 * 1024;
}

QString tiffText(const char *text)
{
    return QCoreApplication::translate("TiffDecoder", text);
}

bool refuse(QString *reason, const QString &why)
{
    *reason = why;
    return false;
}

QString damaged()
{
    return tiffText("damaged or truncated");
}

QString outOfMemory()
{
    return tiffText("there is not enough memory to decode it");
}

// What libtiff says about one file. The handlers belong to that file, so
// decoders on several threads share nothing and print nothing.
struct Report
{
    bool damaged = false;
};

int noteError(TIFF *, void *report, const char *, const char *, va_list)
{
    static_cast<Report *>(report)->damaged = true;
    return 1;
}

// Warnings are dropped, except the JPEG library's about missing data: it
// fills what it cannot decode with grey and only warns.
int noteWarning(TIFF *, void *report, const char *module, const char *format, va_list arguments)
{
    if (!module || std::strcmp(module, "JPEGLib") != 0)
        return 1;
    char message[256];
    std::vsnprintf(message, sizeof message, format, arguments);
    const QByteArray text = QByteArray(message).toLower();
    if (text.contains("premature end") || text.contains("instead of rst"))
        static_cast<Report *>(report)->damaged = true;
    return 1;
}

struct TiffCloser
{
    void operator()(TIFF *tiff) const { TIFFClose(tiff); }
};

enum class Model { Grey, Palette, Rgb, Cmyk, Lab, RgbaInterface };

struct Layout
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bits = 1;
    uint16_t samples = 1;
    uint16_t format = SAMPLEFORMAT_UINT;
    uint16_t photometric = PHOTOMETRIC_MINISBLACK;
    bool separate = false;
    int alpha = -1; // index of the alpha sample, -1 without one
    bool premultiplied = false;
};

QString photometricName(uint16_t photometric)
{
    switch (photometric) {
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_MINISBLACK:
        return QStringLiteral("grey");
    case PHOTOMETRIC_PALETTE:
        return QStringLiteral("palette");
    case PHOTOMETRIC_RGB:
        return QStringLiteral("RGB");
    case PHOTOMETRIC_SEPARATED:
        return QStringLiteral("CMYK");
    case PHOTOMETRIC_YCBCR:
        return QStringLiteral("YCbCr");
    case PHOTOMETRIC_CIELAB:
        return QStringLiteral("CIELab");
    case PHOTOMETRIC_ICCLAB:
        return QStringLiteral("ICCLab");
    case PHOTOMETRIC_ITULAB:
        return QStringLiteral("ITULab");
    case PHOTOMETRIC_LOGL:
        return QStringLiteral("LogL");
    case PHOTOMETRIC_LOGLUV:
        return QStringLiteral("LogLuv");
    }
    return tiffText("photometric %1").arg(photometric);
}

// As in "32-bit signed CMYK TIFF is not supported."
QString unsupported(const Layout &layout)
{
    QString kind = photometricName(layout.photometric);
    if (layout.format == SAMPLEFORMAT_INT)
        kind = tiffText("signed %1").arg(kind);
    else if (layout.format == SAMPLEFORMAT_IEEEFP)
        kind = tiffText("floating-point %1").arg(kind);
    else if (layout.format == SAMPLEFORMAT_COMPLEXINT || layout.format == SAMPLEFORMAT_COMPLEXIEEEFP)
        kind = tiffText("complex %1").arg(kind);
    return tiffText("%1-bit %2 TIFF is not supported").arg(layout.bits).arg(kind);
}

QString tooLarge(const Layout &layout)
{
    return tiffText("the picture size %1 x %2 is too large: at most %3 pixels a side and %4 MB")
            .arg(layout.width)
            .arg(layout.height)
            .arg(maximumPictureSide)
            .arg(allocationLimitMegabytes());
}

QSize storedSize(const Layout &layout)
{
    return QSize(int(std::min<uint32_t>(layout.width, INT_MAX)), int(std::min<uint32_t>(layout.height, INT_MAX)));
}

// The pipeline's size verdict, for the picture decoded at the given depth
// and reduced by factor.
bool sizeFits(const Layout &layout, int bitsPerPixel, int factor, QString *reason)
{
    switch (pictureSizeVerdict(reducedSize(storedSize(layout), factor), bitsPerPixel)) {
    case PictureSize::Fits:
        return true;
    case PictureSize::Empty:
        return refuse(reason, damaged());
    case PictureSize::TooLarge:
        break;
    }
    return refuse(reason, tooLarge(layout));
}

// The stored samples of one band of rows, a strip or a row of tiles high:
// one buffer for contiguous storage, one for each sample when the planes are
// separate. Only a band is held at a time, beside the decoded picture.
class Bands
{
public:
    bool open(TIFF *tiff, const Report *report, const Layout &layout, QString *reason)
    {
        m_tiff = tiff;
        m_report = report;
        m_layout = layout;
        m_planeCount = layout.separate ? layout.samples : 1;
        m_perPixel = layout.separate ? 1 : layout.samples;
        m_rowBytes = (qint64(layout.width) * m_perPixel * layout.bits + 7) / 8;
        if (m_rowBytes != TIFFScanlineSize64(tiff))
            return refuse(reason, unsupported(layout));
        if (TIFFIsTiled(tiff)) {
            TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &m_tileWidth);
            TIFFGetField(tiff, TIFFTAG_TILELENGTH, &m_height);
            const qint64 tileRowBits = qint64(m_tileWidth) * m_perPixel * layout.bits;
            // Tiles are whole bytes wide, so each starts on a byte of the row.
            if (m_tileWidth == 0 || m_height == 0 || tileRowBits % 8)
                return refuse(reason, damaged());
            m_tileRowBytes = tileRowBits / 8;
            const tmsize_t tileSize = TIFFTileSize(tiff);
            if (tileSize < m_tileRowBytes * m_height)
                return refuse(reason, damaged());
            if (!allocate(&m_tile, tileSize, reason))
                return false;
        } else {
            TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &m_height);
        }
        m_height = std::clamp<uint32_t>(m_height, 1, layout.height);
        if (m_rowBytes * m_height * m_planeCount > allocationLimitBytes())
            return refuse(reason, tooLarge(layout));
        m_buffers.resize(m_planeCount);
        for (auto &buffer : m_buffers)
            if (!allocate(&buffer, m_rowBytes * m_height, reason))
                return false;
        return true;
    }

    // The stored row y of a plane, reading its band when y is the band's first row.
    const uchar *row(int plane, uint32_t y) const { return m_buffers[plane].get() + (y % m_height) * m_rowBytes; }

    bool startsBand(uint32_t y) const { return y % m_height == 0; }

    bool read(uint32_t top, QString *reason)
    {
        const uint32_t rows = std::min(m_height, m_layout.height - top);
        for (int plane = 0; plane < m_planeCount; ++plane) {
            uchar *band = m_buffers[plane].get();
            if (!m_tile) {
                const tmsize_t wanted = rows * m_rowBytes;
                if (TIFFReadEncodedStrip(m_tiff, TIFFComputeStrip(m_tiff, top, uint16_t(plane)), band, wanted) != wanted)
                    return refuse(reason, damaged());
                continue;
            }
            for (uint32_t x = 0; x < m_layout.width; x += m_tileWidth) {
                if (TIFFReadTile(m_tiff, m_tile.get(), x, top, 0, uint16_t(plane)) < 0)
                    return refuse(reason, damaged());
                const qint64 offset = x / m_tileWidth * m_tileRowBytes;
                const qint64 bytes = std::min(m_tileRowBytes, m_rowBytes - offset);
                for (uint32_t row = 0; row < rows; ++row)
                    std::memcpy(band + row * m_rowBytes + offset, m_tile.get() + row * m_tileRowBytes, bytes);
            }
        }
        return !m_report->damaged || refuse(reason, damaged());
    }

private:
    static bool allocate(std::unique_ptr<uchar[]> *buffer, qint64 size, QString *reason)
    {
        // A band's size comes from the file: a tile may claim gigabytes.
        if (size > allocationLimitBytes())
            return refuse(reason, outOfMemory());
        buffer->reset(new (std::nothrow) uchar[size]);
        return *buffer || refuse(reason, outOfMemory());
    }

    TIFF *m_tiff = nullptr;
    const Report *m_report = nullptr;
    Layout m_layout;
    int m_planeCount = 1;
    int m_perPixel = 1;
    qint64 m_rowBytes = 0;
    uint32_t m_height = 0; // rows in a band
    uint32_t m_tileWidth = 0;
    qint64 m_tileRowBytes = 0;
    std::unique_ptr<uchar[]> m_tile;
    std::vector<std::unique_ptr<uchar[]>> m_buffers;
};

// One stored integer sample. libtiff hands whole-byte samples over in host
// order; narrower ones stay packed from the high bit down.
quint32 rawSample(const uchar *row, qint64 index, int bits)
{
    switch (bits) {
    case 8:
        return row[index];
    case 16: {
        quint16 value;
        std::memcpy(&value, row + index * 2, 2);
        return value;
    }
    case 24: {
        const uchar *p = row + index * 3;
        if (QSysInfo::ByteOrder == QSysInfo::LittleEndian)
            return p[0] | p[1] << 8 | quint32(p[2]) << 16;
        return quint32(p[0]) << 16 | p[1] << 8 | p[2];
    }
    case 32: {
        quint32 value;
        std::memcpy(&value, row + index * 4, 4);
        return value;
    }
    }
    quint32 value = 0;
    qint64 bit = index * bits;
    for (int left = bits; left > 0;) {
        const int inByte = 8 - int(bit % 8);
        const int take = std::min(left, inByte);
        value = value << take | ((row[bit / 8] >> (inByte - take)) & ((1u << take) - 1));
        bit += take;
        left -= take;
    }
    return value;
}

// Samples on 0..1. Unsigned integers span their full range. Signed ones are
// shifted up by half of it, so the most negative value is black and zero is
// mid-grey: the file alone cannot say what range it means, and the shift
// keeps every value apart. Floating-point samples are taken as 0..1 already,
// as their writers mean them; what lies outside is clipped when stored.
class SampleReader
{
public:
    explicit SampleReader(const Layout &layout)
        : m_bits(layout.bits), m_format(layout.format), m_top(std::ldexp(1.0, layout.bits) - 1.0)
    {
        // Integers up to 16 bits are looked up.
        if (m_format != SAMPLEFORMAT_IEEEFP && m_bits <= 16) {
            m_table.resize(size_t(1) << m_bits);
            for (quint32 value = 0; value < m_table.size(); ++value)
                m_table[value] = integer(value);
        }
    }

    // The first count samples of a stored row, to every stride-th place of out.
    void unpack(const uchar *row, qint64 count, double *out, int stride) const
    {
        if (m_bits == 8 && !m_table.empty()) {
            for (qint64 i = 0; i < count; ++i)
                out[i * stride] = m_table[row[i]];
        } else if (!m_table.empty()) {
            for (qint64 i = 0; i < count; ++i)
                out[i * stride] = m_table[rawSample(row, i, m_bits)];
        } else {
            for (qint64 i = 0; i < count; ++i)
                out[i * stride] = value(row, i);
        }
    }

private:
    double integer(quint32 value) const
    {
        if (m_format == SAMPLEFORMAT_INT)
            return (value ^ (1u << (m_bits - 1))) / m_top;
        return value / m_top;
    }

    double value(const uchar *row, qint64 index) const
    {
        if (m_format != SAMPLEFORMAT_IEEEFP)
            return integer(rawSample(row, index, m_bits));
        if (m_bits == 16) {
            qfloat16 value;
            std::memcpy(&value, row + index * 2, 2);
            return float(value);
        }
        if (m_bits == 32) {
            float value;
            std::memcpy(&value, row + index * 4, 4);
            return value;
        }
        double value;
        std::memcpy(&value, row + index * 8, 8);
        return value;
    }

    int m_bits;
    int m_format;
    double m_top;
    std::vector<double> m_table;
};

// L*a*b* of one pixel, in the encoding of its photometric interpretation.
cmsCIELab labValue(quint32 l, quint32 a, quint32 b, const Layout &layout)
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

// Turns the stored samples into the image's pixels, row by row; with a
// factor above 1, into a picture that many times smaller, a band at a time.
bool decodeSamples(TIFF *tiff, const Report &report, const Layout &layout, Model model, int factor, QImage &image,
                   QString *reason)
{
    Bands bands;
    if (!bands.open(tiff, &report, layout, reason))
        return false;
    const uint32_t width = layout.width;
    const auto sampleIndex = [&](uint32_t x, int c) { return layout.separate ? qint64(x) : qint64(x) * layout.samples + c; };
    const auto rowOf = [&](uint32_t y, int c) { return bands.row(layout.separate ? c : 0, y); };

    uint16_t *red = nullptr;
    uint16_t *green = nullptr;
    uint16_t *blue = nullptr;
    double mapScale = 65535.0;
    if (model == Model::Palette) {
        if (!TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue))
            return refuse(reason, damaged());
        // Some writers store 8-bit entries; as libtiff's RGBA interface does,
        // a map with no entry above 255 is taken as such.
        const int entries = 1 << layout.bits;
        const bool eightBit = std::all_of(red, red + entries, [](uint16_t v) { return v < 256; })
                && std::all_of(green, green + entries, [](uint16_t v) { return v < 256; })
                && std::all_of(blue, blue + entries, [](uint16_t v) { return v < 256; });
        mapScale = eightBit ? 255.0 : 65535.0;
        if (image.format() == QImage::Format_Indexed8) {
            QList<QRgb> table;
            for (int i = 0; i < entries; ++i)
                table << qRgb(unitTo8(red[i] / mapScale), unitTo8(green[i] / mapScale), unitTo8(blue[i] / mapScale));
            image.setColorTable(table);
            for (uint32_t y = 0; y < layout.height; ++y) {
                if (bands.startsBand(y) && !bands.read(y, reason))
                    return false;
                uchar *line = image.scanLine(int(y));
                for (uint32_t x = 0; x < width; ++x)
                    line[x] = uchar(rawSample(rowOf(y, 0), sampleIndex(x, 0), layout.bits));
            }
            return true;
        }
    }

    LcmsTransform transform;
    if (model == Model::Cmyk)
        transform = cmykTransform(tiff);
    else if (model == Model::Lab && !(transform = labToSrgbTransform()))
        return refuse(reason, unsupported(layout));

    const SampleReader reader(layout);
    const int samples = layout.samples;
    // The working rows hold the stored width, which a reduced picture does not bound.
    if (qint64(width) * (samples + 4) * qint64(sizeof(double)) > allocationLimitBytes())
        return refuse(reason, outOfMemory());
    std::vector<double> values(size_t(width) * samples);
    std::vector<double> rgba(size_t(width) * 4);
    // 16 bits on both sides of a colour transform let Little CMS precompute it.
    std::vector<quint16> colour(size_t(width) * 4);
    std::vector<quint16> converted(size_t(width) * 3);
    std::optional<RowReducer> reducer;
    if (factor > 1)
        reducer.emplace(&image, int(width), factor, layout.premultiplied);
    for (uint32_t y = 0; y < layout.height; ++y) {
        if (bands.startsBand(y) && !bands.read(y, reason))
            return false;
        if (layout.separate) {
            for (int c = 0; c < samples; ++c)
                reader.unpack(bands.row(c, y), width, values.data() + c, samples);
        } else {
            reader.unpack(bands.row(0, y), qint64(width) * samples, values.data(), 1);
        }
        const auto raw = [&](uint32_t x, int c) { return rawSample(rowOf(y, c), sampleIndex(x, c), layout.bits); };
        for (size_t x = 0; x < width; ++x)
            rgba[4 * x + 3] = layout.alpha < 0 ? 1.0 : values[x * samples + layout.alpha];
        switch (model) {
        case Model::Grey: {
            const bool inverted = layout.photometric == PHOTOMETRIC_MINISWHITE;
            // All three channels: grey with alpha is stored in an RGBA picture.
            for (size_t x = 0; x < width; ++x)
                std::fill_n(&rgba[4 * x], 3, inverted ? 1.0 - values[x * samples] : values[x * samples]);
            break;
        }
        case Model::Rgb:
            for (size_t x = 0; x < width; ++x)
                std::copy_n(&values[x * samples], 3, &rgba[4 * x]);
            break;
        case Model::Palette:
            for (uint32_t x = 0; x < width; ++x) {
                const quint32 index = raw(x, 0);
                rgba[4 * size_t(x)] = red[index] / mapScale;
                rgba[4 * size_t(x) + 1] = green[index] / mapScale;
                rgba[4 * size_t(x) + 2] = blue[index] / mapScale;
            }
            break;
        case Model::Cmyk:
            if (!transform) {
                // Without a profile, the plain conversion of libtiff's RGBA interface.
                for (size_t x = 0; x < width; ++x) {
                    const double *ink = &values[x * samples];
                    for (int c = 0; c < 3; ++c)
                        rgba[4 * x + c] = cmykWithoutProfile(ink[c], ink[3]);
                }
                break;
            }
            for (size_t x = 0; x < width; ++x)
                for (int c = 0; c < 4; ++c)
                    colour[4 * x + c] = unitTo16(values[x * samples + c]);
            break;
        case Model::Lab:
            // Little CMS's 16-bit encoding: L* 0..100, a* and b* -128..127 over the full range.
            for (uint32_t x = 0; x < width; ++x) {
                const cmsCIELab lab = labValue(raw(x, 0), raw(x, 1), raw(x, 2), layout);
                colour[3 * size_t(x)] = unitTo16(lab.L / 100.0);
                colour[3 * size_t(x) + 1] = unitTo16((lab.a + 128.0) / 255.0);
                colour[3 * size_t(x) + 2] = unitTo16((lab.b + 128.0) / 255.0);
            }
            break;
        case Model::RgbaInterface:
            break;
        }
        if (transform) {
            cmsDoTransform(transform.get(), colour.data(), converted.data(), width);
            for (size_t x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c)
                    rgba[4 * x + c] = converted[3 * x + c] / 65535.0;
        }
        if (reducer)
            reducer->add(rgba.data());
        else
            storeRgbaRow(image, int(y), rgba.data());
    }
    if (reducer)
        reducer->finish();
    return true;
}

// YCbCr, LogLuv and the like, 8 bits at most, through libtiff's RGBA interface.
bool decodeThroughRgbaInterface(TIFF *tiff, const Layout &layout, QImage *image, QString *reason)
{
    char message[1024] = {};
    TIFFRGBAImage rgba;
    if (!TIFFRGBAImageOK(tiff, message) || !TIFFRGBAImageBegin(&rgba, tiff, 1, message))
        return refuse(reason, unsupported(layout));
    // The pixels as stored: the loader turns them.
    rgba.req_orientation = rgba.orientation;
    const std::unique_ptr<uint32_t[]> raster(new (std::nothrow) uint32_t[size_t(layout.width) * layout.height]);
    QImage decoded(int(layout.width), int(layout.height),
                   rgba.alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    const bool read = raster && !decoded.isNull() && TIFFRGBAImageGet(&rgba, raster.get(), layout.width, layout.height);
    TIFFRGBAImageEnd(&rgba);
    if (!raster || decoded.isNull())
        return refuse(reason, outOfMemory());
    if (!read)
        return refuse(reason, damaged());
    for (uint32_t y = 0; y < layout.height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(decoded.scanLine(int(y)));
        const uint32_t *source = raster.get() + size_t(y) * layout.width;
        for (uint32_t x = 0; x < layout.width; ++x)
            line[x] = qRgba(TIFFGetR(source[x]), TIFFGetG(source[x]), TIFFGetB(source[x]), TIFFGetA(source[x]));
    }
    *image = decoded;
    return true;
}

// The file opened with its messages going to report.
std::unique_ptr<TIFF, TiffCloser> openTiff(const QString &path, Report *report)
{
    TIFFOpenOptions *options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, noteError, report);
    TIFFOpenOptionsSetWarningHandlerExtR(options, noteWarning, report);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, allocationLimitBytes());
    // Read rather than mapped: a file cut short while it is read must not fault.
    std::unique_ptr<TIFF, TiffCloser> file(TIFFOpenExt(QFile::encodeName(path).constData(), "rm", options));
    TIFFOpenOptionsFree(options);
    return file;
}

} // namespace

int tiffPageCount(const QString &path)
{
    Report report;
    const std::unique_ptr<TIFF, TiffCloser> file = openTiff(path, &report);
    return file ? int(TIFFNumberOfDirectories(file.get())) : 0;
}

bool decodeTiffFile(const QString &path, QImage *image, int *orientation, QString *reason, const QSize &atLeast,
                    int page)
{
    Report report;
    const std::unique_ptr<TIFF, TiffCloser> file = openTiff(path, &report);
    if (!file || (page > 0 && !TIFFSetDirectory(file.get(), tdir_t(page))))
        return refuse(reason, damaged());
    TIFF *tiff = file.get();
    // Only damage to the pixels counts; a malformed tag that libtiff skips does not.
    report.damaged = false;

    Layout layout;
    if (!TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &layout.width) || !TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &layout.height)
        || !TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &layout.photometric))
        return refuse(reason, damaged());
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t compression = COMPRESSION_NONE;
    uint16_t tagOrientation = ORIENTATION_TOPLEFT;
    uint16_t extraCount = 0;
    uint16_t *extraTypes = nullptr;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &layout.bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &layout.samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &layout.format);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &tagOrientation);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes);
    if (layout.bits == 0 || layout.samples == 0 || extraCount > layout.samples)
        return refuse(reason, damaged());
    if (layout.format == SAMPLEFORMAT_VOID)
        layout.format = SAMPLEFORMAT_UINT;
    layout.separate = planar == PLANARCONFIG_SEPARATE && layout.samples > 1;
    if (!TIFFIsCODECConfigured(compression))
        return refuse(reason, tiffText("TIFF compression %1 is not supported").arg(compression));

    Model model = Model::RgbaInterface;
    int colourSamples = 0;
    switch (layout.photometric) {
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_MINISBLACK:
        model = Model::Grey;
        colourSamples = 1;
        break;
    case PHOTOMETRIC_PALETTE:
        model = Model::Palette;
        colourSamples = 1;
        break;
    case PHOTOMETRIC_RGB:
        model = Model::Rgb;
        colourSamples = 3;
        break;
    case PHOTOMETRIC_SEPARATED: {
        uint16_t inkSet = INKSET_CMYK;
        TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &inkSet);
        if (inkSet != INKSET_CMYK)
            return refuse(reason, tiffText("TIFF with inks other than CMYK is not supported"));
        model = Model::Cmyk;
        colourSamples = 4;
        break;
    }
    case PHOTOMETRIC_CIELAB:
    case PHOTOMETRIC_ICCLAB:
    case PHOTOMETRIC_ITULAB:
        model = Model::Lab;
        colourSamples = 3;
        break;
    }

    const int colours = layout.samples - extraCount;
    if (extraCount > 0) {
        // An unspecified extra sample after RGB is associated alpha, as in libtiff's RGBA interface.
        const uint16_t type = extraTypes[0];
        if (type == EXTRASAMPLE_ASSOCALPHA || type == EXTRASAMPLE_UNASSALPHA
            || (type == EXTRASAMPLE_UNSPECIFIED && model == Model::Rgb && layout.samples > 3)) {
            layout.alpha = colours;
            layout.premultiplied = type != EXTRASAMPLE_UNASSALPHA;
        }
    }

    const bool unsignedInteger = layout.format == SAMPLEFORMAT_UINT && layout.bits <= 32;
    const bool anyInteger = unsignedInteger || (layout.format == SAMPLEFORMAT_INT && layout.bits >= 2 && layout.bits <= 32);
    const bool floating = layout.format == SAMPLEFORMAT_IEEEFP && (layout.bits == 16 || layout.bits == 32 || layout.bits == 64);
    bool decodable = false;
    switch (model) {
    case Model::Grey:
    case Model::Rgb:
        decodable = anyInteger || floating;
        break;
    case Model::Palette:
    case Model::Cmyk:
        decodable = unsignedInteger && layout.bits <= 16;
        break;
    case Model::Lab:
        decodable = unsignedInteger && (layout.bits == 8 || layout.bits == 16);
        break;
    case Model::RgbaInterface:
        // The interface gives 8 bits a channel: deeper YCbCr would lose some.
        decodable = layout.photometric == PHOTOMETRIC_LOGLUV || layout.photometric == PHOTOMETRIC_LOGL
                || (unsignedInteger && layout.bits <= 8);
        break;
    }
    if (!decodable || colours < colourSamples)
        return refuse(reason, unsupported(layout));
    // Converting colours needs them apart from their alpha.
    if (layout.premultiplied && (model == Model::Cmyk || model == Model::Lab))
        return refuse(reason, tiffText("%1 TIFF with premultiplied alpha is not supported").arg(photometricName(layout.photometric)));

    QImage decoded;
    if (model == Model::RgbaInterface) {
        if (!sizeFits(layout, 32, 1, reason) || !decodeThroughRgbaInterface(tiff, layout, &decoded, reason))
            return false;
    } else {
        // More than 8 bits a sample stay 16; a palette's colours are 8-bit.
        const bool deep = model != Model::Palette && layout.bits > 8;
        // The least size is upright; orientations 5 to 8 store the picture transposed.
        const bool transposed = tagOrientation >= ORIENTATION_LEFTTOP && tagOrientation <= ORIENTATION_LEFTBOT;
        const int factor = atLeast.isValid()
                ? reductionFactor(storedSize(layout), transposed ? atLeast.transposed() : atLeast)
                : 1;
        QImage::Format format;
        // Averaged blocks leave the palette.
        if (model == Model::Palette && layout.bits <= 8 && layout.alpha < 0 && factor == 1)
            format = QImage::Format_Indexed8;
        else if (model == Model::Grey && layout.alpha < 0)
            format = deep ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8;
        else if (layout.alpha < 0)
            format = deep ? QImage::Format_RGBX64 : QImage::Format_RGB32;
        else if (layout.premultiplied)
            format = deep ? QImage::Format_RGBA64_Premultiplied : QImage::Format_ARGB32_Premultiplied;
        else
            format = deep ? QImage::Format_RGBA64 : QImage::Format_ARGB32;
        if (!sizeFits(layout, QImage::toPixelFormat(format).bitsPerPixel(), factor, reason))
            return false;
        decoded = QImage(reducedSize(storedSize(layout), factor), format);
        if (decoded.isNull())
            return refuse(reason, outOfMemory());
        if (!decodeSamples(tiff, report, layout, model, factor, decoded, reason))
            return false;
    }
    if (report.damaged)
        return refuse(reason, damaged());

    if (model == Model::Cmyk || model == Model::Lab) {
        decoded.setColorSpace(QColorSpace::SRgb);
    } else {
        uint32_t size = 0;
        void *data = nullptr;
        if (TIFFGetField(tiff, TIFFTAG_ICCPROFILE, &size, &data) && size > 0) {
            const QColorSpace space = QColorSpace::fromIccProfile(QByteArray(static_cast<const char *>(data), qsizetype(size)));
            if (space.isValid())
                decoded.setColorSpace(space);
        }
    }
    *image = decoded;
    *orientation = tagOrientation >= 1 && tagOrientation <= 8 ? tagOrientation : 1;
    reason->clear();
    return true;
}

bool isTiffData(const QByteArray &head)
{
    static const char signatures[][4] = {{'I', 'I', 42, 0}, {'M', 'M', 0, 42}, {'I', 'I', 43, 0}, {'M', 'M', 0, 43}};
    return std::any_of(std::begin(signatures), std::end(signatures),
                       [&](const char *signature) { return head.startsWith(QByteArrayView(signature, 4)); });
}
