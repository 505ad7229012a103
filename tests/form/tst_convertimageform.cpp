#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStackedLayout>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include <memory>

#include "convertimageform.h"
#include "convertimageframe.h"
#include "convertimagetreeview.h"
#include "kxcolorwidget.h"
#include "kxdialogs.h"
#include "kxtest.h"
#include "ui_convertimageform.h"

namespace {

QVariant stored(const QString &key)
{
    QSettings store(QStringLiteral("Kestrix"), QStringLiteral("ConvertImage"));
    store.beginGroup(QStringLiteral("MainApp"));
    return store.value(key);
}

bool isStored(const QString &key)
{
    return stored(key).isValid();
}

void store(const QString &key, const QVariant &value)
{
    QSettings store(QStringLiteral("Kestrix"), QStringLiteral("ConvertImage"));
    store.beginGroup(QStringLiteral("MainApp"));
    store.setValue(key, value);
}

int storedCount()
{
    QSettings store(QStringLiteral("Kestrix"), QStringLiteral("ConvertImage"));
    store.beginGroup(QStringLiteral("MainApp"));
    return store.childKeys().size();
}

// Starts the form the way the program does: from the store, with a fresh record.
std::unique_ptr<ConvertImageForm> startForm()
{
    conversionSettings() = ConversionSettings();
    return std::make_unique<ConvertImageForm>();
}

void answerReset(QMessageBox::StandardButton answer, QString *title = nullptr, QString *text = nullptr)
{
    kxtest::whenModalShown<QMessageBox>([=](QMessageBox *box) {
        if (title)
            *title = box->windowTitle();
        if (text)
            *text = box->text();
        box->button(answer)->click();
    });
}

QList<QWidget *> scaleControls(Ui::ConvertImageForm *ui)
{
    return {ui->percentageRadioButton, ui->percentageSpinBox,     ui->percentageLabel,     ui->absoluteRadioButton,
            ui->absoluteWidthLabel,    ui->absoluteWidthLineEdit, ui->absoluteHeightLabel, ui->absoluteHeightLineEdit,
            ui->relativeRadioButton,   ui->relativeToLabel,       ui->relativeToComboBox,  ui->relativeValueLabel,
            ui->relativeValueLineEdit};
}

QImage iconImage(const QIcon &icon, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(QSize(24, 24), mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage resourceImage(const QString &name, int size = 24)
{
    return QImage(QStringLiteral(":/resources/images/") + name)
        .scaled(size, size)
        .convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestConvertImageForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    void init()
    {
        kxtest::clearSettingsStore();
        QApplication::setPalette(QApplication::style()->standardPalette());
    }

    void startShowsDropZoneWithListCommandsDisabled()
    {
        auto form = startForm();
        Ui::ConvertImageForm *ui = form->ui;
        auto *pages = qobject_cast<QStackedLayout *>(ui->sourceColumnWidget->layout());
        QVERIFY(pages);
        QCOMPARE(pages->count(), 2);
        QCOMPARE(pages->widget(0), static_cast<QWidget *>(ui->sourceTreeView));
        QCOMPARE(pages->currentWidget(), static_cast<QWidget *>(ui->sourceFrame));
        QVERIFY(ui->sourceFrame->acceptDrops());
        QVERIFY(ui->sourceTreeView->acceptDrops());
        QCOMPARE(ui->sourceTreeView->dragDropMode(), QAbstractItemView::InternalMove);
        QVERIFY(ui->sourceTreeView->isColumnHidden(1));
        QCOMPARE(ui->sourceTreeView->iconSize(), QSize(64, 64));
        for (QToolButton *button : {ui->convertButton, ui->removeButton, ui->clearButton, ui->upButton, ui->downButton})
            QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
        QVERIFY(ui->addFilesButton->isEnabled());
        QVERIFY(ui->line4->isHidden());
        QCOMPARE(ui->previewImage->size(), QSize(400, 231));
        QCOMPARE(ui->previewImage->text(), QStringLiteral("Preview"));
        QCOMPARE(form->fileListModel()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("File List"));
        QCOMPARE(form->fileListModel()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Path"));
        // Filling the controls at start writes nothing back.
        QCOMPARE(storedCount(), 0);

        QTabWidget *tabs = ui->tabWidget;
        const QStringList titles{"Output", "Scale", "Text", "Image", "QR Code", "Adjustments"};
        const QStringList names{"outputFolderTab", "scaleTab", "textTab", "imageTab", "qrCodeTab", "AdjustmentsTab"};
        QCOMPARE(tabs->count(), 6);
        for (int i = 0; i < tabs->count(); ++i) {
            QCOMPARE(tabs->tabText(i), titles.at(i));
            QCOMPARE(tabs->widget(i)->objectName(), names.at(i));
        }
        QCOMPARE(tabs->currentWidget(), ui->outputFolderTab);
        QCOMPARE(tabs->width(), 400);

        auto items = [](QComboBox *box) {
            QStringList texts;
            for (int i = 0; i < box->count(); ++i)
                texts << box->itemText(i);
            return texts;
        };
        const QStringList positions = items(ui->positionComboBox);
        QCOMPARE(positions.size(), 9);
        QCOMPARE(positions.first(), QStringLiteral("Top - Left"));
        QCOMPARE(positions.last(), QStringLiteral("Bottom - Right"));
        QCOMPARE(items(ui->imagePositionComboBox), positions);
        QCOMPARE(items(ui->qrCodePositionComboBox), positions);
        QCOMPARE(ui->positionComboBox->currentIndex(), 8);
    }

    void targetDecidesQualityAndPdfControls_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("quality");
        QTest::addColumn<bool>("pdf");
        const QStringList labels{"AVIF", "GIF", "HEIC", "HEIF", "JPG", "JPEG XL", "PNG", "TIFF", "WEBP", "PDF"};
        for (int row = 0; row < labels.size(); ++row)
            QTest::newRow(qPrintable(labels.at(row))) << row << labels.at(row) << (row == 4) << (row == 9);
    }

    void targetDecidesQualityAndPdfControls()
    {
        QFETCH(int, row);
        QFETCH(QString, label);
        QFETCH(bool, quality);
        QFETCH(bool, pdf);
        auto form = startForm();
        Ui::ConvertImageForm *ui = form->ui;
        // Start from another row, so that every row is a change.
        ui->targetComboBox->setCurrentIndex(row == 0 ? 1 : 0);
        ui->targetComboBox->setCurrentIndex(row);
        QCOMPARE(ui->targetComboBox->currentText(), label);
        QCOMPARE(!ui->qualitySpinBox->isHidden(), quality);
        QCOMPARE(!ui->qualityLabel->isHidden(), quality);
        QCOMPARE(!ui->pdfGroupBox->isHidden(), pdf);
        QCOMPARE(ui->pdfGroupBox->title(), QStringLiteral("Save to PDF"));
        QCOMPARE(stored("targeFileType").toInt(), row);
        QCOMPARE(conversionSettings().targeFileType, row);

        // The same controls after a restart.
        form.reset();
        form = startForm();
        QCOMPARE(form->ui->targetComboBox->currentIndex(), row);
        QCOMPARE(!form->ui->qualitySpinBox->isHidden(), quality);
        QCOMPARE(!form->ui->pdfGroupBox->isHidden(), pdf);
    }

    // Values the controls cannot show are corrected in the record or shown as
    // no selection; the store keeps them until the field is next saved.
    void storedValuesOutsideTheControlsAtStart()
    {
        const QString gone = QDir::tempPath() + "/kx-output-folder-that-does-not-exist";
        store("targeFileType", 12);
        store("pdfPaperSize", 7);
        store("pdfQuality", -3);
        store("outputFolder", gone);
        auto form = startForm();
        QCOMPARE(form->ui->targetComboBox->currentIndex(), 0);
        QCOMPARE(conversionSettings().targeFileType, 0);
        QCOMPARE(form->ui->pdfPaperSizeComboBox->currentIndex(), -1);
        QCOMPARE(form->ui->pdfQualityComboBox->currentIndex(), -1);
        QCOMPARE(conversionSettings().pdfPaperSize, 7);
        QCOMPARE(form->ui->outputFolderLineEdit->text(), QString());
        QCOMPARE(conversionSettings().outputFolder, QString());
        QCOMPARE(stored("targeFileType").toInt(), 12);
        QCOMPARE(stored("outputFolder").toString(), gone);
    }

    // Each adjustment: slider and spin box share the range and mirror each
    // other, and one change saves its key once.
    void adjustmentSliderAndSpinBox_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::newRow("contrast") << "contrast" << "adjustContrast" << -255 << 255;
        QTest::newRow("brightness") << "brightness" << "adjustBrightness" << -255 << 255;
        QTest::newRow("gamma") << "gamma" << "adjustGamma" << -100 << 699;
        QTest::newRow("invert") << "invertColors" << "adjustInvertColours" << 0 << 255;
        QTest::newRow("blur") << "gaussianBlur" << "setBlurRadius" << 0 << 50;
    }

    void adjustmentSliderAndSpinBox()
    {
        QFETCH(QString, name);
        QFETCH(QString, key);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        auto form = startForm();
        auto *slider = form->findChild<QSlider *>(name + "Slider");
        auto *spin = form->findChild<QSpinBox *>(name + "SpinBox");
        QVERIFY(slider && spin);
        QCOMPARE(slider->minimum(), minimum);
        QCOMPARE(slider->maximum(), maximum);
        QCOMPARE(spin->minimum(), minimum);
        QCOMPARE(spin->maximum(), maximum);
        QCOMPARE(slider->width(), 160);

        QSignalSpy spinChanges(spin, &QSpinBox::valueChanged);
        slider->setValue(maximum);
        QCOMPARE(spin->value(), maximum);
        QCOMPARE(spinChanges.count(), 1);
        QCOMPARE(stored(key).toInt(), maximum);
        QCOMPARE(storedCount(), 1);
        // The guard is open again after the handler.
        spin->setValue(minimum);
        QCOMPARE(slider->value(), minimum);
        QCOMPARE(stored(key).toInt(), minimum);
    }

    void sizeTextIsStoredAsDecimalNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("digits") << "1280" << 1280;
        QTest::newRow("trailing letter") << "12a" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("negative") << "-5" << -5;
        QTest::newRow("hex is not decimal") << "0x10" << 0;
    }

    void sizeTextIsStoredAsDecimalNumber()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        auto form = startForm();
        form->ui->absoluteWidthLineEdit->setText(QStringLiteral("777"));
        form->ui->absoluteWidthLineEdit->setText(text);
        QCOMPARE(conversionSettings().scaleAbsoluteWitdh, expected);
        QCOMPARE(stored("scaleAbsoluteWitdh").toInt(), expected);
        form->ui->absoluteHeightLineEdit->setText(text + "x");
        QCOMPARE(stored("scaleAbsoluteHeight").toInt(), 0);
    }

    void switchingRelativeToShowsTheOtherValueWithoutWriting()
    {
        auto form = startForm();
        Ui::ConvertImageForm *ui = form->ui;
        QCOMPARE(ui->relativeValueLabel->text(), QStringLiteral("Width:"));
        QCOMPARE(ui->relativeValueLineEdit->text(), QStringLiteral("1920"));
        ui->relativeValueLineEdit->setText(QStringLiteral("800"));
        QCOMPARE(stored("scaleRelativeWidth").toInt(), 800);

        ui->relativeToComboBox->setCurrentIndex(1);
        QCOMPARE(ui->relativeValueLabel->text(), QStringLiteral("Height:"));
        QCOMPARE(ui->relativeValueLineEdit->text(), QStringLiteral("1080"));
        QCOMPARE(stored("scaleRelativeTo").toInt(), 1);
        QVERIFY(!isStored("scaleRelativeHeight"));
        QCOMPARE(stored("scaleRelativeWidth").toInt(), 800);

        ui->relativeValueLineEdit->setText(QStringLiteral("700"));
        QCOMPARE(stored("scaleRelativeHeight").toInt(), 700);
        QCOMPARE(conversionSettings().scaleRelativeWidth, 800);

        ui->relativeToComboBox->setCurrentIndex(0);
        QCOMPARE(ui->relativeValueLineEdit->text(), QStringLiteral("800"));
        QCOMPARE(stored("scaleRelativeHeight").toInt(), 700);
    }

    void uncheckingScaleImageDisablesTheScaleControls()
    {
        store("scaleImage", true);
        auto form = startForm();
        Ui::ConvertImageForm *ui = form->ui;
        QVERIFY(ui->scaleImageCheckBox->isChecked());
        for (QWidget *control : scaleControls(ui))
            QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));

        ui->scaleImageCheckBox->click();
        QVERIFY(!ui->scaleImageCheckBox->isChecked());
        QVERIFY(ui->scaleImageCheckBox->isEnabled());
        for (QWidget *control : scaleControls(ui))
            QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
        QVERIFY(isStored("scaleImage"));
        QCOMPARE(stored("scaleImage").toBool(), false);
    }

    void scaleTypeRadioButtonsStoreTheirType()
    {
        auto form = startForm();
        Ui::ConvertImageForm *ui = form->ui;
        QVERIFY(ui->percentageRadioButton->isChecked());
        ui->relativeRadioButton->setChecked(true);
        QVERIFY(!ui->percentageRadioButton->isChecked());
        QCOMPARE(stored("scaleType").toInt(), 2);
        ui->absoluteRadioButton->setChecked(true);
        QCOMPARE(stored("scaleType").toInt(), 1);
        QCOMPARE(ui->percentageSpinBox->maximum(), 400);
    }

    void pdfMarginButtonsShowTheMarginSize()
    {
        auto form = startForm();
        Ui::ConvertImageForm *ui = form->ui;
        QVERIFY(ui->pdfNoMarginButton->isChecked());
        QVERIFY(ui->pdfMarginSizeSpinBox->isHidden());
        QVERIFY(ui->pdfMarginSizeLabel->isHidden());
        ui->pdfAddMarginButton->click();
        QVERIFY(ui->pdfAddMarginButton->isChecked());
        QVERIFY(!ui->pdfNoMarginButton->isChecked());
        QVERIFY(!ui->pdfMarginSizeSpinBox->isHidden());
        QCOMPARE(stored("pdfPaperMargin").toInt(), 1);
        ui->pdfNoMarginButton->click();
        QVERIFY(ui->pdfMarginSizeSpinBox->isHidden());
        QCOMPARE(stored("pdfPaperMargin").toInt(), 0);

        ui->pdfPageOrientationLanscapeButton->click();
        QVERIFY(ui->pdfPageOrientationLanscapeButton->isChecked());
        QVERIFY(!ui->pdfPageOrientationPortraitButton->isChecked());
        QCOMPARE(stored("pdfPaperOrientation").toInt(), 1);
        // Clicking the checked button again keeps it checked.
        ui->pdfPageOrientationLanscapeButton->click();
        QVERIFY(ui->pdfPageOrientationLanscapeButton->isChecked());
    }

    void smoothEdgesAlsoWritesTheOtherPdfFileKeys()
    {
        auto form = startForm();
        form->ui->pdfSmoothEdgesCheckBox->click();
        QCOMPARE(stored("pdfSmoothEdges").toBool(), false);
        QVERIFY(isStored("pdfFileName"));
        QCOMPARE(stored("resizeImageToPaper").toBool(), false);
    }

    void chosenOutputFolderIsShownAndStored()
    {
        QTemporaryDir folder;
        auto form = startForm();
        form->on_FolderSelected(folder.path() + "/missing");
        QVERIFY(!isStored("outputFolder"));
        form->on_FolderSelected(QString());
        QVERIFY(!isStored("outputFolder"));
        form->on_FolderSelected(folder.path());
        QCOMPARE(form->ui->outputFolderLineEdit->text(), folder.path());
        QCOMPARE(stored("outputFolder").toString(), folder.path());
    }

    void watermarkPictureIsShownScaledDown()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("mark.png");
        QVERIFY(kxtest::makePhotoLikeImage(240, 60).save(path));
        store("imagePath", path);
        auto form = startForm();
        QCOMPARE(form->ui->imageImage->pixmap().size(), QSize(120, 30));

        form->ui->imageClearButton->click();
        QVERIFY(form->ui->imageImage->pixmap().isNull());
        QCOMPARE(form->ui->imageImage->text(), QStringLiteral("Preview"));
        QCOMPARE(stored("imagePath").toString(), QString());
    }

    void clearButtonsEmptyTheirTextsAndStore()
    {
        auto form = startForm();
        form->ui->textLineEdit->setText(QStringLiteral("(c) Kestrix"));
        QCOMPARE(stored("textContent").toString(), QStringLiteral("(c) Kestrix"));
        form->ui->textClearButton->click();
        QCOMPARE(form->ui->textLineEdit->text(), QString());
        QCOMPARE(stored("textContent").toString(), QString());

        form->ui->qrCodeTextEdit->setPlainText(QStringLiteral("https://kestrix.example"));
        QCOMPARE(stored("qrCodeText").toString(), QStringLiteral("https://kestrix.example"));
        form->ui->qrCodeTextClearButton->click();
        QCOMPARE(stored("qrCodeText").toString(), QString());
    }

    void adjustmentsResetZeroesEveryAdjustment()
    {
        auto form = startForm();
        Ui::ConvertImageForm *ui = form->ui;
        ui->grayscaleCheckBox->setChecked(true);
        ui->contrastSlider->setValue(-20);
        ui->invertColorsSpinBox->setValue(9);
        QCOMPARE(stored("adjustGrayScale").toInt(), 1);
        ui->resetButton->click();
        for (QSlider *slider : {ui->contrastSlider, ui->brightnessSlider, ui->gammaSlider, ui->invertColorsSlider,
                                ui->gaussianBlurSlider})
            QCOMPARE(slider->value(), 0);
        QCOMPARE(ui->contrastSpinBox->value(), 0);
        QCOMPARE(ui->invertColorsSpinBox->value(), 0);
        QVERIFY(!ui->grayscaleCheckBox->isChecked());
        QCOMPARE(stored("adjustGrayScale").toInt(), 0);
        QCOMPARE(stored("adjustContrast").toInt(), 0);
        QCOMPARE(stored("adjustInvertColours").toInt(), 0);
        // Adjustments that were already 0 are not written.
        QVERIFY(!isStored("adjustBrightness"));
        QVERIFY(!isStored("adjustSepia"));
    }

    void resetAnsweredNoChangesNothing()
    {
        auto form = startForm();
        form->ui->contrastSlider->setValue(40);
        form->ui->scaleImageCheckBox->click();
        QString title;
        QString text;
        answerReset(QMessageBox::No, &title, &text);
        form->ui->tabResetButton->click();
        QCOMPARE(title, QStringLiteral("Reset Settings"));
        QCOMPARE(text, QStringLiteral("Are you sure you want to reset all settings to their default values?"));
        QCOMPARE(form->ui->contrastSlider->value(), 40);
        QCOMPARE(conversionSettings().adjustContrast, 40);
        QVERIFY(conversionSettings().scaleImage);
        QCOMPARE(stored("adjustContrast").toInt(), 40);
        QCOMPARE(stored("scaleImage").toBool(), true);
    }

    void resetAnsweredYesRestoresOptionsAndSurvivesRestart()
    {
        QTemporaryDir folder;
        const QString mark = folder.filePath("mark.png");
        QVERIFY(kxtest::makePhotoLikeImage(60, 30).save(mark));
        store("imagePath", mark);
        store("textColor", QColor(Qt::red));
        store("scaleImage", true);
        store("scaleRelativeTo", 0);
        store("scaleRelativeHeight", 500);
        store("adjustGamma", 200);
        store("textPosition", 2);
        store("qrCodeText", QStringLiteral("hello"));
        store("textContent", QStringLiteral("(c)"));
        store("scaleType", 1);
        store("setBlurRadius", 3);
        // Output options, kept by the reset.
        store("lastPicturesDir", folder.path());
        store("pdfPaperOrientation", 1);
        store("resizeImageToPaper", true);
        store("pdfSmoothEdges", false);
        store("targeFileType", 4);
        store("targeFileQuality", 80);
        store("outputFolder", folder.path());
        store("pdfFileName", QStringLiteral("album"));
        store("pdfPaperSize", 1);
        store("pdfQuality", 4);
        store("pdfPaperMargin", 1);
        store("pdfPaperMarginSize", 33);

        auto form = startForm();
        QVERIFY(form->ui->scaleImageCheckBox->isChecked());
        answerReset(QMessageBox::Yes);
        form->ui->tabResetButton->click();

        auto checkReset = [&](ConvertImageForm *f) {
            const ConversionSettings &s = conversionSettings();
            QCOMPARE(s.scaleImage, false);
            QCOMPARE(s.scaleRelativeHeight, 1080);
            QCOMPARE(s.adjustGamma, 0);
            QCOMPARE(s.textPosition, 8);
            QCOMPARE(s.textColor, QColor(Qt::black));
            QCOMPARE(s.imagePath, QString());
            QCOMPARE(s.qrCodeText, QString());
            QCOMPARE(s.textContent, QString());
            QCOMPARE(s.scaleType, 0);
            QCOMPARE(s.setBlurRadius, 0);
            QCOMPARE(s.textFont.family(), f->ui->fontLabel->font().family());
            QCOMPARE(s.lastPicturesDir, folder.path());
            QCOMPARE(s.pdfPaperOrientation, 1);
            QCOMPARE(s.resizeImageToPaper, true);
            QCOMPARE(s.pdfSmoothEdges, false);
            QCOMPARE(s.targeFileType, 4);
            QCOMPARE(s.targeFileQuality, 80);
            QCOMPARE(s.outputFolder, folder.path());
            QCOMPARE(s.pdfFileName, QStringLiteral("album"));
            QCOMPARE(s.pdfPaperSize, 1);
            QCOMPARE(s.pdfQuality, 4);
            QCOMPARE(s.pdfPaperMargin, 1);
            QCOMPARE(s.pdfPaperMarginSize, 33);
            QVERIFY(!f->ui->scaleImageCheckBox->isChecked());
            QVERIFY(!f->ui->percentageSpinBox->isEnabled());
            QCOMPARE(f->ui->colorWidget->color, QColor(Qt::black));
            QCOMPARE(f->ui->imageImage->text(), QStringLiteral("Preview"));
            QCOMPARE(f->ui->gammaSlider->value(), 0);
            QCOMPARE(f->ui->positionComboBox->currentIndex(), 8);
            QCOMPARE(f->ui->qualitySpinBox->value(), 80);
            QCOMPARE(f->ui->targetComboBox->currentIndex(), 4);
        };
        checkReset(form.get());
        QCOMPARE(stored("scaleImage").toBool(), false);
        QCOMPARE(stored("scaleRelativeHeight").toInt(), 1080);

        form.reset();
        form = startForm();
        checkReset(form.get());
    }

    void everyOptionComesBackAfterRestart()
    {
        QTemporaryDir folder;
        const QString mark = folder.filePath("mark.png");
        QVERIFY(kxtest::makePhotoLikeImage(240, 60).save(mark));
        // Control, property and value, set in this order (the relative value
        // goes to the side chosen before it).
        const QList<std::tuple<const char *, const char *, QVariant>> edits{
            {"targetComboBox", "currentIndex", 9},        {"qualitySpinBox", "value", 77},
            {"pdfFilenameLineEdit", "text", "album"},     {"pdfPaperSizeComboBox", "currentIndex", 2},
            {"pdfQualityComboBox", "currentIndex", 5},     {"pdfMarginSizeSpinBox", "value", 12},
            {"absoluteRadioButton", "checked", true},      {"percentageSpinBox", "value", 250},
            {"absoluteWidthLineEdit", "text", "640"},      {"absoluteHeightLineEdit", "text", "480"},
            {"relativeToComboBox", "currentIndex", 1},     {"relativeValueLineEdit", "text", "300"},
            {"textLineEdit", "text", "Kestrix"},           {"sizeSpinBox", "value", 48},
            {"positionComboBox", "currentIndex", 4},       {"opacitySpinBox", "value", 55},
            {"marginSpinBox", "value", 15},                {"imageSizeSpinBox", "value", 40},
            {"imagePositionComboBox", "currentIndex", 0},  {"imageOpacitySpinBox", "value", 60},
            {"imageMarginSpinBox", "value", 5},            {"qrCodeTextEdit", "plainText", "line one\nline two"},
            {"qrCodeSizeSpinBox", "value", 900},           {"qrCodePositionComboBox", "currentIndex", 3},
            {"qrCodeMarginSpinBox", "value", 8},           {"grayscaleCheckBox", "checked", true},
            {"sepiaCheckBox", "checked", true},            {"contrastSlider", "value", -100},
            {"brightnessSpinBox", "value", 120},           {"gammaSlider", "value", -50},
            {"invertColorsSlider", "value", 200},          {"gaussianBlurSpinBox", "value", 25},
        };
        {
            auto form = startForm();
            Ui::ConvertImageForm *ui = form->ui;
            for (const auto &[name, property, value] : edits)
                QVERIFY2(form->findChild<QWidget *>(name)->setProperty(property, value), name);
            form->on_FolderSelected(folder.path());
            form->on_ColorUpdated(QColor(0x12, 0x34, 0x56));
            for (QAbstractButton *button : std::initializer_list<QAbstractButton *>{
                     ui->pdfResizeImageToPaperCheckBox, ui->pdfSmoothEdgesCheckBox,
                     ui->pdfPageOrientationLanscapeButton, ui->pdfAddMarginButton, ui->scaleImageCheckBox})
                button->click();
        }
        store("imagePath", mark);

        auto form = startForm();
        Ui::ConvertImageForm *ui = form->ui;
        for (const auto &[name, property, value] : edits)
            QVERIFY2(form->findChild<QWidget *>(name)->property(property) == value, name);
        QVERIFY(!ui->pdfGroupBox->isHidden());
        QCOMPARE(ui->outputFolderLineEdit->text(), folder.path());
        QVERIFY(ui->pdfResizeImageToPaperCheckBox->isChecked());
        QVERIFY(!ui->pdfSmoothEdgesCheckBox->isChecked());
        QVERIFY(ui->pdfPageOrientationLanscapeButton->isChecked());
        QVERIFY(ui->pdfAddMarginButton->isChecked());
        QVERIFY(ui->scaleImageCheckBox->isChecked());
        QCOMPARE(ui->relativeValueLabel->text(), QStringLiteral("Height:"));
        QCOMPARE(ui->colorWidget->color, QColor(0x12, 0x34, 0x56));
        QCOMPARE(ui->imageImage->pixmap().size(), QSize(120, 30));
        // The mirrored halves of the adjustments.
        QCOMPARE(ui->contrastSpinBox->value(), -100);
        QCOMPARE(ui->brightnessSlider->value(), 120);
        QCOMPARE(ui->gammaSpinBox->value(), -50);
        QCOMPARE(ui->invertColorsSpinBox->value(), 200);
        QCOMPARE(ui->gaussianBlurSlider->value(), 25);
    }

    void fontChoiceComesBackAfterRestart()
    {
        QString family;
        {
            auto form = startForm();
            QFontComboBox *fonts = form->ui->fontComboBox;
            if (fonts->count() < 2)
                QSKIP("needs two installed font families");
            const int other = fonts->currentIndex() == 0 ? 1 : 0;
            fonts->setCurrentIndex(other);
            family = fonts->currentFont().family();
            QCOMPARE(conversionSettings().textFont.family(), family);
        }
        auto form = startForm();
        QCOMPARE(conversionSettings().textFont.family(), family);
        QCOMPARE(form->ui->fontComboBox->currentFont().family(), family);
    }

    void convertingDisablesToolbarAndList()
    {
        auto form = startForm();
        Ui::ConvertImageForm *ui = form->ui;
        form->setConverting(true);
        for (QWidget *w : std::initializer_list<QWidget *>{ui->addFilesButton, ui->clearButton, ui->targetComboBox,
                                                         ui->convertButton, ui->sourceTreeView, ui->sourceFrame,
                                                         ui->removeButton, ui->upButton, ui->downButton})
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        form->setConverting(false);
        for (QWidget *w : std::initializer_list<QWidget *>{ui->addFilesButton, ui->clearButton, ui->targetComboBox,
                                                         ui->convertButton, ui->sourceTreeView, ui->sourceFrame})
            QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
        // Nothing selected: the selection commands stay off.
        QVERIFY(!ui->removeButton->isEnabled());
        QVERIFY(!ui->upButton->isEnabled());
        QVERIFY(!ui->downButton->isEnabled());
    }

    // Every picture the form and its dialogs use, at its drawn size.
    void everyThemePictureIsCompiledIn()
    {
        const QStringList files = QStringLiteral(
            "Convert24 ConvertWhite24 ConvertGray24 AddFile24 AddFileWhite24 Delete24 DeleteWhite24 DeleteGray24 "
            "shortcut24 shortcutWhite24 shortcutGray24 ArrowUp24 ArrowUpWhite24 ArrowUpGray24 ArrowDown24 "
            "ArrowDownWhite24 ArrowDownGray24 websiteIcon24 websiteWhiteIcon24 About24 AboutWhite24 Reset24 "
            "ResetWhite24 FitToSize24 folder16 folderWhite16 Portrait PortraitWhite Landscape LandscapeWhite Image "
            "ImageWhite ImageBorder ImageBorderWhite DropLogo DropLogoWhite AboutLogo").split(QLatin1Char(' '));
        for (const QString &file : files) {
            const QImage image(QStringLiteral(":/resources/images/") + file + QStringLiteral(".png"));
            const int side = file.endsWith("16") ? 16 : file.endsWith("24") ? 24 : file.contains("Logo") ? 128 : 32;
            QVERIFY2(image.hasAlphaChannel(), qPrintable(file));
            QCOMPARE(image.size(), QSize(side, side));
        }
    }

    void lightThemeUsesDarkIconsAndGreyWhenDisabled()
    {
        auto form = startForm();
        Ui::ConvertImageForm *ui = form->ui;
        QCOMPARE(ui->tabToolbarWidget->styleSheet(), QStringLiteral("background-color:#E2E2E2;"));
        QCOMPARE(iconImage(ui->addFilesButton->icon()), resourceImage("AddFile24.png"));
        QCOMPARE(iconImage(ui->convertButton->icon(), QIcon::Disabled), resourceImage("ConvertGray24.png"));
        QCOMPARE(iconImage(ui->upButton->icon(), QIcon::Disabled), resourceImage("ArrowUpGray24.png"));
        QCOMPARE(iconImage(ui->convertButton->icon()), resourceImage("Convert24.png"));
        for (QAbstractButton *button : std::initializer_list<QAbstractButton *>{
                 ui->websiteButton, ui->aboutButton, ui->outputFolderButton, ui->pdfFilenameButton,
                 ui->pdfPageOrientationPortraitButton, ui->pdfPageOrientationLanscapeButton, ui->pdfNoMarginButton,
                 ui->pdfAddMarginButton, ui->tabResetButton, ui->removeButton, ui->clearButton, ui->downButton})
            QVERIFY2(!button->icon().isNull(), qPrintable(button->objectName()));
        QVERIFY(!ui->label_2->pixmap().isNull());
    }

    void darkThemeUsesWhiteIcons()
    {
        auto form = startForm();
        Ui::ConvertImageForm *ui = form->ui;
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
        dark.setColor(QPalette::WindowText, Qt::white);
        QApplication::setPalette(dark);
        form->updateTheme();
        QCOMPARE(ui->tabToolbarWidget->styleSheet(), QStringLiteral("background-color:#3F3F3F;"));
        QCOMPARE(iconImage(ui->addFilesButton->icon()), resourceImage("AddFileWhite24.png"));
        QCOMPARE(iconImage(ui->tabResetButton->icon()), resourceImage("ResetWhite24.png"));
        QCOMPARE(iconImage(ui->convertButton->icon(), QIcon::Disabled), resourceImage("ConvertGray24.png"));
        QCOMPARE(ui->label_2->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                 resourceImage("DropLogoWhite.png", 128));
    }
};

QTEST_MAIN(TestConvertImageForm)
#include "tst_convertimageform.moc"
