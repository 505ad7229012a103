// The form's own rules for its controls: what a change stores, what a start
// shows, the reset and the themes. Whole flows through the window (adding,
// previewing, converting to every target) are driven in tests/app.

#include <QAbstractButton>
#include <QAccessible>
#include <QFileDialog>
#include <QFontComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QSlider>
#include <QSpinBox>
#include <QThread>
#include <QtTest>

#include <memory>

#include "convertimageform.h"
#include "kxcolorwidget.h"
#include "kxdialogs.h"
#include "kxtest.h"
#include "ui_convertimageform.h"

namespace {

QVariant stored(const QString &key)
{
    return QSettings("Kestrix", "ConvertImage").value("MainApp/" + key);
}

void store(const QString &key, const QVariant &value)
{
    QSettings("Kestrix", "ConvertImage").setValue("MainApp/" + key, value);
}

int storedCount()
{
    QSettings settings("Kestrix", "ConvertImage");
    settings.beginGroup("MainApp");
    return int(settings.childKeys().size());
}

// Starts the form the way the program does: from the store, with a fresh record.
std::unique_ptr<ConvertImageForm> startForm()
{
    conversionSettings() = ConversionSettings();
    return std::make_unique<ConvertImageForm>();
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
        QCOMPARE(storedCount(), 4); // a start writes nothing back
        QCOMPARE(form->ui->tabWidget->currentWidget(), form->ui->outputFolderTab);
        QVERIFY(form->ui->sourceTreeView->isColumnHidden(1));
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

    // A settings file made by the export comes back through the import; its
    // numbers are clamped as at start, stored and shown.
    void exportedSettingsImportClamped()
    {
        QTemporaryDir tmp;
        const QString file = tmp.filePath("job.ini");
        auto form = startForm();
        form->ui->textLineEdit->setText("(c) Kestrix");
        QVERIFY(form->exportSettings(file));
        {
            QSettings edited(file, QSettings::IniFormat);
            edited.setValue("MainApp/textSize", 2147483647);
        }
        form->ui->textLineEdit->setText(QString());
        QVERIFY(form->importSettings(file));
        QCOMPARE(form->ui->textLineEdit->text(), QStringLiteral("(c) Kestrix"));
        QCOMPARE(form->ui->sizeSpinBox->value(), 999);
        QCOMPARE(stored("textSize").toInt(), 999);
        QCOMPARE(stored("textContent").toString(), QStringLiteral("(c) Kestrix"));
    }

    // Slider and spin box share the range and mirror each other; one change
    // saves its key once.
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
        QCOMPARE(QList<int>({slider->minimum(), spin->minimum(), slider->maximum(), spin->maximum()}),
                 QList<int>({minimum, minimum, maximum, maximum}));
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
        QTest::newRow("negative") << "-5" << -5;
        QTest::newRow("hex is not decimal") << "0x10" << 0;
    }

    void sizeTextIsStoredAsDecimalNumber()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        auto form = startForm();
        form->ui->absoluteWidthLineEdit->setText("777");
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
        ui->relativeValueLineEdit->setText("800");
        QCOMPARE(stored("scaleRelativeWidth").toInt(), 800);

        ui->relativeToComboBox->setCurrentIndex(1);
        QCOMPARE(ui->relativeValueLabel->text(), QStringLiteral("Height:"));
        QCOMPARE(ui->relativeValueLineEdit->text(), QStringLiteral("1080"));
        QCOMPARE(stored("scaleRelativeTo").toInt(), 1);
        QVERIFY(!stored("scaleRelativeHeight").isValid());

        ui->relativeValueLineEdit->setText("700");
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
        // One control of each scale type stands for its row.
        const QList<QWidget *> controls{ui->percentageSpinBox, ui->absoluteWidthLineEdit, ui->relativeValueLineEdit};
        for (const bool enabled : {true, false}) {
            QCOMPARE(ui->scaleImageCheckBox->isChecked(), enabled);
            for (QWidget *control : controls)
                QVERIFY2(control->isEnabled() == enabled, qPrintable(control->objectName()));
            // A change from any source counts, as from the keyboard or assistive technology.
            ui->scaleImageCheckBox->setChecked(!enabled);
            QCOMPARE(stored("scaleImage").toBool(), !enabled);
        }
        QVERIFY(ui->scaleImageCheckBox->isEnabled());
    }

    void pdfMarginSizeShownOnlyWithAMargin()
    {
        auto form = startForm();
        Ui::ConvertImageForm *ui = form->ui;
        QVERIFY(ui->pdfMarginSizeSpinBox->isHidden());
        for (QAbstractButton *button : {ui->pdfAddMarginButton, ui->pdfNoMarginButton}) {
            button->click();
            QCOMPARE(ui->pdfMarginSizeSpinBox->isHidden(), button == ui->pdfNoMarginButton);
            QCOMPARE(ui->pdfMarginSizeLabel->isHidden(), button == ui->pdfNoMarginButton);
            QCOMPARE(stored("pdfPaperMargin").toInt(), button == ui->pdfAddMarginButton ? 1 : 0);
        }
    }

    // A cancelled or vanished choice keeps the old folder.
    void outputFolderThatIsNoFolderIsNotStored()
    {
        auto form = startForm();
        form->on_FolderSelected(QDir::tempPath() + "/kx-output-folder-that-does-not-exist");
        form->on_FolderSelected(QString());
        QVERIFY(!stored("outputFolder").isValid());
    }

    void clearButtonEmptiesItsKey_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("key");
        QTest::newRow("text") << "textClearButton" << "textContent";
        QTest::newRow("QR code") << "qrCodeTextClearButton" << "qrCodeText";
        QTest::newRow("picture") << "imageClearButton" << "imagePath";
    }

    void clearButtonEmptiesItsKey()
    {
        QFETCH(QString, button);
        QFETCH(QString, key);
        QTemporaryDir folder;
        const QString mark = folder.filePath("mark.png");
        QVERIFY(kxtest::makePhotoLikeImage(240, 60).save(mark));
        store(key, key == "imagePath" ? mark : "(c) Kestrix");
        auto form = startForm();
        form->findChild<QAbstractButton *>(button)->click();
        QCOMPARE(stored(key).toString(), QString());
        QCOMPARE(form->ui->textLineEdit->text() + form->ui->qrCodeTextEdit->toPlainText(), QString());
        QVERIFY(form->ui->imageImage->pixmap().isNull());
    }

    void adjustmentsResetZeroesEveryAdjustment()
    {
        auto form = startForm();
        Ui::ConvertImageForm *ui = form->ui;
        ui->grayscaleCheckBox->setChecked(true);
        ui->contrastSlider->setValue(-20);
        ui->invertColorsSpinBox->setValue(9);
        ui->resetButton->click();
        for (QSlider *slider : {ui->contrastSlider, ui->brightnessSlider, ui->gammaSlider, ui->invertColorsSlider,
                                ui->gaussianBlurSlider})
            QCOMPARE(slider->value(), 0);
        QCOMPARE(ui->contrastSpinBox->value() + ui->invertColorsSpinBox->value(), 0);
        QVERIFY(!ui->grayscaleCheckBox->isChecked());
        for (const char *key : {"adjustGrayScale", "adjustContrast", "adjustInvertColours"})
            QCOMPARE(stored(key).toInt(), 0);
        // Adjustments that were already 0 are not written.
        QVERIFY(!stored("adjustBrightness").isValid());
        QVERIFY(!stored("adjustSepia").isValid());
    }

    // No changes nothing. Yes keeps the output options and restores every other
    // option in the record, the controls and the store, also after a restart.
    void reset_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("no") << false;
        QTest::newRow("yes") << true;
    }

    void reset()
    {
        QFETCH(bool, yes);
        QTemporaryDir folder;
        const QString mark = folder.filePath("mark.png");
        QVERIFY(kxtest::makePhotoLikeImage(60, 30).save(mark));
        // Key, value before the reset, value after it.
        const QList<std::tuple<const char *, QVariant, QVariant>> options{
            {"imagePath", mark, ""}, {"textColor", "#ff0000", "#000000"}, {"scaleImage", true, false},
            {"scaleRelativeTo", 1, 0}, {"scaleRelativeHeight", 500, 1080}, {"adjustGamma", 200, 0},
            {"textPosition", 2, 8}, {"qrCodeText", "hello", ""}, {"textContent", "(c)", ""}, {"scaleType", 1, 0},
            {"setBlurRadius", 3, 0}, {"lastPicturesDir", folder.path(), folder.path()},
            {"pdfPaperOrientation", 1, 1}, {"resizeImageToPaper", true, true}, {"pdfSmoothEdges", false, false},
            {"targeFileType", 4, 4}, {"targeFileQuality", 80, 80}, {"outputFolder", folder.path(), folder.path()},
            {"pdfFileName", "album", "album"}, {"pdfPaperSize", 1, 1}, {"pdfQuality", 4, 4},
            {"pdfPaperMargin", 1, 1}, {"pdfPaperMarginSize", 33, 33}, {"keepMetadata", false, true},
            {"removeLocation", true, false}, {"keepFileDates", true, false}};
        for (const auto &[key, before, after] : options)
            store(key, before);
        const auto verifyStore = [&] {
            for (const auto &[key, before, after] : options)
                QVERIFY2(stored(key).toString() == (yes ? after : before).toString(), key);
        };
        auto form = startForm();
        QString shown;
        kxtest::whenModalShown<QMessageBox>([&](QMessageBox *box) {
            shown = box->windowTitle() + ": " + box->text();
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        form->ui->tabResetButton->click();
        QCOMPARE(shown, "Reset Settings: Are you sure you want to reset all settings to their default values?");
        verifyStore();
        for (const bool restart : {false, true}) {
            if (restart)
                form = startForm();
            // The record as the store would hold it, and what the controls show.
            kxtest::clearSettingsStore();
            for (int id = SettingOutputFolder; id <= SettingKeepFileDates; ++id)
                saveConversionSetting(conversionSettings(), id);
            verifyStore();
            QCOMPARE(conversionSettings().textFont.family(), form->ui->fontLabel->font().family());
            Ui::ConvertImageForm *ui = form->ui;
            QCOMPARE(QVariantList({ui->scaleImageCheckBox->isChecked(), ui->percentageSpinBox->isEnabled(),
                                   ui->colorWidget->color, ui->imageImage->pixmap().isNull(), ui->gammaSlider->value(),
                                   ui->positionComboBox->currentIndex(), ui->qualitySpinBox->value(),
                                   ui->qualitySpinBox->isHidden(), ui->targetComboBox->currentIndex()}),
                     yes ? QVariantList({false, false, QColor(Qt::black), true, 0, 8, 80, false, 4})
                         : QVariantList({true, true, QColor(Qt::red), false, 200, 2, 80, false, 4}));
            if (!yes)
                return;
        }
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
            {"existingFileComboBox", "currentIndex", 3},   {"fileNamePatternLineEdit", "text", "{counter}-{name}"},
            {"pngLevelSpinBox", "value", 7},               {"tiffCompressionComboBox", "currentIndex", 1},
            {"longEdgeLineEdit", "text", "1200"},
        };
        const QList<const char *> clicked{"pdfResizeImageToPaperCheckBox", "pdfSmoothEdgesCheckBox",
                                          "pdfPageOrientationLanscapeButton", "pdfAddMarginButton",
                                          "scaleImageCheckBox", "removeLocationCheckBox", "keepFileDatesCheckBox",
                                          "keepFolderStructureCheckBox", "doNotEnlargeCheckBox"};
        QString family;
        {
            auto form = startForm();
            QFontComboBox *fonts = form->ui->fontComboBox;
            fonts->setCurrentIndex(fonts->currentIndex() == 0 ? 1 : 0);
            family = fonts->currentFont().family();
            for (const auto &[name, property, value] : edits)
                QVERIFY2(form->findChild<QWidget *>(name)->setProperty(property, value), name);
            form->on_FolderSelected(folder.path());
            form->on_ColorUpdated(QColor(0x12, 0x34, 0x56));
            for (const char *name : clicked)
                form->findChild<QAbstractButton *>(name)->click();
        }
        store("imagePath", mark);

        auto form = startForm();
        Ui::ConvertImageForm *ui = form->ui;
        for (const auto &[name, property, value] : edits)
            QVERIFY2(form->findChild<QWidget *>(name)->property(property) == value, name);
        // Smooth edges starts checked, so its click unchecked it.
        for (const char *name : clicked)
            QVERIFY2(form->findChild<QAbstractButton *>(name)->isChecked() != (name == clicked.at(1)), name);
        QVERIFY(!ui->pdfGroupBox->isHidden());
        QVERIFY(ui->qualitySpinBox->isHidden());
        QVERIFY(!ui->pdfMarginSizeSpinBox->isHidden());
        QCOMPARE(ui->outputFolderLineEdit->text(), folder.path());
        QCOMPARE(ui->relativeValueLabel->text(), QStringLiteral("Height:"));
        QCOMPARE(ui->colorWidget->color, QColor(0x12, 0x34, 0x56));
        QCOMPARE(ui->fontComboBox->currentFont().family(), family);
        QCOMPARE(conversionSettings().textFont.family(), family);
        QCOMPARE(ui->imageImage->pixmap().size(), QSize(120, 30));
        // The mirrored halves of the adjustments.
        QCOMPARE(QList<int>({ui->contrastSpinBox->value(), ui->brightnessSlider->value(), ui->gammaSpinBox->value(),
                             ui->invertColorsSpinBox->value(), ui->gaussianBlurSlider->value()}),
                 QList<int>({-100, 120, -50, 200, 25}));
    }

    void convertingDisablesToolbarAndList()
    {
        auto form = startForm();
        Ui::ConvertImageForm *ui = form->ui;
        const QList<QWidget *> controls{ui->addFilesButton, ui->addFolderButton, ui->clearButton,
                                        ui->targetComboBox, ui->convertButton,   ui->sourceTreeView,
                                        ui->sourceFrame,    ui->removeButton,    ui->upButton,
                                        ui->downButton};
        form->setConverting(true);
        for (QWidget *w : controls)
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        form->setConverting(false);
        // Nothing is selected: the last three, the selection commands, stay off.
        for (QWidget *w : controls)
            QVERIFY2(w->isEnabled() == (controls.indexOf(w) < 7), qPrintable(w->objectName()));
    }

    // The toolbar's shortcuts, named in the tooltips. The folder chooser adds
    // a folder's images in natural order.
    void shortcuts_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("listed"); // the folder is added first
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QStringList>("listAfter");
        const QStringList all{"img1.png", "img2.png", "img10.png"};
        QTest::newRow("add files") << "Ctrl+O" << "addFilesButton" << false << "Add Image Files" << QStringList();
        QTest::newRow("add folder") << "Ctrl+Shift+O" << "addFolderButton" << false << "Add Folder" << all;
        QTest::newRow("remove") << "Del" << "removeButton" << true << "" << all.mid(0, 2);
        QTest::newRow("convert") << "Ctrl+Return" << "convertButton" << true << "Select folder ..." << all;
    }

    void shortcuts()
    {
        QFETCH(QString, keys);
        QFETCH(QString, button);
        QFETCH(bool, listed);
        QFETCH(QString, dialog);
        QFETCH(QStringList, listAfter);
        QTemporaryDir folder;
        for (const char *name : {"img10.png", "img2.png", "img1.png"})
            kxtest::photoFile(folder.path(), name);
        auto form = startForm();
        const auto batchDone = [&form] {
            return kxtest::waitUntil([&form] { return !form->findChild<QThread *>(); }, 10000);
        };
        if (listed) {
            form->on_AddURLs({QUrl::fromLocalFile(folder.path())});
            QVERIFY(batchDone());
        }
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->ui->sourceTreeView->setFocus(); // a text field keeps Delete for itself
        QString shown;
        QPointer<QTimer> watcher = kxtest::whenModalShown<QDialog>([&](QDialog *opened) {
            shown = opened->windowTitle();
            if (auto *chooser = qobject_cast<QFileDialog *>(opened); chooser && dialog == "Add Folder") {
                chooser->setDirectory(folder.path());
                chooser->selectFile(folder.path());
                QMetaObject::invokeMethod(chooser, "accept");
                return;
            }
            opened->reject();
        }, 100);
        QTest::keySequence(form.get(), QKeySequence(keys));
        QVERIFY(batchDone());
        delete watcher.data();
        QCOMPARE(shown, dialog);
        QStringList names;
        for (int row = 0; row < form->fileListModel()->rowCount(); ++row)
            names << QFileInfo(form->fileListModel()->item(row, 1)->text()).fileName();
        QCOMPARE(names, listAfter);
        QVERIFY(form->findChild<QAbstractButton *>(button)->toolTip().endsWith("(" + keys + ")"));
    }

    // What a screen reader lists: every control that takes the focus has a name.
    void everyControlIsNamed()
    {
        auto form = startForm();
        kxtest::appendListEntries(form->fileListModel(), 1);
        form->show();
        QStringList unnamed;
        for (int tab = 0; tab < form->ui->tabWidget->count(); ++tab) {
            form->ui->tabWidget->setCurrentIndex(tab);
            for (QWidget *w : form->findChildren<QWidget *>()) {
                if (!w->isVisible() || w->focusPolicy() == Qt::NoFocus || w->objectName().startsWith("qt_"))
                    continue;
                QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(w);
                if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
                    unnamed << w->metaObject()->className() + QString(" ") + w->objectName();
            }
        }
        unnamed.removeDuplicates();
        QCOMPARE(unnamed.join(", "), QString());
    }

    void themePictures_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("disabled");
        QTest::addColumn<QString>("picture");
        QTest::newRow("light convert off") << false << "convertButton" << true << "ConvertGray24";
        QTest::newRow("light drop logo") << false << "label_2" << false << "DropLogo";
        QTest::newRow("dark add") << true << "addFilesButton" << false << "AddFileWhite24";
        QTest::newRow("dark drop logo") << true << "label_2" << false << "DropLogoWhite";
    }

    void themePictures()
    {
        QFETCH(bool, dark);
        QFETCH(QString, control);
        QFETCH(bool, disabled);
        QFETCH(QString, picture);
        auto form = startForm();
        if (dark) {
            QPalette palette;
            palette.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
            palette.setColor(QPalette::WindowText, Qt::white);
            QApplication::setPalette(palette);
            form->updateTheme();
        }
        QWidget *widget = form->findChild<QWidget *>(control);
        const QImage shown = qobject_cast<QLabel *>(widget)
                                 ? qobject_cast<QLabel *>(widget)->pixmap().toImage()
                                 : qobject_cast<QAbstractButton *>(widget)
                                       ->icon()
                                       .pixmap(QSize(24, 24), disabled ? QIcon::Disabled : QIcon::Normal)
                                       .toImage();
        QVERIFY(!shown.isNull());
        const QImage expected = QImage(":/resources/images/" + picture + ".png").scaled(shown.size());
        QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32), expected.convertToFormat(QImage::Format_ARGB32));
        // Every tool button carries a picture in both themes.
        for (QAbstractButton *button : {form->ui->websiteButton, form->ui->aboutButton, form->ui->outputFolderButton,
                                        form->ui->pdfPageOrientationPortraitButton, form->ui->pdfAddMarginButton,
                                        form->ui->removeButton, form->ui->clearButton, form->ui->downButton})
            QVERIFY2(!button->icon().isNull(), qPrintable(button->objectName()));
    }
};

QTEST_MAIN(TestConvertImageForm)
#include "tst_convertimageform.moc"
