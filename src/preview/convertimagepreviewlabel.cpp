#include "convertimagepreviewlabel.h"

#include <QMouseEvent>
#include <QPainter>

#include "previewgeometry.h"

ConvertImagePreviewLabel::ConvertImagePreviewLabel(QWidget *parent)
    : QLabel(parent), fitIcon(QStringLiteral(":/resources/images/FitToSize24.png"))
{
}

void ConvertImagePreviewLabel::setPreviewPixmap(const QPixmap &pixmap)
{
    if (!pixmap.isNull()) {
        setPixmap(pixmap);
        hasImage = true;
    } else {
        hasImage = false;
    }
    repaint();
}

void ConvertImagePreviewLabel::setText(const QString &text)
{
    QLabel::setText(text);
    hasImage = false;
}

void ConvertImagePreviewLabel::setPageCount(int count)
{
    if (count == pageCount)
        return;
    pageCount = count;
    update();
}

void ConvertImagePreviewLabel::mousePressEvent(QMouseEvent *event)
{
    // The icon answers a single click, whether or not a picture is shown.
    if (fitIconHit(event->position().toPoint(), width()))
        emit mouseDoubleClick();
    QLabel::mousePressEvent(event);
}

void ConvertImagePreviewLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    emit mouseDoubleClick();
    QLabel::mouseDoubleClickEvent(event);
}

void ConvertImagePreviewLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasImage)
        return;
    QPainter painter(this);
    painter.drawPixmap(width() - 34, 10, 24, 24, fitIcon);
    if (pageCount > 1) {
        // The first page is shown; the caption tells there are more.
        const QString caption = tr("1 of %1").arg(pageCount);
        const QRect box = painter.fontMetrics().boundingRect(caption).adjusted(-6, -3, 6, 3);
        const QRect at(QPoint(10, height() - 10 - box.height()), box.size());
        painter.fillRect(at, QColor(0, 0, 0, 160));
        painter.setPen(Qt::white);
        painter.drawText(at, Qt::AlignCenter, caption);
    }
}
