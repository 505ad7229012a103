#include "targetformats.h"

#include <QDir>
#include <QFileInfo>

const QList<TargetFormat> &targetFormats()
{
    // Working memory: the peak resident memory of converting 24 MP photo-like
    // JPEGs one at a time at the default settings, less an idle process's,
    // per source pixel (bench_memory), rounded up, plus 4 bytes for the copy
    // a pipeline step (scaling, rotation) makes.
    static const QList<TargetFormat> formats = {
        {QStringLiteral("AVIF"), QStringLiteral(".avif"), 30},
        {QStringLiteral("GIF"), QStringLiteral(".gif"), 10},
        {QStringLiteral("HEIC"), QStringLiteral(".heic"), 28},
        {QStringLiteral("HEIF"), QStringLiteral(".heif"), 28},
        {QStringLiteral("JPG"), QStringLiteral(".jpg"), 11},
        {QStringLiteral("JPEG XL"), QStringLiteral(".jxl"), 19},
        {QStringLiteral("PNG"), QStringLiteral(".png"), 8},
        {QStringLiteral("TIFF"), QStringLiteral(".tiff"), 9},
        {QStringLiteral("WEBP"), QStringLiteral(".webp"), 12},
        {QStringLiteral("PDF"), QStringLiteral(".pdf"), 9},
    };
    return formats;
}

TargetFormat targetFormatAt(int index)
{
    const QList<TargetFormat> &formats = targetFormats();
    return (index >= 0 && index < formats.size()) ? formats.at(index) : formats.first();
}

QString baseNameOf(const QString &source)
{
    const QString fileName = QFileInfo(source).fileName();
    const qsizetype dot = fileName.indexOf(QLatin1Char('.'));
    return dot < 0 ? fileName : fileName.left(dot);
}

QString targetPathFor(const QString &source, const QString &outputPath, const QString &extension)
{
    return outputPath + QLatin1Char('/') + baseNameOf(source) + extension;
}

QString pdfFileNameWithExtension(const QString &pdfFileName)
{
    if (pdfFileName.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return pdfFileName;
    return pdfFileName + QLatin1String(".pdf");
}

QString pdfTargetPath(const QString &outputFolder, const QString &pdfFileName)
{
    return outputFolder + QLatin1Char('/') + pdfFileName;
}

bool isValidImageOutputFolder(const QString &outputFolder)
{
    return outputFolder.size() >= 2 && QFileInfo(outputFolder).isDir();
}

bool isValidPdfOutput(const QString &outputFolder, const QString &pdfPath)
{
    return !outputFolder.isEmpty() && QFileInfo(pdfPath).absoluteDir().exists();
}

bool isGifTargetPath(const QString &targetPath)
{
    const qsizetype dot = targetPath.lastIndexOf(QLatin1Char('.'));
    const QString suffix = dot < 0 ? QString() : targetPath.mid(dot + 1);
    return suffix.compare(QLatin1String("gif"), Qt::CaseInsensitive) == 0;
}
