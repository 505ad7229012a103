#pragma once

#include <QString>

#include "formattable.h"

// The stored target indexes, in the order of targetFormats().
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
