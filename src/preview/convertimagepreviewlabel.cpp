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
}
