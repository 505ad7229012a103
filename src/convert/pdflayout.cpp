#include "pdflayout.h"

#include "conversionsettings.h"

QPageSize pageSizeForIndex(int index)
{
    switch (index) {
    case PaperA4:
        return QPageSize(QPageSize::A4);
    case PaperA5:
        return QPageSize(QPageSize::A5);
    case PaperLegal:
        return QPageSize(QPageSize::Legal);
    case PaperExecutive:
        return QPageSize(QPageSize::Executive);
    case PaperLetter:
    default:
        return QPageSize(QPageSize::Letter);
    }
}

int resolutionForIndex(int index)
{
    switch (index) {
    case PdfQuality96:
        return 96;
    case PdfQuality150:
        return 150;
    case PdfQuality400:
        return 400;
    case PdfQuality600:
        return 600;
    case PdfQuality1200:
        return 1200;
    case PdfQuality300:
    default:
        return 300;
    }
}

int pdfMarginPixels(bool marginOn, int marginSize, const QSize &pageDevicePixels)
{
    if (!marginOn || marginSize <= 0)
        return 0;
    const qint64 margin = 10 * qint64(marginSize);
    if (2 * margin >= pageDevicePixels.width() || 2 * margin >= pageDevicePixels.height())
        return 0;
    return int(margin);
}

QSize pdfFitSize(const QSize &imageSize, double availableWidth, double availableHeight, bool resizeToPaper)
{
    const int w = imageSize.width();
    const int h = imageSize.height();
    if (w <= 0 || h <= 0 || availableWidth <= 0 || availableHeight <= 0)
        return QSize();

    const float rw = float(double(float(w)) / availableWidth);
    const float rh = float(double(float(h)) / availableHeight);
    float newWidth = float(w);
    float newHeight = float(h);
    if (rw >= 1.0f || rh >= 1.0f) {
        const float r = rw > rh ? rw : rh;
        newWidth = float(w) / r;
        newHeight = float(h) / r;
    } else if (resizeToPaper) {
        const float sx = float(availableWidth) / float(w);
        const float sy = float(availableHeight) / float(h);
        const float f = sy > sx ? sx : sy;
        newWidth = float(w) * f;
        newHeight = float(h) * f;
    }
    return QSize(int(newWidth), int(newHeight));
}

PdfPageSetup pdfPageSetup(const ConversionSettings &settings)
{
    PdfPageSetup page;
    page.layout = QPageLayout(pageSizeForIndex(settings.pdfPaperSize),
                              settings.pdfPaperOrientation != OrientationPortrait ? QPageLayout::Landscape
                                                                                  : QPageLayout::Portrait,
                              QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    page.resolution = resolutionForIndex(settings.pdfQuality);
    page.pixels = page.layout.fullRectPixels(page.resolution).size();
    page.margin = pdfMarginPixels(settings.pdfPaperMargin != NoMargin, settings.pdfPaperMarginSize, page.pixels);
    return page;
}

QRectF pdfPictureRect(const PdfPageSetup &page, const QSize &drawnSize)
{
    const double points = 72.0 / page.resolution;
    const double pageHeight = page.layout.fullRectPoints().height();
    return QRectF(page.margin * points, pageHeight - (page.margin + drawnSize.height()) * points,
                  drawnSize.width() * points, drawnSize.height() * points);
}
