#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "conversionrun.h"

class ConvertImagesThread;
class QMessageBox;

namespace Ui {
class ConvertProgressForm;
}

// A source that could not be converted and why.
struct ConversionFailure
{
    QString source;
    QString reason;
};

// "The conversion process is completed." for one file (or none), the plural text for more.
QString completionMessageText(int fileCount);

// "2 of 5 files could not be converted." and its one-file forms.
QString failureSummaryText(int failedCount, int fileCount);

// What a stopped PDF run left: the document and how many pages it holds.
QString stoppedDocumentText(const QString &pdfPath, int pageCount);

// What the existing-file policy did: "1 file was skipped because its target
// exists." and "2 files were written under new names.", and their other number
// forms, one a line; empty when nothing was skipped or renamed.
QString outputCountsText(int skipped, int renamed);

// One line per failure: the source path, a colon and the reason.
QString failureDetailsText(const QList<ConversionFailure> &failures);

// "Elapsed 1:05, about 2:10 left" once files are done; only the elapsed time before.
QString progressTimeText(qint64 elapsedMs, int doneCount, int fileCount);

// "Stopped: 12 of 40 converted"
QString stoppedSummaryText(int convertedCount, int fileCount);

// The bytes the written files' sources held and the files hold, and the
// change: "24 files, 182 MB → 31 MB, −83 %".
QString sizeSummaryText(int fileCount, qint64 bytesRead, qint64 bytesWritten);

// The page shown in place of the file list while a run goes on: the files
// being converted, "N of M" with a progress bar, the time taken and left, the
// failures so far, and Cancel. It runs one worker per pass, asks about
// existing targets, and reports the end of the run to the main form.
class ConvertProgressForm : public QWidget
{
    Q_OBJECT

public:
    explicit ConvertProgressForm(QWidget *parent = nullptr);
    ~ConvertProgressForm() override;

    // plan: a second pass's files, as the first pass planned them.
    void startConvert(const QStringList &files, const QString &outputLocation, const QString &formatLabel,
                      const QString &extension, bool overwriteExisting, const QList<PlannedFile> &plan = {});
    // Asks the running pass to stop (the window is being closed).
    void stopConversion();

signals:
    void startConvertSignal();
    void finishConvertSignal();
    void showToolbarSignal(bool show);
    // The pass's files done of its count, for progress shown outside the window.
    void progressChanged(int done, int total);
    // The run's completion or stop message, as the box shows it.
    void completed(const QString &message);

public slots:
    void on_cancelButton_clicked();
    void handleUpdateFileName(const QString &fileName);
    void handleThreadTerminated(const ConversionResult &result);
    void handleThreadCompleted(const ConversionResult &result);
    void handleFileReported(const ConversionFile &file);
    void handleFileFinished(const QString &fileName);
    void handleOverwriteFiles(const QStringList &urls);
    void handleConvertFinish();

private:
    // The completion message, or after a Cancel the stop summary.
    void showCompletionMessage(const QString &stoppedText = QString());
    // Keeps the result of the pass that ended, shows its sizes and sets what
    // the window takes from it.
    void recordPass(const ConversionResult &result);
    void askAboutExisting(const QList<PlannedFile> &existing);
    void releaseWorker();
    void showRunningFiles();
    void showCounts();

    Ui::ConvertProgressForm *ui;
    QStringList fileList;
    QString outputPath;
    QString formatLabel;
    QString targetExtension;
    ConvertImagesThread *worker = nullptr;

    // Over both passes of a run: the first pass's file count, what each pass
    // did, and the sources whose existing targets the user chose to keep.
    int runFileCount = -1;
    QList<ConversionResult> passResults;
    int keptTargetCount = 0;
    // The first pass's targets that existed, as planned, for the second pass.
    QList<PlannedFile> existingFiles;
    QList<int> overwriteRows;
    QPointer<QMessageBox> completionBox;

    // Of the current pass: the files started and not yet done (several when the
    // worker converts in parallel) and the files done.
    QStringList runningFiles;
    int doneCount = 0;
    // Set by Cancel, not by closing the window, which must not wait for a message.
    bool cancelledByUser = false;
    QElapsedTimer elapsed;
    QTimer clock;
};
