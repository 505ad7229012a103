#include "sourcefiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

#include "formattable.h"
#include "pathutil.h"

bool isSupportedImageFile(const QString &path)
{
    return QFileInfo(path).isFile() && hasSupportedImageExtension(path);
}

bool hasSupportedImageExtension(const QString &path)
{
    const QString suffix = QFileInfo(path).completeSuffix();
    if (suffix.isEmpty())
        return false;
    const ImageFormat *format = formatForExtension(suffix.mid(suffix.lastIndexOf(QLatin1Char('.')) + 1));
    return format && format->canRead;
}

QString imageFileDialogFilter()
{
    QStringList patterns;
    for (const ImageFormat &format : imageFormats()) {
        if (!format.canRead)
            continue;
        // Each format's spellings shortest first: "*.tif *.tiff".
        QStringList extensions = format.extensions;
        std::stable_sort(extensions.begin(), extensions.end(),
                         [](const QString &a, const QString &b) { return a.size() < b.size(); });
        for (const QString &extension : extensions)
            patterns << QStringLiteral("*.") + extension;
    }
    return QCoreApplication::translate("SourceFiles", "Image Files (%1)").arg(patterns.join(QLatin1Char(' ')));
}

void walkFolderFiles(const QString &folder, const std::function<bool(const QString &path)> &visit,
                     const QString &outputFolder)
{
    // The output folder as the walk spells it, found once through the real
    // paths, so that links and ".." in either path do not hide it.
    QString skipped;
    const QString realFolder = QFileInfo(folder).canonicalFilePath();
    const QString realOutput = outputFolder.isEmpty() ? QString() : QFileInfo(outputFolder).canonicalFilePath();
    if (!realFolder.isEmpty() && !realOutput.isEmpty()) {
        const QString below = QDir(realFolder).relativeFilePath(realOutput);
        if (below != QLatin1String(".") && !below.startsWith(QLatin1String("..")) && !QDir::isAbsolutePath(below))
            skipped = QDir::cleanPath(QDir(folder).absoluteFilePath(below)) + QLatin1Char('/');
    }
    QDirIterator it(folder, {QStringLiteral("*.*")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!skipped.isEmpty()
            && QDir::cleanPath(QFileInfo(path).absoluteFilePath()).startsWith(skipped, filePathCaseSensitivity()))
            continue;
        if (!visit(path))
            return;
    }
}
