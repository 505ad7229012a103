#include "animationwriter.h"
#include "imagewriters.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QVector>

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <functional>
#include <vector>

namespace {

// The texts of this file, translated under one name.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(ImageWriters)
};

int writeToFile(GifFileType *gif, const GifByteType *data, int length)
{
    auto *file = static_cast<TargetFile *>(gif->UserData);
    return int(file->write(reinterpret_cast<const char *>(data), length));
}

QString gifErrorText(int code)
{
    const char *text = GifErrorString(code);
    return text ? QString::fromLatin1(text) : Texts::tr("GIF encoder error %1").arg(code);
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
// which leaves smooth photos a few dB short. At most maxColours entries.
QList<QRgb> picturePalette(const QImage &rgb, int maxColours)
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
    int size = maxColours;
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
    return diffused(rgb, picturePalette(rgb, 256));
}

// The table padded with black up to the next power of two, as GIF stores it;
// null when out of memory.
ColorMapObject *colourMap(const QList<QRgb> &table)
{
    const int tableSize = 1 << GifBitSize(int(table.size()));
    QVector<GifColorType> colours(tableSize, GifColorType{0, 0, 0});
    for (int i = 0; i < table.size(); ++i)
        colours[i] = GifColorType{GifByteType(qRed(table[i])), GifByteType(qGreen(table[i])),
                                  GifByteType(qBlue(table[i]))};
    return GifMakeMapObject(tableSize, colours.constData());
}

// One image at the given place with its own table, then its rows. giflib
// masks the indices of a row in place, so each row passes through one
// reusable buffer rather than the caller's pixels.
bool putImage(GifFileType *gif, const QImage &indexed, const QPoint &at, const ColorMapObject *map)
{
    const int width = indexed.width();
    if (EGifPutImageDesc(gif, at.x(), at.y(), width, indexed.height(), false, map) != GIF_OK)
        return false;
    QByteArray row(width, Qt::Uninitialized);
    for (int y = 0; y < indexed.height(); ++y) {
        std::memcpy(row.data(), indexed.constScanLine(y), size_t(width));
        if (EGifPutLine(gif, reinterpret_cast<GifPixelType *>(row.data()), width) != GIF_OK)
            return false;
    }
    return true;
}

} // namespace

bool writeGif(const QImage &image, const QString &targetPath, QString *error)
{
    if (image.isNull())
        return fail(Texts::tr("Image is empty"), error);
    // The format stores both sides in 16 bits; a larger picture would wrap.
    if (image.width() > 65535 || image.height() > 65535)
        return fail(Texts::tr("A GIF picture can be at most 65,535 pixels wide and high"), error);

    const QImage indexed = indexedCopy(image);
    const QList<QRgb> table = indexed.colorTable();
    const int colourCount = int(table.size());
    if (indexed.isNull() || colourCount < 1 || colourCount > 256)
        return fail(Texts::tr("Cannot reduce the image to 256 colours"), error);

    const int bits = GifBitSize(colourCount);
    ColorMapObject *map = colourMap(table);
    if (!map)
        return fail(Texts::tr("Out of memory"), error);

    // The file only replaces an existing target once it is complete.
    TargetFile file(targetPath);
    if (!file.open()) {
        GifFreeMapObject(map);
        return fail(file.failureReason(), error);
    }
    int gifError = 0;
    GifFileType *gif = EGifOpen(&file, &writeToFile, &gifError);
    if (!gif) {
        GifFreeMapObject(map);
        file.cancel();
        return fail(gifErrorText(gifError), error);
    }
    EGifSetGifVersion(gif, true);

    bool ok = EGifPutScreenDesc(gif, indexed.width(), indexed.height(), bits, 0, map) == GIF_OK
              && putImage(gif, indexed, QPoint(0, 0), map);
    if (!ok)
        gifError = gif->Error;
    int closeError = 0;
    if (EGifCloseFile(gif, &closeError) != GIF_OK && ok) {
        ok = false;
        gifError = closeError;
    }
    GifFreeMapObject(map);

    if (!ok) {
        file.cancel();
        return fail(file.failed() ? file.failureReason() : gifErrorText(gifError), error);
    }
    return file.commit(error);
}

namespace {

// GIF keeps a pixel or leaves it out: at least half opaque counts as opaque.
// Transparent pixels become 0, so that comparing two frames compares what
// they show.
QImage binaryAlpha(const QImage &frame)
{
    QImage binary = frame.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < binary.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(binary.scanLine(y));
        for (int x = 0; x < binary.width(); ++x)
            line[x] = qAlpha(line[x]) < 128 ? 0 : line[x] | 0xff000000;
    }
    return binary;
}

// The smallest rectangle holding every pixel for which differ(a, b) holds.
template<typename Differ>
QRect differingArea(const QImage &a, const QImage &b, Differ differ)
{
    int left = a.width(), right = -1, top = -1, bottom = -1;
    for (int y = 0; y < a.height(); ++y) {
        const auto *la = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *lb = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        int x = 0;
        while (x < a.width() && !differ(la[x], lb[x]))
            ++x;
        if (x == a.width())
            continue;
        left = qMin(left, x);
        int last = a.width() - 1;
        while (!differ(la[last], lb[last]))
            --last;
        right = qMax(right, last);
        if (top < 0)
            top = y;
        bottom = y;
    }
    return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Each frame is written as the rectangle where it differs from what the
// viewer shows before it, with the unchanged pixels in it transparent. A
// pixel that must turn transparent cannot be drawn so: the frame before is
// then disposed to the background (cleared to transparent) over a rectangle
// stretched to cover those pixels. Since that choice is written ahead of the
// frame it concerns, one frame waits until the next one is known.
class GifAnimation : public AnimationWriter
{
public:
    GifAnimation(const QString &targetPath, const QSize &canvas) : file(targetPath), canvas(canvas) {}

    ~GifAnimation() override
    {
        // Unfinished: the temporary file goes with the target file.
        if (gif)
            EGifCloseFile(gif, nullptr);
    }

    bool start(int loopCount, QString *error)
    {
        if (!file.open())
            return fail(file.failureReason(), error);
        int gifError = 0;
        gif = EGifOpen(&file, &writeToFile, &gifError);
        if (!gif)
            return fail(gifErrorText(gifError), error);
        EGifSetGifVersion(gif, true);
        bool ok = EGifPutScreenDesc(gif, canvas.width(), canvas.height(), 8, 0, nullptr) == GIF_OK;
        // The application block counts the repeats after the first play, 0
        // for ever; without it the animation plays once.
        if (ok && loopCount != 1) {
            const int repeats = loopCount == 0 ? 0 : loopCount - 1;
            const GifByteType count[] = {1, GifByteType(repeats & 0xff), GifByteType(repeats >> 8)};
            ok = EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK
                 && EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK
                 && EGifPutExtensionBlock(gif, sizeof count, count) == GIF_OK
                 && EGifPutExtensionTrailer(gif) == GIF_OK;
        }
        return ok || failed(error);
    }

    bool addFrame(const QImage &frame, int delayMs, QString *error) override
    {
        if (frame.size() != canvas)
            return fail(Texts::tr("A frame of %1 x %2 pixels does not fit the %3 x %4 animation")
                            .arg(frame.width()).arg(frame.height()).arg(canvas.width()).arg(canvas.height()),
                        error);
        if (!gif)
            return fail(failure, error);
        const QImage next = binaryAlpha(frame);
        QImage base;
        if (pending.pixels.isNull()) {
            base = QImage(canvas, QImage::Format_ARGB32);
            base.fill(0);
        } else {
            const QRect vanishing = differingArea(pending.pixels, next, [](QRgb shown, QRgb wanted) {
                return qAlpha(shown) && !qAlpha(wanted);
            });
            base = pending.pixels;
            int disposal = DISPOSE_DO_NOT;
            if (!vanishing.isNull()) {
                disposal = DISPOSE_BACKGROUND;
                pending.area |= vanishing;
                base = pending.pixels.copy();
                clear(&base, pending.area);
            }
            if (!writePending(disposal, error))
                return false;
        }
        // The first frame covers the canvas, whatever a viewer starts from.
        QRect area = pending.pixels.isNull() ? QRect(QPoint(0, 0), canvas)
                                             : differingArea(next, base, std::not_equal_to<QRgb>());
        // A frame that changes nothing is still one frame, of one kept pixel.
        if (area.isNull())
            area = QRect(0, 0, 1, 1);
        pending = {next, base, area, delayMs};
        return true;
    }

    bool finish(QString *error) override
    {
        if (!gif)
            return fail(failure, error);
        if (pending.pixels.isNull())
            return fail(Texts::tr("Image is empty"), error);
        if (!writePending(DISPOSE_DO_NOT, error))
            return false;
        int closeError = 0;
        const bool closed = EGifCloseFile(gif, &closeError) == GIF_OK;
        gif = nullptr;
        if (!closed) {
            failure = file.failed() ? file.failureReason() : gifErrorText(closeError);
            file.cancel();
            return fail(failure, error);
        }
        return file.commit(error);
    }

private:
    struct Frame
    {
        QImage pixels; // what the frame shows, transparent pixels 0
        QImage base;   // what the viewer shows before it
        QRect area;    // what is written of it
        int delayMs = 0;
    };

    static void clear(QImage *image, const QRect &area)
    {
        for (int y = area.top(); y <= area.bottom(); ++y)
            std::fill_n(reinterpret_cast<QRgb *>(image->scanLine(y)) + area.left(), area.width(), QRgb(0));
    }

    // Ends the file on the first failure, keeping its reason for every later call.
    bool failed(QString *error)
    {
        failure = file.failed() ? file.failureReason() : gifErrorText(gif->Error);
        EGifCloseFile(gif, nullptr);
        gif = nullptr;
        file.cancel();
        return fail(failure, error);
    }

    bool writePending(int disposal, QString *error)
    {
        const QImage pixels = pending.pixels.copy(pending.area);
        const QImage base = pending.base.copy(pending.area);
        // The changed pixels, all opaque, packed for the palette; the
        // others get the colour before them on their row for the diffusion.
        QImage rgb(pixels.size(), QImage::Format_RGB32);
        std::vector<QRgb> changed;
        for (int y = 0; y < pixels.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
            const auto *before = reinterpret_cast<const QRgb *>(base.constScanLine(y));
            auto *out = reinterpret_cast<QRgb *>(rgb.scanLine(y));
            QRgb last = changed.empty() ? line[0] : changed.back();
            for (int x = 0; x < pixels.width(); ++x) {
                if (line[x] != before[x])
                    changed.push_back(line[x]);
                if (qAlpha(line[x]))
                    last = line[x];
                out[x] = last;
            }
        }
        // Qt's reader gives every frame an alpha channel only when the first
        // one has a transparent entry, so the first always has one.
        const bool transparent = written == 0 || disposal == DISPOSE_BACKGROUND
                                 || qsizetype(changed.size()) < qsizetype(pixels.width()) * pixels.height();
        const int maxColours = transparent ? 255 : 256;

        QList<QRgb> table;
        QImage indexed;
        if (!changed.empty()) {
            const int width = int(qMin<size_t>(changed.size(), 4096));
            QImage packed(width, int((changed.size() + width - 1) / width), QImage::Format_RGB32);
            if (packed.isNull())
                return fail(Texts::tr("Out of memory"), error);
            // The last row is filled up with the first pixels again.
            for (qint64 i = 0; i < qint64(packed.width()) * packed.height(); ++i)
                reinterpret_cast<QRgb *>(packed.scanLine(int(i / width)))[i % width] = changed[i % changed.size()];
            table = exactColours(packed, maxColours);
            indexed = !table.isEmpty() ? rgb.convertToFormat(QImage::Format_Indexed8, table)
                                       : diffused(rgb, table = picturePalette(packed, maxColours));
        } else {
            indexed = QImage(pixels.size(), QImage::Format_Indexed8);
        }
        if (indexed.isNull() || (!changed.empty() && table.isEmpty()))
            return fail(Texts::tr("Cannot reduce the image to 256 colours"), error);
        const int keep = int(table.size());
        if (transparent) {
            table << qRgb(0, 0, 0);
            for (int y = 0; y < pixels.height(); ++y) {
                const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
                const auto *before = reinterpret_cast<const QRgb *>(base.constScanLine(y));
                uchar *out = indexed.scanLine(y);
                for (int x = 0; x < pixels.width(); ++x)
                    if (line[x] == before[x])
                        out[x] = uchar(keep);
            }
        }

        // Delays are kept in hundredths, rounded, even the short ones that
        // viewers stretch: the file holds what it was given.
        GraphicsControlBlock control{disposal, false, qBound(0, (pending.delayMs + 5) / 10, 65535),
                                     transparent ? keep : NO_TRANSPARENT_COLOR};
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        ColorMapObject *map = colourMap(table);
        if (!map)
            return fail(Texts::tr("Out of memory"), error);
        const bool ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK
                        && putImage(gif, indexed, pending.area.topLeft(), map);
        GifFreeMapObject(map);
        ++written;
        return ok || failed(error);
    }

    TargetFile file;
    const QSize canvas;
    GifFileType *gif = nullptr;
    QString failure = Texts::tr("The GIF file was not written");
    Frame pending;
    int written = 0;
};

} // namespace

std::unique_ptr<AnimationWriter> createGifAnimation(const QString &targetPath, const QSize &canvas, int loopCount,
                                                    QString *error)
{
    // The format stores both sides in 16 bits.
    if (canvas.width() > 65535 || canvas.height() > 65535) {
        fail(Texts::tr("A GIF picture can be at most 65,535 pixels wide and high"), error);
        return nullptr;
    }
    auto animation = std::make_unique<GifAnimation>(targetPath, canvas);
    if (!animation->start(loopCount, error))
        return nullptr;
    return animation;
}
