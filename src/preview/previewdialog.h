#pragma once

#include <QDialog>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QTimer>

#include <memory>
#include <optional>

#include "outputprediction.h"

class LoadFullPreviewImageThread;

namespace Ui {
class PreviewDialog;
}

// The full-size preview: the selected file processed at full quality, fitted
// into the window, zoomed with the wheel and panned by dragging. Hidden, not
// destroyed, when closed; the form reuses it.
class PreviewDialog : public QDialog
{
    Q_OBJECT

public:
    // shownFlag: the form's flag that says whether the dialog is open; the
    // dialog keeps it up to date.
    PreviewDialog(QWidget *parent, bool *shownFlag);
    ~PreviewDialog() override;

    void setImageFile(const QString &path);
    void updateImage(const QString &path);

    // Stops every running worker and waits for it; nothing is delivered afterwards.
    void shutdownWorkers();

    // Where the compare mode takes the output from: the predictor that
    // follows the previewed file (the form's).
    void setPredictor(OutputPredictor *predictor);
    // The compare mode: the original beside the output, decoded again.
    void setCompareMode(bool on);

    // Every way of hiding the dialog (close button, Escape) ends here.
    void done(int result) override;

signals:
    void previewDialogClosed();

public slots:
    void onNeedToResizeImage(int step);
    void onStartDragImage(QPoint point);
    void onEndDragImage();
    void onMouseMove(QPoint globalPoint, QPoint localPoint);
    void updateTimer();
    // fitted: the picture as fitted into the area the request was made for.
    void handleFullPreviewImageReady(const QImage &image, const QImage &fitted);

public:
    // True while a refit after a resize is still due.
    bool refitPending() const { return resizeTimer.isActive(); }

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void loadFile(const QString &path);
    void fitImage();
    void showZoom();
    QSize pictureArea() const;
    void showOriginalToCompare();
    void compareWithOutput(const PredictedOutput &output);
    void setCompareZoom(int zoom);
    void outputDecoded();

    Ui::PreviewDialog *ui;
    // The full picture stays an image: only what is shown, at most the
    // size of the screen, becomes a pixmap.
    QImage fullImage;
    QImage fittedImage;
    QSize fittedArea; // the area fittedImage was made for
    QPixmap displayedPixmap;
    QTimer resizeTimer;
    bool dragging = false;
    QPoint lastDragPos;
    LoadFullPreviewImageThread *fullPreviewThread = nullptr;
    // Every worker not yet reported, the latest one included.
    QList<LoadFullPreviewImageThread *> workers;
    // False until the first picture (or failure) arrives; until then the
    // dialog keeps its loading text.
    bool imageLoaded = false;
    bool *shown;
    QString filePath;
    OutputPredictor *predictor = nullptr;
    // The output being decoded for the compare mode: one at a time, the
    // newest waiting behind it.
    QThread *outputDecoder = nullptr;
    std::shared_ptr<QImage> decodedOutput;
    QString decodingCaption;
    std::optional<PredictedOutput> waitingOutput;
};
