#pragma once

#include <QList>
#include <QString>

// One row of the target format list, in the order of the target combo box.
struct TargetFormat
{
    QString label;     // "AVIF", "JPEG XL", ...
    QString extension; // with its leading dot: ".avif", ".jxl", ...
    // Peak working memory of converting one file, per source pixel: decode,
    // pipeline and encoder together.
    int workingBytesPerPixel;
};

enum TargetFormatIndex {
    TargetAvif = 0,
    TargetGif,
    TargetHeic,
    TargetHeif,
    TargetJpg,
    TargetJpegXl,
    TargetPng,
    TargetTiff,
    TargetWebp,
    TargetPdf,
};

const QList<TargetFormat> &targetFormats();

// The target format for a stored index; an index outside the list gives row 0.
TargetFormat targetFormatAt(int index);

// The file name up to, not including, its first dot: holiday.2020.jpg gives holiday.
QString baseNameOf(const QString &source);

// outputPath + "/" + baseNameOf(source) + extension; nothing else is added or removed.
QString targetPathFor(const QString &source, const QString &outputPath, const QString &extension);

// The PDF file name with ".pdf" appended unless it already ends in ".pdf" (any letter case).
QString pdfFileNameWithExtension(const QString &pdfFileName);

// The PDF document's path: the output folder + "/" + the PDF file name.
QString pdfTargetPath(const QString &outputFolder, const QString &pdfFileName);

// An image target needs an output folder of at least 2 characters naming an existing folder.
bool isValidImageOutputFolder(const QString &outputFolder);

// A PDF target needs a non-empty output folder and a PDF path whose folder exists.
bool isValidPdfOutput(const QString &outputFolder, const QString &pdfPath);

// The writer is chosen by the text after the last "." of the target path.
bool isGifTargetPath(const QString &targetPath);
