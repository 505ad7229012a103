#include "imagemagickutil.h"
#include "pipelinerules.h"

#include <QDebug>
#include <QFileInfo>
#include <QPainter>

#include <qrcodegen/qrcodegen.hpp>

#include <exception>
#include <optional>

namespace {

void drawTextWatermark(QPainter &painter, const QSize &canvas, const ConversionSettings &settings)
{
    painter.setPen(QPen(settings.textColor));
    QFont font = settings.textFont;
    // A size of 0 is refused by the font and leaves its own size in place.
    if (settings.textSize > 0)
        font.setPointSize(settings.textSize);
    font.setWeight(QFont::Bold);
    painter.setFont(font);
    painter.setOpacity(settings.textOpacity / 100.0f);
    const int m = settings.textMargin;
    const QRect layout(m, m, canvas.width() - 2 * m, canvas.height() - 2 * m);
    painter.drawText(layout, int(watermarkAlignment(settings.textPosition)), settings.textContent);
}

void drawPictureWatermark(QPainter &painter, const QSize &canvas, const ConversionSettings &settings)
{
    QImage picture(settings.imagePath);
    if (picture.isNull())
        return;
    const float s = settings.imageSize / 100.0f;
    const QSize size(int(picture.width() * s), int(picture.height() * s));
    if (size.isEmpty())
        return;
    picture = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QRect box = watermarkRect(settings.imagePosition, size, canvas, settings.imageMargin);
    if (box.isEmpty())
        return;
    painter.setOpacity(settings.imageOpacity / 100.0f);
    painter.drawImage(box.topLeft(), picture);
}

} // namespace

void ImageMagickUtil::drawWatermarks(QImage &canvas, const ConversionSettings &settings)
{
    QPainter painter;
    if (canvas.isNull() || !painter.begin(&canvas))
        return;
    const QSize size = canvas.size();

    if (!settings.textContent.isEmpty())
        drawTextWatermark(painter, size, settings);

    // Only a regular file: opening a named pipe or a device could block for good.
    if (!settings.imagePath.isEmpty() && QFileInfo(settings.imagePath).isFile())
        drawPictureWatermark(painter, size, settings);

    if (!settings.qrCodeText.isEmpty()) {
        const QImage code = makeQrCodeImage(settings.qrCodeText, settings.qrCodeSize);
        const QRect box = watermarkRect(settings.qrCodePosition, code.size(), size, settings.qrCodeMargin);
        if (!code.isNull() && !box.isEmpty()) {
            // The code stays readable whatever the other watermarks' opacity.
            painter.setOpacity(1.0);
            painter.drawImage(box.topLeft(), code);
        }
    }
    painter.end();
}

QImage ImageMagickUtil::makeQrCodeImage(const QString &text, int size)
{
    if (size <= 0)
        return QImage();

    const QByteArray bytes = text.toUtf8();
    std::optional<qrcodegen::QrCode> code;
    try {
        code = qrcodegen::QrCode::encodeText(bytes.constData(), qrcodegen::QrCode::Ecc::LOW);
    } catch (const std::exception &error) {
        // Longer than the largest symbol holds: there is no QR watermark.
        qDebug().noquote() << "ImageMagickUtil::makeQrCodeImage: " + QString::fromUtf8(error.what());
        return QImage();
    }

    // RGB32 is what an opaque raster pixmap holds; as an image it can be
    // painted on the worker thread.
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int n = code->getSize() > 0 ? code->getSize() : 1;
    // One module of quiet border on every side.
    const double u = double(size) / (n + 2);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            if (code->getModule(x, y))
                painter.drawRect(QRectF((x + 1) * u, (y + 1) * u, u, u));
        }
    }
    painter.end();
    return image;
}
