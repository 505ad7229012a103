#include "renderedsources.h"

#include <cmath>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfDocument>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include "drawingtext.h"
#include "pipelinerules.h"

namespace {

struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(RenderedSources)
};

enum class Kind { Decoded, Drawing, Pdf };

Kind kindOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg") || suffix == QLatin1String("svgz"))
        return Kind::Drawing;
    // Readers accept the header anywhere in the first kilobyte, after junk a
    // mail program or a printer driver put before it; elsewhere than at the
    // start it only counts in a file named as a PDF, so that no picture's
    // metadata mentioning it is taken for one.
    // Opening anything but a regular file (a FIFO) could block.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return Kind::Decoded;
    const QByteArray head = file.read(1024);
    if (head.startsWith("%PDF-") || (suffix == QLatin1String("pdf") && head.contains("%PDF-")))
        return Kind::Pdf;
    return Kind::Decoded;
}

// What Qt SVG reads wrongly or not at all from a drawing's outermost element.
struct DrawingRoot
{
    QString width;
    QString height;
    bool viewBox = false;
    bool stretched = false; // preserveAspectRatio="none"
};

// The start of a drawing's text, a compressed one (.svgz) inflated: its
// first megabyte, which holds the outermost element.
QByteArray drawingText(const QString &path)
{
    bool whole = false;
    return boundedDrawingText(path, 1 << 20, &whole);
}

// nullopt when the element cannot be read: Qt's reading stands.
std::optional<DrawingRoot> drawingRoot(const QString &path)
{
    QXmlStreamReader xml(drawingText(path));
    if (!xml.readNextStartElement())
        return std::nullopt;
    const QXmlStreamAttributes attributes = xml.attributes();
    return DrawingRoot{attributes.value(QLatin1String("width")).toString(),
                       attributes.value(QLatin1String("height")).toString(),
                       attributes.hasAttribute(QLatin1String("viewBox")),
                       attributes.value(QLatin1String("preserveAspectRatio")).trimmed().startsWith(QLatin1String("none"))};
}

// Qt SVG takes mm, cm, in, pt and pc at 90 pixels an inch; browsers, as CSS
// says, at 96.
double cssPixels(const QString &length, double qtPixels)
{
    static const std::pair<QLatin1String, double> units[] = {
            {QLatin1String("mm"), 96 / 25.4}, {QLatin1String("cm"), 96 / 2.54}, {QLatin1String("in"), 96.0},
            {QLatin1String("pt"), 96 / 72.0}, {QLatin1String("pc"), 16.0}};
    for (const auto &[unit, pixels] : units) {
        bool ok = false;
        const double value = length.endsWith(unit) ? length.chopped(2).trimmed().toDouble(&ok) : 0;
        if (ok) // past the largest side it is too large to render, whatever the number
            return qBound(0.0, value * pixels, maximumPictureSide + 1.0);
    }
    return qtPixels;
}

QSize drawingSize(const QSvgRenderer &renderer, const std::optional<DrawingRoot> &root)
{
    const QSize qtSize = renderer.defaultSize();
    if (!root)
        return qtSize;
    return QSize(qRound(cssPixels(root->width, qtSize.width())), qRound(cssPixels(root->height, qtSize.height())));
}

// Where the viewBox goes when the drawing is rendered at size: whole and
// centred on the drawing's own canvas, SVG's default, or stretched over it
// for "none" (other alignments and "slice" are taken as the default); the
// canvas itself is stretched to size like any picture.
QRectF viewBoxArea(const QRectF &viewBox, const QSize &canvas, const QSize &size, bool stretched)
{
    if (stretched || canvas.isEmpty() || viewBox.isEmpty())
        return QRectF(QPointF(0, 0), size);
    const QSizeF fitted = viewBox.size().scaled(canvas, Qt::KeepAspectRatio);
    const double x = double(size.width()) / canvas.width();
    const double y = double(size.height()) / canvas.height();
    return QRectF((canvas.width() - fitted.width()) / 2 * x, (canvas.height() - fitted.height()) / 2 * y,
                  fitted.width() * x, fitted.height() * y);
}

QString notADrawing()
{
    return Tr::tr("damaged or not a drawing");
}

// The drawing read through the bounded reader, its pictures checked.
bool loadDrawing(QSvgRenderer &renderer, const QString &path, QString *cause)
{
    const QByteArray text = renderableDrawing(path, cause);
    if (text.isEmpty())
        return false;
    if (!renderer.load(text) || !renderer.isValid()) {
        *cause = notADrawing();
        return false;
    }
    return true;
}

QString pdfCause(QPdfDocument::Error error)
{
    switch (error) {
    case QPdfDocument::Error::IncorrectPassword:
        return Tr::tr("the PDF is protected by a password");
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        return Tr::tr("the PDF is encrypted in a way that cannot be read");
    default:
        return Tr::tr("damaged or truncated");
    }
}

// The document with at least one page, else the cause for the user.
bool openPdf(QPdfDocument &document, const QString &path, QString *cause)
{
    const QPdfDocument::Error error = document.load(path);
    if (error != QPdfDocument::Error::None) {
        *cause = pdfCause(error);
        return false;
    }
    if (document.pageCount() < 1) {
        *cause = Tr::tr("the PDF has no pages");
        return false;
    }
    return true;
}

QString noSuchPage(int page)
{
    return Tr::tr("the document has no page %1").arg(page + 1);
}

QSize pageSize(const QPdfDocument &document, int dpi, int page)
{
    const QSizeF points = document.pagePointSize(page);
    // A part of a pixel is a whole one, as PDF renderers count it (the page
    // is stretched over it). A page box from the file may be any size: past
    // the largest side it is no size at all.
    const double width = std::ceil(points.width() * dpi / 72.0 - 1e-6);
    const double height = std::ceil(points.height() * dpi / 72.0 - 1e-6);
    if (!(width >= 0 && height >= 0 && width <= maximumPictureSide && height <= maximumPictureSide))
        return QSize();
    return QSize(int(width), int(height));
}

} // namespace

bool isRenderedSource(const QString &path)
{
    return kindOf(path) != Kind::Decoded;
}

std::optional<QSize> renderedSourceSize(const QString &path, int pdfDpi, QString *cause, int page)
{
    QString why;
    switch (kindOf(path)) {
    case Kind::Decoded:
        return std::nullopt;
    case Kind::Drawing: {
        QSvgRenderer renderer;
        if (loadDrawing(renderer, path, &why))
            return drawingSize(renderer, drawingRoot(path));
        break;
    }
    case Kind::Pdf: {
        QPdfDocument document(nullptr);
        if (!openPdf(document, path, &why))
            break;
        if (page >= document.pageCount()) {
            why = noSuchPage(page);
            break;
        }
        if (const QSize size = pageSize(document, pdfDpi, page); size.isValid())
            return size;
        why = Tr::tr("the page is larger than a picture can be");
        break;
    }
    }
    if (cause)
        *cause = why;
    return QSize();
}

bool renderSource(const QString &path, const QSize &size, QImage *image, QString *cause, int page)
{
    if (kindOf(path) == Kind::Pdf) {
        QPdfDocument document(nullptr);
        if (!openPdf(document, path, cause))
            return false;
        if (page >= document.pageCount()) {
            *cause = noSuchPage(page);
            return false;
        }
        QPdfDocumentRenderOptions options;
        // Form fields, stamps and notes show as in a viewer.
        options.setRenderFlags(QPdfDocumentRenderOptions::RenderFlag::Annotations);
        const QImage rendered = document.render(page, size, options);
        if (rendered.isNull()) {
            *cause = Tr::tr("the page could not be rendered");
            return false;
        }
        // A page leaves its paper unpainted; a viewer shows it white.
        QImage paper(size, QImage::Format_RGB32);
        if (paper.isNull()) {
            *cause = Tr::tr("there was not enough memory");
            return false;
        }
        paper.fill(Qt::white);
        QPainter painter(&paper);
        painter.drawImage(0, 0, rendered);
        painter.end();
        *image = paper;
        return true;
    }
    QSvgRenderer renderer;
    if (!loadDrawing(renderer, path, cause))
        return false;
    QImage drawing(size, QImage::Format_ARGB32_Premultiplied);
    if (drawing.isNull()) {
        *cause = Tr::tr("there was not enough memory");
        return false;
    }
    drawing.fill(Qt::transparent);
    const std::optional<DrawingRoot> root = drawingRoot(path);
    const QSize canvas = drawingSize(renderer, root);
    // Without a viewBox a user unit is a pixel of the canvas, not of Qt's.
    if (root && !root->viewBox)
        renderer.setViewBox(QRectF(QPointF(0, 0), canvas));
    QPainter painter(&drawing);
    renderer.render(&painter, viewBoxArea(renderer.viewBoxF(), canvas, size, root && root->stretched));
    painter.end();
    *image = drawing;
    return true;
}

int renderedPageCount(const QString &path)
{
    switch (kindOf(path)) {
    case Kind::Decoded:
        return 0;
    case Kind::Drawing:
        return 1;
    case Kind::Pdf:
        break;
    }
    QPdfDocument document(nullptr);
    QString cause;
    return openPdf(document, path, &cause) ? document.pageCount() : 0;
}
