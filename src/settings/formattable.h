#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Where a written format gets the source's photo metadata: Exiv2 adds it to
// the encoded file, the program's own encoder writes it, or nowhere.
enum class MetadataRoute { None, AfterEncoding, ByEncoder };

// The control a target shows beside its quality.
enum class TargetControl { None, PngLevel, TiffCompression };

// The encoder a target is written through: a Qt image plugin, the program's
// own JPEG, WEBP and GIF writers, or the PDF document.
enum class TargetWriter { None, QtPlugin, Jpeg, Webp, Gif, Document };

// One picture format the program reads and/or writes. Adding a format is one
// row in formattable.cpp plus its codec.
struct ImageFormat
{
    QString label;          // "AVIF", "JPEG XL", ...: the target list's text
    QStringList extensions; // lower case, no dot; a target writes the first
    QStringList mimeTypes;
    bool canRead = false;
    bool canWrite = false;
    // Settings keys of the target's quality and lossless flag; their ranges
    // and defaults are the key table's. Empty where the target has none.
    QString qualityKey;
    QString losslessKey;
    TargetControl control = TargetControl::None;
    MetadataRoute metadataRoute = MetadataRoute::None;
    TargetWriter writer = TargetWriter::None;
    // A target's peak working memory per source pixel: decode, pipeline and
    // encoder together.
    int workingBytesPerPixel = 0;
    bool animates = false; // a target that keeps an animation (AnimationWriter)
    // Quality levels per point its encoder tells apart: libwebp and the JPEG
    // writer take the quality as a fraction, which the size search uses to
    // land finer.
    int qualityLevelsPerPoint = 1;
    // The size search first encodes a sample of the picture: thin bands of
    // whole rows where the encoder codes each block alone (JPEG), so that the
    // joins cost nothing; elsewhere a few large cells, since an encoder that
    // predicts from neighbouring blocks pays for every join as for an edge.
    bool sizeSampleInBands = false;
    // The target holds no transparency: transparent pixels are laid on the
    // background colour in the pipeline, so the preview shows them so too.
    // GIF is not such a target: its writer keeps its palette's own rule.
    bool opaque = false;

    // ".avif": what a target's file name ends in.
    QString targetExtension() const { return QLatin1Char('.') + extensions.first(); }
};

// Every row, sources and targets alike. Readable rows give the accepted types
// and the dialog filter in this order.
const QList<ImageFormat> &imageFormats();

// The writable rows in table order: a row's place here is the stored target
// index (targeFileType), so rows that can be written never change places.
const QList<ImageFormat> &targetFormats();

// The target row for a stored index; an index outside the list gives row 0.
const ImageFormat &targetFormatAt(int index);

// The row one of whose extensions is the given one (any letter case, no dot),
// or null.
const ImageFormat *formatForExtension(const QString &extension);

// Whether files of this extension are camera RAW, developed rather than
// decoded: many are TIFF inside, and only their name tells them apart.
bool isCameraRawExtension(const QString &extension);
