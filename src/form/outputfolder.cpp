#include "outputfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

QString folderCreationProblem(const QString &folder)
{
    // The nearest part of the path that exists decides: the folder is made below it.
    QFileInfo part(QDir::cleanPath(QDir(folder).absolutePath()));
    while (!part.exists() && !part.isSymLink() && !part.isRoot())
        part = QFileInfo(part.absolutePath());
    const QString shown = QDir::toNativeSeparators(part.absoluteFilePath());
    if (!part.isDir())
        return QCoreApplication::translate("ConvertImageForm", "%1 is a file, not a folder.").arg(shown);
    if (QStorageInfo(part.absoluteFilePath()).isReadOnly())
        return QCoreApplication::translate("ConvertImageForm", "%1 is on a read-only disk.").arg(shown);
    if (!part.isWritable())
        return QCoreApplication::translate("ConvertImageForm", "You have no permission to make folders in %1.")
            .arg(shown);
    return QString();
}
