#pragma once

#include <QPageSize>
#include <QSize>

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
