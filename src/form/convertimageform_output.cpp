#include "convertimageform.h"
#include "ui_convertimageform.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSettings>

#include "cocoacode.h"
#include "handlerscope.h"
#include "outputplan.h"
#include "pipelinerules.h"
#include "presets.h"
#include "runsummary.h"
#include "sourcefiles.h"
#include "targetformats.h"
#include "targetsize.h"

// The Output tab and the toolbar's target: the format's own options, the
// output folder, the PDF page, the size limit and "Also write:".

namespace {

// Targets without a quality of their own show and keep JPG's, as before.
TargetQuality shownQuality(int index)
{
    const TargetQuality quality = targetQualityFor(index);
    return quality.quality ? quality : targetQualityFor(TargetJpg);
}

// Kept beside the settings, out of their group: it is no setting of a run.
const QString appliedPresetKey = QStringLiteral("Window/appliedPreset");

// A menu of check marks that stays open while they are ticked, by mouse or key.
class CheckListMenu : public QMenu
{
public:
    using QMenu::QMenu;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (tickActive())
            return;
        QMenu::mouseReleaseEvent(event);
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        const bool tick = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return
                          || event->key() == Qt::Key_Enter;
        if (tick && tickActive())
            return;
        QMenu::keyPressEvent(event);
    }

private:
    bool tickActive()
    {
        QAction *action = activeAction();
        if (!action || !action->isCheckable() || !action->isEnabled())
            return false;
        action->trigger();
        return true;
    }
};

} // namespace

void ConvertImageForm::on_outputFolderButton_clicked()
{
    const HandlerScope scope(handlersEnabled);
    if (!scope)
        return;
    convertAfterFolderChosen = false;
    folderChooser->selectFolder();
}

void ConvertImageForm::on_FolderSelected(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return;
    conversionSettings().outputFolder = path;
    ui->outputFolderLineEdit->setText(path);
    saveSetting(SettingOutputFolder);
    if (convertAfterFolderChosen)
        on_convertButton_clicked();
}

void ConvertImageForm::on_outputFolderLineEdit_textChanged(const QString &)
{
    storeControl(ui->outputFolderLineEdit);
}

void ConvertImageForm::setPdfMargin(int margin)
{
    conversionSettings().pdfPaperMargin = margin;
    const bool withMargin = margin != NoMargin;
    (withMargin ? ui->pdfAddMarginButton : ui->pdfNoMarginButton)->setChecked(true);
    ui->pdfMarginSizeLabel->setVisible(withMargin);
    ui->pdfMarginSizeSpinBox->setVisible(withMargin);
}

void ConvertImageForm::on_pdfFilenameLineEdit_textChanged(const QString &)
{
    storeControl(ui->pdfFilenameLineEdit);
}

void ConvertImageForm::on_pdfPaperSizeComboBox_currentIndexChanged(int)
{
    storeControl(ui->pdfPaperSizeComboBox);
}

void ConvertImageForm::on_pdfQualityComboBox_currentIndexChanged(int)
{
    storeControl(ui->pdfQualityComboBox);
}

void ConvertImageForm::on_pdfPageOrientationPortraitButton_clicked()
{
    changeSetting(SettingPdfPaperOrientation, KeepPreview, [&](ConversionSettings &s) {
        s.pdfPaperOrientation = OrientationPortrait;
        ui->pdfPageOrientationPortraitButton->setChecked(true);
    });
}

void ConvertImageForm::on_pdfPageOrientationLanscapeButton_clicked()
{
    changeSetting(SettingPdfPaperOrientation, KeepPreview, [&](ConversionSettings &s) {
        s.pdfPaperOrientation = OrientationLandscape;
        ui->pdfPageOrientationLanscapeButton->setChecked(true);
    });
}

void ConvertImageForm::on_pdfNoMarginButton_clicked()
{
    changeSetting(SettingPdfPaperMargin, KeepPreview, [&](ConversionSettings &) { setPdfMargin(NoMargin); });
}

void ConvertImageForm::on_pdfAddMarginButton_clicked()
{
    changeSetting(SettingPdfPaperMargin, KeepPreview, [&](ConversionSettings &) { setPdfMargin(AddMargin); });
}

void ConvertImageForm::on_pdfMarginSizeSpinBox_valueChanged(int)
{
    storeControl(ui->pdfMarginSizeSpinBox);
}

void ConvertImageForm::on_targetComboBox_currentIndexChanged(int index)
{
    changeSetting(SettingTargetFileType, KeepPreview, [&](ConversionSettings &s) {
        s.targeFileType = index;
        showTargetOptions(index);
        ui->pdfGroupBox->setVisible(index == TargetPdf);
        updateFileNamePreview();
        showOutputFolderChoice();
        showAlsoWrite();
    });
}

void ConvertImageForm::showTargetOptions(int index)
{
    const ConversionSettings &s = conversionSettings();
    const TargetQuality quality = shownQuality(index);
    const bool lossy = targetQualityFor(index).quality != nullptr;
    const bool lossless = quality.lossless && s.*quality.lossless;
    {
        // The handlers must not store what only follows the target.
        const HandlerScope scope(handlersEnabled);
        ui->qualitySpinBox->setValue(s.*quality.quality);
        ui->losslessCheckBox->setChecked(lossless);
    }
    ui->qualityLabel->setVisible(lossy);
    ui->qualitySpinBox->setVisible(lossy);
    ui->qualitySpinBox->setEnabled(!lossless);
    ui->losslessCheckBox->setVisible(quality.lossless != nullptr);
    const TargetControl control = targetFormatAt(index).control;
    ui->pngLevelLabel->setVisible(control == TargetControl::PngLevel);
    ui->pngLevelSpinBox->setVisible(control == TargetControl::PngLevel);
    ui->tiffCompressionLabel->setVisible(control == TargetControl::TiffCompression);
    ui->tiffCompressionComboBox->setVisible(control == TargetControl::TiffCompression);
    // Only a JPG target can keep a JPEG source's own data.
    ui->jpegLosslessCheckBox->setVisible(index == TargetJpg);
    showBackgroundChoice();
    showSizeLimitOptions(index);
}

void ConvertImageForm::showBackgroundChoice()
{
    const bool used = usesBackground(conversionSettings());
    ui->backgroundLabel->setVisible(used);
    ui->backgroundColourButton->setVisible(used);
}

void ConvertImageForm::showSizeLimitOptions(int index)
{
    ConversionSettings limited = conversionSettings();
    limited.limitFileSize = true;
    const QString refusal = sizeLimitRefusal(limited, targetFormatAt(index));
    ui->limitFileSizeCheckBox->setEnabled(refusal.isEmpty());
    ui->limitFileSizeCheckBox->setToolTip(refusal);
    // The limit's finer options take a row of the output tab only while it applies.
    const bool limit = refusal.isEmpty() && conversionSettings().limitFileSize;
    ui->fileSizeLimitSpinBox->setEnabled(limit);
    ui->fileSizeLimitSpinBox->setToolTip(refusal);
    ui->fileSizeMinQualityLabel->setVisible(limit);
    ui->fileSizeMinQualitySpinBox->setVisible(limit);
    ui->shrinkToFileSizeCheckBox->setVisible(limit);
}

void ConvertImageForm::updateFileNamePreview()
{
    const ConversionSettings &s = conversionSettings();
    QString name;
    if (model.rowCount() > 0 && ui->targetComboBox->currentIndex() != TargetPdf) {
        const QString first = entryPathOfRow(0);
        name = expandFileNamePattern(s.fileNamePattern, first, 0, model.rowCount(), fileSourceFacts(s))
               + targetFormatAt(ui->targetComboBox->currentIndex()).targetExtension();
    }
    ui->fileNamePreviewLabel->setText(name);
}

void ConvertImageForm::on_qualitySpinBox_valueChanged(int value)
{
    const TargetQuality quality = shownQuality(ui->targetComboBox->currentIndex());
    changeSetting(quality.qualityId, KeepPreview, [&](ConversionSettings &s) { s.*quality.quality = value; });
}

void ConvertImageForm::on_losslessCheckBox_toggled(bool checked)
{
    const TargetQuality quality = targetQualityFor(ui->targetComboBox->currentIndex());
    if (!quality.lossless)
        return;
    changeSetting(quality.losslessId, KeepPreview, [&](ConversionSettings &s) {
        s.*quality.lossless = checked;
        ui->qualitySpinBox->setEnabled(!checked);
        showSizeLimitOptions(ui->targetComboBox->currentIndex());
    });
}

void ConvertImageForm::setupAlsoWrite()
{
    auto *menu = new CheckListMenu(ui->alsoWriteButton);
    ui->alsoWriteButton->setMenu(menu);
    // The presets are listed as they are when the menu opens.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        menu->clear();
        const QStringList chosen = conversionSettings().alsoWrite.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        // The main output's own preset would only write copies of its files.
        const QString main = unchangedPreset();
        for (const QString &name : presetNames()) {
            if (name == main)
                continue;
            QAction *action = menu->addAction(presetDisplayName(name));
            action->setCheckable(true);
            action->setChecked(chosen.contains(name));
            // The stored list is joined by ";".
            action->setEnabled(!name.contains(QLatin1Char(';')));
            connect(action, &QAction::toggled, this, [this, name](bool checked) {
                changeSetting(SettingAlsoWrite, KeepPreview, [&](ConversionSettings &s) {
                    QStringList names = s.alsoWrite.split(QLatin1Char(';'), Qt::SkipEmptyParts);
                    names.removeAll(name);
                    if (checked)
                        names << name;
                    s.alsoWrite = names.join(QLatin1Char(';'));
                });
                showAlsoWrite();
            });
        }
    });
}

void ConvertImageForm::showAlsoWrite()
{
    const QStringList chosen = conversionSettings().alsoWrite.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    // A PDF document is written alone.
    const bool pdf = ui->targetComboBox->currentIndex() == TargetPdf;
    ui->alsoWriteButton->setEnabled(!pdf);
    ui->alsoWriteButton->setText(chosen.isEmpty() ? tr("Also write:") : tr("Also write: %1").arg(chosen.size()));
    ui->alsoWriteButton->setToolTip(pdf ? tr("Further outputs go with pictures, not with a PDF document")
                                    : chosen.isEmpty() ? tr("Presets to write as further outputs of each picture")
                                                       : chosen.join(QLatin1Char('\n')));
    ui->alsoWriteButton->setAccessibleName(tr("Also write"));
    ui->alsoWriteButton->setAccessibleDescription(ui->alsoWriteButton->toolTip());
}

void ConvertImageForm::setupRunSummary()
{
    runSummaryLabel = new QLabel(this);
    runSummaryLabel->setObjectName(QStringLiteral("runSummaryLabel"));
    runSummaryLabel->setContentsMargins(6, 2, 6, 2);
    runSummaryLabel->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    mainLayout->insertWidget(mainLayout->indexOf(ui->toolbarWidget) + 1, runSummaryLabel);
    // The preset applied before the last close, if it is still there.
    loadAppliedPreset(
        QSettings(QStringLiteral("Kestrix"), QStringLiteral("ConvertImage")).value(appliedPresetKey).toString());
    showRunSummary();
}

void ConvertImageForm::loadAppliedPreset(const QString &name)
{
    appliedPreset.clear();
    ConversionSettings preset;
    if (const QString path = presetPath(name);
        !path.isEmpty() && loadSettingsFile(path, preset, ui->fontLabel->font())) {
        appliedPreset = name;
        appliedPresetSettings = preset;
    }
}

void ConvertImageForm::setAppliedPreset(const QString &name)
{
    loadAppliedPreset(name);
    QSettings(QStringLiteral("Kestrix"), QStringLiteral("ConvertImage")).setValue(appliedPresetKey, appliedPreset);
    // The main output's own preset is no further output of it.
    QStringList chosen = conversionSettings().alsoWrite.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (chosen.removeAll(appliedPreset) > 0) {
        conversionSettings().alsoWrite = chosen.join(QLatin1Char(';'));
        saveSetting(SettingAlsoWrite);
        showAlsoWrite();
    }
    showRunSummary();
}

QString ConvertImageForm::unchangedPreset() const
{
    return appliedPreset.isEmpty() || settingsDifferFromPreset(conversionSettings(), appliedPresetSettings)
               ? QString()
               : appliedPreset;
}

void ConvertImageForm::showRunSummary()
{
    // Changes made while the form is built come before the line.
    if (!runSummaryLabel)
        return;
    const bool changed = !appliedPreset.isEmpty() && unchangedPreset().isEmpty();
    runSummaryLabel->setText(runSummary(conversionSettings(), appliedPreset, changed));
    runSummaryLabel->setVisible(!conversionBusy && !runSummaryLabel->text().isEmpty());
}

void ConvertImageForm::showOutputFolderChoice()
{
    // Beside the sources, the folder and the structure below it have no part.
    const bool folder = !conversionSettings().outputBesideSource || ui->targetComboBox->currentIndex() == TargetPdf;
    ui->outputFolderLineEdit->setEnabled(folder);
    ui->outputFolderButton->setEnabled(folder);
    ui->keepFolderStructureCheckBox->setEnabled(folder);
}
