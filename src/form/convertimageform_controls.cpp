#include "convertimageform.h"
#include "ui_convertimageform.h"

#include <algorithm>
#include <variant>

#include <QComboBox>
#include <QDebug>
#include <QFileInfo>
#include <QFontComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaMethod>
#include <QSlider>
#include <QSpinBox>
#include <QTextEdit>

#include "colourbutton.h"
#include "handlerscope.h"
#include "kxcolorwidget.h"
#include "predictedsizelabel.h"
#include "presets.h"
#include "targetformats.h"

namespace {

// The controls of the table show and take a field of the record: a number is
// a check box's 0 or 1, a slider's or spin box's value, a combo box's index
// (one outside its list shows as no selection) or a line edit's decimal text.
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
    if (auto *edit = qobject_cast<QTextEdit *>(control)) {
        // Setting the same text again would still signal a change.
        if (edit->toPlainText() != value)
            edit->setPlainText(value);
    } else {
        qobject_cast<QLineEdit *>(control)->setText(value);
    }
}

void showValue(QWidget *control, const QFont &value)
{
    qobject_cast<QFontComboBox *>(control)->setCurrentFont(value);
}

void showValue(QWidget *control, const QColor &value)
{
    if (auto *button = qobject_cast<ColourButton *>(control)) {
        button->setColour(value);
        return;
    }
    auto *swatch = qobject_cast<KXColorWidget *>(control);
    swatch->color = value;
    swatch->update();
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
        value = ConvertImageForm::decimalOrZero(qobject_cast<const QLineEdit *>(control)->text());
}

void takeValue(const QWidget *control, QString &value)
{
    if (const auto *edit = qobject_cast<const QTextEdit *>(control))
        value = edit->toPlainText();
    else
        value = qobject_cast<const QLineEdit *>(control)->text();
}

void takeValue(const QWidget *control, QFont &value)
{
    // Kept the way the store keeps it: the description taken as a family list.
    value = fontFromDescription(qobject_cast<const QFontComboBox *>(control)->currentFont().toString());
}

void takeValue(const QWidget *control, QColor &value)
{
    if (const auto *button = qobject_cast<const ColourButton *>(control))
        value = button->colour();
    else
        value = qobject_cast<const KXColorWidget *>(control)->color;
}

// The signal a control gives its changes by, spelt as connect-by-name spells
// it. The flat swatch has none here: it signals a colour before showing it, and its
// handler stores the colour it is given.
QByteArray changeSignal(const QWidget *control)
{
    if (qobject_cast<const ColourButton *>(control))
        return "colourChanged(QColor)";
    if (qobject_cast<const QAbstractButton *>(control))
        return "toggled(bool)";
    if (qobject_cast<const QSpinBox *>(control) || qobject_cast<const QAbstractSlider *>(control))
        return "valueChanged(int)";
    if (qobject_cast<const QFontComboBox *>(control))
        return "currentFontChanged(QFont)";
    if (qobject_cast<const QComboBox *>(control))
        return "currentIndexChanged(int)";
    if (qobject_cast<const QLineEdit *>(control))
        return "textChanged(QString)";
    if (qobject_cast<const QTextEdit *>(control))
        return "textChanged()";
    return {};
}

void setRange(QWidget *control, int minimum, int maximum)
{
    if (auto *spinBox = qobject_cast<QSpinBox *>(control))
        spinBox->setRange(minimum, maximum);
    else if (auto *slider = qobject_cast<QAbstractSlider *>(control))
        slider->setRange(minimum, maximum);
}

} // namespace

int ConvertImageForm::decimalOrZero(const QString &text)
{
    return text.toInt(nullptr, 10);
}

void ConvertImageForm::loadSettings()
{
    loadConversionSettings(conversionSettings(), ui->fontLabel->font());
    updateControlsFromSettings();
}

void ConvertImageForm::saveSetting(int id)
{
    saveConversionSetting(conversionSettings(), id);
    predictedSize->settingsChanged();
    // Every change is saved; the line under the toolbar follows what is, and
    // so does the background's row (the target, the scaling and its fit call for it).
    showRunSummary();
    showBackgroundChoice();
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
    // In the order they are filled: handlers that run while filling (a reset)
    // see the controls before them already showing the record.
    controlSettings = {
        // Output format options and the Output tab.
        {ui->pngLevelSpinBox, "pngCompressionLevel", KeepPreview},
        {ui->tiffCompressionComboBox, "tiffCompression", KeepPreview},
        {ui->existingFileComboBox, "existingFilePolicy", KeepPreview},
        {ui->keepFolderStructureCheckBox, "keepFolderStructure", KeepPreview},
        {ui->fileNamePatternLineEdit, "fileNamePattern", KeepPreview, [this] { updateFileNamePreview(); }},
        {ui->rawPicturesComboBox, "rawPictures", RefreshPreview},
        {ui->pdfSourceDpiSpinBox, "pdfSourceDpi", RefreshPreview},
        {ui->ignoreOrientationCheckBox, "ignoreOrientation", RefreshPreview},
        {ui->outputBesideSourceCheckBox, "outputBesideSource", KeepPreview, [this] { showOutputFolderChoice(); }},
        {ui->colourHandlingComboBox, "colourHandling", RefreshPreview},
        {ui->pagesAndFramesComboBox, "pagesAndFrames", KeepPreview},
        {ui->limitFileSizeCheckBox, "limitFileSize", KeepPreview, [this] { showSizeLimitOptions(ui->targetComboBox->currentIndex()); }},
        {ui->fileSizeLimitSpinBox, "fileSizeLimitKb", KeepPreview},
        {ui->fileSizeMinQualitySpinBox, "fileSizeMinQuality", KeepPreview},
        {ui->shrinkToFileSizeCheckBox, "shrinkToFileSize", KeepPreview},
        {ui->keepFileDatesCheckBox, "keepFileDates", KeepPreview},
        {ui->jpegLosslessCheckBox, "jpegLossless", KeepPreview},
        {ui->backgroundColourButton, "backgroundColour", RefreshPreview},
        // The older metadata keys follow the choice in the record too.
        {ui->metadataComboBox, "metadata", KeepPreview,
         [] { setMetadataChoice(conversionSettings(), conversionSettings().metadata); }},
        // Output folder and PDF page setup.
        {ui->pdfMarginSizeSpinBox, "pdfPaperMarginSize", KeepPreview},
        {ui->outputFolderLineEdit, "outputFolder", KeepPreview},
        {ui->pdfFilenameLineEdit, "pdfFileName", KeepPreview},
        {ui->pdfPaperSizeComboBox, "pdfPaperSize", KeepPreview},
        {ui->pdfResizeImageToPaperCheckBox, "resizeImageToPaper", KeepPreview},
        {ui->pdfSmoothEdgesCheckBox, "pdfSmoothEdges", KeepPreview},
        {ui->pdfQualityComboBox, "pdfQuality", KeepPreview},
        {ui->pdfKeepJpegCheckBox, "pdfKeepJpeg", KeepPreview},
        // Scaling.
        {ui->scaleImageCheckBox, "scaleImage", RefreshPreview,
         [this] { setScaleControlsEnabled(conversionSettings().scaleImage); }},
        {ui->percentageSpinBox, "scalePercentage", RefreshPreview},
        {ui->absoluteWidthLineEdit, "scaleAbsoluteWitdh", RefreshPreview},
        {ui->absoluteHeightLineEdit, "scaleAbsoluteHeight", RefreshPreview},
        {ui->relativeToComboBox, "scaleRelativeTo", RefreshPreview,
         [this] { updateRelativeValueField(conversionSettings().scaleRelativeTo); }},
        {ui->longEdgeLineEdit, "scaleLongEdge", RefreshPreview},
        {ui->doNotEnlargeCheckBox, "scaleDoNotEnlarge", RefreshPreview},
        {ui->scaleFitComboBox, "scaleFit", RefreshPreview},
        {ui->resamplingComboBox, "resampling", RefreshPreview},
        // Text watermark.
        {ui->textLineEdit, "textContent", RefreshPreview},
        {ui->fontComboBox, "textFont", RefreshPreview},
        {ui->sizeSpinBox, "textSize", RefreshPreview},
        {ui->colorWidget, "textColor", RefreshPreview},
        {ui->positionComboBox, "textPosition", RefreshPreview},
        {ui->opacitySpinBox, "textOpacity", RefreshPreview},
        {ui->marginSpinBox, "textMargin", RefreshPreview},
        // Image watermark.
        {ui->imageSizeSpinBox, "imageSize", RefreshPreview},
        {ui->imagePositionComboBox, "imagePosition", RefreshPreview},
        {ui->imageOpacitySpinBox, "imageOpacity", RefreshPreview},
        {ui->imageMarginSpinBox, "imageMargin", RefreshPreview},
        // QR code watermark.
        {ui->qrCodeTextEdit, "qrCodeText", RefreshPreview},
        {ui->qrCodeSizeSpinBox, "qrCodeSize", RefreshPreview},
        {ui->qrCodePositionComboBox, "qrCodePosition", RefreshPreview},
        {ui->qrCodeMarginSpinBox, "qrCodeMargin", RefreshPreview},
        // Adjustments, each slider before its spin box.
        {ui->grayscaleCheckBox, "adjustGrayScale", RefreshPreview},
        {ui->sepiaCheckBox, "adjustSepia", RefreshPreview},
        {ui->contrastSlider, "adjustContrast", RefreshPreview},
        {ui->contrastSpinBox, "adjustContrast", RefreshPreview},
        {ui->brightnessSlider, "adjustBrightness", RefreshPreview},
        {ui->brightnessSpinBox, "adjustBrightness", RefreshPreview},
        {ui->gammaSlider, "adjustGamma", RefreshPreview},
        {ui->gammaSpinBox, "adjustGamma", RefreshPreview},
        {ui->invertColorsSlider, "adjustInvertColours", RefreshPreview},
        {ui->invertColorsSpinBox, "adjustInvertColours", RefreshPreview},
        {ui->gaussianBlurSlider, "setBlurRadius", RefreshPreview},
        {ui->gaussianBlurSpinBox, "setBlurRadius", RefreshPreview},
    };
    bindControlSettings();
}

void ConvertImageForm::bindControlSettings()
{
    const QMetaMethod store = metaObject()->method(metaObject()->indexOfSlot("storeChangedControl()"));
    for (ControlSetting &row : controlSettings) {
        const std::optional<SettingField> field = settingField(QLatin1String(row.key));
        Q_ASSERT_X(field, "bindControlSettings", row.key);
        row.field = *field;
        if (std::holds_alternative<int ConversionSettings::*>(row.field.member))
            setRange(row.control, row.field.minimum, row.field.maximum);
        const QByteArray signal = changeSignal(row.control);
        const QByteArray namedHandler = "on_" + row.control->objectName().toLatin1() + '_' + signal;
        if (signal.isEmpty() || metaObject()->indexOfSlot(namedHandler) >= 0)
            continue;
        const QMetaObject *type = row.control->metaObject();
        connect(row.control, type->method(type->indexOfSignal(signal)), this, store);
    }
}

const ConvertImageForm::ControlSetting &ConvertImageForm::controlSetting(const QWidget *control) const
{
    const auto row = std::find_if(controlSettings.cbegin(), controlSettings.cend(),
                                  [control](const ControlSetting &setting) { return setting.control == control; });
    Q_ASSERT(row != controlSettings.cend());
    return *row;
}

void ConvertImageForm::storeChangedControl()
{
    storeControl(qobject_cast<QWidget *>(sender()));
}

void ConvertImageForm::storeControl(QWidget *control)
{
    const ControlSetting &row = controlSetting(control);
    changeSetting(row.field.id, row.preview, [&](ConversionSettings &s) {
        std::visit(
            [&](auto member) {
                takeValue(control, s.*member);
                for (const ControlSetting &other : std::as_const(controlSettings)) {
                    if (other.control != control && other.field.member == row.field.member)
                        showValue(other.control, s.*member);
                }
            },
            row.field.member);
        if (row.after)
            row.after();
    });
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

void ConvertImageForm::updateControlsFromSettings()
{
    ConversionSettings &s = conversionSettings();

    // The target format and its dependent controls first: the quality shown is the target's.
    if (s.targeFileType < 0 || s.targeFileType > ui->targetComboBox->count() - 1)
        s.targeFileType = 0;
    ui->targetComboBox->setCurrentIndex(s.targeFileType);
    ui->pdfGroupBox->setVisible(s.targeFileType == TargetPdf);
    showTargetOptions(ui->targetComboBox->currentIndex());

    // A folder that went away since the last run shows as empty.
    if (!s.outputFolder.isEmpty()) {
        const QFileInfo folder(s.outputFolder);
        if (!folder.isDir() || !folder.isReadable())
            s.outputFolder.clear();
    }

    for (const ControlSetting &row : std::as_const(controlSettings))
        std::visit([&](auto member) { showValue(row.control, s.*member); }, row.field.member);

    // What follows the output controls.
    showOutputFolderChoice();
    showAlsoWrite();
    showSizeLimitOptions(ui->targetComboBox->currentIndex());

    // The PDF page's tiles.
    const bool landscape = s.pdfPaperOrientation == OrientationLandscape;
    (landscape ? ui->pdfPageOrientationLanscapeButton : ui->pdfPageOrientationPortraitButton)->setChecked(true);
    setPdfMargin(s.pdfPaperMargin);

    // Scaling.
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

    // The watermark picture.
    if (!s.imagePath.isEmpty() && QFileInfo(s.imagePath).isFile())
        showWatermarkThumbnail(s.imagePath);
    else
        ui->imageImage->setText(tr("Preview"));

    updateFileNamePreview();
    showRunSummary();
}

void ConvertImageForm::on_tabResetButton_clicked()
{
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, tr("Reset Settings"),
                              tr("Are you sure you want to reset all settings to their default values?"),
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
    saveConversionSettings(conversionSettings(), keysRestoredByReset());
}
