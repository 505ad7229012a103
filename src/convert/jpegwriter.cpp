#include "imagewriters.h"

#include <QColorSpace>
#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "jpegerrors.h"

namespace {

// The texts of this file, translated under one name.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(ImageWriters)
};

// Everything C++ that outlives a jump back from libjpeg is made before it.
struct Work
{
    QImage picture;
    QByteArray profile;
    std::vector<JSAMPLE> row;
    unsigned char *encoded = nullptr;
    unsigned long encodedSize = 0;
    ~Work() { std::free(encoded); }
};

// A palette or 1-bit picture of greys only is stored as a grey JPEG, as Qt does.
bool isGrey(const QImage &image)
{
    switch (image.format()) {
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
        return true;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
        for (const QRgb colour : image.colorTable()) {
            if (!qIsGray(colour))
                return false;
        }
        return true;
    default:
        return false;
    }
}

// The density in whole dots per inch, or per centimetre when that is exact.
void setDensity(const QImage &image, jpeg_compress_struct *info)
{
    const auto offWhole = [](double value) { return std::abs(value - std::round(value)); };
    const double inchX = image.dotsPerMeterX() * 0.0254, inchY = image.dotsPerMeterY() * 0.0254;
    const double cmX = image.dotsPerMeterX() / 100.0, cmY = image.dotsPerMeterY() / 100.0;
    const bool inches = offWhole(inchX) + offWhole(inchY) < (offWhole(cmX) + offWhole(cmY)) * 2.54;
    info->density_unit = inches ? 1 : 2;
    info->X_density = UINT16(std::lround(inches ? inchX : cmX));
    info->Y_density = UINT16(std::lround(inches ? inchY : cmY));
}

int bitReversed(int value, int bits)
{
    int reversed = 0;
    for (int bit = 0; bit < bits; ++bit)
        reversed |= ((value >> bit) & 1) << (bits - 1 - bit);
    return reversed;
}

// A fraction of a quality point between libjpeg's tables for two whole
// qualities: that share of the entries that differ take the higher quality's
// value, coarse and fine frequencies interleaved. Scaling the tables by a
// fractional factor instead moves many entries at once where they are small,
// and the size with them by several per cent.
void setQuality(int whole, double fraction, jpeg_compress_struct *info)
{
    jpeg_set_quality(info, whole, TRUE);
    std::array<std::array<UINT16, DCTSIZE2>, 2> lower;
    for (int t = 0; t < 2; ++t)
        std::copy(std::begin(info->quant_tbl_ptrs[t]->quantval), std::end(info->quant_tbl_ptrs[t]->quantval),
                  lower[t].begin());
    jpeg_set_quality(info, whole + 1, TRUE);
    for (int t = 0; t < 2; ++t) {
        UINT16 *higher = info->quant_tbl_ptrs[t]->quantval;
        // No heap here: libjpeg may jump past any destructor.
        std::array<int, DCTSIZE2> differing{};
        int count = 0;
        for (int i = 0; i < DCTSIZE2; ++i) {
            if (higher[i] != lower[t][i])
                differing[size_t(count++)] = i;
        }
        // The coefficients in natural order: the finer, the further row plus
        // column. The coarse ones weigh most; taken in bit-reversed order of
        // fineness, any share of the entries mixes coarse and fine alike, so
        // that the size climbs about evenly with the fraction.
        std::stable_sort(differing.begin(), differing.begin() + count, [](int a, int b) {
            return a / DCTSIZE + a % DCTSIZE < b / DCTSIZE + b % DCTSIZE;
        });
        int bits = 0;
        while ((1 << bits) < count)
            ++bits;
        std::array<int, DCTSIZE2> order{};
        std::iota(order.begin(), order.begin() + count, 0);
        std::sort(order.begin(), order.begin() + count,
                  [bits](int a, int b) { return bitReversed(a, bits) < bitReversed(b, bits); });
        const std::array<int, DCTSIZE2> byFineness = differing;
        for (int i = 0; i < count; ++i)
            differing[size_t(i)] = byFineness[size_t(order[size_t(i)])];
        for (int i = int(std::lround(fraction * count)); i < count; ++i)
            higher[differing[size_t(i)]] = lower[t][differing[size_t(i)]];
    }
}

// One picture row as libjpeg takes it: grey bytes or RGB triples. Other
// pixel formats are converted a row at a time, as Qt's writer does, so that
// a 16-bit picture needs no second copy.
void fillRow(const QImage &picture, bool grey, int y, JSAMPLE *row)
{
    const int width = picture.width();
    if (grey || picture.format() == QImage::Format_RGB888) {
        const uchar *line = picture.constScanLine(y);
        std::copy(line, line + width * (grey ? 1 : 3), row);
        return;
    }
    const bool direct = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
                        || picture.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage converted = direct ? QImage() : picture.copy(0, y, width, 1).convertToFormat(QImage::Format_RGB32);
    const auto *pixels = reinterpret_cast<const QRgb *>(direct ? picture.constScanLine(y) : converted.constBits());
    for (int x = 0; x < width; ++x, row += 3) {
        row[0] = JSAMPLE(qRed(pixels[x]));
        row[1] = JSAMPLE(qGreen(pixels[x]));
        row[2] = JSAMPLE(qBlue(pixels[x]));
    }
}

} // namespace

bool encodeJpeg(const QImage &image, const WriteOptions &options, QIODevice *device, QString *error)
{
    const bool grey = isGrey(image);
    Work work;
    work.picture = !grey || image.format() == QImage::Format_Grayscale8
                       ? image
                       : image.convertToFormat(QImage::Format_Grayscale8);
    if (work.picture.isNull()) {
        *error = Texts::tr("There is not enough memory to encode the picture");
        return false;
    }
    work.profile = grey ? QByteArray() : image.colorSpace().iccProfile();
    work.row.resize(size_t(work.picture.width()) * (grey ? 1 : 3));

    jpeg_compress_struct info;
    JpegErrors errors;
    info.err = errors.install();
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        *error = Texts::tr("The jpg encoder failed: %1").arg(QString::fromLocal8Bit(errors.message));
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &work.encoded, &work.encodedSize);
    info.image_width = JDIMENSION(work.picture.width());
    info.image_height = JDIMENSION(work.picture.height());
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    setDensity(work.picture, &info);
    info.optimize_coding = TRUE;
    jpeg_simple_progression(&info);
    const int quality = options.quality < 0 ? 75 : qMin(options.quality, 100);
    if (options.qualityFraction > 0 && quality < 100)
        setQuality(quality, options.qualityFraction, &info);
    else
        jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    if (!work.profile.isEmpty())
        jpeg_write_icc_profile(&info, reinterpret_cast<const JOCTET *>(work.profile.constData()),
                               unsigned(work.profile.size()));
    while (info.next_scanline < info.image_height) {
        fillRow(work.picture, grey, int(info.next_scanline), work.row.data());
        JSAMPROW row = work.row.data();
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    if (device->write(reinterpret_cast<const char *>(work.encoded), qint64(work.encodedSize))
        != qint64(work.encodedSize)) {
        *error = device->errorString();
        return false;
    }
    return true;
}
