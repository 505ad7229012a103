#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QImageIOHandler>
#include <QString>

#include <optional>

#include "conversionsettings.h"
#include "pipelinerules.h"
#include "renderedsources.h"

class QGraphicsEffect;
class QImageReader;

// The turn and mirror the file's container asks for and its decoder leaves to
// the caller: the reader's own (JPEG's EXIF, TIFF, JPEG XL), else the EXIF
// chunk of a WEBP or PNG. HEIF comes upright from libheif, which applies its
// rotation and mirror boxes and rightly ignores an EXIF orientation beside
// them. Asked before the reader reads: reading makes it forget the format.
QImageIOHandler::Transformations storedTransformation(QImageReader &reader);

// True for a source whose orientation no tag of an output could carry, as it
// lives in the picture's own data (HEIF's rotation and mirror boxes, JPEG
// XL's codestream): such a picture is turned upright even when the pixels
// are asked for as stored.
bool orientationOnlyInPicture(const QByteArray &format);

// The stored picture brought upright; the colour space stays.
QImage uprightImage(const QImage &stored, QImageIOHandler::Transformations turn);

// The size of the upright picture, read from the header without decoding;
// invalid when the file cannot be read. A drawing gives its own size, a PDF
// its page's at pdfDpi; rawPictures (a RawPictures) is how a camera RAW file
// would be developed. page: the page of a document or frame of an animation.
// storedOrientation: the size as stored, not turned (see orientationOnlyInPicture).
QSize uprightImageSize(const QString &path, int pdfDpi, int rawPictures = RawFullQuality, int page = 0,
                       bool storedOrientation = false);

// Where the picture of JPEG data ends: just after the end-of-image marker
// that follows its first scan. The scan is found by walking the segments from
// the start, so that a thumbnail inside APP1 or data appended after the
// picture (a motion photo's video) is never taken for it. -1 when the data is
// cut short, 0 when no scan is found.
qint64 jpegPictureEnd(QByteArrayView data);

// Stateless image utilities: the only road from a source path to finished
// pixels. Callers create one on the stack for each call. Every operation that
// depends on options takes one consistent snapshot of them.
class ImageMagickUtil
{
    Q_DECLARE_TR_FUNCTIONS(ImageMagickUtil)

public:
    // Decodes the first frame of a regular file with its orientation applied.
    bool loadImage(QString path, QImage &image);
    // The same, with the reason for the user when nothing can be decoded,
    // and with the note when the picture is decoded but incomplete (a file
    // cut short, its missing part filled with grey). image stays as it was
    // on failure. Drawings and PDF pages are rendered, camera RAW files
    // developed, as rendering asks.
    bool loadImage(const QString &path, QImage &image, QString *reason, QString *note = nullptr,
                   const Rendering &rendering = {});

    // Source cache, watermarks, scaling, adjustments and grayscale, in that
    // order. A null image means that nothing could be decoded, that the scaled
    // size is empty or too large (refused before it is allocated), or that
    // memory ran out; *error then tells which, in words for the user.
    // Conversions pass useSourceCache false: they decode side by side without
    // the preview's one-entry cache and pin no picture in it. *note tells of a
    // picture made from an incomplete source.
    // page: the page of a document or the frame of an animation, 0 the first.
    // *decodeNote tells of incomplete source data alone, without the scaling's note.
    QImage processImage(const QString &path, bool fastPreview, const ConversionSettings &settings,
                        QString *error = nullptr, bool useSourceCache = true, QString *note = nullptr, int page = 0,
                        QString *decodeNote = nullptr);

    // How processImage decodes the page for settings, before any reduced
    // decode or rendered size: whole, as processDecoded takes it.
    static Rendering wholeRendering(const ConversionSettings &settings, int page = 0);

    // The steps after decoding (watermarks, scaling, adjustments, grayscale)
    // on a picture already decoded, such as a frame of an animation.
    // *note tells of a picture that "Do not enlarge" kept smaller than asked.
    QImage processDecoded(QImage decoded, bool fastPreview, const ConversionSettings &settings,
                          QString *error = nullptr, QString *note = nullptr);

    // Contrast, brightness, gamma, sepia, inversion and blur.
    QImage applyAdjustments(const QImage &image, const ConversionSettings &settings);

    // Renders the image through a graphics effect (the Gaussian blur) into a
    // transparent ARGB32 picture enlarged by extent on every side. Takes
    // ownership of the effect.
    QImage applyEffectToImage(const QImage &source, QGraphicsEffect *effect, int extent = 0);

    // Draws the text, picture and QR-code watermarks onto a canvas of the source's size.
    void drawWatermarks(QImage &canvas, const ConversionSettings &settings);

    // The QR code of the text as a white square of the given side with one
    // module of quiet border; a null image when the text does not fit into
    // the largest symbol.
    QImage makeQrCodeImage(const QString &text, int size);

private:
    QImage finishImage(QImage image, const std::optional<ScaleGeometry> &geometry, Qt::TransformationMode mode,
                       const ConversionSettings &settings, QString *error, QString *note);
};
