#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

// "Manage presets…": renames and deletes the user's presets and opens their
// folder. Installed presets are listed but can be neither renamed nor deleted.
class PresetsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PresetsDialog(QWidget *parent = nullptr);

private:
    void fillList(const QString &current);
    void updateButtons();
    void renameCurrent();
    void deleteCurrent();

    QListWidget *list = nullptr;
    QPushButton *renameButton = nullptr;
    QPushButton *deleteButton = nullptr;
};
