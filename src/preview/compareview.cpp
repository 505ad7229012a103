#include "compareview.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

// How near the divider a press takes hold of it, in pixels.
constexpr int dividerGrip = 6;

} // namespace

CompareView::CompareView(QWidget *parent)
    : QWidget(parent), originalSide(new QWidget(this)), outputSide(new QWidget(this))
{
    setObjectName(QStringLiteral("compareView"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(200, 150);
    setAccessibleName(tr("Compare the original with the output"));
    setAccessibleDescription(tr("Left and Right move the divider"));
    for (QWidget *side : {originalSide, outputSide})
        side->setAttribute(Qt::WA_TransparentForMouseEvents);
    originalSide->setObjectName(QStringLiteral("compareOriginalSide"));
    outputSide->setObjectName(QStringLiteral("compareOutputSide"));
    setOriginal({}, {});
    setOutputMessage({});
}

void CompareView::setOriginal(const QImage &image, const QString &caption)
{
    const bool newSize = image.size() != original.size();
    original = QPixmap::fromImage(image);
    fittedOriginal = QPixmap();
    originalCaption = caption;
    if (newSize)
        centre = QPointF(image.width() / 2.0, image.height() / 2.0);
    originalSide->setAccessibleName(tr("Original: %1").arg(caption));
    update();
}

void CompareView::setOutput(const QImage &image, const QString &caption)
{
    output = QPixmap::fromImage(image);
    fittedOutput = QPixmap();
    outputCaption = caption;
    outputSide->setAccessibleName(tr("Output: %1").arg(caption));
    update();
}

void CompareView::setOutputMessage(const QString &message)
{
    output = QPixmap();
    fittedOutput = QPixmap();
    outputCaption = message;
    outputSide->setAccessibleName(tr("Output: %1").arg(message));
    update();
}

void CompareView::setZoom(int zoom)
{
    zoomPercent = zoom;
    update();
}

void CompareView::setDivider(double share)
{
    split = qBound(0.0, share, 1.0);
    placeSides();
    update();
}

double CompareView::scale() const
{
    if (original.isNull())
        return 1;
    if (zoomPercent != Fit)
        return zoomPercent / 100.0 / devicePixelRatioF();
    return qMin(double(width()) / original.width(), double(height()) / original.height());
}

QRectF CompareView::pictureRect() const
{
    const double s = scale();
    const QSizeF size(original.width() * s, original.height() * s);
    if (zoomPercent == Fit)
        return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    return QRectF(QPointF(width() / 2.0 - centre.x() * s, height() / 2.0 - centre.y() * s), size);
}

int CompareView::dividerX() const
{
    return qRound(split * width());
}

void CompareView::panBy(QPointF delta)
{
    const double s = scale();
    centre -= delta / s;
    centre.setX(qBound(0.0, centre.x(), double(original.width())));
    centre.setY(qBound(0.0, centre.y(), double(original.height())));
    update();
}

void CompareView::placeSides()
{
    const int x = dividerX();
    originalSide->setGeometry(0, 0, x, height());
    outputSide->setGeometry(x, 0, width() - x, height());
}

void CompareView::drawCaption(QPainter &painter, const QString &caption, bool right)
{
    if (caption.isEmpty())
        return;
    const QFontMetrics metrics = painter.fontMetrics();
    const QSize size = metrics.size(0, caption) + QSize(12, 6);
    const QRect box(right ? width() - size.width() - 6 : 6, 6, size.width(), size.height());
    painter.fillRect(box, QColor(0, 0, 0, 160));
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, caption);
}

void CompareView::fitSides(const QSize &size)
{
    const auto fitted = [&](const QPixmap &from, QPixmap *to) {
        if (!from.isNull() && to->size() != size)
            *to = from.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    fitted(original, &fittedOriginal);
    fitted(output, &fittedOutput);
}

void CompareView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().dark());
    const QRectF area = pictureRect();
    const int x = dividerX();
    const bool fit = zoomPercent == Fit;
    if (fit)
        fitSides(area.size().toSize());
    const auto drawSide = [&](const QPixmap &pixmap, const QRect &clip) {
        if (pixmap.isNull())
            return;
        painter.save();
        painter.setClipRect(clip);
        // Only the part in view is drawn, so a large picture pans smoothly;
        // zoomed in, every pixel shows as it is.
        const QRectF visible = area.intersected(QRectF(clip));
        const double s = fit ? 1 : scale();
        const QRectF from((visible.left() - area.left()) / s, (visible.top() - area.top()) / s,
                          visible.width() / s, visible.height() / s);
        painter.drawPixmap(visible, pixmap, from);
        painter.restore();
    };
    drawSide(fit ? fittedOriginal : original, QRect(0, 0, x, height()));
    drawSide(fit ? fittedOutput : output, QRect(x, 0, width() - x, height()));

    painter.setPen(QPen(Qt::white, 2));
    painter.drawLine(x, 0, x, height());
    const QRect handle(x - 5, height() / 2 - 20, 10, 40);
    painter.fillRect(handle, hasFocus() ? palette().highlight() : QBrush(Qt::white));
    drawCaption(painter, originalCaption, false);
    drawCaption(painter, outputCaption, true);
}

void CompareView::resizeEvent(QResizeEvent *event)
{
    placeSides();
    QWidget::resizeEvent(event);
}

void CompareView::keyPressEvent(QKeyEvent *event)
{
    const double step = event->modifiers() & Qt::ShiftModifier ? 0.1 : 0.02;
    if (event->key() == Qt::Key_Left)
        setDivider(split - step);
    else if (event->key() == Qt::Key_Right)
        setDivider(split + step);
    else if (event->key() == Qt::Key_Home)
        setDivider(0);
    else if (event->key() == Qt::Key_End)
        setDivider(1);
    else
        QWidget::keyPressEvent(event);
}

void CompareView::mousePressEvent(QMouseEvent *event)
{
    lastMouse = event->position();
    drag = qAbs(event->position().x() - dividerX()) <= dividerGrip ? Drag::Divider : Drag::Pan;
    event->accept();
}

void CompareView::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF at = event->position();
    if (drag == Drag::Divider)
        setDivider(at.x() / qMax(1, width()));
    else if (drag == Drag::Pan && zoomPercent != Fit)
        panBy(at - lastMouse);
    else if (drag == Drag::None)
        setCursor(qAbs(at.x() - dividerX()) <= dividerGrip ? Qt::SplitHCursor : Qt::ArrowCursor);
    lastMouse = at;
}

void CompareView::mouseReleaseEvent(QMouseEvent *event)
{
    drag = Drag::None;
    event->accept();
}
