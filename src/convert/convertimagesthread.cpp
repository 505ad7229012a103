#include "convertimagesthread.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "imagemagickutil.h"
#include "imagewriters.h"
#include "pdflayout.h"
#include "targetformats.h"

ConvertImagesThread::ConvertImagesThread(const ConversionSettings &settings, QObject *parent)
    : QThread(parent), settings(settings)
{
}

void ConvertImagesThread::run()
{
    // A stop that came before the pass began still ends it with a signal, so
    // whoever waits for the end is never left waiting.
    if (stopRequested) {
        emit threadTerminated();
        return;
    }

    QImageReader::setAllocationLimit(256);
    fileExistsList.clear();
    fileSourceList.clear();

    const bool isPdf = targetExtension.compare(QLatin1String(".pdf"), Qt::CaseInsensitive) == 0;
    // The pipeline picks its scaling mode from this flag; later previews see it too.
    settings.outputIsPdf = isPdf;
    setOutputIsPdf(isPdf);
    if (isPdf)
        runPdfPass();
    else
        runImagePass();

    if (stopRequested)
        emit threadTerminated();
    else
        emit threadCompleted(fileExistsList, fileSourceList);
}

void ConvertImagesThread::runImagePass()
{
    if (!_urls.isEmpty())
        setLastOutputLocation(QDir::toNativeSeparators(QFileInfo(settings.outputFolder).absoluteFilePath()));

    for (const QString &source : std::as_const(_urls)) {
        if (stopRequested)
            return;
        emit updateFileName(source);

        const QString target = targetPathFor(source, outputPath, targetExtension);
        const QFileInfo targetInfo(target);
        // A folder (or a dangling link) of that name counts as an existing target.
        if (!overwriteExisting && (targetInfo.exists() || targetInfo.isSymLink())) {
            fileExistsList.append(target);
            fileSourceList.append(source);
            continue;
        }

        const QImage image = ImageMagickUtil().processImage(source, false, settings);
        if (image.isNull()) {
            emit fileFailed(source, tr("The image could not be read."));
            continue;
        }
        QString error;
        const bool written = isGifTargetPath(target)
                                 ? writeGif(image, target, &error)
                                 : writeImageFile(image, target, writeOptionsFor(settings, targetExtension), &error);
        if (!written)
            emit fileFailed(source, error.isEmpty() ? tr("Cannot write %1").arg(target) : error);
    }
}

void ConvertImagesThread::failAll(const QString &reason)
{
    for (const QString &source : std::as_const(_urls))
        emit fileFailed(source, reason);
}

void ConvertImagesThread::runPdfPass()
{
    const QString pdfPath = pdfTargetPath(settings.outputFolder, settings.pdfFileName);
    setLastOutputLocation(QDir::toNativeSeparators(pdfPath));

    // The document replaces an existing one only once it is complete.
    QSaveFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly)) {
        failAll(tr("Cannot write %1: %2").arg(pdfPath, file.errorString()));
        return;
    }

    QPdfWriter writer(&file);
    writer.setPageSize(pageSizeForIndex(settings.pdfPaperSize));
    writer.setPdfVersion(QPagedPaintDevice::PdfVersion_1_6);
    writer.setResolution(resolutionForIndex(settings.pdfQuality));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    writer.setPageOrientation(settings.pdfPaperOrientation != OrientationPortrait ? QPageLayout::Landscape
                                                                                  : QPageLayout::Portrait);

    const int margin = pdfMarginPixels(settings.pdfPaperMargin != NoMargin, settings.pdfPaperMarginSize,
                                       QSize(writer.width(), writer.height()));
    const double availableWidth = double(writer.width()) - 2.0 * margin;
    const double availableHeight = double(writer.height()) - 2.0 * margin;
    const Qt::TransformationMode mode = settings.pdfSmoothEdges ? Qt::SmoothTransformation : Qt::FastTransformation;

    QPainter painter;
    if (!painter.begin(&writer)) {
        file.cancelWriting();
        failAll(tr("Cannot write %1").arg(pdfPath));
        return;
    }

    for (qsizetype i = 0; i < _urls.size(); ++i) {
        if (stopRequested)
            break;
        const QString &source = _urls.at(i);
        qDebug().noquote() << "_urls:" << source;
        emit updateFileName(source);

        const QImage image = ImageMagickUtil().processImage(source, false, settings);
        if (image.isNull()) {
            // The page stays empty but is kept, so pages still match the list.
            emit fileFailed(source, tr("The image could not be read."));
        } else {
            const QSize size = pdfFitSize(image.size(), availableWidth, availableHeight, settings.resizeImageToPaper);
            if (!size.isEmpty()) {
                if (size == image.size())
                    painter.drawImage(QPoint(margin, margin), image);
                else
                    painter.drawImage(QPoint(margin, margin), image.scaled(size, Qt::IgnoreAspectRatio, mode));
            }
        }
        // The next page is begun before the stop flag is looked at again.
        if (i < _urls.size() - 1)
            writer.newPage();
    }

    // A stopped pass still finishes the document with the pages drawn so far.
    painter.end();
    if (!file.commit())
        failAll(tr("Cannot write %1: %2").arg(pdfPath, file.errorString()));
}
