#include "predictedsizelabel.h"

namespace {

// Long enough for a slider's steps to end in one request.
constexpr int settleMs = 150;

} // namespace

PredictedSizeLabel::PredictedSizeLabel(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("predictedSizeLabel"));
    setAlignment(Qt::AlignCenter);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Named even while it is empty; the prediction is its description.
    setAccessibleName(tr("Predicted output"));
    setToolTip(tr("The selected file's output at the current settings, made by the same writer as a conversion"));
    settle.setSingleShot(true);
    settle.setInterval(settleMs);
    connect(&settle, &QTimer::timeout, this, &PredictedSizeLabel::predict);
    connect(&work, &OutputPredictor::predicted, this, &PredictedSizeLabel::showPrediction);
    connect(&work, &OutputPredictor::busyChanged, this, &PredictedSizeLabel::showBusy);
}

void PredictedSizeLabel::follow(const QString &file, bool refresh)
{
    if (refresh)
        forgetPredictionPictures();
    if (file != path) {
        shown.clear();
        QLabel::setText(QString());
    }
    path = file;
    settingsChanged();
}

void PredictedSizeLabel::settingsChanged()
{
    if (!path.isEmpty())
        settle.start();
}

void PredictedSizeLabel::clear()
{
    settle.stop();
    work.cancel();
    path.clear();
    shown.clear();
    QLabel::setText(QString());
}

void PredictedSizeLabel::predict()
{
    if (path.isEmpty())
        return;
    work.request({path, snapshotSettings(), predictionPictureGeneration()});
}

void PredictedSizeLabel::showPrediction(const PredictedOutput &output)
{
    if (output.source != path)
        return;
    shown = predictionText(output);
    showBusy(work.isBusy());
}

void PredictedSizeLabel::showBusy(bool busy)
{
    // The last answer stays readable while the next one is made.
    if (!busy)
        QLabel::setText(shown);
    else
        QLabel::setText(shown.isEmpty() ? tr("Predicting the size\u2026") : shown + QStringLiteral(" \u2026"));
    setAccessibleDescription(shown);
}
