// The form's own rules for its controls (what a change stores, what a start
// shows, the reset) and for its inline preview (the countdown, the cache
// answers, the workers' life). Whole flows through the window (adding,
// previewing, converting to every target) are driven in tests/app.

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAccessible>
#include <QComboBox>
#include <QFileDialog>
#include <QFontComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QTabBar>
#include <QThread>
#include <QtTest>

#include <memory>

#include <unistd.h>

#include "convertimageform.h"
#include "framefixtures.h"
#include "kxdialogs.h"
#include "kxtest.h"
#include "loadpreviewimagethread.h"
#include "outputfolder.h"
#include "presets.h"
#include "runsummary.h"
#include "targetformats.h"
#include "thumbnailcache.h"
#include "ui_convertimageform.h"
#include "watermarkthumbnail.h"

namespace {

QVariant stored(const QString &key)
{
    return QSettings("Kestrix", "ConvertImage").value("MainApp/" + key);
}

void store(const QString &key, const QVariant &value)
{
    QSettings("Kestrix", "ConvertImage").setValue("MainApp/" + key, value);
}

// The form's debug log: it names each preview request, run and cache answer.
QStringList messages;
QtMessageHandler testLog = nullptr;

void collectMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg)
        messages.append(message);
    else
        testLog(type, context, message);
}

int countMessages(const QString &text, bool prefix = false)
{
    int n = 0;
    for (const QString &message : std::as_const(messages))
        n += (prefix ? message.startsWith(text) : message == text) ? 1 : 0;
    return n;
}

// The preview timer's ticks, without waiting for them.
void tick(ConvertImageForm &form, int n)
{
    for (int i = 0; i < n; ++i)
        form.on_updateTimer();
}

void runRequest(ConvertImageForm &form, const QString &path, bool refresh)
{
    form.loadImage(path, refresh);
    tick(form, 16);
}

bool idle(ConvertImageForm &form)
{
    return kxtest::waitUntil([&form] { return !form.previewLoading; }, 20000);
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
    void initTestCase()
    {
        kxtest::isolateUserData();
        testLog = qInstallMessageHandler(collectMessages);
    }

    void init()
    {
        kxtest::clearSettingsStore();
        messages.clear();
    }

    // Values the controls cannot show are corrected in the record or shown as
    // no selection; the store keeps them until the field is next saved.
    void storedValuesOutsideTheControlsAtStart()
    {
        const QString gone = QDir::tempPath() + "/kx-output-folder-that-does-not-exist";
        store("targeFileType", 12);
        store("pdfPaperSize", 7);
        store("outputFolder", gone);
        auto form = startForm();
        QCOMPARE(QSettings("Kestrix", "ConvertImage").allKeys().size(), 3); // a start writes nothing back
        QCOMPARE(form->ui->targetComboBox->currentIndex(), 0);
        QCOMPARE(conversionSettings().targeFileType, 0);
        QCOMPARE(form->ui->pdfPaperSizeComboBox->currentIndex(), -1);
        QCOMPARE(form->ui->outputFolderLineEdit->text(), QString());
        QCOMPARE(conversionSettings().outputFolder, QString());
        QCOMPARE(stored("targeFileType").toInt(), 12);
        QCOMPARE(stored("outputFolder").toString(), gone);
    }

    // A settings file made by the export comes back through the import, stored
    // and shown (a file's numbers clamp as at start: tst_kestrixconvert).
    void exportedSettingsComeBackThroughTheImport()
    {
        QTemporaryDir tmp;
        const QString file = tmp.filePath("job.ini");
        auto form = startForm();
        kxtest::appendListEntries(form->fileListModel(), 1);
        form->ui->textLineEdit->setText("(c) Kestrix");
        form->ui->fileNamePatternLineEdit->setText("{name}-web");
        QVERIFY(form->exportSettings(file));
        form->ui->textLineEdit->setText(QString());
        form->ui->fileNamePatternLineEdit->setText("{name}");
        const QString plain = form->ui->fileNamePreviewLabel->text();
        QVERIFY(form->importSettings(file));
        QCOMPARE(form->ui->textLineEdit->text(), QStringLiteral("(c) Kestrix"));
        QCOMPARE(stored("textContent").toString(), QStringLiteral("(c) Kestrix"));
        // The file-name example follows what came in.
        QCOMPARE(form->ui->fileNamePreviewLabel->text(), QString(plain).replace(".", "-web."));
    }

    // The watermark picture's thumbnail in its 120x60 box (a wide picture: after a restart below).
    void watermarkThumbnailSize_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("small keeps its size") << QSize(60, 30) << QSize(60, 30);
        QTest::newRow("tall") << QSize(100, 600) << QSize(10, 60);
        QTest::newRow("truncated, not rounded") << QSize(1000, 333) << QSize(119, 39);
        QTest::newRow("very thin keeps a pixel") << QSize(5000, 1) << QSize(120, 1);
        QTest::newRow("unreadable") << QSize(-1, -1) << QSize();
    }

    void watermarkThumbnailSize()
    {
        QFETCH(QSize, image);
        QFETCH(QSize, expected);
        QCOMPARE(::watermarkThumbnailSize(image, QSize(120, 60)), expected);
    }

    // Size fields take free text; what is not a decimal number counts as 0.
    void sizeTextIsStoredAsDecimalNumber()
    {
        auto form = startForm();
        for (const auto &[text, expected] : QList<std::pair<QString, int>>{{"12a", 0}, {"0x10", 0}, {"-5", -5}}) {
            form->ui->absoluteWidthLineEdit->setText(text);
            QCOMPARE(stored("scaleAbsoluteWitdh").toInt(), expected);
        }
    }

    // No changes nothing. Yes restores every option but the target, the output
    // folder and the PDF setup, in the record, the controls and the store.
    void reset()
    {
        QTemporaryDir folder;
        const QString mark = kxtest::photoFile(folder.path(), "mark.png", QSize(60, 30));
        const QStringList kept{"lastPicturesDir", "targeFileType", "targeFileQuality", "outputFolder", "pdfFileName",
                               "pdfPaperSize", "resizeImageToPaper", "pdfSmoothEdges", "pdfQuality",
                               "pdfPaperOrientation", "pdfPaperMargin", "pdfPaperMarginSize", "convertJobs",
                               "pdfKeepJpeg"};
        // Every key away from its default (the font comes back as the interface's).
        QMap<QString, QString> before, after;
        for (const SettingKey &key : settingKeys()) {
            QString value = key.name == "imagePath" ? mark : folder.path();
            if (key.type == SettingType::Font)
                continue;
            if (key.type == SettingType::Integer)
                value = QString::number(key.defaultText.toInt() == key.minimum ? key.maximum : key.minimum);
            else if (key.type == SettingType::Boolean)
                value = key.defaultText == "true" ? "false" : "true";
            else if (key.type == SettingType::Colour)
                value = "#ff0000";
            store(key.name, value);
            before.insert(key.name, value);
            after.insert(key.name, kept.contains(key.name) ? value : key.defaultText);
        }
        const auto verifyStore = [](const QMap<QString, QString> &expected) {
            for (auto it = expected.cbegin(); it != expected.cend(); ++it)
                QVERIFY2(stored(it.key()).toString() == it.value(), qPrintable(it.key()));
        };
        auto form = startForm();
        for (const bool yes : {false, true}) {
            QString shown;
            kxtest::whenModalShown<QMessageBox>([&](QMessageBox *box) {
                shown = box->windowTitle() + ": " + box->text();
                box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
            });
            form->ui->tabResetButton->click();
            QCOMPARE(shown, "Reset Settings: Are you sure you want to reset all settings to their default values?");
            verifyStore(yes ? after : before);
        }
        // The record as the store would hold it, and what the controls show.
        kxtest::clearSettingsStore();
        saveConversionSettings(conversionSettings());
        verifyStore(after);
        Ui::ConvertImageForm *ui = form->ui;
        QCOMPARE(QVariantList({ui->scaleImageCheckBox->isChecked(), ui->percentageSpinBox->isEnabled(),
                               ui->colorWidget->color, ui->imageImage->pixmap().isNull(), ui->gammaSlider->value(),
                               ui->positionComboBox->currentIndex(), ui->targetComboBox->currentIndex()}),
                 QVariantList({false, false, QColor(Qt::black), true, 0, 8, int(TargetPdf)}));
        QCOMPARE(conversionSettings().textFont.family(), ui->fontLabel->font().family());
    }

    // Each control's handler stores its key at once, asks for a new preview
    // when the option changes the picture, and the control shows the value
    // again after a restart. Number controls accept the range a load clamps to
    // (the control table gives it from the key).
    void everyControlStoresItsKeyAndComesBackAfterRestart()
    {
        QTemporaryDir folder;
        const QString mark = kxtest::photoFile(folder.path(), "mark.png", QSize(240, 60));
        struct Edit
        {
            const char *control;
            const char *property; // "click": the button is clicked and then shows checked
            QVariant value;
            const char *key;
            bool refresh;
        };
        // In this order: the quality is the target's, the relative value the side chosen before it.
        const QList<Edit> edits{
            {"targetComboBox", "currentIndex", int(TargetPdf), "targeFileType", false},
            {"qualitySpinBox", "value", 77, "targeFileQuality", false},
            {"pdfFilenameLineEdit", "text", "album", "pdfFileName", false},
            {"pdfPaperSizeComboBox", "currentIndex", 2, "pdfPaperSize", false},
            {"pdfQualityComboBox", "currentIndex", 5, "pdfQuality", false},
            {"pdfMarginSizeSpinBox", "value", 12, "pdfPaperMarginSize", false},
            {"pdfResizeImageToPaperCheckBox", "checked", true, "resizeImageToPaper", false},
            {"pdfSmoothEdgesCheckBox", "checked", false, "pdfSmoothEdges", false},
            {"pdfKeepJpegCheckBox", "checked", true, "pdfKeepJpeg", false},
            {"pdfPageOrientationLanscapeButton", "click", true, "pdfPaperOrientation", false},
            {"pdfAddMarginButton", "click", true, "pdfPaperMargin", false},
            {"metadataComboBox", "currentIndex", int(MetadataProfileOnly), "metadata", false},
            {"keepFileDatesCheckBox", "checked", true, "keepFileDates", false},
            {"existingFileComboBox", "currentIndex", 3, "existingFilePolicy", false},
            {"keepFolderStructureCheckBox", "checked", true, "keepFolderStructure", false},
            {"fileNamePatternLineEdit", "text", "{counter}-{name}", "fileNamePattern", false},
            {"pngLevelSpinBox", "value", 7, "pngCompressionLevel", false},
            {"tiffCompressionComboBox", "currentIndex", 1, "tiffCompression", false},
            {"rawPicturesComboBox", "currentIndex", int(RawEmbeddedPreview), "rawPictures", true},
            {"pdfSourceDpiSpinBox", "value", 300, "pdfSourceDpi", true},
            {"ignoreOrientationCheckBox", "checked", true, "ignoreOrientation", true},
            {"outputBesideSourceCheckBox", "checked", true, "outputBesideSource", false},
            {"colourHandlingComboBox", "currentIndex", int(ColoursToSrgb), "colourHandling", true},
            {"pagesAndFramesComboBox", "currentIndex", int(PagesEach), "pagesAndFrames", false},
            {"limitFileSizeCheckBox", "checked", true, "limitFileSize", false},
            {"fileSizeLimitSpinBox", "value", 500, "fileSizeLimitKb", false},
            {"fileSizeMinQualitySpinBox", "value", 30, "fileSizeMinQuality", false},
            {"shrinkToFileSizeCheckBox", "checked", false, "shrinkToFileSize", false},
            {"scaleImageCheckBox", "checked", true, "scaleImage", true},
            {"absoluteRadioButton", "checked", true, "scaleType", true},
            {"percentageSpinBox", "value", 250, "scalePercentage", true},
            {"absoluteWidthLineEdit", "text", "640", "scaleAbsoluteWitdh", true},
            {"absoluteHeightLineEdit", "text", "480", "scaleAbsoluteHeight", true},
            {"relativeToComboBox", "currentIndex", 1, "scaleRelativeTo", true},
            {"relativeValueLineEdit", "text", "300", "scaleRelativeHeight", true},
            {"longEdgeLineEdit", "text", "1200", "scaleLongEdge", true},
            {"doNotEnlargeCheckBox", "checked", true, "scaleDoNotEnlarge", true},
            {"scaleFitComboBox", "currentIndex", int(FitPad), "scaleFit", true},
            {"resamplingComboBox", "currentIndex", int(ResampleSharp), "resampling", true},
            {"backgroundColourButton", "colour", QColor(0x65, 0x43, 0x21), "backgroundColour", true},
            {"jpegLosslessCheckBox", "checked", true, "jpegLossless", false},
            {"textLineEdit", "text", "Kestrix", "textContent", true}, {"sizeSpinBox", "value", 48, "textSize", true},
            {"positionComboBox", "currentIndex", 4, "textPosition", true},
            {"opacitySpinBox", "value", 55, "textOpacity", true}, {"marginSpinBox", "value", 15, "textMargin", true},
            {"imageSizeSpinBox", "value", 40, "imageSize", true},
            {"imagePositionComboBox", "currentIndex", 0, "imagePosition", true},
            {"imageOpacitySpinBox", "value", 60, "imageOpacity", true},
            {"imageMarginSpinBox", "value", 5, "imageMargin", true},
            {"qrCodeTextEdit", "plainText", "line one\nline two", "qrCodeText", true},
            {"qrCodeSizeSpinBox", "value", 900, "qrCodeSize", true},
            {"qrCodePositionComboBox", "currentIndex", 3, "qrCodePosition", true},
            {"qrCodeMarginSpinBox", "value", 8, "qrCodeMargin", true},
            {"grayscaleCheckBox", "checked", true, "adjustGrayScale", true},
            {"sepiaCheckBox", "checked", true, "adjustSepia", true},
            {"contrastSlider", "value", -100, "adjustContrast", true},
            {"brightnessSpinBox", "value", 120, "adjustBrightness", true},
            {"gammaSlider", "value", -50, "adjustGamma", true},
            {"invertColorsSlider", "value", 200, "adjustInvertColours", true},
            {"gaussianBlurSpinBox", "value", 25, "setBlurRadius", true},
        };
        QMap<QString, SettingKey> keys;
        for (const SettingKey &key : settingKeys())
            keys.insert(key.name, key);
        QString family;
        {
            auto form = startForm();
            Ui::ConvertImageForm *ui = form->ui;
            for (const Edit &edit : edits) {
                QWidget *control = form->findChild<QWidget *>(edit.control);
                if (control->property("maximum").isValid())
                    QCOMPARE(QList<int>({control->property("minimum").toInt(), control->property("maximum").toInt()}),
                             QList<int>({keys[edit.key].minimum, keys[edit.key].maximum}));
                const int requests = countMessages("ConvertImageForm::loadImage: ", true);
                if (qstrcmp(edit.property, "click") == 0)
                    qobject_cast<QAbstractButton *>(control)->click();
                else
                    QVERIFY2(control->setProperty(edit.property, edit.value), edit.control);
                // Choices stored as numbers: the check boxes of the adjustments, the radio buttons.
                const bool number = keys[edit.key].type == SettingType::Integer;
                QVERIFY2(stored(edit.key).toString() == (number ? QString::number(edit.value.toInt()) : edit.value.toString()),
                         edit.control);
                // Once: a control is bound by its table row or by a handler of its name, not both.
                const int refreshes = countMessages("ConvertImageForm::loadImage: ", true) - requests;
                QVERIFY2(refreshes == (edit.refresh ? 1 : 0), edit.control);
            }
            // Each adjustment's slider and spin box show the same value.
            QCOMPARE(QList<int>({ui->contrastSpinBox->value(), ui->brightnessSlider->value(), ui->gammaSpinBox->value(),
                                 ui->invertColorsSpinBox->value(), ui->gaussianBlurSlider->value()}),
                     QList<int>({-100, 120, -50, 200, 25}));
            QVERIFY(ui->percentageSpinBox->isEnabled());
            // A cancelled or vanished folder choice keeps the folder.
            for (const QString &path : {folder.path(), folder.filePath("gone"), QString()})
                form->on_FolderSelected(path);
            form->on_ColorUpdated(QColor(0x12, 0x34, 0x56));
            QFontComboBox *fonts = ui->fontComboBox;
            fonts->setCurrentIndex(fonts->currentIndex() == 0 ? 1 : 0);
            family = fonts->currentFont().family();
        }
        store("imagePath", mark);

        auto form = startForm();
        Ui::ConvertImageForm *ui = form->ui;
        for (const Edit &edit : edits) {
            const char *property = qstrcmp(edit.property, "click") == 0 ? "checked" : edit.property;
            QVERIFY2(form->findChild<QWidget *>(edit.control)->property(property) == edit.value, edit.control);
        }
        QVERIFY(!ui->pdfGroupBox->isHidden());
        QVERIFY(ui->qualitySpinBox->isHidden());
        // A PDF takes no size limit: its controls say why.
        QVERIFY(!ui->limitFileSizeCheckBox->isEnabled() && ui->limitFileSizeCheckBox->toolTip().contains("PDF is not"));
        QVERIFY(ui->fileSizeMinQualitySpinBox->isHidden());
        // The background pads the picture even for a PDF; only a JPG keeps JPEG data.
        QVERIFY(!ui->backgroundColourButton->isHidden() && ui->jpegLosslessCheckBox->isHidden());
        QVERIFY(!ui->pdfMarginSizeSpinBox->isHidden());
        QCOMPARE(ui->outputFolderLineEdit->text(), folder.path());
        QCOMPARE(ui->relativeValueLabel->text(), QStringLiteral("Height:"));
        QCOMPARE(ui->colorWidget->color, QColor(0x12, 0x34, 0x56));
        QCOMPARE(ui->fontComboBox->currentFont().family(), family);
        QCOMPARE(conversionSettings().textFont.family(), family);
        QCOMPARE(ui->imageImage->pixmap().size(), QSize(120, 30));

        // The clear buttons empty their keys; the adjustments' reset zeroes each.
        for (QAbstractButton *button : {ui->textClearButton, ui->qrCodeTextClearButton, ui->imageClearButton, ui->resetButton})
            button->click();
        QVERIFY(ui->imageImage->pixmap().isNull());
        for (const Edit &edit : edits.mid(edits.size() - 7))
            QVERIFY2(stored(edit.key).toInt() == 0
                         && form->findChild<QWidget *>(edit.control)->property(edit.property).toInt() == 0,
                     edit.key);
        for (const char *key : {"textContent", "qrCodeText", "imagePath"})
            QCOMPARE(stored(key).toString(), QString());
    }

    // The toolbar's shortcuts click their buttons, one loop for all of them,
    // and are named in the tooltips. Add Folder adds the images in natural order.
    void addFolderByItsShortcut()
    {
        QTemporaryDir folder;
        for (const char *name : {"img10.png", "img2.png", "img1.png"})
            kxtest::photoFile(folder.path(), name);
        auto form = startForm();
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        kxtest::whenModalShown<QFileDialog>([&](QFileDialog *chooser) {
            chooser->setDirectory(folder.path());
            chooser->selectFile(folder.path());
            QMetaObject::invokeMethod(chooser, "accept");
        });
        QTest::keySequence(form.get(), QKeySequence("Ctrl+Shift+O"));
        QVERIFY(kxtest::waitUntil([&form] { return !form->findChild<QThread *>(); }, 10000));
        QStringList names;
        for (int row = 0; row < form->fileListModel()->rowCount(); ++row)
            names << QFileInfo(form->fileListModel()->item(row, 1)->text()).fileName();
        QCOMPARE(names, QStringList({"img1.png", "img2.png", "img10.png"}));
        Ui::ConvertImageForm *ui = form->ui;
        for (const auto &[button, keys] : QList<std::pair<QAbstractButton *, QString>>{
                 {ui->addFilesButton, "Ctrl+O"}, {ui->addFolderButton, "Ctrl+Shift+O"},
                 {ui->removeButton, "Del"}, {ui->convertButton, "Ctrl+Return"}})
            QVERIFY2(button->toolTip().endsWith("(" + keys + ")"), qPrintable(keys));
    }

    // What a screen reader lists: every control that takes the focus has a
    // name, one of its own on its tab. Every stop of the Tab key shows on
    // screen: a stop with nothing of its own to show would take typed text
    // out of sight.
    void everyControlIsNamed()
    {
        auto form = startForm();
        kxtest::appendListEntries(form->fileListModel(), 1);
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QStringList unnamed, unseen;
        for (int tab = 0; tab < form->ui->tabWidget->count(); ++tab) {
            form->ui->tabWidget->setCurrentIndex(tab);
            QHash<QString, QWidget *> names;
            for (QWidget *w : form->findChildren<QWidget *>()) {
                if (!w->isVisible() || w->focusPolicy() == Qt::NoFocus || w->objectName().startsWith("qt_"))
                    continue;
                QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(w);
                const QString name = accessible ? accessible->text(QAccessible::Name).trimmed() : QString();
                if (name.isEmpty())
                    unnamed << w->metaObject()->className() + QString(" ") + w->objectName();
                // Two fields of one name on a tab could not be told apart (a
                // slider shares its number's name).
                else if (!qobject_cast<QAbstractSlider *>(w) && names.contains(name) && names.value(name) != w)
                    unnamed << name + " twice";
                if (!qobject_cast<QAbstractSlider *>(w))
                    names.insert(name, w);
            }
            form->ui->tabWidget->tabBar()->setFocus();
            for (int stop = 0; stop < 40; ++stop) {
                QWidget *focus = QApplication::focusWidget();
                if (focus->visibleRegion().isEmpty())
                    unseen << focus->metaObject()->className() + QString(" ") + focus->objectName();
                QTest::keyClick(focus, Qt::Key_Tab);
            }
        }
        unnamed.removeDuplicates();
        unseen.removeDuplicates();
        QCOMPARE(unnamed.join(", "), QString());
        QCOMPARE(unseen.join(", "), QString());
    }

    // The wheel over a value control that has not the focus leaves its value
    // (it scrolls the settings instead); with the focus it changes it.
    void wheelChangesOnlyTheFocusedControl_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("property");
        QTest::newRow("combo box") << "existingFileComboBox" << "currentIndex";
        QTest::newRow("spin box") << "qualitySpinBox" << "value";
        QTest::newRow("slider") << "gammaSlider" << "value";
    }

    void wheelChangesOnlyTheFocusedControl()
    {
        QFETCH(QString, control);
        QFETCH(QString, property);
        auto form = startForm();
        QWidget *widget = form->findChild<QWidget *>(control);
        for (int tab = 0; tab < form->ui->tabWidget->count(); ++tab) {
            if (form->ui->tabWidget->widget(tab)->isAncestorOf(widget))
                form->ui->tabWidget->setCurrentIndex(tab);
        }
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const QVariant before = widget->property(qPrintable(property));
        const auto turn = [widget] {
            const QPointF centre = QRectF(widget->rect()).center();
            QWheelEvent wheel(centre, widget->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(widget, &wheel);
        };
        turn();
        QCOMPARE(widget->property(qPrintable(property)), before);
        QVERIFY(!widget->hasFocus());
        widget->setFocus();
        turn();
        QVERIFY(widget->property(qPrintable(property)) != before);
    }

    // Alt+letter is left to the mnemonics: a combo box with the focus does
    // not pick the entry of that letter.
    void altLetterLeavesTheComboBox()
    {
        auto form = startForm();
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QComboBox *target = form->ui->targetComboBox;
        target->setFocus();
        QTest::keyClick(target, Qt::Key_G, Qt::AltModifier);
        QCOMPARE(target->currentIndex(), 0);
        QTest::keyClick(target, Qt::Key_G);
        QCOMPARE(target->currentIndex(), int(TargetGif));
    }

    // "Also write:" leaves out the main output's own preset while the
    // settings are the preset's, stays open while ticked, and is off for a PDF.
    void alsoWriteMenu()
    {
        const QString web = "Web: 1600 px WEBP";
        auto form = startForm();
        form->show();
        QVERIFY(form->importSettings(presetPath(web)));
        form->setAppliedPreset(web);
        QMenu *menu = form->ui->alsoWriteButton->menu();
        const auto offered = [menu] {
            menu->popup(QPoint());
            QStringList names;
            for (const QAction *action : menu->actions())
                names << action->text();
            return names;
        };
        QStringList names = offered();
        QVERIFY(!names.contains(web) && names.contains("E-mail: 1024 px JPEG, no location"));
        QAction *email = menu->actions().value(names.indexOf("E-mail: 1024 px JPEG, no location"));
        const QPoint at = menu->actionGeometry(email).center();
        QTest::mouseMove(menu, at);
        QTest::mouseClick(menu, Qt::LeftButton, {}, at);
        QVERIFY(menu->isVisible());
        QCOMPARE(conversionSettings().alsoWrite, "E-mail: 1024 px JPEG, no location");
        menu->close();
        // Changed, the preset writes something else and is offered.
        form->ui->qualitySpinBox->setValue(50);
        QVERIFY(offered().contains(web));
        menu->close();
        QVERIFY(form->ui->alsoWriteButton->isEnabled());
        form->ui->targetComboBox->setCurrentIndex(TargetPdf);
        QVERIFY(!form->ui->alsoWriteButton->isEnabled());
    }

    // The line under the toolbar: the applied preset, marked when the
    // settings differ from it, and what changes a run from out of sight.
    void runSummary_data()
    {
        QTest::addColumn<QString>("changes"); // key=value;... on the preset's settings
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QString>("expected");
        const QString dot = "  \u00b7  ";
        QTest::newRow("nothing") << "" << "" << "";
        QTest::newRow("preset as applied") << "" << "Web" << "Preset: Web";
        QTest::newRow("preset changed") << "webpQuality=50" << "Web" << "Preset: Web (changed)";
        QTest::newRow("job count is no change") << "convertJobs=2;lastPicturesDir=/x" << "Web" << "Preset: Web";
        QTest::newRow("all three") << "ignoreOrientation=true;outputBesideSource=true" << "Web"
                                   << "Preset: Web (changed)" + dot + "Orientation tag ignored" + dot
                                          + "Saved beside each source";
        QTest::newRow("a PDF is written into its folder") << "outputBesideSource=true;targeFileType=9" << "" << "";
        QTest::newRow("limit never scaled down") << "targeFileType=4;limitFileSize=true;shrinkToFileSize=false" << ""
                                                 << "At most 300 KB, never scaled down";
        QTest::newRow("limit scaled down") << "targeFileType=4;limitFileSize=true" << "" << "";
        QTest::newRow("no limit for PNG") << "targeFileType=6;limitFileSize=true;shrinkToFileSize=false" << "" << "";
    }

    void runSummary()
    {
        QFETCH(QString, changes);
        QFETCH(QString, preset);
        QFETCH(QString, expected);
        const ConversionSettings applied;
        ConversionSettings settings;
        for (const QString &change : changes.split(';', Qt::SkipEmptyParts)) {
            QString error;
            QVERIFY2(setSettingFromText(settings, change.section('=', 0, 0), change.section('=', 1), &error),
                     qPrintable(error));
        }
        const bool changed = !preset.isEmpty() && settingsDifferFromPreset(settings, applied);
        QCOMPARE(::runSummary(settings, preset, changed), expected);
    }

    // Why an output folder cannot be made.
    void folderCreationProblem_data()
    {
        QTest::addColumn<QString>("folder"); // below a folder holding the file "file" and the folder "locked"
        QTest::addColumn<QString>("problem");
        QTest::newRow("can be made") << "new/deeper" << "";
        QTest::newRow("a file of that name") << "file/sub" << "is a file, not a folder";
        QTest::newRow("no permission") << "locked/sub" << "no permission";
    }

    void folderCreationProblem()
    {
        QFETCH(QString, folder);
        QFETCH(QString, problem);
        if (problem.contains("permission") && geteuid() == 0)
            QSKIP("the superuser may write anywhere");
        QTemporaryDir base;
        kxtest::writeFile(base.filePath("file"), "x");
        QVERIFY(QDir(base.path()).mkdir("locked"));
        QFile::setPermissions(base.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
        const QString found = ::folderCreationProblem(base.filePath(folder));
        QFile::setPermissions(base.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(problem.isEmpty() ? found.isEmpty() : found.contains(problem), qPrintable(found));
    }

    // Each pair of PDF tiles is one choice, also when both are checked without
    // a click (as assistive technology does); the last one checked is stored.
    void pdfTilesAreExclusive_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("stored");
        QTest::newRow("orientation") << "pdfPageOrientationLanscapeButton" << "pdfPageOrientationPortraitButton"
                                     << "pdfPaperOrientation" << 0;
        QTest::newRow("margin") << "pdfNoMarginButton" << "pdfAddMarginButton" << "pdfPaperMargin" << 1;
    }

    void pdfTilesAreExclusive()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, key);
        QFETCH(int, stored);
        auto form = startForm();
        auto *firstTile = form->findChild<QAbstractButton *>(first);
        auto *secondTile = form->findChild<QAbstractButton *>(second);
        firstTile->setChecked(true);
        secondTile->setChecked(true);
        QCOMPARE(QList<bool>({firstTile->isChecked(), secondTile->isChecked()}), QList<bool>({false, true}));
        QCOMPARE(::stored(key).toInt(), stored);
    }
    // Preview requests wait for a countdown; only the last of a series runs, once.
    void previewCountdownRunsOnlyTheLastRequestOnce()
    {
        auto form = startForm();
        const QString run = "ConvertImageForm::_loadImage: ";
        // Ticks of 75 ms: 500 ms between requests is six to seven ticks.
        form->loadImage(dir.filePath("a.jpg"), false);
        tick(*form, 7);
        form->loadImage(dir.filePath("b.jpg"), false);
        tick(*form, 7);
        form->loadImage(dir.filePath("c.jpg"), false);
        QCOMPARE(countMessages("start Timer"), 1);
        tick(*form, 15);
        QCOMPARE(countMessages(run, true), 0);
        tick(*form, 1);
        QCOMPARE(countMessages(run + dir.filePath("c.jpg")), 1);
        tick(*form, 40);
        QCOMPARE(countMessages(run, true), 1);
    }

    // A cached picture asked for after a slow one shows at once, without a
    // worker, and stays; a pending refresh is kept by the request that
    // replaces it; closing waits for a running worker.
    void latestPreviewRequestWins()
    {
        auto form = startForm();
        ConvertImagePreviewLabel *label = form->ui->previewImage;
        const QString small = kxtest::photoFile(dir.path(), "small.jpg", QSize(200, 100));
        runRequest(*form, small, false);
        QVERIFY(idle(*form));
        const QString big = kxtest::photoFile(dir.path(), "big.jpg", QSize(4000, 3000));
        runRequest(*form, big, false);
        QVERIFY(form->previewLoading);
        runRequest(*form, small, false);
        QCOMPARE(label->pixmap().size(), QSize(200, 100));
        QVERIFY(idle(*form));
        QCoreApplication::processEvents();
        QCOMPARE(label->pixmap().size(), QSize(200, 100));

        // A settings change, then another selection: the cached file is rendered again.
        messages.clear();
        form->loadImage(big, true);
        runRequest(*form, small, false);
        QCOMPARE(countMessages("thumbnailFilePath: ", true), 1);
        QCOMPARE(countMessages("thumbnailFilePath: "), 0); // into the file it has, not a new one
        QVERIFY(idle(*form));

        QSignalSpy closeApp(form.get(), &ConvertImageForm::closeApp);
        runRequest(*form, big, true);
        QVERIFY(form->previewLoading);
        form->requestStopForClose();
        QCOMPARE(closeApp.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(closeApp.count(), 1, 20000);
        QVERIFY(!form->previewLoading);
        // Left rendering: the end of the test destroys the form, which stops and waits for the worker.
        runRequest(*form, big, true);
        QVERIFY(form->previewLoading);
    }

    void previewWorker_data()
    {
        QTest::addColumn<QSize>("source"); // invalid: not a picture
        QTest::addColumn<bool>("stop");
        QTest::addColumn<QSize>("expected");
        QTest::addColumn<int>("pages"); // more than one: a PDF of pages of source points
        QTest::newRow("undecodable") << QSize() << false << QSize(0, 0) << 1;
        QTest::newRow("stopped") << QSize(640, 480) << true << QSize(0, 0) << 1;
        QTest::newRow("halved by its own settings") << QSize(600, 300) << false << QSize(300, 150) << 1;
        QTest::newRow("first of three pages") << QSize(144, 72) << false << QSize(150, 75) << 3;
    }

    // The worker on its own: its settings snapshot, a source it cannot decode
    // (no cache file), a stop before it starts (no cache record).
    void previewWorker()
    {
        QFETCH(QSize, source);
        QFETCH(bool, stop);
        QFETCH(QSize, expected);
        QFETCH(int, pages);
        const QString name = QTest::currentDataTag() + QStringLiteral(".jpg");
        QString path = source.isValid() ? kxtest::photoFile(dir.path(), name, source)
                                        : kxtest::writeFile(dir.filePath(name), "not a picture");
        if (pages > 1) {
            path = dir.filePath("pages.pdf");
            QVERIFY(framefixtures::writePdfPages(path, QList<QSize>(pages, source), QList<QColor>(pages, Qt::gray)));
        }
        ConversionSettings settings;
        settings.scaleImage = true; // by percentage
        settings.scalePercentage = 50;
        conversionSettings().scaleImage = false; // the process-wide record must not be read
        LoadPreviewImageThread worker(settings);
        worker.stop = stop;
        const qsizetype before = thumbnailRecords().size();
        QSignalSpy spy(&worker, &LoadPreviewImageThread::updatePreviewImage);
        worker.createPreviewImage(path, QSize(400, 231));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<QImage>().size(), expected);
        QCOMPARE(worker.pageCount, pages);
        QCOMPARE(thumbnailRecords().size(), before + (stop ? 0 : 1));
        if (!stop)
            QCOMPARE(QImage(thumbnailFolder() + QString::number(thumbnailRecords().last().number) + ".webp").size(),
                     expected);
    }

private:
    QTemporaryDir dir;
};

QTEST_MAIN(TestConvertImageForm)
#include "tst_convertimageform.moc"
