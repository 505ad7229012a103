#pragma once
// Reads a written PDF back through Qt's PDF module: its pages, their sizes and
// where on each page something was drawn.

#include <QImage>
#include <QList>
#include <QPdfDocument>
#include <QRectF>
#include <QSizeF>

namespace kxtest {

struct PdfPage
{
    QSizeF points;
    QRectF drawn; // the part that is not blank paper, as fractions of the page; null on a blank page
    QImage rendered;
};

// Pages are rendered at two pixels a point, so drawn is good to about 0.005.
inline QList<PdfPage> pdfPages(const QString &path)
{
    QPdfDocument document;
    QList<PdfPage> pages;
    if (document.load(path) != QPdfDocument::Error::None)
        return pages;
    for (int i = 0; i < document.pageCount(); ++i) {
        const QSizeF points = document.pagePointSize(i);
        const QImage image = document.render(i, (points * 2).toSize()).convertToFormat(QImage::Format_ARGB32);
        QRect box;
        for (int y = 0; y < image.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(line[x]) > 0 && (line[x] & 0xffffff) != 0xffffff)
                    box |= QRect(x, y, 1, 1);
            }
        }
        const QRectF drawn = box.isNull() ? QRectF()
                                          : QRectF(double(box.x()) / image.width(), double(box.y()) / image.height(),
                                                   double(box.width()) / image.width(),
                                                   double(box.height()) / image.height());
        pages.append({points, drawn, image});
    }
    return pages;
}

} // namespace kxtest
