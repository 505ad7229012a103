#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

// The one rule for preset names, asked before a preset of the user's takes
// name: empty when no preset has it, else the question (replacing the user's
// own preset, or taking an installed preset's place until deleted).
QString presetReplaceQuestion(const QString &name);

// "Manage presets…": applies any preset, renames and deletes the user's
// presets and opens their folder. Installed presets are listed but can be
// neither renamed nor deleted; the dialog says so.
class PresetsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PresetsDialog(QWidget *parent = nullptr);

    // Off while a conversion runs.
    void setApplyEnabled(bool enabled);

signals:
    // The chosen preset, to apply to the window; the dialog closes.
    void applyRequested(const QString &name);

private:
    void fillList(const QString &current);
    void updateButtons();
    void applyCurrent();
    void renameCurrent();
    void deleteCurrent();

    QListWidget *list = nullptr;
    QPushButton *applyButton = nullptr;
    QPushButton *renameButton = nullptr;
    QPushButton *deleteButton = nullptr;
    bool applyAllowed = true;
};
