#pragma once

// The stored samples of a TIFF picture: its layout, read a band of rows at a
// time, and turned into values on 0..1. The words for the user follow
// "The image could not be read: ".

#include <QCoreApplication>
#include <QString>

#include <tiffio.h>

#include <memory>
#include <vector>

// What libtiff says about one file.
struct TiffReport
{
    bool damaged = false;
};

struct TiffLayout
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

// The TIFF reader's texts, translated under one name.
struct TiffTexts
{
    Q_DECLARE_TR_FUNCTIONS(TiffDecoder)
};

qint64 tiffAllocationLimitBytes();
QString tiffDamaged();
QString tiffOutOfMemory();
QString tiffPhotometricName(uint16_t photometric);
// As in "32-bit signed CMYK TIFF is not supported".
QString tiffUnsupported(const TiffLayout &layout);
QString tiffTooLarge(const TiffLayout &layout);

// The stored samples of one band of rows, a strip or a row of tiles high:
// one buffer for contiguous storage, one for each sample when the planes are
// separate. Only a band is held at a time, beside the decoded picture.
class TiffBands
{
public:
    bool open(TIFF *tiff, const TiffReport *report, const TiffLayout &layout, QString *reason);

    // The stored row y of a plane, of the band last read.
    const uchar *row(int plane, uint32_t y) const { return m_buffers[plane].get() + (y % m_height) * m_rowBytes; }

    bool startsBand(uint32_t y) const { return y % m_height == 0; }

    // Reads the band whose first row is top.
    bool read(uint32_t top, QString *reason);

private:
    TIFF *m_tiff = nullptr;
    const TiffReport *m_report = nullptr;
    TiffLayout m_layout;
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
quint32 tiffRawSample(const uchar *row, qint64 index, int bits);

// Samples on 0..1. Unsigned integers span their full range. Signed ones are
// shifted up by half of it, so the most negative value is black and zero is
// mid-grey: the file alone cannot say what range it means, and the shift
// keeps every value apart. Floating-point samples are taken as 0..1 already,
// as their writers mean them; what lies outside is clipped when stored.
class TiffSampleReader
{
public:
    explicit TiffSampleReader(const TiffLayout &layout);

    // The first count samples of a stored row, to every stride-th place of out.
    void unpack(const uchar *row, qint64 count, double *out, int stride) const;

private:
    double integer(quint32 value) const;
    double value(const uchar *row, qint64 index) const;

    int m_bits;
    int m_format;
    double m_top;
    std::vector<double> m_table;
};
