#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include <atomic>

#include "conversionsettings.h"
#include "formattable.h"

class TargetSizeMemo;
struct SizeFit;

// One source to one image file: the pipeline on the given settings, then the
// writer the target's format row names (no row or no writer fails the file).
// The window's conversion pass and the command line both convert each file
// through here. Returns false with the
// reason in *error; nothing is left at the target then. A picture written
// from an incomplete source gets *note, for the run's report, and so does one
// scaled down or left over the settings' size limit. page: the page or frame
// of the source (0 the first). Under "keep animations" an animated source
// written to GIF or WEBP stays animated, every frame through the pipeline;
// other targets take its first frame, and *note says so. The files of one run
// share a memo of where their size searches landed; *fit tells where a file
// under the size limit landed. A stop, when it comes,
// ends an animation between its frames, the target not written. With
// refuseIncomplete a source decoded from incomplete data fails, *error and
// *note both telling what is missing, and nothing is written.
bool convertImageFile(const QString &source, const QString &target, const ImageFormat *format,
                      const ConversionSettings &settings, QString *error, QString *note = nullptr, int page = 0,
                      TargetSizeMemo *memo = nullptr, const std::atomic_bool *stop = nullptr,
                      bool refuseIncomplete = false, SizeFit *fit = nullptr);

// The part of a conversion after the pipeline: metadata, colour profile and
// the writer the target's format row names, a size search under a limit
// (where it landed into *fit). Every still picture of a run is written
// here, and so is the preview's predicted output, so both are the same bytes.
// *note gets what the report says of the writing after what it held.
bool writeProcessedPicture(QImage image, const QString &source, const QString &target, const ImageFormat &format,
                           const ConversionSettings &settings, QString *error, QString *note = nullptr,
                           TargetSizeMemo *memo = nullptr, SizeFit *fit = nullptr);

// Whether a conversion of that page of source to target keeps it animated:
// every frame goes through convertImageFile then, not writeProcessedPicture.
bool keepsAnimation(const QString &source, const ImageFormat &format, int page, const ConversionSettings &settings);

// The note of an animated source written as a still under "keep animations".
QString animationKeptAsFirstFrame();

// The pixels made sRGB, without a colour space, for an output that carries
// no profile (a GIF, a PDF page, or none asked for) and so is read as sRGB.
void madeSrgb(QImage *image);

// Several outputs of one source from one decode: the source decoded whole,
// once, and each output's pipeline and writer run on that picture.
struct SharedOutput
{
    QString target;
    const ImageFormat *format;
    const ConversionSettings *settings;
};
// True when one decode serves every output: they decode alike (the same
// RAW development, colours and orientation), the source is no drawing or
// document (rendered at each output's size), none is too large to decode
// whole and no output keeps it animated.
bool canShareDecode(const QString &source, const QList<SharedOutput> &outputs);

struct DecodedSource
{
    QImage image; // null when nothing could be decoded, error saying why
    QString error;
    QString note;
};
// The first page of source, decoded whole as the settings ask.
DecodedSource decodeSource(const QString &source, const ConversionSettings &settings);
// One output of a decoded source, as convertImageFile writes it.
bool convertDecoded(const DecodedSource &decoded, const QString &source, const QString &target,
                    const ImageFormat *format, const ConversionSettings &settings, QString *error,
                    QString *note = nullptr, TargetSizeMemo *memo = nullptr, bool refuseIncomplete = false,
                    SizeFit *fit = nullptr);
