#include "convertimagefullpreviewlabel.h"

#include <QMouseEvent>
#include <QWheelEvent>

#include "previewgeometry.h"

ConvertImageFullPreviewLabel::ConvertImageFullPreviewLabel(QWidget *parent) : QLabel(parent) {}

void ConvertImageFullPreviewLabel::mousePressEvent(QMouseEvent *event)
{
    emit startDragImage(event->globalPosition().toPoint());
    event->accept();
}

void ConvertImageFullPreviewLabel::mouseReleaseEvent(QMouseEvent *event)
{
    emit endDragImage();
    event->accept();
}

void ConvertImageFullPreviewLabel::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(event->globalPosition().toPoint(), event->position().toPoint());
    event->accept();
}

void ConvertImageFullPreviewLabel::wheelEvent(QWheelEvent *event)
{
    const int step = wheelZoomStep(event->angleDelta());
    if (step != 0)
        emit needToResizeImage(step);
    // Not passed on: the wheel zooms, it never scrolls the area.
    event->accept();
}

void ConvertImageFullPreviewLabel::leaveEvent(QEvent *event)
{
    emit mouseLeave();
    QLabel::leaveEvent(event);
}
