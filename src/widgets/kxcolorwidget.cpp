#include "kxcolorwidget.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>

KXColorWidget::KXColorWidget(QWidget *parent) : QWidget(parent) {}

KXColorWidget::~KXColorWidget() = default;

void KXColorWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    QColorDialog dialog;
    dialog.setCurrentColor(color);
    connect(&dialog, &QColorDialog::colorSelected, this, [this](const QColor &selected) {
        emit colorUpdated(selected);
        color = selected;
        update();
    });
    dialog.exec();
}

void KXColorWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setPen(Qt::red);
    painter.fillRect(event->rect(), color);
    painter.drawRect(0, 0, width() - 1, height() - 1);
    QWidget::paintEvent(event);
}
