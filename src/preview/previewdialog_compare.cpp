// The full preview's compare mode: the original beside the output the
// current settings write, decoded again from its bytes.

#include "previewdialog.h"
#include "ui_previewdialog.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include "compareview.h"
#include "imagemagickutil.h"
#include "loadfullpreviewimagethread.h"

namespace {

// The output's bytes read back as any file of its type would be, at the
// original's size: a picture the size search shrank is enlarged back, so
// that both sides of the compare view show the same part. Displayable, so
// that the window draws it as it is.
QImage decodeOutput(const QByteArray &bytes, const QString &suffix, const QSize &originalSize, QString *reason)
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("output.") + suffix));
    if (!folder.isValid() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        *reason = file.errorString();
        return {};
    }
    file.close();
    QImage image;
    ImageMagickUtil().loadImage(file.fileName(), image, reason);
    if (!image.isNull() && image.size() != originalSize && !originalSize.isEmpty())
        image = image.scaled(originalSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return displayablePicture(image);
}

} // namespace

void PreviewDialog::setPredictor(OutputPredictor *outputs)
{
    if (predictor == outputs)
        return;
    if (predictor)
        predictor->disconnect(this);
    predictor = outputs;
    ui->compareButton->setVisible(predictor != nullptr);
    if (predictor)
        connect(predictor, &OutputPredictor::predicted, this, &PreviewDialog::compareWithOutput);
}

void PreviewDialog::setCompareMode(bool on)
{
    ui->compareButton->setChecked(on);
    ui->scrollArea->setVisible(!on);
    ui->percentResizeLabel->setVisible(!on);
    ui->compareView->setVisible(on);
    for (QToolButton *button : {ui->fitButton, ui->actualSizeButton, ui->doubleSizeButton})
        button->setVisible(on);
    if (!on) {
        fitImage();
        return;
    }
    ui->compareView->setFocus();
    showOriginalToCompare();
    ui->compareView->setOutputMessage(tr("Making the output\u2026"));
    if (predictor && predictor->latest().source == filePath)
        compareWithOutput(predictor->latest());
}

void PreviewDialog::setCompareZoom(int zoom)
{
    ui->compareView->setZoom(zoom);
    ui->fitButton->setChecked(zoom == CompareView::Fit);
    ui->actualSizeButton->setChecked(zoom == CompareView::Actual);
    ui->doubleSizeButton->setChecked(zoom == CompareView::Double);
}

void PreviewDialog::showOriginalToCompare()
{
    if (!ui->compareView->isVisible())
        return;
    const QFileInfo source(filePath);
    const QString caption = tr("%1, %2, %3 \u00d7 %4")
                                .arg(source.suffix().toUpper(), readableBytes(source.size()))
                                .arg(fullImage.width())
                                .arg(fullImage.height());
    ui->compareView->setOriginal(fullImage, caption);
}

void PreviewDialog::compareWithOutput(const PredictedOutput &output)
{
    if (output.source != filePath || !ui->compareView->isVisible())
        return;
    if (!output.error.isEmpty()) {
        ui->compareView->setOutputMessage(output.error);
        return;
    }
    // One decode at a time; the newest output waits behind the running one.
    if (outputDecoder) {
        waitingOutput = output;
        return;
    }
    decodingCaption = tr("%1, %2").arg(outputFormatText(output), readableBytes(output.bytes.size()));
    decodedOutput = std::make_shared<QImage>();
    outputDecoder = QThread::create(
            [bytes = output.bytes, suffix = output.suffix, size = fullImage.size(), result = decodedOutput] {
                yieldToTheWindow();
                QString reason;
                *result = decodeOutput(bytes, suffix, size, &reason);
            });
    connect(outputDecoder, &QThread::finished, this, &PreviewDialog::outputDecoded, Qt::QueuedConnection);
    outputDecoder->start();
}

void PreviewDialog::outputDecoded()
{
    outputDecoder->deleteLater();
    outputDecoder = nullptr;
    if (decodedOutput->isNull())
        ui->compareView->setOutputMessage(tr("The output cannot be read back"));
    else
        ui->compareView->setOutput(*decodedOutput, decodingCaption);
    decodedOutput.reset();
    if (waitingOutput) {
        const PredictedOutput next = *std::exchange(waitingOutput, std::nullopt);
        compareWithOutput(next);
    }
}
