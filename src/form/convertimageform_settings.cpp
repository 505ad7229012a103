#include "convertimageform.h"
#include "ui_convertimageform.h"

void ConvertImageForm::loadSettings() {}
void ConvertImageForm::saveSetting(int) {}
void ConvertImageForm::updateControlsFromSettings() {}
void ConvertImageForm::setScaleControlsEnabled(bool) {}
void ConvertImageForm::updateRelativeValueField(int) {}
void ConvertImageForm::setPdfMargin(int) {}
void ConvertImageForm::showWatermarkThumbnail(const QString &) {}
void ConvertImageForm::on_tabResetButton_clicked() {}
void ConvertImageForm::on_outputFolderButton_clicked() {}
void ConvertImageForm::on_FolderSelected(const QString &) {}
void ConvertImageForm::on_outputFolderLineEdit_textChanged(const QString &) {}
void ConvertImageForm::on_scaleImageCheckBox_clicked() {}
void ConvertImageForm::on_percentageRadioButton_toggled(bool) {}
void ConvertImageForm::on_absoluteRadioButton_toggled(bool) {}
void ConvertImageForm::on_relativeRadioButton_toggled(bool) {}
void ConvertImageForm::on_percentageSpinBox_valueChanged(int) {}
void ConvertImageForm::on_absoluteWidthLineEdit_textChanged(const QString &) {}
void ConvertImageForm::on_absoluteHeightLineEdit_textChanged(const QString &) {}
void ConvertImageForm::on_relativeToComboBox_currentIndexChanged(int) {}
void ConvertImageForm::on_relativeValueLineEdit_textChanged(const QString &) {}
void ConvertImageForm::on_textLineEdit_textChanged(const QString &) {}
void ConvertImageForm::on_fontComboBox_currentFontChanged(const QFont &) {}
void ConvertImageForm::on_sizeSpinBox_valueChanged(int) {}
void ConvertImageForm::on_colorButton_clicked() {}
void ConvertImageForm::on_ColorUpdated(const QColor &) {}
void ConvertImageForm::on_positionComboBox_currentIndexChanged(int) {}
void ConvertImageForm::on_opacitySpinBox_valueChanged(int) {}
void ConvertImageForm::on_marginSpinBox_valueChanged(int) {}
void ConvertImageForm::on_textClearButton_clicked() {}
void ConvertImageForm::on_imageSelectButton_clicked() {}
void ConvertImageForm::on_imageClearButton_clicked() {}
void ConvertImageForm::on_imageSizeSpinBox_valueChanged(int) {}
void ConvertImageForm::on_imagePositionComboBox_currentIndexChanged(int) {}
void ConvertImageForm::on_imageOpacitySpinBox_valueChanged(int) {}
void ConvertImageForm::on_imageMarginSpinBox_valueChanged(int) {}
void ConvertImageForm::on_qrCodeTextEdit_textChanged() {}
void ConvertImageForm::on_qrCodeTextClearButton_clicked() {}
void ConvertImageForm::on_qrCodeSizeSpinBox_valueChanged(int) {}
void ConvertImageForm::on_qrCodePositionComboBox_currentIndexChanged(int) {}
void ConvertImageForm::on_qrCodeMarginSpinBox_valueChanged(int) {}
void ConvertImageForm::on_pdfFilenameLineEdit_textChanged(const QString &) {}
void ConvertImageForm::on_pdfPaperSizeComboBox_currentIndexChanged(int) {}
void ConvertImageForm::on_pdfResizeImageToPaperCheckBox_clicked() {}
void ConvertImageForm::on_pdfSmoothEdgesCheckBox_clicked() {}
void ConvertImageForm::on_pdfQualityComboBox_currentIndexChanged(int) {}
void ConvertImageForm::on_pdfPageOrientationPortraitButton_clicked() {}
void ConvertImageForm::on_pdfPageOrientationLanscapeButton_clicked() {}
void ConvertImageForm::on_pdfNoMarginButton_clicked() {}
void ConvertImageForm::on_pdfAddMarginButton_clicked() {}
void ConvertImageForm::on_pdfMarginSizeSpinBox_valueChanged(int) {}
void ConvertImageForm::on_targetComboBox_currentIndexChanged(int) {}
void ConvertImageForm::on_qualitySpinBox_valueChanged(int) {}
void ConvertImageForm::on_grayscaleCheckBox_toggled(bool) {}
void ConvertImageForm::on_sepiaCheckBox_toggled(bool) {}
void ConvertImageForm::on_contrastSlider_valueChanged(int) {}
void ConvertImageForm::on_contrastSpinBox_valueChanged(int) {}
void ConvertImageForm::on_brightnessSlider_valueChanged(int) {}
void ConvertImageForm::on_brightnessSpinBox_valueChanged(int) {}
void ConvertImageForm::on_gammaSlider_valueChanged(int) {}
void ConvertImageForm::on_gammaSpinBox_valueChanged(int) {}
void ConvertImageForm::on_invertColorsSlider_valueChanged(int) {}
void ConvertImageForm::on_invertColorsSpinBox_valueChanged(int) {}
void ConvertImageForm::on_gaussianBlurSlider_valueChanged(int) {}
void ConvertImageForm::on_gaussianBlurSpinBox_valueChanged(int) {}
void ConvertImageForm::on_resetButton_clicked() {}
