#pragma once
// GIF fixtures through giflib, which Qt cannot write: 8-bit indexed frames
// of one size; the first frame's colour table is the global one.

#include <QByteArray>
#include <QImage>
#include <QList>

#include <gif_lib.h>

namespace kxtest {

inline QByteArray gifOfFrames(const QList<QImage> &frames)
{
    if (frames.isEmpty())
        return {};
    const QImage &first = frames.first();
    QByteArray bytes;
    int error = 0;
    GifFileType *gif = EGifOpen(&bytes, [](GifFileType *file, const GifByteType *data, int length) {
        static_cast<QByteArray *>(file->UserData)->append(reinterpret_cast<const char *>(data), length);
        return length;
    }, &error);
    const QList<QRgb> table = first.colorTable();
    const int bits = GifBitSize(int(table.size()));
    ColorMapObject *map = GifMakeMapObject(1 << bits, nullptr);
    for (int i = 0; i < (1 << bits); ++i) {
        const QRgb c = i < table.size() ? table.at(i) : 0;
        map->Colors[i] = GifColorType{GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))};
    }
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, first.width(), first.height(), bits, 0, map);
    for (const QImage &frame : frames) {
        if (frames.size() > 1) {
            const GifByteType control[4] = {0, 10, 0, 0};
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
        }
        EGifPutImageDesc(gif, 0, 0, frame.width(), frame.height(), false, nullptr);
        for (int y = 0; y < frame.height(); ++y) {
            QByteArray row(reinterpret_cast<const char *>(frame.constScanLine(y)), frame.width());
            EGifPutLine(gif, reinterpret_cast<GifPixelType *>(row.data()), frame.width());
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return bytes;
}

} // namespace kxtest
