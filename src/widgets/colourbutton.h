#pragma once

#include <QColor>
#include <QPushButton>

// A button that shows a colour (a swatch and its #rrggbb name) and lets the
// colour dialog change it. Unlike the flat swatch it takes the focus and the
// keyboard like any button.
class ColourButton : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(QColor colour READ colour WRITE setColour NOTIFY colourChanged USER true)

public:
    explicit ColourButton(QWidget *parent = nullptr);

    QColor colour() const { return current; }
    // Shows the colour; a change is signalled, the same colour again is not.
    void setColour(const QColor &colour);

signals:
    void colourChanged(const QColor &colour);

private:
    void choose();

    QColor current = Qt::white;
};
