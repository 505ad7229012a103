#pragma once

#include <QSize>
#include <QString>

#include <optional>

#include "conversionsettings.h"
#include "formattable.h"

// JPEG sources whose pixels nothing in a run changes keep their own data:
// in a lossless JPEG XL file (libjxl's JPEG recompression, which gives the
// JPEG back), or in a JPG turned upright and stripped of metadata without
// decoding (when "Keep JPEG data" is on).

enum class JpegRoute {
    Decoded,    // through the pipeline and an encoder, as any other source
    IntoJpegXl, // the JPEG kept whole inside a lossless JPEG XL file
    Transformed // the JPEG's blocks turned upright into a JPG, metadata rewritten
};

// What the rule needs to know of a source.
struct JpegSourceFacts
{
    // A JPEG TurboJPEG and libjxl take: 8-bit Huffman-coded grey or YCbCr.
    bool transformable = false;
    QSize storedSize;
    int orientation = 1; // EXIF, 1 to 8
    bool hasColourProfile = false;
};

// Whether a target of this format takes JPEG data under the settings at all.
bool targetTakesJpegData(const ConversionSettings &settings, const ImageFormat &target);

// The one rule: a JPEG's data is kept when the target takes it and nothing
// changes the pixels: no scaling to another size, watermark, adjustment or
// grey, no size limit to search for, and no profile to be converted to sRGB.
// A JPG is turned upright losslessly; JPEG XL carries the EXIF turn in its
// header, so a picture to be left as stored must be upright already.
JpegRoute jpegRouteFor(const ConversionSettings &settings, const ImageFormat &target, const JpegSourceFacts &facts);

// Writes target from the source's JPEG data when the rule keeps it: true,
// or false with *error. Nothing when the source goes the usual way, also
// when TurboJPEG or libjxl refuse its data. A JPG whose turned sides were
// not whole blocks is trimmed by less than a block, and *note says so.
std::optional<bool> writeKeptJpeg(const QString &source, const QString &target, const ImageFormat &format,
                                  const ConversionSettings &settings, QString *error, QString *note);
