#include "convertprogressform.h"
#include "ui_convertprogressform.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "conversionsettings.h"
#include "convertimagesthread.h"
#include "overwritefiledialog.h"

QString completionMessageText(int fileCount)
{
    return fileCount >= 2 ? QObject::tr("The conversion processes are completed.")
                          : QObject::tr("The conversion process is completed.");
}

QString failureSummaryText(int failedCount, int fileCount)
{
    if (fileCount == 1)
        return QObject::tr("%1 of 1 file could not be converted.").arg(failedCount);
    return QObject::tr("%1 of %2 files could not be converted.").arg(failedCount).arg(fileCount);
}

QString stoppedDocumentText(const QString &pdfPath, int pageCount)
{
    return pageCount == 1 ? QObject::tr("The conversion was stopped. %1 holds 1 page.").arg(pdfPath)
                          : QObject::tr("The conversion was stopped. %1 holds %2 pages.").arg(pdfPath).arg(pageCount);
}

QString outputCountsText(int skipped, int renamed)
{
    QStringList parts;
    if (skipped == 1)
        parts << QObject::tr("1 file was skipped because its target exists.");
    else if (skipped > 1)
        parts << QObject::tr("%1 files were skipped because their targets exist.").arg(skipped);
    if (renamed == 1)
        parts << QObject::tr("1 file was written under a new name.");
    else if (renamed > 1)
        parts << QObject::tr("%1 files were written under new names.").arg(renamed);
    return parts.join(QLatin1Char('\n'));
}

QString failureDetailsText(const QList<ConversionFailure> &failures)
{
    QStringList lines;
    for (const ConversionFailure &failure : failures)
        lines << failure.source + QStringLiteral(": ") + failure.reason;
    return lines.join(QLatin1Char('\n'));
}

ConvertProgressForm::ConvertProgressForm(QWidget *parent) : QWidget(parent), ui(new Ui::ConvertProgressForm)
{
    ui->setupUi(this);
}

ConvertProgressForm::~ConvertProgressForm()
{
    releaseWorker();
    delete completionBox.data();
    delete ui;
}

// The worker has sent its end signal or is told to stop; its thread is over
// in a moment, and only then is it deleted.
void ConvertProgressForm::releaseWorker()
{
    if (!worker)
        return;
    worker->stopRequested = true;
    worker->wait();
    delete worker;
    worker = nullptr;
}

void ConvertProgressForm::startConvert(const QStringList &files, const QString &outputLocation,
                                       const QString &label, const QString &extension, bool overwriteExisting,
                                       const QStringList &targets)
{
    fileList = files;
    outputPath = outputLocation;
    formatLabel = label;
    targetExtension = extension;
    if (runFileCount < 0)
        runFileCount = int(files.size());

    ui->progressBar->setMaximum(int(files.size()));
    ui->progressBar->setValue(0);

    emit showToolbarSignal(false);
    emit startConvertSignal();

    releaseWorker();
    // The settings are copied here, on the GUI thread, for the whole pass.
    worker = new ConvertImagesThread(snapshotSettings());
    worker->_urls = files;
    worker->outputPath = outputLocation;
    worker->targetExtension = extension;
    worker->overwriteExisting = overwriteExisting;
    worker->targetPaths = targets;
    connect(worker, &ConvertImagesThread::updateFileName, this, &ConvertProgressForm::handleUpdateFileName);
    connect(worker, &ConvertImagesThread::fileFinished, this, &ConvertProgressForm::handleFileFinished);
    connect(worker, &ConvertImagesThread::threadTerminated, this, &ConvertProgressForm::handleThreadTerminated);
    connect(worker, &ConvertImagesThread::threadCompleted, this, &ConvertProgressForm::handleThreadCompleted);
    connect(worker, &ConvertImagesThread::fileFailed, this, &ConvertProgressForm::handleFileFailed);
    connect(worker, &ConvertImagesThread::outputCounts, this, [this](int skipped, int renamed) {
        skippedCount += skipped;
        renamedCount += renamed;
    });
    connect(worker, &ConvertImagesThread::documentStopped, this, &ConvertProgressForm::handleDocumentStopped);
    worker->start();
}

void ConvertProgressForm::stopConversion()
{
    if (worker)
        worker->stopRequested = true;
}

void ConvertProgressForm::on_cancelButton_clicked()
{
    cancelledByUser = true;
    stopConversion();
}

void ConvertProgressForm::handleUpdateFileName(const QString &fileName)
{
    ui->label_2->setText(fileName);
}

// Several files convert at once: the bar counts those done, the label names the latest started.
void ConvertProgressForm::handleFileFinished()
{
    ui->progressBar->setValue(ui->progressBar->value() + 1);
}

void ConvertProgressForm::handleFileFailed(const QString &fileName, const QString &reason)
{
    // A source is counted once, even when a PDF document fails after one of its pages did.
    for (const ConversionFailure &failure : std::as_const(failures)) {
        if (failure.source == fileName)
            return;
    }
    failures.append({fileName, reason});
}

void ConvertProgressForm::handleDocumentStopped(const QString &pdfPath, int pageCount)
{
    stoppedDocument = stoppedDocumentText(pdfPath, pageCount);
}

void ConvertProgressForm::handleThreadTerminated()
{
    emit showToolbarSignal(true);
    if (cancelledByUser && !stoppedDocument.isEmpty()) {
        showCompletionMessage(stoppedDocument);
        return;
    }
    emit finishConvertSignal();
    deleteLater();
}

void ConvertProgressForm::handleThreadCompleted(const QList<QString> &fileExistsList,
                                                const QList<QString> &fileSourceList)
{
    emit showToolbarSignal(true);
    if (fileExistsList.isEmpty()) {
        showCompletionMessage();
        return;
    }
    existingTargets = fileExistsList;
    existingSources = fileSourceList;
    // Shown modally without a nested event loop, so that nothing is deleted
    // under a running dialog; its answer arrives through its signals.
    auto *dialog = new OverwriteFileDialog(this);
    connect(dialog, &OverwriteFileDialog::overwriteFiles, this, &ConvertProgressForm::handleOverwriteFiles);
    // Declining to overwrite must not hide the sources of this pass that failed.
    connect(dialog, &OverwriteFileDialog::convertFinish, this, [this] {
        if (failures.isEmpty())
            handleConvertFinish();
        else
            showCompletionMessage();
    });
    dialog->setFileLists(fileExistsList, fileSourceList);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
}

void ConvertProgressForm::showCompletionMessage(const QString &outcome)
{
    const bool failed = !failures.isEmpty();
    const QString text = !outcome.isEmpty() ? outcome
                         : failed           ? failureSummaryText(int(failures.size()), runFileCount)
                                            : completionMessageText(int(fileList.size()));
    auto *box = new QMessageBox(failed ? QMessageBox::Warning : QMessageBox::Information, tr("Fast Picturist"),
                                text, QMessageBox::Ok);
    QPushButton *openButton = box->addButton(tr("Open Folder"), QMessageBox::ActionRole);
    if (failed)
        box->setDetailedText(failureDetailsText(failures));
    box->setInformativeText(outputCountsText(skippedCount, renamedCount));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    connect(box, &QMessageBox::finished, this, [this, box, openButton] {
        if (box->clickedButton() == openButton)
            QDesktopServices::openUrl(QUrl::fromLocalFile(lastOutputLocation()));
        handleConvertFinish();
    });
    completionBox = box;
    box->show();
}

void ConvertProgressForm::handleOverwriteFiles(const QStringList &urls)
{
    // The second pass writes the targets the first one planned for these sources.
    QStringList targets;
    for (const QString &url : urls)
        targets << existingTargets.value(existingSources.indexOf(url));
    startConvert(urls, outputPath, formatLabel, targetExtension, true, targets);
}

void ConvertProgressForm::handleConvertFinish()
{
    emit finishConvertSignal();
    deleteLater();
}
