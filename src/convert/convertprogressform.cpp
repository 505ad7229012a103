#include "convertprogressform.h"
#include "ui_convertprogressform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QUrl>

#include <utility>

#include "conversionsettings.h"
#include "convertimagesthread.h"
#include "overwritefiledialog.h"
#include "presets.h"
#include "targetsize.h"

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

namespace {

QString minutesAndSeconds(qint64 ms)
{
    const qint64 seconds = (ms + 500) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QString progressTimeText(qint64 elapsedMs, int doneCount, int fileCount)
{
    if (doneCount <= 0)
        return QObject::tr("Elapsed %1").arg(minutesAndSeconds(elapsedMs));
    const qint64 left = elapsedMs * qMax(0, fileCount - doneCount) / doneCount;
    return QObject::tr("Elapsed %1, about %2 left").arg(minutesAndSeconds(elapsedMs), minutesAndSeconds(left));
}

QString stoppedSummaryText(int convertedCount, int fileCount)
{
    return QObject::tr("Stopped: %1 of %2 converted").arg(convertedCount).arg(fileCount);
}

namespace {

// Three digits at most: "182 MB", "3.1 MB".
QString shownBytes(qint64 bytes)
{
    const int precision = bytes >= 1000 && QString::number(bytes).size() % 3 == 1 ? 1 : 0;
    return QLocale().formattedDataSize(bytes, precision, QLocale::DataSizeSIFormat);
}

} // namespace

QString sizeSummaryText(int fileCount, qint64 bytesRead, qint64 bytesWritten)
{
    const QString files = fileCount == 1 ? QObject::tr("1 file") : QObject::tr("%1 files").arg(fileCount);
    QString text = QObject::tr("%1, %2 \u2192 %3").arg(files, shownBytes(bytesRead), shownBytes(bytesWritten));
    if (bytesRead > 0) {
        const qint64 change = qRound64(double(bytesWritten - bytesRead) * 100.0 / double(bytesRead));
        const QString sign = change < 0 ? QStringLiteral("\u2212") : change > 0 ? QStringLiteral("+") : QString();
        text += QObject::tr(", %1%2 %").arg(sign).arg(qAbs(change));
    }
    return text;
}

namespace {

// The run's failures, a source once with its reason, in the order it started them.
QList<ConversionFailure> runFailures(const QList<ConversionResult> &passes)
{
    QList<ConversionFailure> failures;
    QSet<QString> listed;
    for (const ConversionResult &pass : passes) {
        for (const ConversionResult::File &file : pass.files) {
            if (file.outcome == ConversionFile::Failed && !listed.contains(file.source)) {
                listed.insert(file.source);
                failures.append({file.source, file.reason()});
            }
        }
    }
    return failures;
}

// Why sources were renamed, converted with a note or left out.
QList<ConversionFailure> runNotes(const QList<ConversionResult> &passes)
{
    QList<ConversionFailure> notes;
    for (const ConversionResult &pass : passes) {
        for (const ConversionResult::File &file : pass.files) {
            for (const QString &reason : file.notes + file.skipped)
                notes.append({file.source, reason});
        }
    }
    return notes;
}

} // namespace

ConvertProgressForm::ConvertProgressForm(QWidget *parent) : QWidget(parent), ui(new Ui::ConvertProgressForm)
{
    ui->setupUi(this);
    ui->failureLabel->hide();
    ui->failureList->hide();
    ui->sizeLabel->hide();
    ui->cancelButton->setAccessibleName(tr("Cancel the conversion"));
    ui->progressBar->setAccessibleName(tr("Conversion progress"));
    clock.setInterval(1000);
    connect(&clock, &QTimer::timeout, this, &ConvertProgressForm::showCounts);
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
                                       const QList<PlannedFile> &plan)
{
    fileList = files;
    outputPath = outputLocation;
    formatLabel = label;
    targetExtension = extension;
    if (runFileCount < 0)
        runFileCount = int(files.size());

    // A second pass may name a source once for each of its pages.
    ui->progressBar->setMaximum(int(QSet<QString>(files.cbegin(), files.cend()).size()));
    ui->progressBar->setValue(0);
    runningFiles.clear();
    doneCount = 0;
    elapsed.start();
    clock.start();
    showRunningFiles();
    showCounts();

    emit showToolbarSignal(false);
    emit startConvertSignal();

    releaseWorker();
    // The settings are copied here, on the GUI thread, for the whole pass.
    ConversionJob job;
    job.sources = files;
    job.plan = plan;
    job.settings = {snapshotSettings()};
    job.outputFolder = outputLocation;
    job.targetExtension = extension;
    job.overwriteExisting = overwriteExisting;
    // "Also write:" goes with pictures, not with a PDF document.
    if (plan.isEmpty() && extension != QLatin1String(".pdf"))
        job.settings += alsoWriteOutputs(job.settings.first(), QApplication::font());
    worker = new ConvertImagesThread(job);
    connect(worker, &ConvertImagesThread::updateFileName, this, &ConvertProgressForm::handleUpdateFileName);
    connect(worker, &ConvertImagesThread::fileFinished, this, &ConvertProgressForm::handleFileFinished);
    connect(worker, &ConvertImagesThread::fileReported, this, &ConvertProgressForm::handleFileReported);
    connect(worker, &ConvertImagesThread::threadTerminated, this, &ConvertProgressForm::handleThreadTerminated);
    connect(worker, &ConvertImagesThread::threadCompleted, this, &ConvertProgressForm::handleThreadCompleted);
    worker->start();
}

void ConvertProgressForm::stopConversion()
{
    if (worker)
        worker->stopRequested = true;
}

void ConvertProgressForm::on_cancelButton_clicked()
{
    if (!worker)
        return;
    // Said at once: the files in progress are still finished.
    cancelledByUser = true;
    ui->label->setText(tr("Stopping after the current file\u2026"));
    ui->cancelButton->setEnabled(false);
    stopConversion();
}

void ConvertProgressForm::handleUpdateFileName(const QString &fileName)
{
    runningFiles.append(fileName);
    showRunningFiles();
}

void ConvertProgressForm::handleFileFinished(const QString &fileName)
{
    runningFiles.removeOne(fileName);
    ++doneCount;
    showRunningFiles();
    showCounts();
}

void ConvertProgressForm::recordPass(const ConversionResult &result)
{
    passResults << result;
    // Set here, on the GUI thread: "Open Folder" opens it, and the pipeline's
    // scaling mode of later previews follows the last run's target.
    if (!result.outputLocation.isEmpty())
        setLastOutputLocation(result.outputLocation);
    setOutputIsPdf(targetExtension == QLatin1String(".pdf"));
    int written = 0;
    qint64 bytesRead = 0;
    qint64 bytesWritten = 0;
    for (const ConversionResult &pass : std::as_const(passResults)) {
        for (const ConversionResult::File &file : pass.files) {
            written += int(file.outputs.size());
            bytesRead += qMax<qint64>(0, file.bytesRead);
            bytesWritten += qMax<qint64>(0, file.bytesWritten);
        }
    }
    // A PDF document's pages have no sizes of their own.
    if (written == 0 || targetExtension == QLatin1String(".pdf"))
        return;
    ui->sizeLabel->setText(sizeSummaryText(written, bytesRead, bytesWritten));
    ui->sizeLabel->show();
}

void ConvertProgressForm::showRunningFiles()
{
    ui->label_2->setText(runningFiles.join(QLatin1Char('\n')));
}

void ConvertProgressForm::showCounts()
{
    const int fileCount = int(fileList.size());
    ui->progressBar->setValue(doneCount);
    ui->countLabel->setText(tr("%1 of %2").arg(doneCount).arg(fileCount));
    ui->timeLabel->setText(progressTimeText(elapsed.elapsed(), doneCount, fileCount));
    emit progressChanged(doneCount, fileCount);
}

void ConvertProgressForm::handleFileReported(const ConversionFile &file)
{
    if (file.outcome != ConversionFile::Failed)
        return;
    // A source is listed once, even when a second pass fails it again.
    for (int row = 0; row < ui->failureList->count(); ++row) {
        if (ui->failureList->item(row)->data(Qt::UserRole).toString() == file.source)
            return;
    }
    auto *item = new QListWidgetItem(failureDetailsText({{file.source, file.reason()}}), ui->failureList);
    item->setData(Qt::UserRole, file.source);
    ui->failureLabel->setText(tr("Failed: %1").arg(ui->failureList->count()));
    ui->failureLabel->show();
    ui->failureList->show();
}

void ConvertProgressForm::handleThreadTerminated(const ConversionResult &result)
{
    clock.stop();
    recordPass(result);
    emit showToolbarSignal(true);
    // A Cancel is answered with what was done; a stop for closing the window is not.
    if (!cancelledByUser) {
        emit finishConvertSignal();
        deleteLater();
        return;
    }
    int converted = 0;
    for (const ConversionResult::File &file : result.files)
        converted += !file.outputs.isEmpty() && file.failures.isEmpty() ? 1 : 0;
    QString summary = stoppedSummaryText(converted, int(fileList.size()));
    if (result.stoppedDocumentPages >= 0)
        summary += QLatin1Char('\n') + stoppedDocumentText(result.outputLocation, result.stoppedDocumentPages);
    showCompletionMessage(summary);
}

void ConvertProgressForm::handleThreadCompleted(const ConversionResult &result)
{
    // A stop that came after the worker's last file still ends the run as a
    // stop: a closing window waits for no message and no question, and the
    // targets set aside for the question are kept.
    if (worker && worker->stopRequested) {
        ConversionResult stopped = result;
        stopped.skippedCount += int(result.existing.size());
        handleThreadTerminated(stopped);
        return;
    }
    clock.stop();
    recordPass(result);
    emit showToolbarSignal(true);
    if (result.existing.isEmpty())
        showCompletionMessage();
    else
        askAboutExisting(result.existing);
}

void ConvertProgressForm::askAboutExisting(const QList<PlannedFile> &existing)
{
    existingFiles = existing;
    QList<QString> targets;
    QList<QString> sources;
    for (const PlannedFile &file : existing) {
        targets << file.target;
        sources << file.source;
    }
    // Shown modally without a nested event loop, so that nothing is deleted
    // under a running dialog; its answer arrives through its signals.
    auto *dialog = new OverwriteFileDialog(this);
    connect(dialog, &OverwriteFileDialog::overwriteFiles, this, [this, dialog](const QStringList &urls) {
        overwriteRows = dialog->checkedRows;
        handleOverwriteFiles(urls);
    });
    // Cancel (or nothing ticked) ends the run as it is, without a message.
    connect(dialog, &OverwriteFileDialog::convertFinish, this, &ConvertProgressForm::handleConvertFinish);
    dialog->setFileLists(targets, sources);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
}

void ConvertProgressForm::showCompletionMessage(const QString &stoppedText)
{
    const QList<ConversionFailure> failures = runFailures(passResults);
    const QList<ConversionFailure> notes = runNotes(passResults);
    int skippedCount = keptTargetCount;
    int renamedCount = 0;
    int scaledCount = 0;
    int overCount = 0;
    for (const ConversionResult &pass : std::as_const(passResults)) {
        skippedCount += pass.skippedCount;
        renamedCount += pass.renamedCount;
        scaledCount += pass.scaledToFitCount;
        overCount += pass.overSizeLimitCount;
    }
    const bool failed = !failures.isEmpty();
    QString text = failed ? failureSummaryText(int(failures.size()), runFileCount)
                          : completionMessageText(int(fileList.size()));
    if (!stoppedText.isEmpty())
        text = failed ? stoppedText + QLatin1Char('\n') + text : stoppedText;
    // Files the size limit scaled down or left over it are said without the details.
    const QStringList sized = sizeLimitCountLines(scaledCount, overCount);
    for (const QString &line : sized)
        text += QLatin1Char('\n') + line;
    // Over the window, not in the middle of the screen.
    auto *box = new QMessageBox(failed || !sized.isEmpty() ? QMessageBox::Warning : QMessageBox::Information,
                                tr("Kestrix Picturist"), text, QMessageBox::Ok, this);
    QPushButton *openButton = box->addButton(tr("Open Folder"), QMessageBox::ActionRole);
    if (failed || !notes.isEmpty())
        box->setDetailedText(failureDetailsText(failures + notes));
    box->setInformativeText(outputCountsText(skippedCount, renamedCount));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    connect(box, &QMessageBox::finished, this, [this, box, openButton] {
        if (box->clickedButton() == openButton)
            QDesktopServices::openUrl(QUrl::fromLocalFile(lastOutputLocation()));
        handleConvertFinish();
    });
    completionBox = box;
    // The page behind the box no longer says that the run goes on.
    ui->label->setText(text.section(QLatin1Char('\n'), 0, 0));
    box->show();
    emit completed(text);
}

void ConvertProgressForm::handleOverwriteFiles(const QStringList &urls)
{
    // The sources left unticked keep their targets: skipped.
    keptTargetCount += int(existingFiles.size() - urls.size());
    // The second pass writes the targets the first one planned for the rows
    // ticked; without the dialog's rows, for the first row of each source.
    QList<int> rows = std::exchange(overwriteRows, {});
    if (rows.size() != urls.size()) {
        rows.clear();
        for (const QString &url : urls) {
            for (int row = 0; row < existingFiles.size(); ++row) {
                if (existingFiles.at(row).source == url) {
                    rows << row;
                    break;
                }
            }
        }
    }
    QStringList sources;
    QList<PlannedFile> chosen;
    for (const int row : std::as_const(rows)) {
        sources << existingFiles.at(row).source;
        chosen << existingFiles.at(row);
    }
    startConvert(sources, outputPath, formatLabel, targetExtension, true, planReplacing(chosen));
}

void ConvertProgressForm::handleConvertFinish()
{
    emit finishConvertSignal();
    deleteLater();
}
