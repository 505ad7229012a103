#include "sourcefiles.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QStringList>

bool isSupportedImageFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    const QString suffix = info.completeSuffix();
    if (suffix.isEmpty())
        return false;
    const QString extension = suffix.mid(suffix.lastIndexOf(QLatin1Char('.')) + 1).toLower();
    static const QStringList accepted = {
        QStringLiteral("gif"), QStringLiteral("heif"), QStringLiteral("heic"), QStringLiteral("avif"),
        QStringLiteral("avifs"),
        QStringLiteral("jxl"), QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("png"),
        QStringLiteral("tif"), QStringLiteral("tiff"), QStringLiteral("webp"),
    };
    return accepted.contains(extension);
}

QString imageFileDialogFilter()
{
    return QStringLiteral("Image Files (*.avif *.gif *.heic *.heif *.jpg *.jpeg *.jxl *.png *.tif *.tiff *.webp)");
}

void walkFolderFiles(const QString &folder, const std::function<bool(const QString &path)> &visit)
{
    QDirIterator it(folder, {QStringLiteral("*.*")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (!visit(it.next()))
            return;
    }
}
