#include "sourcefiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStringList>

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
    const QString extension = suffix.mid(suffix.lastIndexOf(QLatin1Char('.')) + 1).toLower();
    static const QStringList accepted = {
        QStringLiteral("gif"), QStringLiteral("heif"), QStringLiteral("heic"), QStringLiteral("avif"),
        QStringLiteral("avifs"),
        QStringLiteral("jxl"), QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("png"),
        QStringLiteral("tif"), QStringLiteral("tiff"), QStringLiteral("webp"),
        QStringLiteral("dng"), QStringLiteral("cr2"),  QStringLiteral("cr3"),  QStringLiteral("crw"),
        QStringLiteral("nef"), QStringLiteral("nrw"),  QStringLiteral("arw"),  QStringLiteral("srf"),
        QStringLiteral("sr2"), QStringLiteral("orf"),  QStringLiteral("raf"),  QStringLiteral("rw2"),
        QStringLiteral("rwl"), QStringLiteral("pef"),  QStringLiteral("kdc"),  QStringLiteral("dcr"),
        QStringLiteral("srw"), QStringLiteral("3fr"),  QStringLiteral("fff"),  QStringLiteral("erf"),
        QStringLiteral("mrw"), QStringLiteral("mef"),  QStringLiteral("mos"),  QStringLiteral("iiq"),
    };
    return accepted.contains(extension);
}

QString imageFileDialogFilter()
{
    return QStringLiteral("Image Files (*.avif *.gif *.heic *.heif *.jpg *.jpeg *.jxl *.png *.tif *.tiff *.webp)");
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
