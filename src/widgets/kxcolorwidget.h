#pragma once

#include <QColor>
#include <QWidget>

// A flat colour swatch in a one-pixel red frame. A left click opens a colour
// dialog; an accepted colour is reported and then shown.
class KXColorWidget : public QWidget
{
    Q_OBJECT

public:
    explicit KXColorWidget(QWidget *parent = nullptr);
    ~KXColorWidget() override;

    QColor color = Qt::white;

signals:
    void colorUpdated(QColor color);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
