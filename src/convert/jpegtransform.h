#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <optional>

// JPEG data worked on without decoding its pixels: the DCT blocks are moved
// as they are, so nothing of the picture is lost.

// What a JPEG's headers say, as libjpeg reads them.
struct JpegLayout
{
    QSize size; // as stored
    bool grey = false;
    // 8-bit Huffman-coded grey or YCbCr: what TurboJPEG turns and libjxl
    // recompresses (not CMYK, arithmetic coding or 12 bits).
    bool transformable = false;
    bool hasColourProfile = false;
};

// Nothing for data libjpeg cannot read a header from.
std::optional<JpegLayout> readJpegLayout(const QByteArray &jpeg);

// The JPEG turned upright from an EXIF orientation (1 leaves it as it is):
// an edge the turn would move to the left or top that is not made of whole
// blocks (MCUs) is trimmed off, as jpegtran's -trim does, since its partial
// blocks cannot move. The result has none of the source's markers (metadata
// and profile), and progressive scans when asked. Empty, with TurboJPEG's
// reason in *error, when it fails.
QByteArray transformedJpeg(const QByteArray &jpeg, int orientation, bool progressive, QString *error);
