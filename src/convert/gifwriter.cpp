#include "imagewriters.h"

#include <QSet>
#include <QVector>

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <vector>

namespace {

int writeToFile(GifFileType *gif, const GifByteType *data, int length)
{
    auto *file = static_cast<TargetFile *>(gif->UserData);
    return int(file->write(reinterpret_cast<const char *>(data), length));
}

QString gifErrorText(int code)
{
    const char *text = GifErrorString(code);
    return text ? QString::fromLatin1(text) : QStringLiteral("GIF encoder error %1").arg(code);
}

bool fail(const QString &reason, QString *error)
{
    if (error)
        *error = reason;
    return false;
}

// Distinct colours of an RGB32 picture, or nothing when there are more than max.
QList<QRgb> exactColours(const QImage &rgb, int max)
{
    QSet<QRgb> seen;
    QRgb last = 0;
    bool any = false;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            if (any && line[x] == last)
                continue;
            any = true;
            last = line[x];
            seen.insert(last);
            if (seen.size() > max)
                return {};
        }
    }
    return QList<QRgb>(seen.cbegin(), seen.cend());
}

// giflib's median cut over a sample of the pixels (a million of them give the
// same palette as all of a large photo), refined by a few rounds of k-means:
// giflib's entries alone are the means of 5-bit boxes, split by pixel count,
// which leaves smooth photos a few dB short.
QList<QRgb> picturePalette(const QImage &rgb)
{
    constexpr qint64 sampleLimit = 1 << 20;
    constexpr int rounds = 6;
    const qint64 pixels = qint64(rgb.width()) * rgb.height();
    const qint64 step = qMax<qint64>(1, (pixels + sampleLimit - 1) / sampleLimit);
    const qint64 count = (pixels + step - 1) / step;
    QByteArray red(count, Qt::Uninitialized), green(count, Qt::Uninitialized), blue(count, Qt::Uninitialized);
    // The sample's colours by 5-bit box: pixel count and channel sums.
    struct Box { qint64 n = 0, r = 0, g = 0, b = 0; };
    std::vector<Box> boxes(1 << 15);
    qint64 n = 0;
    for (qint64 i = 0; i < pixels && n < count; i += step, ++n) {
        const QRgb c = reinterpret_cast<const QRgb *>(rgb.constScanLine(int(i / rgb.width())))[i % rgb.width()];
        red[n] = char(qRed(c));
        green[n] = char(qGreen(c));
        blue[n] = char(qBlue(c));
        Box &box = boxes[(qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | qBlue(c) >> 3];
        ++box.n;
        box.r += qRed(c);
        box.g += qGreen(c);
        box.b += qBlue(c);
    }
    QByteArray indices(n, Qt::Uninitialized);
    GifColorType map[256];
    int size = 256;
    if (GifQuantizeBuffer(unsigned(n), 1, &size, reinterpret_cast<GifByteType *>(red.data()),
                          reinterpret_cast<GifByteType *>(green.data()), reinterpret_cast<GifByteType *>(blue.data()),
                          reinterpret_cast<GifByteType *>(indices.data()), map)
        != GIF_OK)
        return {};

    struct Cell { double r, g, b; qint64 n; };
    std::vector<Cell> cells;
    for (const Box &box : boxes)
        if (box.n)
            cells.push_back({double(box.r) / box.n, double(box.g) / box.n, double(box.b) / box.n, box.n});
    std::vector<std::array<double, 3>> entries(static_cast<size_t>(size));
    for (int i = 0; i < size; ++i)
        entries[i] = {double(map[i].Red), double(map[i].Green), double(map[i].Blue)};
    for (int round = 0; round < rounds; ++round) {
        std::vector<Box> sums(entries.size());
        for (const Cell &cell : cells) {
            size_t best = 0;
            double bestDistance = 1e30;
            for (size_t i = 0; i < entries.size(); ++i) {
                const double dr = entries[i][0] - cell.r, dg = entries[i][1] - cell.g, db = entries[i][2] - cell.b;
                const double distance = dr * dr + dg * dg + db * db;
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = i;
                }
            }
            sums[best].n += cell.n;
            sums[best].r += qint64(cell.r * cell.n);
            sums[best].g += qint64(cell.g * cell.n);
            sums[best].b += qint64(cell.b * cell.n);
        }
        for (size_t i = 0; i < entries.size(); ++i)
            if (sums[i].n)
                entries[i] = {double(sums[i].r) / sums[i].n, double(sums[i].g) / sums[i].n,
                              double(sums[i].b) / sums[i].n};
    }
    QList<QRgb> table;
    for (const auto &entry : entries)
        table << qRgb(qRound(entry[0]), qRound(entry[1]), qRound(entry[2]));
    return table;
}

// Floyd-Steinberg error diffusion onto the table, damped to five eighths of
// the error: full diffusion turns a photo's grain into noise worth 3 dB of
// PSNR, while the damped one still breaks up the bands of smooth gradients.
// The nearest entry is looked up once per cell of 6 bits a channel and kept.
QImage diffused(const QImage &rgb, const QList<QRgb> &table)
{
    const int width = rgb.width();
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    if (indexed.isNull() || table.isEmpty())
        return QImage();
    indexed.setColorTable(table);
    std::vector<qint16> nearest(1 << 18, -1);
    const auto lookup = [&](int r, int g, int b) {
        const int cell = (r >> 2) << 12 | (g >> 2) << 6 | (b >> 2);
        if (nearest[cell] < 0) {
            const int cr = (r & ~3) + 2, cg = (g & ~3) + 2, cb = (b & ~3) + 2;
            int best = 0;
            int bestDistance = INT_MAX;
            for (int i = 0; i < table.size(); ++i) {
                const int dr = qRed(table[i]) - cr, dg = qGreen(table[i]) - cg, db = qBlue(table[i]) - cb;
                const int distance = dr * dr + dg * dg + db * db;
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = i;
                }
            }
            nearest[cell] = qint16(best);
        }
        return nearest[cell];
    };
    // Errors in sixteenths, one row ahead, with a spare column at each end.
    std::vector<int> current(3 * (width + 2), 0), next(3 * (width + 2), 0);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *out = indexed.scanLine(y);
        std::fill(next.begin(), next.end(), 0);
        for (int x = 0; x < width; ++x) {
            int *e = &current[3 * (x + 1)];
            const int r = qBound(0, qRed(line[x]) + e[0] * 5 / 128, 255);
            const int g = qBound(0, qGreen(line[x]) + e[1] * 5 / 128, 255);
            const int b = qBound(0, qBlue(line[x]) + e[2] * 5 / 128, 255);
            const int index = lookup(r, g, b);
            out[x] = uchar(index);
            const int error[3] = {r - qRed(table[index]), g - qGreen(table[index]), b - qBlue(table[index])};
            int *below = &next[3 * (x + 1)];
            for (int c = 0; c < 3; ++c) {
                e[3 + c] += error[c] * 7;
                below[c - 3] += error[c] * 3;
                below[c] += error[c] * 5;
                below[c + 3] += error[c];
            }
        }
        current.swap(next);
    }
    return indexed;
}

// GIF rows hold one palette index per pixel, so anything but an 8-bit
// indexed image with a table of 1 to 256 colours is converted first: exactly
// when it has at most 256 colours, else onto a palette made for the picture.
QImage indexedCopy(const QImage &image)
{
    if (image.format() == QImage::Format_Indexed8 && image.colorCount() >= 1 && image.colorCount() <= 256)
        return image;
    // 1-bit pictures keep their table in its order.
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB)
        return image.convertToFormat(QImage::Format_Indexed8);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const QList<QRgb> exact = exactColours(rgb, 256);
    if (!exact.isEmpty())
        return rgb.convertToFormat(QImage::Format_Indexed8, exact);
    return diffused(rgb, picturePalette(rgb));
}

} // namespace

bool writeGif(const QImage &image, const QString &targetPath, QString *error)
{
    if (image.isNull())
        return fail(QStringLiteral("Image is empty"), error);
    // The format stores both sides in 16 bits; a larger picture would wrap.
    if (image.width() > 65535 || image.height() > 65535)
        return fail(QStringLiteral("A GIF picture can be at most 65,535 pixels wide and high"), error);

    const QImage indexed = indexedCopy(image);
    const QList<QRgb> table = indexed.colorTable();
    const int colourCount = int(table.size());
    if (indexed.isNull() || colourCount < 1 || colourCount > 256)
        return fail(QStringLiteral("Cannot reduce the image to 256 colours"), error);

    // The table is padded with black up to the next power of two.
    const int bits = GifBitSize(colourCount);
    const int tableSize = 1 << bits;
    QVector<GifColorType> colours(tableSize, GifColorType{0, 0, 0});
    for (int i = 0; i < colourCount; ++i)
        colours[i] = GifColorType{GifByteType(qRed(table[i])), GifByteType(qGreen(table[i])),
                                  GifByteType(qBlue(table[i]))};
    ColorMapObject *colourMap = GifMakeMapObject(tableSize, colours.constData());
    if (!colourMap)
        return fail(QStringLiteral("Out of memory"), error);

    // The file only replaces an existing target once it is complete.
    TargetFile file(targetPath);
    if (!file.open()) {
        GifFreeMapObject(colourMap);
        return fail(file.failureReason(), error);
    }
    int gifError = 0;
    GifFileType *gif = EGifOpen(&file, &writeToFile, &gifError);
    if (!gif) {
        GifFreeMapObject(colourMap);
        file.cancel();
        return fail(gifErrorText(gifError), error);
    }
    EGifSetGifVersion(gif, true);

    const int width = indexed.width();
    const int height = indexed.height();
    bool ok = EGifPutScreenDesc(gif, width, height, bits, 0, colourMap) == GIF_OK
              && EGifPutImageDesc(gif, 0, 0, width, height, false, colourMap) == GIF_OK;
    // giflib masks the indices of a row in place, so each row passes through
    // one reusable buffer rather than the caller's pixels.
    QByteArray row(width, Qt::Uninitialized);
    for (int y = 0; ok && y < height; ++y) {
        std::memcpy(row.data(), indexed.constScanLine(y), size_t(width));
        ok = EGifPutLine(gif, reinterpret_cast<GifPixelType *>(row.data()), width) == GIF_OK;
    }
    if (!ok)
        gifError = gif->Error;
    int closeError = 0;
    if (EGifCloseFile(gif, &closeError) != GIF_OK && ok) {
        ok = false;
        gifError = closeError;
    }
    GifFreeMapObject(colourMap);

    if (!ok) {
        file.cancel();
        return fail(file.failed() ? file.failureReason() : gifErrorText(gifError), error);
    }
    return file.commit(error);
}
