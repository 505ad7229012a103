#include "compareview.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>

#include <utility>

#include "outputprediction.h"

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

CompareView::~CompareView()
{
    if (fitter) {
        fitter->wait();
        delete fitter;
    }
}

void CompareView::setOriginal(const QImage &image, const QString &caption)
{
    const bool newSize = image.size() != original.size();
    original = image;
    sidesChanged();
    originalCaption = caption;
    if (newSize)
        centre = QPointF(image.width() / 2.0, image.height() / 2.0);
    originalSide->setAccessibleName(tr("Original: %1").arg(caption));
    update();
}

void CompareView::setOutput(const QImage &image, const QString &caption)
{
    output = image;
    sidesChanged();
    outputCaption = caption;
    outputSide->setAccessibleName(tr("Output: %1").arg(caption));
    update();
}

void CompareView::setOutputMessage(const QString &message)
{
    output = QImage();
    sidesChanged();
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

void CompareView::sidesChanged()
{
    ++sidesVersion;
    fittedOriginal = fittedOutput = QPixmap();
    fittedSize = QSize();
}

void CompareView::fitSides(const QSize &size)
{
    // Smoothing a large picture takes many frames' time: one fitting at a
    // time, made by a thread of its own; a newer size or side starts its own
    // once the running one has reported.
    if (size == fittedSize || fitter || size.isEmpty() || original.isNull())
        return;
    fittedSize = size;
    fitting = std::make_shared<Fitting>(Fitting{size, sidesVersion, original, output});
    fitter = QThread::create([job = fitting] {
        yieldToTheWindow();
        const auto fitted = [&job](const QImage &side) {
            return side.isNull() ? side : side.scaled(job->size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        };
        job->original = fitted(job->original);
        job->output = fitted(job->output);
    });
    connect(fitter, &QThread::finished, this, &CompareView::sidesFitted, Qt::QueuedConnection);
    fitter->start();
}

void CompareView::sidesFitted()
{
    fitter->wait();
    delete fitter;
    fitter = nullptr;
    const std::shared_ptr<Fitting> done = std::exchange(fitting, nullptr);
    if (done->sidesVersion == sidesVersion && done->size == fittedSize) {
        fittedOriginal = QPixmap::fromImage(done->original);
        fittedOutput = QPixmap::fromImage(done->output);
    } else {
        fittedSize = QSize(); // the next frame asks again
    }
    update();
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
    const bool fitted = fit && !fittedOriginal.isNull() && fittedOriginal.size() == area.size().toSize();
    const auto drawSide = [&](const QImage &full, const QPixmap &fittedSide, const QRect &clip) {
        if (full.isNull())
            return;
        painter.save();
        painter.setClipRect(clip);
        // Only the part in view is drawn, so a large picture pans smoothly;
        // zoomed in, every pixel shows as it is.
        const QRectF visible = area.intersected(QRectF(clip));
        const double s = fitted ? 1 : scale();
        const QRectF from((visible.left() - area.left()) / s, (visible.top() - area.top()) / s,
                          visible.width() / s, visible.height() / s);
        if (fitted)
            painter.drawPixmap(visible, fittedSide, from);
        else
            painter.drawImage(visible, full, from);
        painter.restore();
    };
    drawSide(original, fittedOriginal, QRect(0, 0, x, height()));
    drawSide(output, fittedOutput, QRect(x, 0, width() - x, height()));

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
