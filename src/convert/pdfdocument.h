#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>

#include "pdflayout.h"

class QIODevice;
struct ConversionSettings;

// What one page of a PDF shows, in device pixels of the page setup: the
// picture fitted to the page, or a JPEG file's own data drawn at the size its
// fit gives. Nothing is drawn on a page whose size is empty.
struct PdfPicture
{
    QImage image;
    QByteArray jpeg;
    QByteArray jpegProfile; // the data's colour profile, if it has one
    QSize jpegPixels;
    QSize size;
};

// The page of a JPEG source whose data goes into the document as it is: one
// whose pixels the pipeline would hand on as they were decoded (see
// pipelineKeepsPixels, and no EXIF turn), complete, and of a kind every PDF
// reader decodes from its own data: 8 bits, Huffman-coded baseline or
// progressive, grey, YCbCr, or CMYK with Adobe's marker (the inverted values
// the document's decode array undoes), with no colour profile or a grey or
// RGB one, which goes with it. Nothing for every other source.
std::optional<PdfPicture> keptJpegPicture(const QString &path, const ConversionSettings &settings,
                                          const PdfPageSetup &page);

// A document being made, a page at a time, for a file that receives it once
// it ends.
class PdfDocument
{
public:
    virtual ~PdfDocument() = default;
    // False when the document cannot be begun.
    virtual bool begin() = 0;
    // Adds a page with the picture on it; false, and no page added, when the
    // picture cannot be put into the document.
    virtual bool addPage(const PdfPicture &picture) = 0;
    // Ends the document; it is written into the file only when kept. False
    // when a kept document could not be made (a failed write is the file's
    // to tell).
    virtual bool end(bool keep) = 0;
};

// QPdfWriter draws every page; with kept JPEG data libharu makes the
// document, embedding that data unchanged and drawing the other pictures
// as QPdfWriter would.
std::unique_ptr<PdfDocument> makePdfDocument(QIODevice *file, const PdfPageSetup &page, bool keepsJpeg);
