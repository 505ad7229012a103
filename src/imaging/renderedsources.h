#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

#include "conversionsettings.h"

// What a drawing (SVG) or a PDF page is rendered at: the size asked for, else
// the drawing's own size or the first page's at pdfDpi; how a camera RAW
// file is developed (a RawPictures); and what becomes of its colours.
struct Rendering
{
    QSize size;
    int pdfDpi = defaultPdfSourceDpi;
    int rawPictures = RawFullQuality;
    // A picture too large to decode whole is decoded reduced, to no less than
    // this upright size, where its format allows; invalid: decoded whole.
    QSize atLeast;
    // The picture as stored, not turned by its orientation tag.
    bool storedOrientation = false;
    // What becomes of the colours (a ColourHandling).
    int colours = ColoursKeepProfile;
    // The page of a document, the frame of an animation (0 the first).
    int page = 0;
};

// Drawings and PDF documents have no pixels of their own: they are rendered
// rather than decoded. A PDF is told by its header, a drawing by its suffix.
bool isRenderedSource(const QString &path);

// The size a rendered source (the PDF's page) takes when no other is asked
// for; nullopt for a picture that is decoded, an invalid size with *cause for
// the user when the source cannot be read.
std::optional<QSize> renderedSourceSize(const QString &path, int pdfDpi, QString *cause = nullptr, int page = 0);

// Renders the drawing or the PDF's page at size: a drawing on transparency,
// a page on white paper. false, with the cause for the user, when it cannot.
bool renderSource(const QString &path, const QSize &size, QImage *image, QString *cause, int page = 0);

// The number of pages of a PDF source; 1 for a drawing, 0 for anything else
// and for a PDF that cannot be read.
int renderedPageCount(const QString &path);
