#include "convertimageform.h"
#include "ui_convertimageform.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>

#include "kxglobal.h"
#include "sourcefiles.h"
#include "watermarkthumbnail.h"

// The Scale, Text, Image, QR Code and Adjustments tabs. Their simple
// controls are bound by the control table; the handlers named here are those
// that connect by name.

void ConvertImageForm::setScaleControlsEnabled(bool enabled)
{
    QWidget *const controls[] = {
        ui->percentageRadioButton, ui->percentageSpinBox,     ui->percentageLabel,      ui->absoluteRadioButton,
        ui->absoluteWidthLabel,    ui->absoluteWidthLineEdit, ui->absoluteHeightLabel,  ui->absoluteHeightLineEdit,
        ui->relativeRadioButton,   ui->relativeToLabel,       ui->relativeToComboBox,   ui->relativeValueLabel,
        ui->relativeValueLineEdit, ui->longEdgeRadioButton,   ui->longEdgeLineEdit,     ui->doNotEnlargeCheckBox,
        ui->fitLabel,              ui->scaleFitComboBox,      ui->resamplingLabel,      ui->resamplingComboBox,
    };
    for (QWidget *control : controls)
        control->setEnabled(enabled);
}

void ConvertImageForm::updateRelativeValueField(int relativeTo)
{
    const ConversionSettings &s = conversionSettings();
    if (relativeTo != RelativeToWidth) {
        ui->relativeValueLabel->setText(tr("Height:"));
        ui->relativeValueLineEdit->setText(QString::number(s.scaleRelativeHeight));
        // Named apart from the absolute size's field of the same label.
        ui->relativeValueLineEdit->setAccessibleName(tr("Relative height"));
    } else {
        ui->relativeValueLabel->setText(tr("Width:"));
        ui->relativeValueLineEdit->setText(QString::number(s.scaleRelativeWidth));
        ui->relativeValueLineEdit->setAccessibleName(tr("Relative width"));
    }
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

void ConvertImageForm::on_relativeToComboBox_currentIndexChanged(int)
{
    storeControl(ui->relativeToComboBox);
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

void ConvertImageForm::on_fontComboBox_currentFontChanged(const QFont &)
{
    storeControl(ui->fontComboBox);
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
    // The swatch signals the colour before it shows it.
    ui->colorWidget->color = color;
    ui->colorWidget->update();
    storeControl(ui->colorWidget);
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
    const QString file = QFileDialog::getOpenFileName(this, tr("Add Image Files"),
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
        ui->imageImage->setText(tr("Preview"));
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
    storeControl(ui->qrCodeTextEdit);
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

void ConvertImageForm::on_grayscaleCheckBox_toggled(bool)
{
    storeControl(ui->grayscaleCheckBox);
}

void ConvertImageForm::on_sepiaCheckBox_toggled(bool)
{
    storeControl(ui->sepiaCheckBox);
}

// A slider and its spin box show one adjustment; the table keeps them in step.

void ConvertImageForm::on_contrastSlider_valueChanged(int)
{
    storeControl(ui->contrastSlider);
}

void ConvertImageForm::on_contrastSpinBox_valueChanged(int)
{
    storeControl(ui->contrastSpinBox);
}

void ConvertImageForm::on_brightnessSlider_valueChanged(int)
{
    storeControl(ui->brightnessSlider);
}

void ConvertImageForm::on_brightnessSpinBox_valueChanged(int)
{
    storeControl(ui->brightnessSpinBox);
}

void ConvertImageForm::on_gammaSlider_valueChanged(int)
{
    storeControl(ui->gammaSlider);
}

void ConvertImageForm::on_gammaSpinBox_valueChanged(int)
{
    storeControl(ui->gammaSpinBox);
}

void ConvertImageForm::on_invertColorsSlider_valueChanged(int)
{
    storeControl(ui->invertColorsSlider);
}

void ConvertImageForm::on_invertColorsSpinBox_valueChanged(int)
{
    storeControl(ui->invertColorsSpinBox);
}

void ConvertImageForm::on_gaussianBlurSlider_valueChanged(int)
{
    storeControl(ui->gaussianBlurSlider);
}

void ConvertImageForm::on_gaussianBlurSpinBox_valueChanged(int)
{
    storeControl(ui->gaussianBlurSpinBox);
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
