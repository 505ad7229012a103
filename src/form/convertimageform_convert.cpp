#include "convertimageform.h"
#include "ui_convertimageform.h"

#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QStackedLayout>
#include <QStandardPaths>

#include <utility>

#include "cocoacode.h"
#include "convertprogressform.h"
#include "handlerscope.h"
#include "kxglobal.h"
#include "outputfolder.h"
#include "outputplan.h"
#include "targetformats.h"

namespace {

// The PDF save dialog; an empty string when cancelled. A name typed without
// an extension gets ".pdf", so the document is always found by its type.
QString askForPdfPath(QWidget *parent, const QString &startFolder)
{
    QFileDialog dialog(parent, QObject::tr("Save to PDF File"), startFolder, QObject::tr("PDF files (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

// The box's own sizing wraps a long path anywhere and cuts its title; as
// wide as the question needs, within the screen, it keeps the path whole.
void keepOnOneLine(QMessageBox &box)
{
    auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel"));
    if (!label)
        return;
    int width = label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin();
    if (const QScreen *screen = box.screen())
        width = qMin(width, screen->availableGeometry().width() * 3 / 4);
    label->setMinimumWidth(width);
}

QString existingFolderOr(const QString &folder, const QString &fallback)
{
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : fallback;
}

} // namespace

void ConvertImageForm::offerToCreateOutputFolder()
{
    // Only a full path names a place; a bare name stays for the chooser.
    const QString folder = conversionSettings().outputFolder;
    if (!QDir::isAbsolutePath(folder) || QFileInfo::exists(folder))
        return;
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, tr("Kestrix Picturist"),
                              tr("The output folder %1 does not exist. Create it?").arg(folder),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    // Not made, the chooser opens as when declined; the user is told why first.
    if (answer == QMessageBox::Yes && !QDir().mkpath(folder)) {
        const QString problem = folderCreationProblem(folder);
        QMessageBox::warning(this, tr("Kestrix Picturist"),
                             tr("The output folder %1 could not be made. %2")
                                 .arg(folder, problem.isEmpty() ? tr("The system refused it.") : problem));
    }
}

void ConvertImageForm::on_convertButton_clicked()
{
    // Convert can be reached with the list emptied row by row.
    if (model.rowCount() == 0) {
        QMessageBox::information(this, tr("Kestrix Picturist"), tr("There is nothing to convert."));
        return;
    }
    ConversionSettings &settings = conversionSettings();
    const int row = ui->targetComboBox->currentIndex();
    // A folder typed by hand need not exist yet; declined, the chooser opens as before.
    if (!settings.outputBesideSource || row == TargetPdf)
        offerToCreateOutputFolder();
    QString location;

    if (row == TargetPdf) {
        if (settings.pdfFileName.isEmpty()) {
            location = choosePdfFile();
            if (location.isEmpty())
                return;
        } else {
            if (settings.outputFolder.isEmpty()) {
                convertAfterFolderChosen = true;
                folderChooser->selectFolder();
                return;
            }
            qDebug().noquote() << "ext:" << settings.pdfFileName.right(4);
            const QString named = pdfFileNameWithExtension(settings.pdfFileName);
            if (named != settings.pdfFileName) {
                settings.pdfFileName = named;
                saveSetting(SettingPdfFile);
                const HandlerScope scope(handlersEnabled);
                ui->pdfFilenameLineEdit->setText(named);
            }
            location = pdfTargetPath(settings.outputFolder, settings.pdfFileName);
            if (!isValidPdfOutput(settings.outputFolder, location)) {
                // The save dialog confirms an existing file itself.
                location = choosePdfFile();
                if (location.isEmpty())
                    return;
            } else if (isTaken(location) && settings.existingFilePolicy != ExistingOverwrite) {
                // The one document of a run is neither skipped nor renamed
                // unasked: Skip and Keep both ask as Ask does.
                QMessageBox confirm(QMessageBox::Question, tr("Confirm overwrite"), tr("Confirm overwrite"),
                                    QMessageBox::Yes | QMessageBox::No, this);
                confirm.setInformativeText(tr("Are you sure you want to overwrite ") + location + QStringLiteral("?"));
                confirm.setDefaultButton(QMessageBox::No);
                keepOnOneLine(confirm);
                if (confirm.exec() != QMessageBox::Yes) {
                    location = choosePdfFile();
                    if (location.isEmpty())
                        return;
                }
            }
        }
    } else if (settings.outputBesideSource) {
        // Refused whole rather than every file given a free name.
        const QString itself = sourceNamedAsItsTarget(conversionSources(), targetFormatAt(row).targetExtension(),
                                                      settings, fileSourceFacts(settings));
        if (!itself.isEmpty()) {
            QMessageBox::warning(this, tr("Kestrix Picturist"),
                                 tr("The file name pattern \"%1\" would write %2 over itself. Add to the pattern, "
                                    "such as {name}-copy, or choose another format.")
                                     .arg(settings.fileNamePattern, QDir::toNativeSeparators(itself)));
            return;
        }
        location = settings.outputFolder;
    } else {
        if (!isValidImageOutputFolder(settings.outputFolder)) {
            convertAfterFolderChosen = true;
            folderChooser->selectFolder();
            return;
        }
        location = settings.outputFolder;
        ui->outputFolderLineEdit->setText(location);
    }

    startConversion(conversionSources(), location, ui->targetComboBox->currentText(),
                    targetFormatAt(row).targetExtension(), false);
}

QStringList ConvertImageForm::conversionSources() const
{
    QStringList sources;
    for (int row = 0; row < model.rowCount(); ++row)
        sources << entryPathOfRow(row);
    return sources;
}

QString ConvertImageForm::choosePdfFile()
{
    const QString start = existingFolderOr(conversionSettings().outputFolder,
                                           QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const QString path = askForPdfPath(this, start);
    if (!path.isEmpty())
        applyPdfPath(path);
    return path;
}

void ConvertImageForm::on_pdfFilenameButton_clicked()
{
    const HandlerScope scope(handlersEnabled);
    if (!scope)
        return;
    const QString start = existingFolderOr(conversionSettings().outputFolder, KXGlobal().picturesFolder());
    const QString path = askForPdfPath(this, start);
    if (!path.isEmpty())
        applyPdfPath(path);
}

void ConvertImageForm::applyPdfPath(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = QDir::toNativeSeparators(info.path());
    // The fields follow the record; their own handlers must not write it again.
    {
        const HandlerScope scope(handlersEnabled);
        ui->outputFolderLineEdit->setText(folder);
        ui->pdfFilenameLineEdit->setText(info.fileName());
    }
    conversionSettings().outputFolder = folder;
    conversionSettings().pdfFileName = info.fileName();
    saveSetting(SettingOutputFolder);
    saveSetting(SettingPdfFile);
}

void ConvertImageForm::startConversion(const QStringList &files, const QString &outputLocation,
                                       const QString &formatLabel, const QString &extension, bool overwriteExisting)
{
    conversionBusy = true;
    progressForm = new ConvertProgressForm(this);
    connect(progressForm, &ConvertProgressForm::startConvertSignal, this, &ConvertImageForm::handleStartConvertSignal);
    connect(progressForm, &ConvertProgressForm::finishConvertSignal, this,
            &ConvertImageForm::handleFinishConvertSignal);
    connect(progressForm, &ConvertProgressForm::showToolbarSignal, this, &ConvertImageForm::OnShowToolbarSignal);
    connect(progressForm, &ConvertProgressForm::progressChanged, this, &ConvertImageForm::conversionProgress);
    connect(progressForm, &ConvertProgressForm::completed, this, &ConvertImageForm::conversionCompleted);
    progressForm->startConvert(files, outputLocation, formatLabel, extension, overwriteExisting);

    pageLayout->addWidget(progressForm);
    pageLayout->setCurrentWidget(progressForm);
    ui->toolbarWidget->hide();
    ui->tabToolbarWidget->hide();
    ui->tabWidget->hide();
    ui->previewImage->hide();
}

void ConvertImageForm::handleStartConvertSignal()
{
    if (closeRequested)
        emit closeApp();
    setConverting(true);
}

void ConvertImageForm::handleFinishConvertSignal()
{
    conversionBusy = false;
    // The progress page deletes itself once it has reported the end.
    progressForm = nullptr;
    if (closeRequested)
        emit closeApp();
    setConverting(false);
    ui->toolbarWidget->show();
    ui->tabToolbarWidget->show();
    ui->tabWidget->show();
    ui->previewImage->show();
    pageLayout->setCurrentIndex(0);
    emit conversionEnded();
    if (!urlsAfterRun.isEmpty() && !closeRequested)
        startAddUrls(std::exchange(urlsAfterRun, {}));
}

void ConvertImageForm::stopConversionForClose()
{
    if (progressForm)
        progressForm->stopConversion();
}
