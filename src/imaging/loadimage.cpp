#include "imagemagickutil.h"
#include "cmykjpeg.h"
#include "colourconversion.h"
#include "exiforientation.h"
#include "formattable.h"
#include "jpegerrors.h"
#include "pipelinerules.h"
#include "photometadata.h"
#include "pngreducer.h"
#include "readerinterface.h"
#include "sourceframes.h"
#include "sourcefiles.h"
#include "sourceorientation.h"
#include "tiffdecoder.h"

#include <QColorSpace>
#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMutex>

#include <memory>
#include <optional>
#include <vector>

#include <jerror.h>

namespace {

bool refuse(QString *reason, const QString &cause)
{
    if (reason) {
        *reason = cause.isEmpty() ? ImageMagickUtil::tr("The image could not be read.")
                                  : ImageMagickUtil::tr("The image could not be read: %1.").arg(cause);
    }
    return false;
}

// Why a file the reader could not decode was refused, as far as can be told.
QString failureCause(const QImageReader &reader, const QString &path, SourceKind kind)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    if (kind == SourceKind::AvifSequence)
        return ImageMagickUtil::tr("a damaged or unsupported image sequence");
    // The plugin of the content says what it refuses; other readers' text
    // is the file's own.
    if (kind == SourceKind::HeifPictures) {
        if (const QString hdr = QImageReader(&file, "heif").text(RefusalText::hdrTransfer); !hdr.isEmpty())
            return ImageMagickUtil::tr("HDR (%1) pictures are not supported").arg(hdr);
    }
    if (kind == SourceKind::Jxl && !QImageReader(&file, "jxl").text(RefusalText::blackChannel).isEmpty())
        return ImageMagickUtil::tr("CMYK JPEG XL is not supported");
    // No decoder knows the content; an empty file is merely cut short. A
    // name this program reads says what the content should have been.
    if (reader.error() == QImageReader::UnsupportedFormatError && file.size() > 0) {
        const QString suffix = QFileInfo(path).suffix();
        if (hasSupportedImageExtension(path))
            return ImageMagickUtil::tr("its content is not a %1 picture: the file is damaged or misnamed")
                    .arg(suffix.toUpper());
        return ImageMagickUtil::tr("not a picture type this program reads");
    }
    return ImageMagickUtil::tr("damaged or truncated");
}

// Whether libjpeg runs out of coded data inside the picture. Its entropy
// decoder warns when it meets the end of the data before the last block;
// a file that lacks only its end marker never makes it do so. A progressive
// file may instead lack whole scans, which nothing tells from a missing end
// marker: it counts as cut short. Read at an eighth of the size, which
// spares the transforms, not the decoding.
bool jpegDataCutShort(const uchar *data, qint64 size)
{
    jpeg_decompress_struct info;
    JpegErrors errors;
    std::vector<JSAMPLE> row;
    info.err = errors.install();
    errors.manager.emit_message = [](j_common_ptr common, int level) {
        if (level < 0 && common->err->msg_code == JWRN_HIT_MARKER)
            ++common->err->num_warnings;
    };
    jpeg_create_decompress(&info);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return true;
    }
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (info.progressive_mode) {
        jpeg_destroy_decompress(&info);
        return true;
    }
    info.scale_num = 1;
    info.scale_denom = 8;
    jpeg_start_decompress(&info);
    row.resize(size_t(info.output_width) * size_t(info.output_components));
    JSAMPROW rows[] = {row.data()};
    while (info.output_scanline < info.output_height)
        jpeg_read_scanlines(&info, rows, 1);
    const bool cut = errors.manager.num_warnings > 0;
    jpeg_destroy_decompress(&info);
    return cut;
}

// libjpeg fills whatever a cut-off file lacks with grey and calls it a
// success.
bool jpegEndsEarly(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const uchar *data = file.map(0, file.size());
    return data && jpegPictureEnd(QByteArrayView(data, file.size())) < 0 && jpegDataCutShort(data, file.size());
}

QString tooLargeCause(const QSize &size)
{
    if (size.width() > maximumPictureSide || size.height() > maximumPictureSide)
        return ImageMagickUtil::tr("at %1 x %2 pixels it is longer than %3 pixels a side")
                .arg(size.width())
                .arg(size.height())
                .arg(maximumPictureSide);
    return ImageMagickUtil::tr("at %1 x %2 pixels it needs more than %3 MB")
            .arg(size.width())
            .arg(size.height())
            .arg(allocationLimitMegabytes());
}

// The file a reader reads, telling the RAW decoder how to develop it.
void attachRawDevelopment(QFile &file, int rawPictures)
{
    const RawDevelopment development = rawPictures == RawHalfSize          ? RawDevelopment::HalfSize
                                       : rawPictures == RawEmbeddedPreview ? RawDevelopment::EmbeddedPreview
                                                                           : RawDevelopment::FullSize;
    file.setProperty(rawDevelopmentProperty, int(development));
}

// The frames of an animation are asked one after another, each page a file
// of its own: the reader is kept between them, so that every frame is decoded
// once, and let go with the last frame. A frame that cannot be decoded spoils
// the frames after it, which are refused without reading the file again.
struct FrameCache
{
    QMutex mutex;
    QString path;
    qint64 size = -1;
    QDateTime modified;
    std::unique_ptr<FrameReader> reader;
    int next = 0; // the frame the reader gives next
    QImage last;  // the frame before it
    int failedAt = -1; // the first frame that could not be decoded
    QString failure;
};

// Frame `page` of an animation, the frames before it composited beneath.
bool loadFrame(const QString &path, int page, QImage *image, QString *reason)
{
    static FrameCache cache;
    QMutexLocker locker(&cache.mutex);
    const QFileInfo info(path);
    const bool same = cache.path == path && cache.size == info.size() && cache.modified == info.lastModified();
    if (same && cache.failedAt >= 0 && page >= cache.failedAt)
        return refuse(reason, cache.failure);
    if (!cache.reader || !same || cache.next > page + 1) {
        cache.reader = std::make_unique<FrameReader>(path);
        cache.path = path;
        cache.size = info.size();
        cache.modified = info.lastModified();
        cache.next = 0;
        cache.last = QImage();
        cache.failedAt = -1;
    }
    FrameReader &reader = *cache.reader;
    QString cause = reader.cause();
    const bool exists = reader.isOpen() && page < reader.frameCount();
    SourceFrame frame;
    while (exists && cache.next <= page && reader.next(&frame, &cause)) {
        cache.last = frame.image;
        ++cache.next;
    }
    const bool decoded = exists && cache.next > page;
    if (decoded)
        *image = cache.last;
    if (!decoded && !cause.isEmpty()) {
        cache.failedAt = cache.next;
        cache.failure = cause;
    }
    if (!decoded || cache.next >= reader.frameCount()) {
        cache.reader.reset();
        cache.last = QImage();
    }
    if (decoded)
        return true;
    return refuse(reason, exists || !cause.isEmpty() ? cause : ImageMagickUtil::tr("it has no page %1").arg(page + 1));
}

// The first frame of an animation. Nothing asks for a later one after it, so
// the reader is not kept: files converted side by side do not wait on the cache.
bool loadFirstFrame(FrameReader &reader, QImage *image, QString *reason)
{
    QString cause = reader.cause();
    SourceFrame frame;
    if (reader.isOpen() && reader.next(&frame, &cause)) {
        *image = frame.image;
        return true;
    }
    return refuse(reason, cause);
}

} // namespace

// Entropy-coded data never holds an end-of-image marker, so a file cut short
// has none after its first scan.
qint64 jpegPictureEnd(QByteArrayView data)
{
    const qint64 size = data.size();
    const auto byte = [data](qint64 at) { return uchar(data[at]); };
    qint64 at = 2;
    while (at + 4 <= size && byte(at) == 0xff) {
        const uchar marker = byte(at + 1);
        if (marker == 0xda) {
            const qint64 end = data.sliced(at).indexOf(QByteArrayView("\xff\xd9"));
            return end < 0 ? -1 : at + end + 2;
        }
        if (marker == 0xff) // fill byte
            at += 1;
        else if (marker == 0xd8 || marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7)) // no length
            at += 2;
        else
            at += 2 + ((byte(at + 2) << 8) | byte(at + 3));
    }
    return 0;
}

QImageIOHandler::Transformations storedTransformation(QImageReader &reader)
{
    const QImageIOHandler::Transformations turn = reader.transformation();
    if (turn != QImageIOHandler::TransformationNone)
        return turn;
    const QByteArray format = reader.format();
    if (format == "png" || format == "webp")
        return transformationForOrientation(storedExifOrientation(reader.fileName()));
    return QImageIOHandler::TransformationNone;
}

bool orientationOnlyInPicture(const QByteArray &format)
{
    return QByteArrayList{"heif", "heic", "avif", "jxl"}.contains(format);
}

QImage uprightImage(const QImage &stored, QImageIOHandler::Transformations turn)
{
    if (turn == QImageIOHandler::TransformationNone)
        return stored;
    // Qt's quarter turn drops the colour space, which is put back afterwards.
    const QColorSpace space = stored.colorSpace();
    QImage image = stored.mirrored(turn & QImageIOHandler::TransformationMirror, turn & QImageIOHandler::TransformationFlip);
    if (turn & QImageIOHandler::TransformationRotate90)
        image = image.transformed(QTransform().rotate(90));
    image.setColorSpace(space);
    return image;
}

QSize uprightImageSize(const QString &path, int pdfDpi, int rawPictures, int page, bool storedOrientation)
{
    if (const std::optional<QSize> rendered = renderedSourceSize(path, pdfDpi, nullptr, page))
        return *rendered;
    // TIFF pages through libtiff alone, as they are decoded.
    if (QFileInfo(path).isFile() && sourceKind(path) == SourceKind::Tiff) {
        QSize size;
        int orientation = 1;
        if (!tiffPageSize(path, page, &size, &orientation))
            return QSize();
        const bool turned = transformationForOrientation(orientation) & QImageIOHandler::TransformationRotate90;
        return turned && !storedOrientation ? size.transposed() : size;
    }
    QFile file(path);
    attachRawDevelopment(file, rawPictures);
    QImageReader reader(&file);
    reader.setAutoTransform(false);
    // An animation's frames all have the canvas's size; a TIFF's pages and
    // the pictures a HEIF file holds side by side their own.
    const bool heifPictures = QByteArrayList{"heic", "heif", "avif"}.contains(reader.format()) && reader.imageCount() > 1;
    if (page > 0 && (reader.format() == "tiff" || heifPictures) && !reader.jumpToImage(page))
        return QSize();
    const QSize size = reader.size();
    const bool asStored = storedOrientation && !orientationOnlyInPicture(reader.format());
    return !asStored && storedTransformation(reader) & QImageIOHandler::TransformationRotate90
               ? size.transposed()
               : size;
}

bool ImageMagickUtil::loadImage(QString path, QImage &image)
{
    return loadImage(path, image, nullptr);
}

namespace {

// A drawing or a PDF page, rendered at the size asked or its own.
bool renderDrawing(const QString &path, QImage &image, QString *reason, const Rendering &rendering)
{
    QString cause;
    const QSize size = rendering.size.isValid()
                               ? rendering.size
                               : renderedSourceSize(path, rendering.pdfDpi, &cause, rendering.page).value_or(QSize());
    if (!size.isValid())
        return refuse(reason, cause);
    switch (pictureSizeVerdict(size, 32)) {
    case PictureSize::Empty:
        return refuse(reason, ImageMagickUtil::tr("the drawing has no size"));
    case PictureSize::TooLarge:
        return refuse(reason, tooLargeCause(size));
    case PictureSize::Fits:
        break;
    }
    QImage rendered;
    if (!renderSource(path, size, &rendered, &cause, rendering.page))
        return refuse(reason, cause);
    image = rendered;
    return true;
}

bool decodeTiff(const QString &path, QImage &image, QString *reason, const Rendering &rendering)
{
    QImage stored;
    int orientation = 1;
    QString cause;
    if (!decodeTiffFile(path, &stored, &orientation, &cause, rendering.atLeast, rendering.page))
        return refuse(reason, cause);
    image = rendering.storedOrientation ? stored : uprightImage(stored, transformationForOrientation(orientation));
    return true;
}

// The largest of libjpeg's direct reductions (a half, a quarter, an eighth)
// that keeps the picture no smaller than wanted; the pipeline scales the rest.
int jpegReduction(const QSize &stored, const QSize &wanted)
{
    const int most = reductionFactor(stored, wanted);
    int factor = 8;
    while (factor > most)
        factor /= 2;
    return factor;
}

// A file the reader could not decode: libheif reads no sequence without a
// still picture, so its first frame is read here; anything else is refused.
bool readFirstFrameInstead(const QImageReader &reader, const QString &path, SourceKind kind, QImage *image,
                           QString *reason)
{
    if (kind == SourceKind::AvifSequence) {
        FrameReader frames(path);
        if (frames.isOpen())
            return loadFirstFrame(frames, image, reason);
    }
    return refuse(reason, failureCause(reader, path, kind));
}

// A PNG that is wanted reduced, or that Qt misreads, through libpng;
// nullopt when it is decoded whole by the reader after all.
std::optional<bool> decodePng(const QString &path, const QSize &stored, const QSize &wanted,
                              QImageIOHandler::Transformations turn, QImage &image, QString *reason)
{
    const bool misread = qtMisreadsPng(path);
    if (!wanted.isValid() && !misread)
        return std::nullopt;
    QImage reduced;
    QString cause;
    switch (decodePngReduced(path, wanted.isValid() ? wanted : stored, &reduced, &cause, misread)) {
    case PngReduction::Done:
        image = uprightImage(reduced, turn);
        return true;
    case PngReduction::Failed:
        return refuse(reason, cause);
    case PngReduction::Whole:
        break;
    }
    return std::nullopt;
}

// Any picture Qt's readers and the plugins read, decoded reduced where its
// format allows and a size is asked.
bool decodeThroughReader(const QString &path, SourceKind kind, QImage &image, QString *reason, QString *note,
                         const Rendering &rendering)
{
    // No format is given: the decoder is chosen from the suffix and the content.
    QFile source(path);
    attachRawDevelopment(source, rendering.rawPictures);
    applyAllocationLimit();
    QImageReader reader(&source);
    if (rendering.page > 0 && !reader.jumpToImage(rendering.page))
        return refuse(reason, ImageMagickUtil::tr("it has no page %1").arg(rendering.page + 1));
    // The picture is turned upright here rather than by the reader, once for
    // every format, with its colour space kept.
    reader.setAutoTransform(false);
    // A header declaring more pixels than may be allocated is refused before decoding.
    const QSize stored = reader.size();
    // A damaged header can give any number for the format.
    const QImage::Format format = reader.imageFormat();
    const bool known = format > QImage::Format_Invalid && format < QImage::NImageFormats;
    // An animation's frame is composited on a canvas held beside it, as every
    // later frame is: the first is refused where they would be.
    const bool animation = reader.format() == "webp" && reader.imageCount() > 1;
    const int bits = animation ? 64 : known ? QImage::toPixelFormat(format).bitsPerPixel() : 32;
    // Asked before reading: the reader forgets the format once it has read.
    const bool jpeg = reader.format() == "jpeg";
    const QImageIOHandler::Transformations turn =
        rendering.storedOrientation && !orientationOnlyInPicture(reader.format()) ? QImageIOHandler::TransformationNone
                                                                                  : storedTransformation(reader);
    const QSize wanted = turn & QImageIOHandler::TransformationRotate90 ? rendering.atLeast.transposed()
                                                                      : rendering.atLeast;
    if (reader.format() == "png") {
        if (const std::optional<bool> done = decodePng(path, stored, wanted, turn, image, reason))
            return *done;
    }
    const int factor = jpeg && stored.isValid() && wanted.isValid() ? jpegReduction(stored, wanted) : 1;
    const QSize decodedSize = reducedSize(stored, factor);
    if (factor > 1)
        reader.setScaledSize(decodedSize);
    if (stored.isValid() && pictureSizeVerdict(decodedSize, bits) == PictureSize::TooLarge)
        return refuse(reason, tooLargeCause(stored));
    QImage decoded;
    QString cause;
    switch (jpeg ? decodeCmykJpeg(path, factor, &decoded, &cause) : CmykJpeg::NotCmyk) {
    case CmykJpeg::Failed:
        return refuse(reason, cause);
    case CmykJpeg::NotCmyk:
        if (!reader.read(&decoded))
            return readFirstFrameInstead(reader, path, kind, &image, reason);
        break;
    case CmykJpeg::Decoded:
        break;
    }
    image = uprightImage(decoded, turn);
    if (note && jpeg && jpegEndsEarly(path))
        *note = ImageMagickUtil::tr("the file ends early; the missing part is grey");
    // A sequence that also holds a still picture gives that picture.
    if (note && kind == SourceKind::AvifSequence)
        *note = ImageMagickUtil::tr("the file also holds an image sequence; its still picture was taken");
    return true;
}

// The picture as its decoder gives it, upright.
bool decodeSource(const QString &path, QImage &image, QString *reason, QString *note, const Rendering &rendering)
{
    if (!QFileInfo(path).isFile())
        return refuse(reason, {});
    if (isRenderedSource(path))
        return renderDrawing(path, image, reason, rendering);
    // libtiff reads the TIFF layouts that Qt's plugin garbles or refuses.
    const SourceKind kind = sourceKind(path);
    if (kind == SourceKind::Tiff)
        return decodeTiff(path, image, reason, rendering);
    // A later frame of an animation is composited from those before it; the
    // pictures a HEIF file holds side by side are read as they are.
    if (rendering.page > 0 && kind != SourceKind::HeifPictures)
        return loadFrame(path, rendering.page, &image, reason);
    // Every frame of a GIF through giflib: Qt's reader paints the first frame
    // on the background colour, where players and the later frames leave it
    // clear, and passes a file cut short as whole.
    if (kind == SourceKind::Gif) {
        FrameReader frames(path);
        return loadFirstFrame(frames, &image, reason);
    }
    return decodeThroughReader(path, kind, image, reason, note, rendering);
}

} // namespace

bool ImageMagickUtil::loadImage(const QString &path, QImage &image, QString *reason, QString *note,
                                const Rendering &rendering)
{
    qDebug().noquote() << "ImageMagickUtil::loadImage: " + path;
    QImage decoded;
    if (!decodeSource(path, decoded, reason, note, rendering))
        return false;
    if (rendering.colours == ColoursToSrgb) {
        // Pixels whose profile Qt could not parse are converted from the
        // profile in the file; drawings and pages are drawn in sRGB.
        const QByteArray icc = decoded.colorSpace().isValid() || isRenderedSource(path) ? QByteArray()
                                                                                      : storedColourProfile(path);
        if (!convertToSrgb(&decoded, icc))
            return refuse(reason, tr("there is not enough memory to convert its colours"));
    }
    image = decoded;
    return true;
}
