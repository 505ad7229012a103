#pragma once

#include <QByteArray>
#include <QSize>

class QIODevice;

// A JPEG kept whole inside a JPEG XL file: libjxl stores its DCT blocks
// losslessly, with the data that gives the JPEG back byte for byte (djxl, or
// a decoder's JPEG reconstruction); its EXIF and XMP become the file's boxes.
struct JpegForJxl
{
    QByteArray jpeg;
    QSize size;
    bool grey = false;
    // The EXIF orientation the file's header carries, so that readers turn
    // the picture upright as they would the JPEG. libjxl puts the one the
    // EXIF names there instead when the JPEG has an EXIF segment.
    int orientation = 1;
};

// False when libjxl refuses the JPEG (arithmetic coding, four components)
// or the device a write.
bool writeJxlFromJpeg(const JpegForJxl &source, QIODevice *device);
