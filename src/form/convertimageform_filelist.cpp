#include "convertimageform.h"
#include "ui_convertimageform.h"

#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStackedLayout>

#include "cocoacode.h"
#include "convertimageaddurlsthread.h"
#include "fileentry.h"
#include "filelistcommands.h"
#include "handlerscope.h"
#include "kxglobal.h"
#include "sourcefiles.h"
#include "targetformats.h"

namespace {
constexpr int listPage = 0;
constexpr int dropZonePage = 1;

QList<int> rowsOf(const QModelIndexList &indexes)
{
    QList<int> rows;
    for (const QModelIndex &index : indexes)
        rows.append(index.row());
    return rows;
}
} // namespace

QString ConvertImageForm::entryPathOfRow(int row) const
{
    const QStandardItem *label = model.item(row, 0);
    const QStandardItem *path = model.item(row, 1);
    return entryPath(label ? label->text() : QString(), path ? path->text() : QString());
}

void ConvertImageForm::on_itemSelection_changed(const QItemSelection &, const QItemSelection &)
{
    if (!handlersEnabled)
        return;
    QItemSelectionModel *selection = ui->sourceTreeView->selectionModel();
    const QModelIndexList indexes = selection->selectedIndexes();
    if (!selection->hasSelection() || indexes.isEmpty()) {
        listHasSelection = false;
        ui->removeButton->setEnabled(false);
        ui->upButton->setEnabled(false);
        ui->downButton->setEnabled(false);
        ui->previewImage->setText(tr("Preview"));
    } else {
        listHasSelection = true;
        ui->removeButton->setEnabled(true);
        ui->upButton->setEnabled(true);
        ui->downButton->setEnabled(true);

        const QString path = entryPathOfRow(indexes.first().row());
        canMoveUp = indexes.first().row() != 0;
        if (!canMoveUp)
            ui->upButton->setEnabled(false);
        canMoveDown = indexes.last().row() != model.rowCount() - 1;
        if (!canMoveDown)
            ui->downButton->setEnabled(false);

        qDebug().noquote() << "on_itemSelection_changed: " + path;
        loadImage(path, false);
    }
    updateTheme();
}

void ConvertImageForm::on_removeButton_clicked()
{
    // Both cells of every selected row come in; the delete list drops repeats.
    const QList<int> deleteList = buildDeleteList(rowsOf(ui->sourceTreeView->selectionModel()->selectedIndexes()));
    if (deleteList.isEmpty())
        return;
    for (const int row : deleteList) {
        qDebug().noquote() << "deleteList: " + QString::number(row);
        model.removeRow(row);
    }
    if (!isListed(previewFilePath))
        clearPreview();
    // The row that took the first removed row's place (or the new last row) is
    // selected, so that Delete goes on removing.
    if (model.rowCount() > 0)
        ui->sourceTreeView->setCurrentIndex(model.index(qMin(deleteList.last(), model.rowCount() - 1), 0));
}

bool ConvertImageForm::isListed(const QString &path) const
{
    for (int row = 0; row < model.rowCount(); ++row) {
        if (entryPathOfRow(row) == path)
            return true;
    }
    return false;
}

void ConvertImageForm::on_upButton_clicked()
{
    const QList<int> rows = rowsOf(ui->sourceTreeView->selectionModel()->selectedRows(0));
    if (!rows.isEmpty())
        ui->sourceTreeView->setCurrentIndex(model.index(moveRowsUp(&model, rows), 0));
}

void ConvertImageForm::on_downButton_clicked()
{
    const QList<int> rows = rowsOf(ui->sourceTreeView->selectionModel()->selectedRows(0));
    if (!rows.isEmpty())
        ui->sourceTreeView->setCurrentIndex(model.index(moveRowsDown(&model, rows), 0));
}

void ConvertImageForm::on_clearButton_clicked()
{
    model.removeRows(0, model.rowCount());
    ui->convertButton->setEnabled(false);
    ui->removeButton->setEnabled(false);
    ui->clearButton->setEnabled(false);
    clearPreview();
    pageLayout->setCurrentIndex(dropZonePage);
    updateTheme();
}

QString ConvertImageForm::addStartFolder() const
{
    const QString folder = conversionSettings().lastPicturesDir;
    return folder.isEmpty() || !QFileInfo::exists(folder) ? KXGlobal().picturesFolder() : folder;
}

void ConvertImageForm::on_addFolderButton_clicked()
{
    ui->sourceTreeView->clearSelection();
    const QString folder = folderChooser->browseForFolder(addStartFolder(), tr("Add Folder"));
    if (folder.isEmpty())
        return;
    conversionSettings().lastPicturesDir = folder;
    saveSetting(SettingLastPicturesDir);
    // Added like a dropped folder: recursively, supported images only.
    startAddUrls({QUrl::fromLocalFile(folder)});
}

void ConvertImageForm::on_addFilesButton_clicked()
{
    ui->sourceTreeView->clearSelection();
    const QStringList paths = QFileDialog::getOpenFileNames(this, tr("Add Image Files"), addStartFolder(),
                                                            imageFileDialogFilter());
    if (!paths.isEmpty()) {
        conversionSettings().lastPicturesDir = QFileInfo(paths.first()).path();
        saveSetting(SettingLastPicturesDir);
    }
    on_ImageFilesSelected(paths);
}

void ConvertImageForm::on_ImageFilesSelected(const QStringList &pathList)
{
    if (pathList.isEmpty())
        return;
    QList<QUrl> urls;
    for (const QString &path : pathList)
        urls.append(QUrl::fromLocalFile(path));
    startAddUrls(urls);
}

void ConvertImageForm::on_AddURLs(const QList<QUrl> &urls)
{
    // A run keeps its progress page and its report: files handed over meanwhile
    // (a second start, "Open with") wait for its end.
    if (conversionBusy) {
        urlsAfterRun << urls;
        return;
    }
    startAddUrls(urls);
}

void ConvertImageForm::onAddUrlsThreadBegin() {}

void ConvertImageForm::onAddUrlsThreadEnd() {}

void ConvertImageForm::startAddUrls(const QList<QUrl> &urls)
{
    ui->sourceTreeView->clearSelection();
    if (convertImageAddUrlsThreadStat) {
        qDebug().noquote() << "convertImageAddUrlsThreadStat #1: " + QVariant(convertImageAddUrlsThreadStat).toString();
        // The running batch takes them unless it has already taken its last
        // look at its queue; then a new batch starts below.
        if (convertImageAddUrlsThread && convertImageAddUrlsThread->appendPendingUrls(urls))
            return;
    } else {
        qDebug().noquote() << "convertImageAddUrlsThreadStat #2: " + QVariant(convertImageAddUrlsThreadStat).toString();
    }
    emit showToolbarSignal(false);
    convertImageAddUrlsThreadStat = true;
    convertImageAddUrlsThread = new ConvertImageAddUrlsThread(this, &model);
    if (conversionSettings().targeFileType != TargetPdf)
        convertImageAddUrlsThread->outputFolder = conversionSettings().outputFolder;
    connect(convertImageAddUrlsThread, &ConvertImageAddUrlsThread::addUrlsThreadBegin, this,
            &ConvertImageForm::onAddUrlsThreadBegin);
    connect(convertImageAddUrlsThread, &ConvertImageAddUrlsThread::addUrlsThreadEnd, this,
            &ConvertImageForm::onAddUrlsThreadEnd);
    connect(convertImageAddUrlsThread, &QThread::finished, this, &ConvertImageForm::onAddUrlsThreadDestroy);
    connect(convertImageAddUrlsThread, &ConvertImageAddUrlsThread::addUrlsFinish, this,
            &ConvertImageForm::onAddUrlsFinish);
    connect(convertImageAddUrlsThread, &ConvertImageAddUrlsThread::processFinish, this,
            &ConvertImageForm::onGetItemIconProcessFinish);
    convertImageAddUrlsThread->appendPendingUrls(urls);
    convertImageAddUrlsThread->start(QThread::InheritPriority);
}

void ConvertImageForm::onAddUrlsFinish(const QString &lastPath)
{
    // The selection made here is not the user's: the selection handler stays out.
    const HandlerScope scope(handlersEnabled);
    qDebug().noquote() << "ConvertImageForm::onAddUrlsFinish: " + lastPath;
    // The preview follows the selected last row, also after a batch of files
    // that were all listed already.
    if (model.rowCount() > 0)
        loadImage(entryPathOfRow(model.rowCount() - 1), false);
    else
        clearPreview();
    if (model.rowCount() > 0) {
        ui->sourceTreeView->setCurrentIndex(model.index(model.rowCount() - 1, 0));
        // The selection handler is off here; the buttons follow the selected
        // last row all the same, or Remove stays grey over a selected row.
        listHasSelection = true;
        canMoveUp = model.rowCount() > 1;
        canMoveDown = false;
        ui->removeButton->setEnabled(true);
        ui->downButton->setEnabled(false);
    }
    ui->convertButton->setEnabled(true);
    ui->clearButton->setEnabled(true);
    if (model.rowCount() > 1)
        ui->upButton->setEnabled(true);
    pageLayout->setCurrentIndex(listPage);
    emit showToolbarSignal(true);
    updateTheme();
}

void ConvertImageForm::onAddUrlsThreadDestroy()
{
    auto *worker = qobject_cast<ConvertImageAddUrlsThread *>(sender());
    // A batch that closed its queue may end after the next one has started:
    // only the current worker's end clears the running state.
    if (worker == convertImageAddUrlsThread) {
        convertImageAddUrlsThreadStat = false;
        convertImageAddUrlsThread = nullptr;
        emit showToolbarSignal(true);
    }
    if (worker)
        worker->deleteLater();
    qDebug() << "onAddUrlsThreadDestroy";
}

void ConvertImageForm::onGetItemIconProcessFinish(const QImage &pixmap, const QString &fileName, const QString &path,
                                                  const QString &sizeStr, int index)
{
    // Rows may have moved or gone since the thumbnail was made: it goes to the
    // row that still names its file, or nowhere.
    applyListThumbnail(&model, pixmap, fileName, path, sizeStr, index);
}

void ConvertImageForm::shutdownAddUrlsWorker()
{
    // Every batch, also one that is still ending after the next has started.
    // The workers never block-wait on this thread once stopped, so waiting here
    // cannot deadlock.
    const QList<ConvertImageAddUrlsThread *> workers =
        findChildren<ConvertImageAddUrlsThread *>(QString(), Qt::FindDirectChildrenOnly);
    for (ConvertImageAddUrlsThread *worker : workers)
        worker->requestStop();
    for (ConvertImageAddUrlsThread *worker : workers)
        worker->wait();
    convertImageAddUrlsThread = nullptr;
    convertImageAddUrlsThreadStat = false;
}
