#include "convertimageform.h"
#include "ui_convertimageform.h"

#include <QDebug>

#include "convertimagepreviewlabel.h"
#include "loadpreviewimagethread.h"
#include "previewdialog.h"
#include "thumbnailcache.h"

void ConvertImageForm::loadImage(const QString &path, bool refresh)
{
    qDebug().noquote() << "ConvertImageForm::loadImage: " + path;
    // The latest request replaces any pending one, its refresh flag included.
    pendingPreviewPath = path;
    pendingPreviewRefresh = refresh;
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
        _loadImage(pendingPreviewPath, pendingPreviewRefresh);
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

    previewFilePath = path;
    // Pictures of earlier requests will not be shown; spare the work.
    for (LoadPreviewImageThread *worker : std::as_const(previewWorkers))
        worker->stop = true;

    const ThumbnailLookup cached = lookupThumbnail(path, refresh);
    if (cached.answer == ThumbnailLookup::Show) {
        // This request has no worker: no running one is the latest any more.
        previewThread = nullptr;
        ui->previewImage->setPreviewPixmap(QPixmap(cached.fileName));
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
    if (latest)
        ui->previewImage->setPreviewPixmap(QPixmap::fromImage(image));
}

void ConvertImageForm::on_PreviewImage_DoubleClick()
{
    if (isPreviewDialogShown)
        return;
    if (!previewDialog) {
        previewDialog = new PreviewDialog(this, &isPreviewDialogShown);
        connect(previewDialog, &PreviewDialog::previewDialogClosed, this, &ConvertImageForm::on_previewDialogClosed);
    }
    qDebug().noquote() << "currentSelectedFile: " + currentSelectedFile;
    previewDialog->setImageFile(currentSelectedFile);
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
}
