#include "convertimageform.h"
#include "ui_convertimageform.h"

#include <QBoxLayout>
#include <QDebug>

#include <utility>

#include "convertimagepreviewlabel.h"
#include "fileentry.h"
#include "loadpreviewimagethread.h"
#include "predictedsizelabel.h"
#include "previewdialog.h"
#include "thumbnailcache.h"

void ConvertImageForm::loadImage(const QString &path, bool refresh)
{
    qDebug().noquote() << "ConvertImageForm::loadImage: " + path;
    // The latest request replaces any pending one, but inherits its refresh:
    // the settings changed all the same, and the cache must learn it.
    pendingPreviewPath = path;
    pendingPreviewRefresh = pendingPreviewRefresh || refresh;
    previewFilePath = path;
    predictedSize->follow(path, refresh);
    updateCountdown = 15;
    if (!updateTimer.isActive()) {
        updateTimer.start(75);
        qDebug() << "start Timer";
    }
}

void ConvertImageForm::on_updateTimer()
{
    if (!updateTimer.isActive())
        return;
    if (updateCountdown < 1) {
        updateTimer.stop();
        _loadImage(pendingPreviewPath, std::exchange(pendingPreviewRefresh, false));
    } else {
        --updateCountdown;
    }
}

void ConvertImageForm::_loadImage(const QString &path, bool refresh)
{
    qDebug().noquote() << "ConvertImageForm::_loadImage: " + path;
    qDebug().noquote() << QString("ConvertImageForm::isPreviewDialogShown: ")
                              + (isPreviewDialogShown ? "true" : "false");
    if (previewDialog && isPreviewDialogShown)
        previewDialog->updateImage(path);

    // Pictures of earlier requests will not be shown; spare the work.
    for (LoadPreviewImageThread *worker : std::as_const(previewWorkers))
        worker->stop = true;

    const ThumbnailLookup cached = lookupThumbnail(path, refresh);
    // Without a file the request only marked the cache stale.
    if (path.isEmpty() || cached.answer == ThumbnailLookup::Show) {
        // This request has no worker: no running one is the latest any more.
        previewThread = nullptr;
        if (!path.isEmpty()) {
            unreadablePreviewPath.clear();
            ui->previewImage->setPageCount(previewPageCounts.value(path, 1));
            ui->previewImage->setPreviewPixmap(QPixmap(cached.fileName));
        }
        return;
    }
    const QString thumbnailFilePath = cached.answer == ThumbnailLookup::Reuse ? cached.fileName : QString();
    qDebug().noquote() << "thumbnailFilePath: " + thumbnailFilePath;

    previewLoading = true;
    auto *worker = new LoadPreviewImageThread(snapshotSettings());
    worker->filePath = path;
    worker->maxSize = ui->previewImage->size();
    if (cached.answer == ThumbnailLookup::Reuse) {
        worker->hasThumbnailPath = true;
        worker->thumbnailFilePath = thumbnailFilePath;
    }
    // A request that runs while the window is closing only reports back.
    worker->stop = closeRequested;
    connect(worker, &LoadPreviewImageThread::updatePreviewImage, this, &ConvertImageForm::handleUpdatePreviewImage,
            Qt::QueuedConnection);
    previewThread = worker;
    previewWorkers.append(worker);
    worker->start();
}

void ConvertImageForm::handleUpdatePreviewImage(const QImage &image)
{
    bool latest = true;
    auto *worker = qobject_cast<LoadPreviewImageThread *>(sender());
    if (worker && previewWorkers.removeOne(worker)) {
        latest = worker == previewThread;
        if (latest)
            previewThread = nullptr;
        // The report is the worker's last act; let run() return before release.
        worker->wait();
        worker->deleteLater();
    }
    previewLoading = !previewWorkers.isEmpty();

    if (closeRequested) {
        // The window waits for every preview worker before it closes.
        if (!previewLoading)
            emit closeApp();
        return;
    }
    // A request made after this worker started decides what the label shows.
    if (!latest)
        return;
    if (image.isNull()) {
        // Not the previous file's picture: this one has none.
        unreadablePreviewPath = worker ? worker->filePath : previewFilePath;
        ui->previewImage->setText(unreadableFileText());
        return;
    }
    unreadablePreviewPath.clear();
    if (worker) {
        // Kept for the cached thumbnail shown next time, which no worker counts.
        previewPageCounts.insert(worker->filePath, worker->pageCount);
        ui->previewImage->setPageCount(worker->pageCount);
    }
    ui->previewImage->setPreviewPixmap(QPixmap::fromImage(image));
}

void ConvertImageForm::clearPreview()
{
    // Nothing listed is previewed any more: a pending request and the running
    // workers are dropped (a pending refresh is kept for the next request).
    updateTimer.stop();
    pendingPreviewPath.clear();
    previewFilePath.clear();
    previewThread = nullptr;
    for (LoadPreviewImageThread *worker : std::as_const(previewWorkers))
        worker->stop = true;
    // The label's own setText drops the picture and its fit icon.
    ui->previewImage->setText(tr("Preview"));
    predictedSize->clear();
}

void ConvertImageForm::on_PreviewImage_DoubleClick()
{
    // Nothing to show in full: no file, or one that cannot be read.
    if (isPreviewDialogShown || previewFilePath.isEmpty() || previewFilePath == unreadablePreviewPath)
        return;
    if (!previewDialog) {
        previewDialog = new PreviewDialog(this, &isPreviewDialogShown);
        connect(previewDialog, &PreviewDialog::previewDialogClosed, this, &ConvertImageForm::on_previewDialogClosed);
        previewDialog->setPredictor(predictedSize->predictor());
    }
    qDebug().noquote() << "currentSelectedFile: " + previewFilePath;
    previewDialog->setImageFile(previewFilePath);
    previewDialog->exec();
}

void ConvertImageForm::on_previewDialogClosed() {}

void ConvertImageForm::stopPreviewForClose()
{
    for (LoadPreviewImageThread *worker : std::as_const(previewWorkers))
        worker->stop = true;
}

void ConvertImageForm::shutdownPreviewWorkers()
{
    updateTimer.stop();
    for (LoadPreviewImageThread *worker : std::as_const(previewWorkers)) {
        worker->stop = true;
        disconnect(worker, nullptr, this, nullptr);
    }
    for (LoadPreviewImageThread *worker : std::as_const(previewWorkers)) {
        worker->wait();
        delete worker;
    }
    previewWorkers.clear();
    previewThread = nullptr;
    previewLoading = false;
    if (previewDialog)
        previewDialog->shutdownWorkers();
    predictedSize->clear();
}

void ConvertImageForm::setupPredictedSize()
{
    predictedSize = new PredictedSizeLabel(this);
    // Under the picture, in the layout that holds it.
    auto *layout = qobject_cast<QBoxLayout *>(ui->previewImage->parentWidget()->layout());
    const int at = layout ? layout->indexOf(ui->previewImage) : -1;
    if (at >= 0)
        layout->insertWidget(at + 1, predictedSize, 0, Qt::AlignHCenter);
    predictedSize->setFixedWidth(ui->previewImage->maximumWidth());
    predictedSize->setWordWrap(true);
}
