#include "tiffsamples.h"

#include "pipelinerules.h"

#include <QCoreApplication>
#include <QFloat16>
#include <QSysInfo>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace {

bool refuse(QString *reason, const QString &why)
{
    *reason = why;
    return false;
}

bool allocate(std::unique_ptr<uchar[]> *buffer, qint64 size, QString *reason)
{
    // A band's size comes from the file: a tile may claim gigabytes.
    if (size > tiffAllocationLimitBytes())
        return refuse(reason, tiffOutOfMemory());
    buffer->reset(new (std::nothrow) uchar[size]);
    return *buffer || refuse(reason, tiffOutOfMemory());
}

} // namespace

qint64 tiffAllocationLimitBytes()
{
    return qint64(allocationLimitMegabytes()) * 1024 * 1024;
}

QString tiffDamaged()
{
    return TiffTexts::tr("damaged or truncated");
}

QString tiffOutOfMemory()
{
    return TiffTexts::tr("there is not enough memory to decode it");
}

QString tiffPhotometricName(uint16_t photometric)
{
    switch (photometric) {
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_MINISBLACK:
        return TiffTexts::tr("grey");
    case PHOTOMETRIC_PALETTE:
        return TiffTexts::tr("palette");
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
    return TiffTexts::tr("photometric %1").arg(photometric);
}

QString tiffUnsupported(const TiffLayout &layout)
{
    QString kind = tiffPhotometricName(layout.photometric);
    if (layout.format == SAMPLEFORMAT_INT)
        kind = TiffTexts::tr("signed %1").arg(kind);
    else if (layout.format == SAMPLEFORMAT_IEEEFP)
        kind = TiffTexts::tr("floating-point %1").arg(kind);
    else if (layout.format == SAMPLEFORMAT_COMPLEXINT || layout.format == SAMPLEFORMAT_COMPLEXIEEEFP)
        kind = TiffTexts::tr("complex %1").arg(kind);
    return TiffTexts::tr("%1-bit %2 TIFF is not supported").arg(layout.bits).arg(kind);
}

QString tiffTooLarge(const TiffLayout &layout)
{
    return TiffTexts::tr("the picture size %1 x %2 is too large: at most %3 pixels a side and %4 MB")
            .arg(layout.width)
            .arg(layout.height)
            .arg(maximumPictureSide)
            .arg(allocationLimitMegabytes());
}

bool TiffBands::open(TIFF *tiff, const TiffReport *report, const TiffLayout &layout, QString *reason)
{
    m_tiff = tiff;
    m_report = report;
    m_layout = layout;
    m_planeCount = layout.separate ? layout.samples : 1;
    m_perPixel = layout.separate ? 1 : layout.samples;
    m_rowBytes = (qint64(layout.width) * m_perPixel * layout.bits + 7) / 8;
    if (m_rowBytes != TIFFScanlineSize64(tiff))
        return refuse(reason, tiffUnsupported(layout));
    if (TIFFIsTiled(tiff)) {
        TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &m_tileWidth);
        TIFFGetField(tiff, TIFFTAG_TILELENGTH, &m_height);
        const qint64 tileRowBits = qint64(m_tileWidth) * m_perPixel * layout.bits;
        // Tiles are whole bytes wide, so each starts on a byte of the row.
        if (m_tileWidth == 0 || m_height == 0 || tileRowBits % 8)
            return refuse(reason, tiffDamaged());
        m_tileRowBytes = tileRowBits / 8;
        const tmsize_t tileSize = TIFFTileSize(tiff);
        if (tileSize < m_tileRowBytes * m_height)
            return refuse(reason, tiffDamaged());
        if (!allocate(&m_tile, tileSize, reason))
            return false;
    } else {
        TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &m_height);
    }
    m_height = std::clamp<uint32_t>(m_height, 1, layout.height);
    if (m_rowBytes * m_height * m_planeCount > tiffAllocationLimitBytes())
        return refuse(reason, tiffTooLarge(layout));
    m_buffers.resize(m_planeCount);
    for (auto &buffer : m_buffers)
        if (!allocate(&buffer, m_rowBytes * m_height, reason))
            return false;
    return true;
}

bool TiffBands::read(uint32_t top, QString *reason)
{
    const uint32_t rows = std::min(m_height, m_layout.height - top);
    for (int plane = 0; plane < m_planeCount; ++plane) {
        uchar *band = m_buffers[plane].get();
        if (!m_tile) {
            const tmsize_t wanted = rows * m_rowBytes;
            if (TIFFReadEncodedStrip(m_tiff, TIFFComputeStrip(m_tiff, top, uint16_t(plane)), band, wanted) != wanted)
                return refuse(reason, tiffDamaged());
            continue;
        }
        for (uint32_t x = 0; x < m_layout.width; x += m_tileWidth) {
            if (TIFFReadTile(m_tiff, m_tile.get(), x, top, 0, uint16_t(plane)) < 0)
                return refuse(reason, tiffDamaged());
            const qint64 offset = x / m_tileWidth * m_tileRowBytes;
            const qint64 bytes = std::min(m_tileRowBytes, m_rowBytes - offset);
            for (uint32_t row = 0; row < rows; ++row)
                std::memcpy(band + row * m_rowBytes + offset, m_tile.get() + row * m_tileRowBytes, bytes);
        }
    }
    return !m_report->damaged || refuse(reason, tiffDamaged());
}

quint32 tiffRawSample(const uchar *row, qint64 index, int bits)
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

TiffSampleReader::TiffSampleReader(const TiffLayout &layout)
    : m_bits(layout.bits), m_format(layout.format), m_top(std::ldexp(1.0, layout.bits) - 1.0)
{
    // Integers up to 16 bits are looked up.
    if (m_format != SAMPLEFORMAT_IEEEFP && m_bits <= 16) {
        m_table.resize(size_t(1) << m_bits);
        for (quint32 value = 0; value < m_table.size(); ++value)
            m_table[value] = integer(value);
    }
}

void TiffSampleReader::unpack(const uchar *row, qint64 count, double *out, int stride) const
{
    if (m_bits == 8 && !m_table.empty()) {
        for (qint64 i = 0; i < count; ++i)
            out[i * stride] = m_table[row[i]];
    } else if (!m_table.empty()) {
        for (qint64 i = 0; i < count; ++i)
            out[i * stride] = m_table[tiffRawSample(row, i, m_bits)];
    } else {
        for (qint64 i = 0; i < count; ++i)
            out[i * stride] = value(row, i);
    }
}

double TiffSampleReader::integer(quint32 value) const
{
    if (m_format == SAMPLEFORMAT_INT)
        return (value ^ (1u << (m_bits - 1))) / m_top;
    return value / m_top;
}

double TiffSampleReader::value(const uchar *row, qint64 index) const
{
    if (m_format != SAMPLEFORMAT_IEEEFP)
        return integer(tiffRawSample(row, index, m_bits));
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
