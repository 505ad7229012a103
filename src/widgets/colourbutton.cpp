#include "colourbutton.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

ColourButton::ColourButton(QWidget *parent) : QPushButton(parent)
{
    connect(this, &QPushButton::clicked, this, &ColourButton::choose);
    setColour(Qt::white);
}

void ColourButton::setColour(const QColor &colour)
{
    const bool changed = colour != current;
    current = colour;
    const int side = fontMetrics().height();
    QPixmap swatch(side, side);
    swatch.fill(colour);
    QPainter painter(&swatch);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(0, 0, side - 1, side - 1);
    painter.end();
    setIcon(swatch);
    setIconSize(swatch.size());
    setText(colour.name());
    if (changed)
        emit colourChanged(colour);
}

void ColourButton::choose()
{
    const QColor chosen = QColorDialog::getColor(current, this);
    // A cancelled dialog gives an invalid colour.
    if (chosen.isValid())
        setColour(chosen);
}
