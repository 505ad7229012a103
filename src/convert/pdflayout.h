#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QSize>

struct ConversionSettings;

// Paper of the PDF paper combo box row; anything outside the table is Letter.
QPageSize pageSizeForIndex(int index);

// Dots per inch of the PDF quality combo box row; anything outside the table is 300.
int resolutionForIndex(int index);

// The page margin in device pixels: 10 pixels per unit of the margin size when
// the margin is on. A margin that would leave no drawing area on this page
// (twice the margin at or beyond its width or height) is dropped for the
// document, so images are never scaled to a zero or negative size.
int pdfMarginPixels(bool marginOn, int marginSize, const QSize &pageDevicePixels);

// The size an image of imageSize is drawn at inside an area of
// availableWidth x availableHeight device pixels: an image that does not fit
// strictly inside is shrunk by its larger ratio; a smaller one is enlarged by
// the smaller factor when resizeToPaper is set and otherwise keeps its size.
// The ratios are taken in float and the result is truncated toward zero.
QSize pdfFitSize(const QSize &imageSize, double availableWidth, double availableHeight, bool resizeToPaper);

// The page every picture of a document goes on: paper and orientation without
// margins, the resolution of the quality, which makes one device pixel, and
// the page and its margin in device pixels.
struct PdfPageSetup
{
    QPageLayout layout;
    int resolution = 0;
    QSize pixels;
    int margin = 0;

    // The area a picture is fitted into: the page less the margin on every side.
    double availableWidth() const { return double(pixels.width()) - 2.0 * margin; }
    double availableHeight() const { return double(pixels.height()) - 2.0 * margin; }
};
PdfPageSetup pdfPageSetup(const ConversionSettings &settings);

// Where a picture drawn at drawnSize device pixels lies: its top left corner
// at the margin, in points from the bottom left corner of the page, as a
// PDF's own coordinates place it.
QRectF pdfPictureRect(const PdfPageSetup &page, const QSize &drawnSize);
