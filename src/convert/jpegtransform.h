#pragma once

#include <QByteArray>
#include <QSize>

#include <optional>

// JPEG data worked on without decoding its pixels: the DCT blocks are moved
// as they are, so nothing of the picture is lost.

// What a JPEG's headers say, as libjpeg reads them.
struct JpegLayout
{
    QSize size;  // as stored
    QSize block; // the MCU: what a lossless turn moves as one piece
    bool grey = false;
    // 8-bit Huffman-coded grey or YCbCr: what TurboJPEG turns and libjxl
    // recompresses (not CMYK, arithmetic coding or 12 bits).
    bool transformable = false;
    bool hasColourProfile = false;
};

// Nothing for data libjpeg cannot read a header from.
std::optional<JpegLayout> readJpegLayout(const QByteArray &jpeg);

// The size a picture of stored size and block turned upright from an EXIF
// orientation (1 to 8) comes out at: an edge the turn would move to the
// left or top that is not made of whole blocks is trimmed off, as jpegtran's
// -trim does, since its partial blocks cannot move.
QSize losslessTurnSize(QSize stored, QSize block, int orientation);

// The JPEG turned upright from an EXIF orientation (1 leaves it as it is),
// trimmed as losslessTurnSize says, without any of its markers (metadata
// and profile); progressive scans when asked. Empty, with TurboJPEG's reason
// in *error, when it fails.
QByteArray transformedJpeg(const QByteArray &jpeg, int orientation, bool progressive, QString *error);
