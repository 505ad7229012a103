#include "convertfile.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QDebug>
#include <QImageReader>

#include "animationwriter.h"
#include "imagemagickutil.h"
#include "imagewriters.h"
#include "jpegpassthrough.h"
#include "photometadata.h"
#include "pipelinerules.h"
#include "renderedsources.h"
#include "sourceframes.h"
#include "targetsize.h"

namespace {

// The texts of this file, translated under one name.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(ConvertImagesThread)
};

// Without a profile, asked for or because the format (GIF) holds no
// metadata at all, an output's pixels are read as sRGB.
bool holdsNoProfile(const ConversionSettings &settings, const ImageFormat &format)
{
    return settings.metadata == MetadataNone || format.metadataRoute == MetadataRoute::None;
}

// Every frame through the pipeline and on to the writer, one at a time, with
// its delay and the source's loop count.
bool convertAnimation(const QString &source, const QString &target, const ImageFormat &format,
                      const ConversionSettings &settings, QString *error, const std::atomic_bool *stop)
{
    FrameReader reader(source);
    if (!reader.isOpen()) {
        *error = QCoreApplication::translate("ImageMagickUtil", "The image could not be read: %1.").arg(reader.cause());
        return false;
    }
    ImageMagickUtil util;
    std::unique_ptr<AnimationWriter> writer;
    SourceFrame frame;
    for (int k = 0; k < reader.frameCount(); ++k) {
        if (stop && *stop) {
            *error = Texts::tr("stopped at frame %1 of %2").arg(k + 1).arg(reader.frameCount());
            return false;
        }
        QString cause;
        if (!reader.next(&frame, &cause)) {
            *error = QCoreApplication::translate("ImageMagickUtil", "The image could not be read: %1.").arg(cause);
            return false;
        }
        QImage processed = util.processDecoded(frame.image, false, settings, error);
        if (processed.isNull())
            return false;
        if (holdsNoProfile(settings, format))
            madeSrgb(&processed);
        if (!writer) {
            writer = AnimationWriter::create(target, format, writeOptionsFor(settings, format), processed.size(),
                                             reader.loopCount(), error);
            if (!writer)
                return false;
        }
        if (!writer->addFrame(processed, frame.delayMs, error))
            return false;
    }
    if (!writer || !writer->finish(error)) {
        if (error->isEmpty())
            *error = Texts::tr("Cannot write %1").arg(target);
        return false;
    }
    if (settings.keepFileDates)
        copyModificationTime(source, target);
    return true;
}

} // namespace

void madeSrgb(QImage *image)
{
    if (image->colorSpace().isValid() && image->colorSpace() != QColorSpace(QColorSpace::SRgb))
        image->convertToColorSpace(QColorSpace::SRgb);
    image->setColorSpace(QColorSpace());
}

QString animationKeptAsFirstFrame()
{
    return Texts::tr("animation kept as its first frame");
}

// Conversions decode past the preview's source cache, so files decode side by
// side and no picture stays pinned after its file.

namespace {

// A target of no known format, or one written as a document, gets no picture here.
bool writesPictures(const ImageFormat *format, const QString &target, QString *error)
{
    if (format && format->writer != TargetWriter::None && format->writer != TargetWriter::Document)
        return true;
    *error = Texts::tr("Cannot write %1").arg(target);
    return false;
}

bool keptAsFirstFrame(const QString &source, int page, const ConversionSettings &settings)
{
    return page == 0 && settings.pagesAndFrames == PagesKeepAnimations && isAnimatedSource(source);
}

bool stillAnimated(const QString &source, const ImageFormat &format, int page, const ConversionSettings &settings)
{
    return format.animates && keptAsFirstFrame(source, page, settings);
}

// What the report says of a source written as one picture under "keep
// animations": an animation kept as its first frame, or a document of several
// pages (TIFF, PDF) whose first page alone went to a target that animates.
QString keptPartNote(const QString &source, const ImageFormat &format, int page, const ConversionSettings &settings)
{
    if (keptAsFirstFrame(source, page, settings))
        return animationKeptAsFirstFrame();
    if (page != 0 || settings.pagesAndFrames != PagesKeepAnimations || !format.animates)
        return {};
    const int pages = sourcePageCount(source);
    return pages > 1 ? Texts::tr("only the first of its %1 pages was written: pages are not made into an animation").arg(pages)
                     : QString();
}

// The note of a source before its writer runs: the decoder's, then the
// animation's first frame taken alone.
void noteKeptFrame(QString *note, const QString &kept)
{
    if (note && !kept.isEmpty())
        *note = note->isEmpty() ? kept : *note + QStringLiteral("; ") + kept;
}

} // namespace

bool writeProcessedPicture(QImage image, const QString &source, const QString &target, const ImageFormat &format,
                           const ConversionSettings &settings, QString *error, QString *note, TargetSizeMemo *memo,
                           SizeFit *fit)
{
    QString writeError;
    MetadataParts parts;
    if (settings.metadata == MetadataKeepAll || settings.metadata == MetadataNoLocation)
        parts |= MetadataPart::Blocks;
    // Pictures that come upright whatever is asked: their tag would turn them twice.
    if (settings.ignoreOrientation && !orientationOnlyInPicture(QImageReader::imageFormat(source)))
        parts |= MetadataPart::StoredOrientation;
    // Pixels whose profile Qt could not parse are still in that profile's
    // space: it goes with them unless they turned grey.
    const bool unapplied = !image.colorSpace().isValid() && image.format() != QImage::Format_Grayscale16
                           && !(image.depth() <= 8 && image.isGrayscale());
    if (unapplied)
        parts |= MetadataPart::UnappliedColourProfile;
    if (holdsNoProfile(settings, format))
        madeSrgb(&image);
    const bool read = parts.testAnyFlags(MetadataPart::Blocks | MetadataPart::UnappliedColourProfile);
    PhotoMetadata metadata = read && format.metadataRoute != MetadataRoute::None
                                 ? readPhotoMetadata(source, image.size(), settings.metadata == MetadataNoLocation, parts)
                                 : PhotoMetadata();
    if (settings.metadata == MetadataNone && !metadata.icc.isEmpty())
        metadata.notes << QCoreApplication::translate("ConvertImagesThread",
                                                      "the colour profile was kept: its pixels cannot be made sRGB");
    // A profile the decoder applied is bounded like the metadata blocks; a
    // JPEG could not even hold one of more than 255 segments.
    if (image.colorSpace().isValid() && !colourProfileFits(image.colorSpace().iccProfile().size(), &metadata.notes))
        image.setColorSpace(QColorSpace());
    // Blocks left out go into the report beside what the decoder said.
    if (note && !metadata.notes.isEmpty()) {
        QStringList said = metadata.notes;
        if (!note->isEmpty())
            said.prepend(*note);
        *note = said.join(QStringLiteral("; "));
    }
    const std::optional<SizeGoal> goal = sizeGoalFor(settings, format);
    const WriteOptions options = writeOptionsFor(settings, format);
    QString sizeNote;
    // A picture scaled down to fit gets its metadata made true for its size.
    const auto metadataFor = [&](QSize size) {
        return size == image.size() || metadata.isEmpty()
                   ? metadata
                   : readPhotoMetadata(source, size, settings.removeLocation, parts);
    };
    const bool written = goal ? writeImageFileWithinSize(image, target, format, options, *goal, metadataFor, memo,
                                                         &writeError, &sizeNote, fit)
                              : writeImageFile(image, target, format, options, &writeError, metadata);
    if (note && !sizeNote.isEmpty())
        *note = note->isEmpty() ? sizeNote : *note + QStringLiteral("; ") + sizeNote;
    if (!written)
        *error = writeError.isEmpty() ? Texts::tr("Cannot write %1").arg(target) : writeError;
    else if (settings.keepFileDates)
        copyModificationTime(source, target);
    return written;
}

bool keepsAnimation(const QString &source, const ImageFormat &format, int page, const ConversionSettings &settings)
{
    return stillAnimated(source, format, page, settings);
}

bool convertImageFile(const QString &source, const QString &target, const ImageFormat *format,
                      const ConversionSettings &settings, QString *error, QString *note, int page,
                      TargetSizeMemo *memo, const std::atomic_bool *stop, bool refuseIncomplete, SizeFit *fit)
{
    if (!writesPictures(format, target, error))
        return false;
    if (stillAnimated(source, *format, page, settings))
        return convertAnimation(source, target, *format, settings, error, stop);
    if (const std::optional<bool> kept =
                page == 0 ? writeKeptJpeg(source, target, *format, settings, error, note) : std::nullopt)
        return *kept;
    const QString kept = keptPartNote(source, *format, page, settings);
    QString incomplete;
    const QImage image =
        ImageMagickUtil().processImage(source, false, settings, error, false, note, page, &incomplete);
    if (image.isNull())
        return false;
    if (refuseIncomplete && !incomplete.isEmpty()) {
        *error = incomplete;
        return false;
    }
    noteKeptFrame(note, kept);
    return writeProcessedPicture(image, source, target, *format, settings, error, note, memo, fit);
}

bool canShareDecode(const QString &source, const QList<SharedOutput> &outputs)
{
    if (isRenderedSource(source))
        return false;
    const ConversionSettings &main = *outputs.first().settings;
    const Rendering first = ImageMagickUtil::wholeRendering(main);
    // A source too large to decode whole is decoded reduced, to each output's size.
    const QSize size = uprightImageSize(source, main.pdfSourceDpi, main.rawPictures, 0, main.ignoreOrientation);
    for (const SharedOutput &output : outputs) {
        const Rendering one = ImageMagickUtil::wholeRendering(*output.settings);
        if (one.pdfDpi != first.pdfDpi || one.rawPictures != first.rawPictures
            || one.storedOrientation != first.storedOrientation || one.colours != first.colours
            || (output.format && stillAnimated(source, *output.format, 0, *output.settings))
            || reducedDecodeSize(size, *output.settings))
            return false;
    }
    return true;
}

DecodedSource decodeSource(const QString &source, const ConversionSettings &settings)
{
    DecodedSource decoded;
    ImageMagickUtil().loadImage(source, decoded.image, &decoded.error, &decoded.note,
                                ImageMagickUtil::wholeRendering(settings));
    return decoded;
}

bool convertDecoded(const DecodedSource &decoded, const QString &source, const QString &target,
                    const ImageFormat *format, const ConversionSettings &settings, QString *error, QString *note,
                    TargetSizeMemo *memo, bool refuseIncomplete, SizeFit *fit)
{
    if (!writesPictures(format, target, error))
        return false;
    if (const std::optional<bool> kept = writeKeptJpeg(source, target, *format, settings, error, note))
        return *kept;
    if (refuseIncomplete && !decoded.note.isEmpty()) {
        *error = decoded.note;
        return false;
    }
    QString scaled;
    const QImage image = ImageMagickUtil().processDecoded(decoded.image, false, settings, error, &scaled);
    if (image.isNull())
        return false;
    if (note)
        *note = decoded.note.isEmpty() || scaled.isEmpty() ? decoded.note + scaled
                                                           : decoded.note + QStringLiteral("; ") + scaled;
    noteKeptFrame(note, keptAsFirstFrame(source, 0, settings) ? animationKeptAsFirstFrame() : QString());
    return writeProcessedPicture(image, source, target, *format, settings, error, note, memo, fit);
}
