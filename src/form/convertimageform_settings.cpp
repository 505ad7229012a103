#include "convertimageform.h"
#include "ui_convertimageform.h"

#include <QColorDialog>
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

void ConvertImageForm::updateControlsFromSettings()
{
    ConversionSettings &s = conversionSettings();

    // 1.-2. Target format and its dependent controls.
    if (s.targeFileType < 0 || s.targeFileType > ui->targetComboBox->count() - 1)
        s.targeFileType = 0;
    ui->targetComboBox->setCurrentIndex(s.targeFileType);
    ui->pdfGroupBox->setVisible(s.targeFileType == TargetPdf);
    showTargetOptions(ui->targetComboBox->currentIndex());
    ui->pngLevelSpinBox->setValue(s.pngCompressionLevel);
    ui->tiffCompressionComboBox->setCurrentIndex(s.tiffCompression);
    ui->existingFileComboBox->setCurrentIndex(s.existingFilePolicy);
    ui->keepFolderStructureCheckBox->setChecked(s.keepFolderStructure);
    ui->fileNamePatternLineEdit->setText(s.fileNamePattern);
    ui->rawPicturesComboBox->setCurrentIndex(s.rawPictures);
    ui->pdfSourceDpiSpinBox->setValue(s.pdfSourceDpi);
    ui->ignoreOrientationCheckBox->setChecked(s.ignoreOrientation);
    ui->outputBesideSourceCheckBox->setChecked(s.outputBesideSource);
    showOutputFolderChoice();
    showAlsoWrite();
    ui->colourHandlingComboBox->setCurrentIndex(s.colourHandling);
    ui->pagesAndFramesComboBox->setCurrentIndex(s.pagesAndFrames);
    ui->limitFileSizeCheckBox->setChecked(s.limitFileSize);
    ui->fileSizeLimitSpinBox->setValue(s.fileSizeLimitKb);
    ui->fileSizeMinQualitySpinBox->setValue(s.fileSizeMinQuality);
    ui->shrinkToFileSizeCheckBox->setChecked(s.shrinkToFileSize);
    showSizeLimitOptions(ui->targetComboBox->currentIndex());

    // 3. A folder that went away since the last run shows as empty.
    if (!s.outputFolder.isEmpty()) {
        const QFileInfo folder(s.outputFolder);
        if (!folder.isDir() || !folder.isReadable())
            s.outputFolder.clear();
    }

    // Photo metadata and file dates.
    ui->metadataComboBox->setCurrentIndex(s.metadata);
    ui->keepFileDatesCheckBox->setChecked(s.keepFileDates);

    // 4.-6. PDF page setup.
    const bool landscape = s.pdfPaperOrientation == OrientationLandscape;
    (landscape ? ui->pdfPageOrientationLanscapeButton : ui->pdfPageOrientationPortraitButton)->setChecked(true);
    setPdfMargin(s.pdfPaperMargin);
    ui->pdfMarginSizeSpinBox->setValue(s.pdfPaperMarginSize);
    ui->outputFolderLineEdit->setText(s.outputFolder);
    ui->pdfFilenameLineEdit->setText(s.pdfFileName);
    // An index outside the list leaves the combo box without a selection.
    ui->pdfPaperSizeComboBox->setCurrentIndex(s.pdfPaperSize < ui->pdfPaperSizeComboBox->count() ? s.pdfPaperSize : -1);
    ui->pdfResizeImageToPaperCheckBox->setChecked(s.resizeImageToPaper);
    ui->pdfSmoothEdgesCheckBox->setChecked(s.pdfSmoothEdges);
    ui->pdfKeepJpegCheckBox->setChecked(s.pdfKeepJpeg);
    ui->pdfQualityComboBox->setCurrentIndex(s.pdfQuality < ui->pdfQualityComboBox->count() ? s.pdfQuality : -1);

    // 7.-10. Scaling.
    ui->scaleImageCheckBox->setChecked(s.scaleImage);
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
    ui->percentageSpinBox->setValue(s.scalePercentage);
    ui->absoluteWidthLineEdit->setText(QString::number(s.scaleAbsoluteWitdh));
    ui->absoluteHeightLineEdit->setText(QString::number(s.scaleAbsoluteHeight));
    ui->relativeToComboBox->setCurrentIndex(s.scaleRelativeTo);
    updateRelativeValueField(s.scaleRelativeTo);
    ui->longEdgeLineEdit->setText(QString::number(s.scaleLongEdge));
    ui->doNotEnlargeCheckBox->setChecked(s.scaleDoNotEnlarge);
    setScaleControlsEnabled(ui->scaleImageCheckBox->isChecked());

    // 11. Text watermark.
    ui->textLineEdit->setText(s.textContent);
    ui->fontComboBox->setCurrentFont(s.textFont);
    ui->sizeSpinBox->setValue(s.textSize);
    ui->colorWidget->color = s.textColor;
    ui->colorWidget->update();
    ui->positionComboBox->setCurrentIndex(s.textPosition);
    ui->opacitySpinBox->setValue(s.textOpacity);
    ui->marginSpinBox->setValue(s.textMargin);

    // 12. Image watermark.
    if (!s.imagePath.isEmpty() && QFileInfo(s.imagePath).isFile())
        showWatermarkThumbnail(s.imagePath);
    else
        ui->imageImage->setText(QStringLiteral("Preview"));
    ui->imageSizeSpinBox->setValue(s.imageSize);
    ui->imagePositionComboBox->setCurrentIndex(s.imagePosition);
    ui->imageOpacitySpinBox->setValue(s.imageOpacity);
    ui->imageMarginSpinBox->setValue(s.imageMargin);

    // 13. QR code watermark. Setting the same text again would still signal a change.
    if (ui->qrCodeTextEdit->toPlainText() != s.qrCodeText)
        ui->qrCodeTextEdit->setPlainText(s.qrCodeText);
    ui->qrCodeSizeSpinBox->setValue(s.qrCodeSize);
    ui->qrCodePositionComboBox->setCurrentIndex(s.qrCodePosition);
    ui->qrCodeMarginSpinBox->setValue(s.qrCodeMargin);

    // 14.-15. Adjustments, each slider before its spin box.
    ui->grayscaleCheckBox->setChecked(s.adjustGrayScale == 1);
    ui->sepiaCheckBox->setChecked(s.adjustSepia == 1);
    ui->contrastSlider->setValue(s.adjustContrast);
    ui->contrastSpinBox->setValue(s.adjustContrast);
    ui->brightnessSlider->setValue(s.adjustBrightness);
    ui->brightnessSpinBox->setValue(s.adjustBrightness);
    ui->gammaSlider->setValue(s.adjustGamma);
    ui->gammaSpinBox->setValue(s.adjustGamma);
    ui->invertColorsSlider->setValue(s.adjustInvertColours);
    ui->invertColorsSpinBox->setValue(s.adjustInvertColours);
    ui->gaussianBlurSlider->setValue(s.setBlurRadius);
    ui->gaussianBlurSpinBox->setValue(s.setBlurRadius);
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

void ConvertImageForm::on_outputFolderLineEdit_textChanged(const QString &text)
{
    changeSetting(SettingOutputFolder, KeepPreview, [&](ConversionSettings &s) { s.outputFolder = text; });
}

void ConvertImageForm::on_scaleImageCheckBox_toggled(bool)
{
    changeSetting(SettingScaleImage, RefreshPreview, [&](ConversionSettings &s) {
        s.scaleImage = ui->scaleImageCheckBox->isChecked();
        setScaleControlsEnabled(s.scaleImage);
    });
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

void ConvertImageForm::on_longEdgeLineEdit_textChanged(const QString &text)
{
    changeSetting(SettingScaleLongEdge, RefreshPreview, [&](ConversionSettings &s) { s.scaleLongEdge = decimalOrZero(text); });
}

void ConvertImageForm::on_doNotEnlargeCheckBox_toggled(bool checked)
{
    changeSetting(SettingScaleDoNotEnlarge, RefreshPreview, [&](ConversionSettings &s) { s.scaleDoNotEnlarge = checked; });
}

void ConvertImageForm::on_percentageSpinBox_valueChanged(int value)
{
    changeSetting(SettingScalePercentage, RefreshPreview, [&](ConversionSettings &s) { s.scalePercentage = value; });
}

void ConvertImageForm::on_absoluteWidthLineEdit_textChanged(const QString &text)
{
    changeSetting(SettingScaleAbsoluteWidth, RefreshPreview,
                  [&](ConversionSettings &s) { s.scaleAbsoluteWitdh = decimalOrZero(text); });
}

void ConvertImageForm::on_absoluteHeightLineEdit_textChanged(const QString &text)
{
    changeSetting(SettingScaleAbsoluteHeight, RefreshPreview,
                  [&](ConversionSettings &s) { s.scaleAbsoluteHeight = decimalOrZero(text); });
}

void ConvertImageForm::on_relativeToComboBox_currentIndexChanged(int index)
{
    changeSetting(SettingScaleRelativeTo, RefreshPreview, [&](ConversionSettings &s) {
        s.scaleRelativeTo = index;
        updateRelativeValueField(index);
    });
}

void ConvertImageForm::on_relativeValueLineEdit_textChanged(const QString &text)
{
    // The field edits the width or the height, whichever the size is relative to.
    const bool width = conversionSettings().scaleRelativeTo == RelativeToWidth;
    changeSetting(width ? SettingScaleRelativeWidth : SettingScaleRelativeHeight, RefreshPreview,
                  [&](ConversionSettings &s) { (width ? s.scaleRelativeWidth : s.scaleRelativeHeight) = decimalOrZero(text); });
}

void ConvertImageForm::on_textLineEdit_textChanged(const QString &text)
{
    changeSetting(SettingTextContent, RefreshPreview, [&](ConversionSettings &s) { s.textContent = text; });
}

void ConvertImageForm::on_fontComboBox_currentFontChanged(const QFont &font)
{
    changeSetting(SettingTextFont, RefreshPreview,
                  [&](ConversionSettings &s) { s.textFont = fontFromDescription(font.toString()); });
}

void ConvertImageForm::on_sizeSpinBox_valueChanged(int value)
{
    changeSetting(SettingTextSize, RefreshPreview, [&](ConversionSettings &s) { s.textSize = value; });
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

void ConvertImageForm::on_positionComboBox_currentIndexChanged(int index)
{
    changeSetting(SettingTextPosition, RefreshPreview, [&](ConversionSettings &s) { s.textPosition = index; });
}

void ConvertImageForm::on_opacitySpinBox_valueChanged(int value)
{
    changeSetting(SettingTextOpacity, RefreshPreview, [&](ConversionSettings &s) { s.textOpacity = value; });
}

void ConvertImageForm::on_marginSpinBox_valueChanged(int value)
{
    changeSetting(SettingTextMargin, RefreshPreview, [&](ConversionSettings &s) { s.textMargin = value; });
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

void ConvertImageForm::on_imageSizeSpinBox_valueChanged(int value)
{
    changeSetting(SettingImageSize, RefreshPreview, [&](ConversionSettings &s) { s.imageSize = value; });
}

void ConvertImageForm::on_imagePositionComboBox_currentIndexChanged(int index)
{
    changeSetting(SettingImagePosition, RefreshPreview, [&](ConversionSettings &s) { s.imagePosition = index; });
}

void ConvertImageForm::on_imageOpacitySpinBox_valueChanged(int value)
{
    changeSetting(SettingImageOpacity, RefreshPreview, [&](ConversionSettings &s) { s.imageOpacity = value; });
}

void ConvertImageForm::on_imageMarginSpinBox_valueChanged(int value)
{
    changeSetting(SettingImageMargin, RefreshPreview, [&](ConversionSettings &s) { s.imageMargin = value; });
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

void ConvertImageForm::on_qrCodeSizeSpinBox_valueChanged(int value)
{
    changeSetting(SettingQrCodeSize, RefreshPreview, [&](ConversionSettings &s) { s.qrCodeSize = value; });
}

void ConvertImageForm::on_qrCodePositionComboBox_currentIndexChanged(int index)
{
    changeSetting(SettingQrCodePosition, RefreshPreview, [&](ConversionSettings &s) { s.qrCodePosition = index; });
}

void ConvertImageForm::on_qrCodeMarginSpinBox_valueChanged(int value)
{
    changeSetting(SettingQrCodeMargin, RefreshPreview, [&](ConversionSettings &s) { s.qrCodeMargin = value; });
}

void ConvertImageForm::on_pdfFilenameLineEdit_textChanged(const QString &text)
{
    changeSetting(SettingPdfFile, KeepPreview, [&](ConversionSettings &s) { s.pdfFileName = text; });
}

void ConvertImageForm::on_pdfPaperSizeComboBox_currentIndexChanged(int index)
{
    changeSetting(SettingPdfPaperSize, KeepPreview, [&](ConversionSettings &s) { s.pdfPaperSize = index; });
}

// The two PDF check boxes save under the PDF file's id, as they always have.
void ConvertImageForm::on_pdfResizeImageToPaperCheckBox_toggled(bool)
{
    changeSetting(SettingPdfFile, KeepPreview,
                  [&](ConversionSettings &s) { s.resizeImageToPaper = ui->pdfResizeImageToPaperCheckBox->isChecked(); });
}

void ConvertImageForm::on_pdfSmoothEdgesCheckBox_toggled(bool)
{
    changeSetting(SettingPdfFile, KeepPreview,
                  [&](ConversionSettings &s) { s.pdfSmoothEdges = ui->pdfSmoothEdgesCheckBox->isChecked(); });
}

void ConvertImageForm::on_pdfKeepJpegCheckBox_toggled(bool checked)
{
    changeSetting(SettingPdfKeepJpeg, KeepPreview, [&](ConversionSettings &s) { s.pdfKeepJpeg = checked; });
}

void ConvertImageForm::on_metadataComboBox_currentIndexChanged(int index)
{
    changeSetting(SettingMetadata, KeepPreview, [&](ConversionSettings &s) { setMetadataChoice(s, index); });
}

void ConvertImageForm::on_keepFileDatesCheckBox_toggled(bool checked)
{
    changeSetting(SettingKeepFileDates, KeepPreview, [&](ConversionSettings &s) { s.keepFileDates = checked; });
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

void ConvertImageForm::on_pdfMarginSizeSpinBox_valueChanged(int value)
{
    changeSetting(SettingPdfPaperMarginSize, KeepPreview, [&](ConversionSettings &s) { s.pdfPaperMarginSize = value; });
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

void ConvertImageForm::on_existingFileComboBox_currentIndexChanged(int index)
{
    changeSetting(SettingExistingFilePolicy, KeepPreview, [&](ConversionSettings &s) { s.existingFilePolicy = index; });
}

void ConvertImageForm::on_keepFolderStructureCheckBox_toggled(bool checked)
{
    changeSetting(SettingKeepFolderStructure, KeepPreview, [&](ConversionSettings &s) { s.keepFolderStructure = checked; });
}

void ConvertImageForm::on_fileNamePatternLineEdit_textChanged(const QString &text)
{
    changeSetting(SettingFileNamePattern, KeepPreview, [&](ConversionSettings &s) {
        s.fileNamePattern = text;
        updateFileNamePreview();
    });
}

void ConvertImageForm::on_pngLevelSpinBox_valueChanged(int value)
{
    changeSetting(SettingPngCompressionLevel, KeepPreview, [&](ConversionSettings &s) { s.pngCompressionLevel = value; });
}

void ConvertImageForm::on_tiffCompressionComboBox_currentIndexChanged(int index)
{
    changeSetting(SettingTiffCompression, KeepPreview, [&](ConversionSettings &s) { s.tiffCompression = index; });
}

void ConvertImageForm::on_rawPicturesComboBox_currentIndexChanged(int index)
{
    changeSetting(SettingRawPictures, RefreshPreview, [&](ConversionSettings &s) { s.rawPictures = index; });
}

void ConvertImageForm::on_pagesAndFramesComboBox_currentIndexChanged(int index)
{
    changeSetting(SettingPagesAndFrames, KeepPreview, [&](ConversionSettings &s) { s.pagesAndFrames = index; });
}

void ConvertImageForm::on_pdfSourceDpiSpinBox_valueChanged(int value)
{
    changeSetting(SettingPdfSourceDpi, RefreshPreview, [&](ConversionSettings &s) { s.pdfSourceDpi = value; });
}

void ConvertImageForm::on_ignoreOrientationCheckBox_toggled(bool checked)
{
    changeSetting(SettingIgnoreOrientation, RefreshPreview, [&](ConversionSettings &s) { s.ignoreOrientation = checked; });
}

void ConvertImageForm::on_outputBesideSourceCheckBox_toggled(bool checked)
{
    changeSetting(SettingOutputBesideSource, KeepPreview, [&](ConversionSettings &s) {
        s.outputBesideSource = checked;
        showOutputFolderChoice();
    });
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

void ConvertImageForm::on_colourHandlingComboBox_currentIndexChanged(int index)
{
    changeSetting(SettingColourHandling, RefreshPreview, [&](ConversionSettings &s) { s.colourHandling = index; });
}

void ConvertImageForm::on_limitFileSizeCheckBox_toggled(bool checked)
{
    changeSetting(SettingLimitFileSize, KeepPreview, [&](ConversionSettings &s) {
        s.limitFileSize = checked;
        showSizeLimitOptions(ui->targetComboBox->currentIndex());
    });
}

void ConvertImageForm::on_fileSizeLimitSpinBox_valueChanged(int value)
{
    changeSetting(SettingFileSizeLimitKb, KeepPreview, [&](ConversionSettings &s) { s.fileSizeLimitKb = value; });
}

void ConvertImageForm::on_fileSizeMinQualitySpinBox_valueChanged(int value)
{
    changeSetting(SettingFileSizeMinQuality, KeepPreview, [&](ConversionSettings &s) { s.fileSizeMinQuality = value; });
}

void ConvertImageForm::on_shrinkToFileSizeCheckBox_toggled(bool checked)
{
    changeSetting(SettingShrinkToFileSize, KeepPreview, [&](ConversionSettings &s) { s.shrinkToFileSize = checked; });
}

void ConvertImageForm::on_grayscaleCheckBox_toggled(bool checked)
{
    changeSetting(SettingAdjustGrayScale, RefreshPreview, [&](ConversionSettings &s) { s.adjustGrayScale = checked ? 1 : 0; });
}

void ConvertImageForm::on_sepiaCheckBox_toggled(bool checked)
{
    changeSetting(SettingAdjustSepia, RefreshPreview, [&](ConversionSettings &s) { s.adjustSepia = checked ? 1 : 0; });
}

// One adjustment is edited by a slider and a spin box; both show the value.
void ConvertImageForm::setAdjustment(QSlider *slider, QSpinBox *spinBox, int ConversionSettings::*field, int id,
                                     int value)
{
    changeSetting(id, RefreshPreview, [&](ConversionSettings &s) {
        slider->setValue(value);
        spinBox->setValue(value);
        s.*field = value;
    });
}

void ConvertImageForm::on_contrastSlider_valueChanged(int value)
{
    setAdjustment(ui->contrastSlider, ui->contrastSpinBox, &ConversionSettings::adjustContrast, SettingAdjustContrast, value);
}

void ConvertImageForm::on_contrastSpinBox_valueChanged(int value)
{
    setAdjustment(ui->contrastSlider, ui->contrastSpinBox, &ConversionSettings::adjustContrast, SettingAdjustContrast, value);
}

void ConvertImageForm::on_brightnessSlider_valueChanged(int value)
{
    setAdjustment(ui->brightnessSlider, ui->brightnessSpinBox, &ConversionSettings::adjustBrightness, SettingAdjustBrightness, value);
}

void ConvertImageForm::on_brightnessSpinBox_valueChanged(int value)
{
    setAdjustment(ui->brightnessSlider, ui->brightnessSpinBox, &ConversionSettings::adjustBrightness, SettingAdjustBrightness, value);
}

void ConvertImageForm::on_gammaSlider_valueChanged(int value)
{
    setAdjustment(ui->gammaSlider, ui->gammaSpinBox, &ConversionSettings::adjustGamma, SettingAdjustGamma, value);
}

void ConvertImageForm::on_gammaSpinBox_valueChanged(int value)
{
    setAdjustment(ui->gammaSlider, ui->gammaSpinBox, &ConversionSettings::adjustGamma, SettingAdjustGamma, value);
}

void ConvertImageForm::on_invertColorsSlider_valueChanged(int value)
{
    setAdjustment(ui->invertColorsSlider, ui->invertColorsSpinBox, &ConversionSettings::adjustInvertColours, SettingAdjustInvertColours, value);
}

void ConvertImageForm::on_invertColorsSpinBox_valueChanged(int value)
{
    setAdjustment(ui->invertColorsSlider, ui->invertColorsSpinBox, &ConversionSettings::adjustInvertColours, SettingAdjustInvertColours, value);
}

void ConvertImageForm::on_gaussianBlurSlider_valueChanged(int value)
{
    setAdjustment(ui->gaussianBlurSlider, ui->gaussianBlurSpinBox, &ConversionSettings::setBlurRadius, SettingBlurRadius, value);
}

void ConvertImageForm::on_gaussianBlurSpinBox_valueChanged(int value)
{
    setAdjustment(ui->gaussianBlurSlider, ui->gaussianBlurSpinBox, &ConversionSettings::setBlurRadius, SettingBlurRadius, value);
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
