#pragma once

#include <QString>
#include <QWidget>

// The output folder chooser. It reports the chosen folder through
// folderSelected, with an empty path when the user cancels.
class CocoaCode : public QWidget
{
    Q_OBJECT

public:
    explicit CocoaCode(QWidget *parent = nullptr);

    // Opens the folder browser at the user's documents folder and emits folderSelected.
    void selectFolder();

    // The folder browser itself: returns the chosen folder, or an empty string on cancel.
    QString browseForFolder(const QString &startFolder, const QString &title);

signals:
    void folderSelected(QString path);
};
