#include "targetformats.h"

#include <QDir>
#include <QFileInfo>

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
