#include "imagewriters.h"

#include <QVector>

#include <gif_lib.h>

#include <cstring>

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

// GIF rows hold one palette index per pixel, so anything but an 8-bit
// indexed image with a table of 1 to 256 colours is converted first.
QImage indexedCopy(const QImage &image)
{
    if (image.format() == QImage::Format_Indexed8 && image.colorCount() >= 1 && image.colorCount() <= 256)
        return image;
    return image.convertToFormat(QImage::Format_Indexed8);
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
