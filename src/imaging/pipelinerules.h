#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

#include <optional>

#include "conversionsettings.h"

// Sizes and placements of the pipeline, as plain functions of the options.

// Nearest pixel for the inline preview and for PDF runs without smooth edges,
// bilinear otherwise.
Qt::TransformationMode scalingMode(bool fastPreview, const ConversionSettings &settings);

// The size a source of the given size is scaled to, or nothing when no scaling
// is asked for. A width or height of 0 or less means a null result; so does a
// size too large to represent. The long edge mode sets the longer side (the
// width of a square) and keeps the aspect ratio. With "Do not enlarge" no side
// of the result is larger than the source's, in every mode.
std::optional<QSize> scaledSize(const QSize &source, const ConversionSettings &settings);

// How a picture is scaled: resampled to resize, then cropped (fill and
// crop) or padded (pad) to canvas, the size of the result. Fit modes other
// than stretch apply to an absolute size only; elsewhere resize is canvas.
struct ScaleGeometry
{
    QSize resize;
    QSize canvas;
    int fit = FitStretch;
    // "Do not enlarge" kept the picture smaller than asked: resize is not
    // the size asked.
    bool notEnlarged = false;
    QSize asked;
};

// Nothing when no scaling is asked for; scaledSize is its canvas.
std::optional<ScaleGeometry> scaleGeometry(const QSize &source, const ConversionSettings &settings);

// Where the resized picture lies on the canvas: a centred crop has negative
// coordinates, a centred pad positive ones.
QPoint centredOffset(const QSize &picture, const QSize &canvas);

// Whether transparent pixels are laid on the background colour: the target
// holds no transparency.
bool needsBackground(const ConversionSettings &settings);

// Whether the background colour can show in the output: under transparency
// the target cannot hold, or around a picture padded to the asked size.
bool usesBackground(const ConversionSettings &settings);

// Whether a text, picture or QR-code watermark is drawn.
bool hasWatermark(const ConversionSettings &settings);

// Whether contrast, brightness, gamma, sepia, inversion or blur change the colours.
bool hasAdjustment(const ConversionSettings &settings);

// Whether the pipeline hands an opaque picture of this size on as it was
// decoded: no watermark, adjustment or grey, and no scaling to another size.
bool pipelineKeepsPixels(const QSize &source, const ConversionSettings &settings);

// The decoders' allocation limit in megabytes, 256; no picture the pipeline
// makes may be larger either.
int allocationLimitMegabytes();

// Hands the limit to Qt's image readers, whose limit is one for the whole
// process: the first call does, as the program starts, later ones nothing,
// so that decoding threads never write it while others read it. Every
// reader's way in calls it too, for a program that did not.
void applyAllocationLimit();

// Tests lower the limit to make pictures over it small and fast (applied at once).
void setAllocationLimitMegabytes(int megabytes);

// The longest side of a picture the pipeline makes.
constexpr int maximumPictureSide = 65535;

enum class PictureSize { Fits, Empty, TooLarge };

// Whether a picture of this size and depth can be made. A side above the
// maximum, or more bytes than the allocation limit, is too large; this is
// looked at first, so a huge side beside one that overflowed to 0 is too large
// rather than empty. Otherwise a side of 0 or less is empty.
PictureSize pictureSizeVerdict(const QSize &size, int bitsPerPixel);

// The least size a source of this upright size is decoded at when the
// scaling shrinks it on both sides: the size it is resampled to when it is
// too large to decode whole at 32 bits a pixel; twice that for Lanczos when
// the decoder can reduce it that far. Nothing when the source is decoded whole.
std::optional<QSize> reducedDecodeSize(const QSize &source, const ConversionSettings &settings);

// The largest whole factor a source can be divided by, each side rounded up,
// leaving it no smaller than atLeast; 1 when it cannot shrink.
int reductionFactor(const QSize &source, const QSize &atLeast);

// The source divided by factor, each side rounded up.
QSize reducedSize(const QSize &source, int factor);

// Text alignment of a watermark position; any value outside 0..8 is bottom right.
Qt::Alignment watermarkAlignment(int position);

// Where a box of the given size goes on the canvas. The margin does not apply on
// a centred axis; a box larger than the canvas gets negative coordinates. A
// position outside 0..8 gives an empty rectangle: nothing is drawn.
QRect watermarkRect(int position, const QSize &box, const QSize &canvas, int margin);

// Whether drawing a fully transparent layer over an image of this format leaves
// every byte as it was, so that the layer can be left out when it holds no
// watermark.
bool compositionKeepsUnderTransparency(QImage::Format format);
