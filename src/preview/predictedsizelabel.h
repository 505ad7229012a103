#pragma once

#include <QLabel>
#include <QString>
#include <QTimer>

#include "outputprediction.h"

// The line under the inline preview: the selected file's output at the
// current settings ("≈ 245 KB (−83 %), 1600 × 1067, WEBP q75"), predicted in
// the background a moment after the file or a setting changes.
class PredictedSizeLabel : public QLabel
{
    Q_OBJECT

public:
    explicit PredictedSizeLabel(QWidget *parent = nullptr);

    // The file the preview follows (empty: none); refresh when a setting the
    // pipeline uses changed.
    void follow(const QString &path, bool refresh);
    // A setting changed: the prediction is made again.
    void settingsChanged();
    // Nothing is previewed: the line empties and work in hand is dropped.
    void clear();
    OutputPredictor *predictor() { return &work; }

private:
    void predict();
    void showPrediction(const PredictedOutput &output);
    void showBusy(bool busy);

    OutputPredictor work;
    QTimer settle;
    QString path;
    QString shown;
};
