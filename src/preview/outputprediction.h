#pragma once

#include <QByteArray>
#include <QObject>
#include <QSize>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>

#include "conversionsettings.h"

class QThread;

// One file's output as a run at these settings would write it, asked for
// before the run: the source, the settings snapshot and which processed
// picture may be reused (see forgetPredictionPictures).
struct PredictionRequest
{
    QString source;
    ConversionSettings settings;
    int pictureGeneration = 0;
};

// What the run's writer made of the file: its bytes (a PDF page's share is the
// document of that page alone), the picture's size in them and the quality it
// was encoded at (where a size search landed). error says why there is none.
struct PredictedOutput
{
    QString source;
    QString error;
    QByteArray bytes;
    QString suffix;      // of the file written: "webp"
    QString format;      // the target's label: "WEBP"
    QSize pixels;
    qint64 sourceBytes = 0;
    double quality = -1; // -1: the target has none, or it is lossless
    bool lossless = false;
    bool pdfPage = false;
    bool cancelled = false;
};

// The picture generation the next request carries; forgetPredictionPictures
// starts a new one when a setting the pipeline uses has changed, so that a
// change of quality or format alone reuses the processed picture.
int predictionPictureGeneration();
void forgetPredictionPictures();

// Makes the prediction on the calling thread through the run's own path
// (pipeline, then writeProcessedPicture, or the animation and PDF writers),
// into a temporary folder. Gives up between steps once cancel is set. One
// prediction runs at a time in the process; a picture too large for the
// conversion memory budget is refused with a reason.
PredictedOutput predictOutput(const PredictionRequest &request, const std::atomic_bool &cancel);

// Called first on a preview worker's thread: it, and the threads it starts
// (an encoder's pool), give way to the window's thread, so that the window
// keeps drawing while they work. QThread's priorities do nothing for ordinary
// threads on Linux; a thread's nice value is its own and is inherited.
void yieldToTheWindow();

// "≈ 245 KB (−83 %), 1600 × 1067, WEBP q75", or the reason there is none.
QString predictionText(const PredictedOutput &output);
// "245 KB" or "3.2 MB" (1 KB = 1000 bytes).
QString readableBytes(qint64 bytes);
// "WEBP q75", "WEBP lossless", "PNG".
QString outputFormatText(const PredictedOutput &output);

// Runs predictions off the GUI thread, one at a time: a new request cancels
// the running one and replaces any waiting; only the newest is reported.
class OutputPredictor : public QObject
{
    Q_OBJECT

public:
    explicit OutputPredictor(QObject *parent = nullptr);
    // Cancels and waits for the running prediction.
    ~OutputPredictor() override;

    void request(const PredictionRequest &request);
    // Drops the waiting request and cancels the running one; nothing more is reported.
    void cancel();
    bool isBusy() const { return running != nullptr; }
    // The last prediction reported (empty source before the first).
    const PredictedOutput &latest() const { return last; }

signals:
    void predicted(const PredictedOutput &output);
    void busyChanged(bool busy);

private:
    void start(const PredictionRequest &request);
    void runningFinished();

    QThread *running = nullptr;
    std::shared_ptr<std::atomic_bool> runningCancel;
    std::shared_ptr<PredictedOutput> runningResult;
    std::optional<PredictionRequest> waiting;
    PredictedOutput last;
};
