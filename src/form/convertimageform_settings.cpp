#include "convertimageform.h"
#include "ui_convertimageform.h"

#include <algorithm>
#include <variant>

#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QDebug>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QMenu>
#include <QMessageBox>

#include "cocoacode.h"
#include "kxglobal.h"
#include "outputplan.h"
#include "predictedsizelabel.h"
#include "presets.h"
#include "sourcefiles.h"
#include "targetformats.h"
#include "targetsize.h"
#include "watermarkthumbnail.h"

namespace {

// The handler pattern: a handler acts only while handlersEnabled is set, and
// switches it off while it runs, so that controls it changes (mirrored
// sliders, the relative value text) do not re-enter any handler.
class HandlerScope
{
public:
    explicit HandlerScope(bool &enabled) : flag(enabled), active(enabled) { flag = false; }
    ~HandlerScope()
    {
        if (active)
            flag = true;
    }
    explicit operator bool() const { return active; }

private:
    bool &flag;
    const bool active;
};

// Size fields take free text; anything that is not a decimal integer counts as 0.
int decimalOrZero(const QString &text)
{
    return text.toInt(nullptr, 10);
}

// The simple controls show and take a bool, a number or a text of the record:
// a number is a check box's 0 or 1, a slider's or spin box's value, a combo
// box's index or a line edit's decimal text.
void showValue(QWidget *control, bool value)
{
    qobject_cast<QAbstractButton *>(control)->setChecked(value);
}

void showValue(QWidget *control, int value)
{
    if (auto *box = qobject_cast<QAbstractButton *>(control))
        box->setChecked(value == 1);
    else if (auto *spinBox = qobject_cast<QSpinBox *>(control))
        spinBox->setValue(value);
    else if (auto *slider = qobject_cast<QAbstractSlider *>(control))
        slider->setValue(value);
    else if (auto *combo = qobject_cast<QComboBox *>(control))
        combo->setCurrentIndex(value);
    else
        qobject_cast<QLineEdit *>(control)->setText(QString::number(value));
}

void showValue(QWidget *control, const QString &value)
{
    qobject_cast<QLineEdit *>(control)->setText(value);
}

void takeValue(const QWidget *control, bool &value)
{
    value = qobject_cast<const QAbstractButton *>(control)->isChecked();
}

void takeValue(const QWidget *control, int &value)
{
    if (const auto *box = qobject_cast<const QAbstractButton *>(control))
        value = box->isChecked() ? 1 : 0;
    else if (const auto *spinBox = qobject_cast<const QSpinBox *>(control))
        value = spinBox->value();
    else if (const auto *slider = qobject_cast<const QAbstractSlider *>(control))
        value = slider->value();
    else if (const auto *combo = qobject_cast<const QComboBox *>(control))
        value = combo->currentIndex();
    else
        value = decimalOrZero(qobject_cast<const QLineEdit *>(control)->text());
}

void takeValue(const QWidget *control, QString &value)
{
    value = qobject_cast<const QLineEdit *>(control)->text();
}

// Targets without a quality of their own show and keep JPG's, as before.
TargetQuality shownQuality(int index)
{
    const TargetQuality quality = targetQualityFor(index);
    return quality.quality ? quality : targetQualityFor(TargetJpg);
}

} // namespace

void ConvertImageForm::loadSettings()
{
    loadConversionSettings(conversionSettings(), ui->fontLabel->font());
    updateControlsFromSettings();
}

void ConvertImageForm::saveSetting(int id)
{
    saveConversionSetting(conversionSettings(), id);
    predictedSize->settingsChanged();
}

bool ConvertImageForm::exportSettings(const QString &path)
{
    return writeSettingsFile(path, conversionSettings());
}

bool ConvertImageForm::importSettings(const QString &path, QStringList *ignored)
{
    // Loaded into a copy: a file that is no settings file changes nothing.
    ConversionSettings loaded = conversionSettings();
    QList<SettingsFileProblem> problems;
    if (!loadSettingsFile(path, loaded, ui->fontLabel->font(), &problems))
        return false;
    for (const SettingsFileProblem &problem : std::as_const(problems)) {
        if (ignored)
            *ignored << (problem.line > 0 ? tr("line %1: %2").arg(problem.line).arg(problem.reason) : problem.reason);
    }
    const HandlerScope scope(handlersEnabled);
    conversionSettings() = loaded;
    saveConversionSettings(conversionSettings());
    updateControlsFromSettings();
    loadImage(previewFilePath, true);
    return true;
}

void ConvertImageForm::setupControlSettings()
{
    using S = ConversionSettings;
    // In the order they are filled: handlers that run while filling (a reset)
    // see the controls before them already showing the record.
    controlSettings = {
        // 2. Output format options and the output tab.
        {ui->pngLevelSpinBox, &S::pngCompressionLevel, SettingPngCompressionLevel, KeepPreview},
        {ui->tiffCompressionComboBox, &S::tiffCompression, SettingTiffCompression, KeepPreview},
        {ui->existingFileComboBox, &S::existingFilePolicy, SettingExistingFilePolicy, KeepPreview},
        {ui->keepFolderStructureCheckBox, &S::keepFolderStructure, SettingKeepFolderStructure, KeepPreview},
        {ui->fileNamePatternLineEdit, &S::fileNamePattern, SettingFileNamePattern, KeepPreview},
        {ui->rawPicturesComboBox, &S::rawPictures, SettingRawPictures, RefreshPreview},
        {ui->pdfSourceDpiSpinBox, &S::pdfSourceDpi, SettingPdfSourceDpi, RefreshPreview},
        {ui->ignoreOrientationCheckBox, &S::ignoreOrientation, SettingIgnoreOrientation, RefreshPreview},
        {ui->outputBesideSourceCheckBox, &S::outputBesideSource, SettingOutputBesideSource, KeepPreview},
        {ui->colourHandlingComboBox, &S::colourHandling, SettingColourHandling, RefreshPreview},
        {ui->pagesAndFramesComboBox, &S::pagesAndFrames, SettingPagesAndFrames, KeepPreview},
        {ui->limitFileSizeCheckBox, &S::limitFileSize, SettingLimitFileSize, KeepPreview},
        {ui->fileSizeLimitSpinBox, &S::fileSizeLimitKb, SettingFileSizeLimitKb, KeepPreview},
        {ui->fileSizeMinQualitySpinBox, &S::fileSizeMinQuality, SettingFileSizeMinQuality, KeepPreview},
        {ui->shrinkToFileSizeCheckBox, &S::shrinkToFileSize, SettingShrinkToFileSize, KeepPreview},
        {ui->keepFileDatesCheckBox, &S::keepFileDates, SettingKeepFileDates, KeepPreview},
        // 4.-6. Output folder and PDF page setup; the two PDF check boxes save
        // under the PDF file's id, as they always have.
        {ui->pdfMarginSizeSpinBox, &S::pdfPaperMarginSize, SettingPdfPaperMarginSize, KeepPreview},
        {ui->outputFolderLineEdit, &S::outputFolder, SettingOutputFolder, KeepPreview},
        {ui->pdfFilenameLineEdit, &S::pdfFileName, SettingPdfFile, KeepPreview},
        {ui->pdfResizeImageToPaperCheckBox, &S::resizeImageToPaper, SettingPdfFile, KeepPreview},
        {ui->pdfSmoothEdgesCheckBox, &S::pdfSmoothEdges, SettingPdfFile, KeepPreview},
        {ui->pdfKeepJpegCheckBox, &S::pdfKeepJpeg, SettingPdfKeepJpeg, KeepPreview},
        // 7.-10. Scaling.
        {ui->scaleImageCheckBox, &S::scaleImage, SettingScaleImage, RefreshPreview},
        {ui->percentageSpinBox, &S::scalePercentage, SettingScalePercentage, RefreshPreview},
        {ui->absoluteWidthLineEdit, &S::scaleAbsoluteWitdh, SettingScaleAbsoluteWidth, RefreshPreview},
        {ui->absoluteHeightLineEdit, &S::scaleAbsoluteHeight, SettingScaleAbsoluteHeight, RefreshPreview},
        {ui->relativeToComboBox, &S::scaleRelativeTo, SettingScaleRelativeTo, RefreshPreview},
        {ui->longEdgeLineEdit, &S::scaleLongEdge, SettingScaleLongEdge, RefreshPreview},
        {ui->doNotEnlargeCheckBox, &S::scaleDoNotEnlarge, SettingScaleDoNotEnlarge, RefreshPreview},
        // 11. Text watermark.
        {ui->textLineEdit, &S::textContent, SettingTextContent, RefreshPreview},
        {ui->sizeSpinBox, &S::textSize, SettingTextSize, RefreshPreview},
        {ui->positionComboBox, &S::textPosition, SettingTextPosition, RefreshPreview},
        {ui->opacitySpinBox, &S::textOpacity, SettingTextOpacity, RefreshPreview},
        {ui->marginSpinBox, &S::textMargin, SettingTextMargin, RefreshPreview},
        // 12. Image watermark.
        {ui->imageSizeSpinBox, &S::imageSize, SettingImageSize, RefreshPreview},
        {ui->imagePositionComboBox, &S::imagePosition, SettingImagePosition, RefreshPreview},
        {ui->imageOpacitySpinBox, &S::imageOpacity, SettingImageOpacity, RefreshPreview},
        {ui->imageMarginSpinBox, &S::imageMargin, SettingImageMargin, RefreshPreview},
        // 13. QR code watermark.
        {ui->qrCodeSizeSpinBox, &S::qrCodeSize, SettingQrCodeSize, RefreshPreview},
        {ui->qrCodePositionComboBox, &S::qrCodePosition, SettingQrCodePosition, RefreshPreview},
        {ui->qrCodeMarginSpinBox, &S::qrCodeMargin, SettingQrCodeMargin, RefreshPreview},
        // 14.-15. Adjustments, each slider before its spin box.
        {ui->grayscaleCheckBox, &S::adjustGrayScale, SettingAdjustGrayScale, RefreshPreview},
        {ui->sepiaCheckBox, &S::adjustSepia, SettingAdjustSepia, RefreshPreview},
        {ui->contrastSlider, &S::adjustContrast, SettingAdjustContrast, RefreshPreview},
        {ui->contrastSpinBox, &S::adjustContrast, SettingAdjustContrast, RefreshPreview},
        {ui->brightnessSlider, &S::adjustBrightness, SettingAdjustBrightness, RefreshPreview},
        {ui->brightnessSpinBox, &S::adjustBrightness, SettingAdjustBrightness, RefreshPreview},
        {ui->gammaSlider, &S::adjustGamma, SettingAdjustGamma, RefreshPreview},
        {ui->gammaSpinBox, &S::adjustGamma, SettingAdjustGamma, RefreshPreview},
        {ui->invertColorsSlider, &S::adjustInvertColours, SettingAdjustInvertColours, RefreshPreview},
        {ui->invertColorsSpinBox, &S::adjustInvertColours, SettingAdjustInvertColours, RefreshPreview},
        {ui->gaussianBlurSlider, &S::setBlurRadius, SettingBlurRadius, RefreshPreview},
        {ui->gaussianBlurSpinBox, &S::setBlurRadius, SettingBlurRadius, RefreshPreview},
    };
}

const ConvertImageForm::ControlSetting &ConvertImageForm::controlSetting(const QWidget *control) const
{
    const auto row = std::find_if(controlSettings.cbegin(), controlSettings.cend(),
                                  [control](const ControlSetting &setting) { return setting.control == control; });
    Q_ASSERT(row != controlSettings.cend());
    return *row;
}

void ConvertImageForm::storeControl(QWidget *control, const std::function<void()> &then)
{
    const ControlSetting &row = controlSetting(control);
    changeSetting(row.id, row.preview, [&](ConversionSettings &s) {
        std::visit([&](auto field) { takeValue(control, s.*field); }, row.field);
        if (then)
            then();
    });
}

void ConvertImageForm::updateControlsFromSettings()
{
    ConversionSettings &s = conversionSettings();

    // 1. Target format and its dependent controls, first: the quality shown is the target's.
    if (s.targeFileType < 0 || s.targeFileType > ui->targetComboBox->count() - 1)
        s.targeFileType = 0;
    ui->targetComboBox->setCurrentIndex(s.targeFileType);
    ui->pdfGroupBox->setVisible(s.targeFileType == TargetPdf);
    showTargetOptions(ui->targetComboBox->currentIndex());

    // 3. A folder that went away since the last run shows as empty.
    if (!s.outputFolder.isEmpty()) {
        const QFileInfo folder(s.outputFolder);
        if (!folder.isDir() || !folder.isReadable())
            s.outputFolder.clear();
    }

    for (const ControlSetting &row : std::as_const(controlSettings))
        std::visit([&](auto field) { showValue(row.control, s.*field); }, row.field);

    // What follows the output controls.
    showOutputFolderChoice();
    showAlsoWrite();
    showSizeLimitOptions(ui->targetComboBox->currentIndex());
    ui->metadataComboBox->setCurrentIndex(s.metadata);

    // 4.-6. PDF page setup.
    const bool landscape = s.pdfPaperOrientation == OrientationLandscape;
    (landscape ? ui->pdfPageOrientationLanscapeButton : ui->pdfPageOrientationPortraitButton)->setChecked(true);
    setPdfMargin(s.pdfPaperMargin);
    // An index outside the list leaves the combo box without a selection.
    ui->pdfPaperSizeComboBox->setCurrentIndex(s.pdfPaperSize < ui->pdfPaperSizeComboBox->count() ? s.pdfPaperSize : -1);
    ui->pdfQualityComboBox->setCurrentIndex(s.pdfQuality < ui->pdfQualityComboBox->count() ? s.pdfQuality : -1);

    // 7.-10. Scaling.
    QAbstractButton *const scaleButtons[] = {ui->percentageRadioButton, ui->absoluteRadioButton,
                                             ui->relativeRadioButton, ui->longEdgeRadioButton};
    if (s.scaleType >= ScaleByPercentage && s.scaleType <= ScaleByLongEdge) {
        scaleButtons[s.scaleType]->setChecked(true);
    } else {
        // An unknown scale type checks none; the exclusive group would refuse that.
        for (QAbstractButton *button : scaleButtons) {
            button->setAutoExclusive(false);
            button->setChecked(false);
            button->setAutoExclusive(true);
        }
    }
    updateRelativeValueField(s.scaleRelativeTo);
    setScaleControlsEnabled(ui->scaleImageCheckBox->isChecked());

    // 11. Text watermark.
    ui->fontComboBox->setCurrentFont(s.textFont);
    ui->colorWidget->color = s.textColor;
    ui->colorWidget->update();

    // 12. Image watermark.
    if (!s.imagePath.isEmpty() && QFileInfo(s.imagePath).isFile())
        showWatermarkThumbnail(s.imagePath);
    else
        ui->imageImage->setText(QStringLiteral("Preview"));

    // 13. QR code watermark. Setting the same text again would still signal a change.
    if (ui->qrCodeTextEdit->toPlainText() != s.qrCodeText)
        ui->qrCodeTextEdit->setPlainText(s.qrCodeText);
}

void ConvertImageForm::setScaleControlsEnabled(bool enabled)
{
    QWidget *const controls[] = {
        ui->percentageRadioButton, ui->percentageSpinBox,     ui->percentageLabel,      ui->absoluteRadioButton,
        ui->absoluteWidthLabel,    ui->absoluteWidthLineEdit, ui->absoluteHeightLabel,  ui->absoluteHeightLineEdit,
        ui->relativeRadioButton,   ui->relativeToLabel,       ui->relativeToComboBox,   ui->relativeValueLabel,
        ui->relativeValueLineEdit, ui->longEdgeRadioButton,   ui->longEdgeLineEdit,     ui->doNotEnlargeCheckBox,
    };
    for (QWidget *control : controls)
        control->setEnabled(enabled);
}

void ConvertImageForm::updateRelativeValueField(int relativeTo)
{
    const ConversionSettings &s = conversionSettings();
    if (relativeTo != RelativeToWidth) {
        ui->relativeValueLabel->setText(QStringLiteral("Height:"));
        ui->relativeValueLineEdit->setText(QString::number(s.scaleRelativeHeight));
    } else {
        ui->relativeValueLabel->setText(QStringLiteral("Width:"));
        ui->relativeValueLineEdit->setText(QString::number(s.scaleRelativeWidth));
    }
}

void ConvertImageForm::setPdfMargin(int margin)
{
    conversionSettings().pdfPaperMargin = margin;
    const bool withMargin = margin != NoMargin;
    (withMargin ? ui->pdfAddMarginButton : ui->pdfNoMarginButton)->setChecked(true);
    ui->pdfMarginSizeLabel->setVisible(withMargin);
    ui->pdfMarginSizeSpinBox->setVisible(withMargin);
}

void ConvertImageForm::showWatermarkThumbnail(const QString &path)
{
    // Opening a FIFO or a device would block the window.
    QImageReader reader(QFileInfo(path).isFile() ? path : QString());
    const QSize scaled = watermarkThumbnailSize(reader.size(), ui->imageImage->size());
    if (scaled.isEmpty()) {
        ui->imageImage->setPixmap(QPixmap());
        return;
    }
    reader.setScaledSize(scaled);
    ui->imageImage->setPixmap(QPixmap::fromImage(reader.read()));
}

void ConvertImageForm::on_tabResetButton_clicked()
{
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, QStringLiteral("Reset Settings"),
                              QStringLiteral("Are you sure you want to reset all settings to their default values?"),
                              QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        qDebug() << "Yes was *not* clicked";
        return;
    }
    qDebug() << "Yes was clicked";
    resetConversionSettings(conversionSettings(), ui->fontLabel->font());
    updateControlsFromSettings();
    // The controls' handlers store what they show, but some reset values are
    // shown by controls that do not signal (scale flag, colour, picture) or not
    // shown at all (the relative value of the other side); store them all.
    for (int id = SettingScaleImage; id <= SettingBlurRadius; ++id)
        saveSetting(id);
    for (int id = SettingKeepMetadata; id <= SettingKeepFileDates; ++id)
        saveSetting(id);
    for (int id = SettingExistingFilePolicy; id <= SettingPdfSourceDpi; ++id)
        saveSetting(id);
    saveSetting(SettingRawPictures);
    for (int id : {SettingMetadata, SettingIgnoreOrientation, SettingOutputBesideSource, SettingAlsoWrite})
        saveSetting(id);
    saveSetting(SettingColourHandling);
    saveSetting(SettingPagesAndFrames);
}

void ConvertImageForm::changeSetting(int id, PreviewRefresh preview,
                                     const std::function<void(ConversionSettings &)> &change)
{
    const HandlerScope scope(handlersEnabled);
    if (!scope)
        return;
    change(conversionSettings());
    saveSetting(id);
    if (preview == RefreshPreview)
        loadImage(previewFilePath, true);
}

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

void ConvertImageForm::on_scaleImageCheckBox_toggled(bool)
{
    storeControl(ui->scaleImageCheckBox, [this] { setScaleControlsEnabled(conversionSettings().scaleImage); });
}

void ConvertImageForm::on_percentageRadioButton_toggled(bool checked)
{
    if (checked)
        changeSetting(SettingScaleType, RefreshPreview, [](ConversionSettings &s) { s.scaleType = ScaleByPercentage; });
}

void ConvertImageForm::on_absoluteRadioButton_toggled(bool checked)
{
    if (checked)
        changeSetting(SettingScaleType, RefreshPreview, [](ConversionSettings &s) { s.scaleType = ScaleByAbsoluteSize; });
}

void ConvertImageForm::on_relativeRadioButton_toggled(bool checked)
{
    if (checked)
        changeSetting(SettingScaleType, RefreshPreview, [](ConversionSettings &s) { s.scaleType = ScaleByRelativeSize; });
}

void ConvertImageForm::on_longEdgeRadioButton_toggled(bool checked)
{
    if (checked)
        changeSetting(SettingScaleType, RefreshPreview, [](ConversionSettings &s) { s.scaleType = ScaleByLongEdge; });
}

void ConvertImageForm::on_longEdgeLineEdit_textChanged(const QString &)
{
    storeControl(ui->longEdgeLineEdit);
}

void ConvertImageForm::on_doNotEnlargeCheckBox_toggled(bool)
{
    storeControl(ui->doNotEnlargeCheckBox);
}

void ConvertImageForm::on_percentageSpinBox_valueChanged(int)
{
    storeControl(ui->percentageSpinBox);
}

void ConvertImageForm::on_absoluteWidthLineEdit_textChanged(const QString &)
{
    storeControl(ui->absoluteWidthLineEdit);
}

void ConvertImageForm::on_absoluteHeightLineEdit_textChanged(const QString &)
{
    storeControl(ui->absoluteHeightLineEdit);
}

void ConvertImageForm::on_relativeToComboBox_currentIndexChanged(int index)
{
    storeControl(ui->relativeToComboBox, [&] { updateRelativeValueField(index); });
}

void ConvertImageForm::on_relativeValueLineEdit_textChanged(const QString &text)
{
    // The field edits the width or the height, whichever the size is relative to.
    const bool width = conversionSettings().scaleRelativeTo == RelativeToWidth;
    changeSetting(width ? SettingScaleRelativeWidth : SettingScaleRelativeHeight, RefreshPreview,
                  [&](ConversionSettings &s) { (width ? s.scaleRelativeWidth : s.scaleRelativeHeight) = decimalOrZero(text); });
}

void ConvertImageForm::on_textLineEdit_textChanged(const QString &)
{
    storeControl(ui->textLineEdit);
}

void ConvertImageForm::on_fontComboBox_currentFontChanged(const QFont &font)
{
    changeSetting(SettingTextFont, RefreshPreview,
                  [&](ConversionSettings &s) { s.textFont = fontFromDescription(font.toString()); });
}

void ConvertImageForm::on_sizeSpinBox_valueChanged(int)
{
    storeControl(ui->sizeSpinBox);
}

void ConvertImageForm::on_colorButton_clicked()
{
    // A dialog closed without a choice still saves and refreshes.
    changeSetting(SettingTextColor, RefreshPreview, [&](ConversionSettings &s) {
        QColorDialog dialog;
        dialog.setCurrentColor(s.textColor);
        connect(&dialog, &QColorDialog::colorSelected, this, [this](const QColor &color) {
            conversionSettings().textColor = color;
            ui->colorWidget->color = color;
            ui->colorWidget->update();
        });
        dialog.exec();
    });
}

void ConvertImageForm::on_ColorUpdated(const QColor &color)
{
    changeSetting(SettingTextColor, RefreshPreview, [&](ConversionSettings &s) {
        ui->colorWidget->color = color;
        ui->colorWidget->update();
        s.textColor = color;
    });
}

void ConvertImageForm::on_positionComboBox_currentIndexChanged(int)
{
    storeControl(ui->positionComboBox);
}

void ConvertImageForm::on_opacitySpinBox_valueChanged(int)
{
    storeControl(ui->opacitySpinBox);
}

void ConvertImageForm::on_marginSpinBox_valueChanged(int)
{
    storeControl(ui->marginSpinBox);
}

void ConvertImageForm::on_textClearButton_clicked()
{
    ui->textLineEdit->setText(QString());
}

void ConvertImageForm::on_imageSelectButton_clicked()
{
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Add Image Files"),
                                                      KXGlobal().picturesFolder(), imageFileDialogFilter());
    if (file.isEmpty())
        return;
    changeSetting(SettingImagePath, RefreshPreview, [&](ConversionSettings &s) {
        s.imagePath = file;
        showWatermarkThumbnail(file);
    });
}

void ConvertImageForm::on_imageClearButton_clicked()
{
    changeSetting(SettingImagePath, RefreshPreview, [&](ConversionSettings &s) {
        s.imagePath.clear();
        ui->imageImage->setText(QStringLiteral("Preview"));
    });
}

void ConvertImageForm::on_imageSizeSpinBox_valueChanged(int)
{
    storeControl(ui->imageSizeSpinBox);
}

void ConvertImageForm::on_imagePositionComboBox_currentIndexChanged(int)
{
    storeControl(ui->imagePositionComboBox);
}

void ConvertImageForm::on_imageOpacitySpinBox_valueChanged(int)
{
    storeControl(ui->imageOpacitySpinBox);
}

void ConvertImageForm::on_imageMarginSpinBox_valueChanged(int)
{
    storeControl(ui->imageMarginSpinBox);
}

void ConvertImageForm::on_qrCodeTextEdit_textChanged()
{
    changeSetting(SettingQrCodeText, RefreshPreview,
                  [&](ConversionSettings &s) { s.qrCodeText = ui->qrCodeTextEdit->toPlainText(); });
}

void ConvertImageForm::on_qrCodeTextClearButton_clicked()
{
    ui->qrCodeTextEdit->setPlainText(QString());
}

void ConvertImageForm::on_qrCodeSizeSpinBox_valueChanged(int)
{
    storeControl(ui->qrCodeSizeSpinBox);
}

void ConvertImageForm::on_qrCodePositionComboBox_currentIndexChanged(int)
{
    storeControl(ui->qrCodePositionComboBox);
}

void ConvertImageForm::on_qrCodeMarginSpinBox_valueChanged(int)
{
    storeControl(ui->qrCodeMarginSpinBox);
}

void ConvertImageForm::on_pdfFilenameLineEdit_textChanged(const QString &)
{
    storeControl(ui->pdfFilenameLineEdit);
}

void ConvertImageForm::on_pdfPaperSizeComboBox_currentIndexChanged(int index)
{
    changeSetting(SettingPdfPaperSize, KeepPreview, [&](ConversionSettings &s) { s.pdfPaperSize = index; });
}

void ConvertImageForm::on_pdfResizeImageToPaperCheckBox_toggled(bool)
{
    storeControl(ui->pdfResizeImageToPaperCheckBox);
}

void ConvertImageForm::on_pdfSmoothEdgesCheckBox_toggled(bool)
{
    storeControl(ui->pdfSmoothEdgesCheckBox);
}

void ConvertImageForm::on_pdfKeepJpegCheckBox_toggled(bool)
{
    storeControl(ui->pdfKeepJpegCheckBox);
}

void ConvertImageForm::on_metadataComboBox_currentIndexChanged(int index)
{
    changeSetting(SettingMetadata, KeepPreview, [&](ConversionSettings &s) { setMetadataChoice(s, index); });
}

void ConvertImageForm::on_keepFileDatesCheckBox_toggled(bool)
{
    storeControl(ui->keepFileDatesCheckBox);
}

void ConvertImageForm::on_pdfQualityComboBox_currentIndexChanged(int index)
{
    changeSetting(SettingPdfQuality, KeepPreview, [&](ConversionSettings &s) { s.pdfQuality = index; });
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
    });
}

void ConvertImageForm::showTargetOptions(int index)
{
    const ConversionSettings &s = conversionSettings();
    const TargetQuality quality = shownQuality(index);
    const bool lossy = targetQualityFor(index).quality != nullptr;
    const bool lossless = quality.lossless && s.*quality.lossless;
    // The handlers must not store what only follows the target.
    const bool handlers = handlersEnabled;
    handlersEnabled = false;
    ui->qualitySpinBox->setValue(s.*quality.quality);
    ui->losslessCheckBox->setChecked(lossless);
    handlersEnabled = handlers;
    ui->qualityLabel->setVisible(lossy);
    ui->qualitySpinBox->setVisible(lossy);
    ui->qualitySpinBox->setEnabled(!lossless);
    ui->losslessCheckBox->setVisible(quality.lossless != nullptr);
    const TargetControl control = targetFormatAt(index).control;
    ui->pngLevelLabel->setVisible(control == TargetControl::PngLevel);
    ui->pngLevelSpinBox->setVisible(control == TargetControl::PngLevel);
    ui->tiffCompressionLabel->setVisible(control == TargetControl::TiffCompression);
    ui->tiffCompressionComboBox->setVisible(control == TargetControl::TiffCompression);
    showSizeLimitOptions(index);
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

void ConvertImageForm::on_existingFileComboBox_currentIndexChanged(int)
{
    storeControl(ui->existingFileComboBox);
}

void ConvertImageForm::on_keepFolderStructureCheckBox_toggled(bool)
{
    storeControl(ui->keepFolderStructureCheckBox);
}

void ConvertImageForm::on_fileNamePatternLineEdit_textChanged(const QString &)
{
    storeControl(ui->fileNamePatternLineEdit, [this] { updateFileNamePreview(); });
}

void ConvertImageForm::on_pngLevelSpinBox_valueChanged(int)
{
    storeControl(ui->pngLevelSpinBox);
}

void ConvertImageForm::on_tiffCompressionComboBox_currentIndexChanged(int)
{
    storeControl(ui->tiffCompressionComboBox);
}

void ConvertImageForm::on_rawPicturesComboBox_currentIndexChanged(int)
{
    storeControl(ui->rawPicturesComboBox);
}

void ConvertImageForm::on_pagesAndFramesComboBox_currentIndexChanged(int)
{
    storeControl(ui->pagesAndFramesComboBox);
}

void ConvertImageForm::on_pdfSourceDpiSpinBox_valueChanged(int)
{
    storeControl(ui->pdfSourceDpiSpinBox);
}

void ConvertImageForm::on_ignoreOrientationCheckBox_toggled(bool)
{
    storeControl(ui->ignoreOrientationCheckBox);
}

void ConvertImageForm::on_outputBesideSourceCheckBox_toggled(bool)
{
    storeControl(ui->outputBesideSourceCheckBox, [this] { showOutputFolderChoice(); });
}

void ConvertImageForm::setupAlsoWrite()
{
    auto *menu = new QMenu(ui->alsoWriteButton);
    ui->alsoWriteButton->setMenu(menu);
    // The presets are listed as they are when the menu opens.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        menu->clear();
        const QStringList chosen = conversionSettings().alsoWrite.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (const QString &name : presetNames()) {
            QAction *action = menu->addAction(name);
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
    ui->alsoWriteButton->setText(chosen.isEmpty() ? tr("Also write:") : tr("Also write: %1").arg(chosen.size()));
    ui->alsoWriteButton->setToolTip(chosen.isEmpty() ? tr("Presets to write as further outputs of each picture")
                                                     : chosen.join(QLatin1Char('\n')));
}

void ConvertImageForm::showOutputFolderChoice()
{
    // Beside the sources, the folder and the structure below it have no part.
    const bool folder = !conversionSettings().outputBesideSource || ui->targetComboBox->currentIndex() == TargetPdf;
    ui->outputFolderLineEdit->setEnabled(folder);
    ui->outputFolderButton->setEnabled(folder);
    ui->keepFolderStructureCheckBox->setEnabled(folder);
}

void ConvertImageForm::on_colourHandlingComboBox_currentIndexChanged(int)
{
    storeControl(ui->colourHandlingComboBox);
}

void ConvertImageForm::on_limitFileSizeCheckBox_toggled(bool)
{
    storeControl(ui->limitFileSizeCheckBox, [this] { showSizeLimitOptions(ui->targetComboBox->currentIndex()); });
}

void ConvertImageForm::on_fileSizeLimitSpinBox_valueChanged(int)
{
    storeControl(ui->fileSizeLimitSpinBox);
}

void ConvertImageForm::on_fileSizeMinQualitySpinBox_valueChanged(int)
{
    storeControl(ui->fileSizeMinQualitySpinBox);
}

void ConvertImageForm::on_shrinkToFileSizeCheckBox_toggled(bool)
{
    storeControl(ui->shrinkToFileSizeCheckBox);
}

void ConvertImageForm::on_grayscaleCheckBox_toggled(bool)
{
    storeControl(ui->grayscaleCheckBox);
}

void ConvertImageForm::on_sepiaCheckBox_toggled(bool)
{
    storeControl(ui->sepiaCheckBox);
}

// One adjustment is edited by a slider and a spin box; both show the value.
void ConvertImageForm::setAdjustment(QSlider *slider, QSpinBox *spinBox, int value)
{
    const ControlSetting &row = controlSetting(slider);
    changeSetting(row.id, row.preview, [&](ConversionSettings &s) {
        slider->setValue(value);
        spinBox->setValue(value);
        s.*std::get<int ConversionSettings::*>(row.field) = value;
    });
}

void ConvertImageForm::on_contrastSlider_valueChanged(int value)
{
    setAdjustment(ui->contrastSlider, ui->contrastSpinBox, value);
}

void ConvertImageForm::on_contrastSpinBox_valueChanged(int value)
{
    setAdjustment(ui->contrastSlider, ui->contrastSpinBox, value);
}

void ConvertImageForm::on_brightnessSlider_valueChanged(int value)
{
    setAdjustment(ui->brightnessSlider, ui->brightnessSpinBox, value);
}

void ConvertImageForm::on_brightnessSpinBox_valueChanged(int value)
{
    setAdjustment(ui->brightnessSlider, ui->brightnessSpinBox, value);
}

void ConvertImageForm::on_gammaSlider_valueChanged(int value)
{
    setAdjustment(ui->gammaSlider, ui->gammaSpinBox, value);
}

void ConvertImageForm::on_gammaSpinBox_valueChanged(int value)
{
    setAdjustment(ui->gammaSlider, ui->gammaSpinBox, value);
}

void ConvertImageForm::on_invertColorsSlider_valueChanged(int value)
{
    setAdjustment(ui->invertColorsSlider, ui->invertColorsSpinBox, value);
}

void ConvertImageForm::on_invertColorsSpinBox_valueChanged(int value)
{
    setAdjustment(ui->invertColorsSlider, ui->invertColorsSpinBox, value);
}

void ConvertImageForm::on_gaussianBlurSlider_valueChanged(int value)
{
    setAdjustment(ui->gaussianBlurSlider, ui->gaussianBlurSpinBox, value);
}

void ConvertImageForm::on_gaussianBlurSpinBox_valueChanged(int value)
{
    setAdjustment(ui->gaussianBlurSlider, ui->gaussianBlurSpinBox, value);
}

void ConvertImageForm::on_resetButton_clicked()
{
    // Each control that changes runs its own handler, which saves and refreshes.
    ui->grayscaleCheckBox->setChecked(false);
    ui->sepiaCheckBox->setChecked(false);
    ui->contrastSlider->setValue(0);
    ui->brightnessSlider->setValue(0);
    ui->gammaSlider->setValue(0);
    ui->invertColorsSlider->setValue(0);
    ui->gaussianBlurSlider->setValue(0);
}
