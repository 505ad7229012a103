#include "cocoacode.h"

#include <QFileDialog>
#include <QStandardPaths>

CocoaCode::CocoaCode(QWidget *parent) : QWidget(parent) {}

void CocoaCode::selectFolder()
{
    const QString startFolder =
        QStandardPaths::locate(QStandardPaths::DocumentsLocation, QString(), QStandardPaths::LocateDirectory);
    const QString path = browseForFolder(startFolder, tr("Select folder ..."));
    emit folderSelected(path);
}

QString CocoaCode::browseForFolder(const QString &startFolder, const QString &title)
{
    // Only existing folders can be chosen; cancelling gives an empty string.
    // Over the window of the widget that owns the chooser, if any.
    return QFileDialog::getExistingDirectory(parentWidget(), title, startFolder, QFileDialog::ShowDirsOnly);
}
