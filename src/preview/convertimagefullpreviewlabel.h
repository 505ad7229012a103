#pragma once

#include <QLabel>
#include <QPoint>

// The picture of the full preview dialog. It turns the mouse into zoom and
// pan requests; the dialog does the work.
class ConvertImageFullPreviewLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ConvertImageFullPreviewLabel(QWidget *parent = nullptr);

signals:
    void needToResizeImage(int step);
    void startDragImage(QPoint starPos);
    void endDragImage();
    void mouseMove(QPoint globalPoint, QPoint localPoint);
    void mouseLeave();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void leaveEvent(QEvent *event) override;
};
