#include "previewdialog.h"
#include "ui_previewdialog.h"

#include <QDebug>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QThread>
#include <QToolButton>

#include <utility>

#include "compareview.h"
#include "conversionsettings.h"
#include "imagemagickutil.h"
#include "loadfullpreviewimagethread.h"
#include "previewgeometry.h"

namespace {

int primaryScreenWidthPixels()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    return qRound(screen->geometry().width() * screen->devicePixelRatio());
}

} // namespace

PreviewDialog::PreviewDialog(QWidget *parent, bool *shownFlag)
    : QDialog(parent), ui(new Ui::PreviewDialog), shown(shownFlag)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    *shown = true;

    connect(ui->previewLabel, &ConvertImageFullPreviewLabel::needToResizeImage, this,
            &PreviewDialog::onNeedToResizeImage);
    connect(ui->previewLabel, &ConvertImageFullPreviewLabel::startDragImage, this, &PreviewDialog::onStartDragImage);
    connect(ui->previewLabel, &ConvertImageFullPreviewLabel::endDragImage, this, &PreviewDialog::onEndDragImage);
    connect(ui->previewLabel, &ConvertImageFullPreviewLabel::mouseMove, this, &PreviewDialog::onMouseMove);
    connect(&resizeTimer, &QTimer::timeout, this, &PreviewDialog::updateTimer);

    // The keyboard zooms like the wheel; 0 fits the picture again (Escape closes).
    const std::pair<Qt::Key, int> zoomKeys[] = {{Qt::Key_Plus, 1}, {Qt::Key_Equal, 1}, {Qt::Key_Minus, -1}};
    for (const auto &[key, step] : zoomKeys) {
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this,
                [this, step = step] { onNeedToResizeImage(step); });
    }
    connect(new QShortcut(QKeySequence(Qt::Key_0), this), &QShortcut::activated, this, [this] {
        if (ui->compareView->isVisible())
            setCompareZoom(CompareView::Fit);
        else
            fitImage();
    });
    ui->percentResizeLabel->setToolTip(tr("Zoom in: +, zoom out: -, fit: 0, close: Esc"));

    const std::pair<QToolButton *, int> compareZooms[] = {{ui->fitButton, CompareView::Fit},
                                                          {ui->actualSizeButton, CompareView::Actual},
                                                          {ui->doubleSizeButton, CompareView::Double}};
    for (const auto &[button, zoom] : compareZooms) {
        button->setVisible(false);
        connect(button, &QToolButton::clicked, this, [this, zoom = zoom] { setCompareZoom(zoom); });
    }
    const std::pair<Qt::Key, int> zoomKeys100[] = {{Qt::Key_1, CompareView::Actual}, {Qt::Key_2, CompareView::Double}};
    for (const auto &[key, zoom] : zoomKeys100) {
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this, [this, zoom = zoom] {
            if (ui->compareView->isVisible())
                setCompareZoom(zoom);
        });
    }
    ui->compareButton->setVisible(false);
    connect(ui->compareButton, &QToolButton::toggled, this, &PreviewDialog::setCompareMode);
    setCompareZoom(CompareView::Fit);
}

PreviewDialog::~PreviewDialog()
{
    qDebug() << "~PreviewDialog()";
    shutdownWorkers();
    delete ui;
}

void PreviewDialog::shutdownWorkers()
{
    for (LoadFullPreviewImageThread *worker : std::as_const(workers)) {
        worker->stop = true;
        worker->disconnect(this);
    }
    for (LoadFullPreviewImageThread *worker : std::as_const(workers)) {
        worker->wait();
        delete worker;
    }
    workers.clear();
    fullPreviewThread = nullptr;
    waitingOutput.reset();
    if (outputDecoder) {
        outputDecoder->disconnect(this);
        outputDecoder->wait();
        delete outputDecoder;
        outputDecoder = nullptr;
    }
}

void PreviewDialog::setImageFile(const QString &path)
{
    loadFile(path);
}

void PreviewDialog::updateImage(const QString &path)
{
    qDebug().noquote() << "updateImage: " + path;
    loadFile(path);
}

void PreviewDialog::loadFile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return;
    setWindowTitle(tr("Preview - %1").arg(QFileInfo(path).fileName()));
    filePath = path;

    auto *worker = new LoadFullPreviewImageThread(snapshotSettings());
    worker->filePath = path;
    worker->displaySize = pictureArea();
    connect(worker, &LoadFullPreviewImageThread::previewImageReady, this,
            &PreviewDialog::handleFullPreviewImageReady, Qt::QueuedConnection);
    fullPreviewThread = worker;
    workers.append(worker);
    worker->start();
}

void PreviewDialog::handleFullPreviewImageReady(const QImage &image, const QImage &fitted)
{
    auto *worker = qobject_cast<LoadFullPreviewImageThread *>(sender());
    bool latest = true;
    if (worker) {
        latest = worker == fullPreviewThread;
        workers.removeOne(worker);
        // The worker has emitted its last signal; let run() return before release.
        worker->wait();
        worker->deleteLater();
        if (latest)
            fullPreviewThread = nullptr;
    }
    // A file asked for earlier must not replace the one asked for last.
    if (!latest)
        return;

    fullImage = image;
    fittedImage = fitted;
    fittedArea = worker && !fitted.isNull() ? worker->displaySize : QSize();
    imageLoaded = true;
    fitImage();
    showOriginalToCompare();
}

QSize PreviewDialog::pictureArea() const
{
    const QSize area = ui->scrollArea->size() - QSize(16, 4);
    return QSize(qMax(0, area.width()), qMax(0, area.height()));
}

void PreviewDialog::fitImage()
{
    ui->sizeInfoLabel->setText(QString::number(fullImage.width()) + "x" + QString::number(fullImage.height()));

    const QSize area = pictureArea();
    ui->scrollAreaWidgetContents->setFixedSize(area);
    ui->previewLabel->setFixedSize(area);

    // The worker's fitting serves while the area is the one it was made for;
    // a new one costs what the area holds (nearest pixel), not what the picture does.
    if (fittedArea != area) {
        fittedImage = fittedPreview(fullImage, area);
        fittedArea = area;
    }
    displayedPixmap = QPixmap::fromImage(fittedImage);
    showZoom();
}

void PreviewDialog::showZoom()
{
    ui->percentResizeLabel->setText(zoomPercentText(displayedPixmap.width(), fullImage.width()));
    ui->previewLabel->setPixmap(displayedPixmap);
}

void PreviewDialog::onNeedToResizeImage(int step)
{
    if (fullImage.isNull())
        return;
    const int newWidth = zoomStepWidth(displayedPixmap.width(), step, fullImage.width(), primaryScreenWidthPixels());
    if (newWidth < 0)
        return;
    // Always from the full picture, so repeated steps do not add blur.
    if (step != 0)
        displayedPixmap = QPixmap::fromImage(fullImage.scaledToWidth(newWidth, Qt::FastTransformation));
    showZoom();

    const QSize area = pictureArea();
    const QSize size(qMax(displayedPixmap.width(), area.width()), qMax(displayedPixmap.height(), area.height()));
    ui->scrollAreaWidgetContents->setFixedSize(size);
    ui->previewLabel->setFixedSize(size);
}

void PreviewDialog::onStartDragImage(QPoint point)
{
    dragging = true;
    lastDragPos = point;
}

void PreviewDialog::onEndDragImage()
{
    dragging = false;
}

void PreviewDialog::onMouseMove(QPoint globalPoint, QPoint)
{
    if (!dragging)
        return;
    QScrollBar *horizontal = ui->scrollArea->horizontalScrollBar();
    QScrollBar *vertical = ui->scrollArea->verticalScrollBar();
    horizontal->setValue(horizontal->value() + lastDragPos.x() - globalPoint.x());
    vertical->setValue(vertical->value() + lastDragPos.y() - globalPoint.y());
    lastDragPos = globalPoint;
}

void PreviewDialog::updateTimer()
{
    if (imageLoaded)
        fitImage();
    resizeTimer.stop();
}

void PreviewDialog::showEvent(QShowEvent *event)
{
    *shown = true;
    QDialog::showEvent(event);
}

void PreviewDialog::resizeEvent(QResizeEvent *event)
{
    resizeTimer.start(10);
    QDialog::resizeEvent(event);
}

void PreviewDialog::done(int result)
{
    *shown = false;
    emit previewDialogClosed();
    QDialog::done(result);
}
