#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes a page (0 the first) of a TIFF file with libtiff. On success *image holds
// the pixels as stored, not yet turned, with their colour space, and
// *orientation the TIFF Orientation tag (1..8, 1 when absent). Otherwise
// returns false and *reason names the cause, in words for the user, to
// follow "The image could not be read: ". Given atLeast, an upright size, the
// picture is averaged as it is read into one reduced by a whole factor to no
// less than that size, holding only it and a band of rows; pictures libtiff
// turns into RGBA itself (YCbCr and the like) are decoded whole.
bool decodeTiffFile(const QString &path, QImage *image, int *orientation, QString *reason,
                    const QSize &atLeast = QSize(), int page = 0);

// The stored size of a page and its Orientation tag (1..8, 1 when absent),
// told without decoding; false when the page cannot be read.
bool tiffPageSize(const QString &path, int page, QSize *size, int *orientation);

// The number of pages (image directories) of a TIFF file; 0 when it cannot be read.
int tiffPageCount(const QString &path);

// True when the file starts with a TIFF signature (II*\0, MM\0*, or BigTIFF).
bool isTiffData(const QByteArray &head);
