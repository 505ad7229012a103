#pragma once

#include <QImage>
#include <QPixmap>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <memory>

class QThread;

// The original and the converted output of one picture side by side on one
// canvas: the original left of a divider, the output right of it, both at
// the same zoom and pan. The divider is dragged with the mouse or moved with
// the arrow keys; elsewhere a drag pans. Each side's size and format sit in
// its top corner.
class CompareView : public QWidget
{
    Q_OBJECT

public:
    // 0: fitted into the view; otherwise the zoom in percent.
    enum Zoom { Fit = 0, Actual = 100, Double = 200 };

    explicit CompareView(QWidget *parent = nullptr);
    // Waits for a fitting still being made.
    ~CompareView() override;

    // caption: "JPG, 3.2 MB". The output is drawn over the original's area:
    // one written smaller comes enlarged to the original's size.
    void setOriginal(const QImage &image, const QString &caption);
    void setOutput(const QImage &image, const QString &caption);
    // Shown in the output's corner while it is made or when it cannot be.
    void setOutputMessage(const QString &message);
    void setZoom(int zoom);
    // The divider's place as a share of the width, 0 to 1.
    void setDivider(double share);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    double scale() const;
    // Where the picture lies on the view.
    QRectF pictureRect() const;
    int dividerX() const;
    void panBy(QPointF delta);
    void placeSides();
    void drawCaption(QPainter &painter, const QString &caption, bool right);
    // Starts making both sides at the fitted size off the GUI thread, unless
    // they are made or being made.
    void fitSides(const QSize &size);
    void sidesFitted();
    // A side changed: fittings of the old sides are of no use.
    void sidesChanged();

    // The full pictures stay images: a frame draws only their part in view.
    QImage original;
    QImage output;
    // Both sides smoothly scaled once to the fitted size, so that a frame
    // only copies; until they are ready the full pictures are drawn unsmoothed.
    QPixmap fittedOriginal;
    QPixmap fittedOutput;
    QSize fittedSize;
    int sidesVersion = 0;
    QThread *fitter = nullptr;
    struct Fitting
    {
        QSize size;
        int sidesVersion = 0;
        QImage original;
        QImage output;
    };
    std::shared_ptr<Fitting> fitting;
    QString originalCaption;
    QString outputCaption;
    int zoomPercent = Fit;
    double split = 0.5;
    // The picture's point shown at the view's centre, in picture pixels.
    QPointF centre;
    enum class Drag { None, Divider, Pan } drag = Drag::None;
    QPointF lastMouse;
    // Named parts for screen readers, one over each side.
    QWidget *originalSide;
    QWidget *outputSide;
};
