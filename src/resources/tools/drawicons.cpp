// Draws the program's icons as PNG files into the folder given as the only
// argument (normally src/resources/images). The icons are simple line
// drawings on a 24-unit grid, scaled to their pixel size; every toolbar icon
// comes in a dark (light theme), a white (dark theme) and, where a button can
// be disabled, a grey variant.
//
//   build/src/resources/tools/kx_drawicons src/resources/images
//
// With --app-icon it draws only the program's logo in the desktop's icon
// sizes, as <folder>/<N>x<N>/apps/kestrix-picturist.png (run by the build).

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QTextStream>

#include <functional>

namespace {

const QColor dark(0x33, 0x33, 0x33);
const QColor white(0xff, 0xff, 0xff);
const QColor grey(0xa0, 0xa0, 0xa0);

using Drawing = std::function<void(QPainter &, const QColor &)>;

QPen linePen(const QColor &colour, qreal width = 1.8)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void arrowHead(QPainter &p, QPointF tip, QPointF direction, qreal length = 4.5)
{
    const qreal norm = std::hypot(direction.x(), direction.y());
    const QPointF d = direction / norm;
    const QPointF n(-d.y(), d.x());
    QPolygonF head;
    head << tip << tip - d * length + n * length * 0.75 << tip - d * length - n * length * 0.75;
    p.drawPolyline(QPolygonF() << head[1] << head[0] << head[2]);
}

// A small landscape: a hill line and a sun, inside the given rectangle.
void landscape(QPainter &p, const QRectF &r)
{
    QPainterPath hills;
    hills.moveTo(r.left(), r.bottom() - r.height() * 0.15);
    hills.lineTo(r.left() + r.width() * 0.38, r.top() + r.height() * 0.45);
    hills.lineTo(r.left() + r.width() * 0.62, r.top() + r.height() * 0.72);
    hills.lineTo(r.left() + r.width() * 0.78, r.top() + r.height() * 0.58);
    hills.lineTo(r.right(), r.bottom() - r.height() * 0.25);
    p.drawPath(hills);
    const qreal sun = qMin(r.width(), r.height()) * 0.14;
    p.drawEllipse(QPointF(r.left() + r.width() * 0.72, r.top() + r.height() * 0.28), sun, sun);
}

void drawConvert(QPainter &p, const QColor &c)
{
    p.setPen(linePen(c));
    p.drawRoundedRect(QRectF(2.5, 5.5, 11, 11), 1.5, 1.5);
    landscape(p, QRectF(3.5, 7, 9, 8.5));
    p.drawLine(QPointF(15.5, 11), QPointF(21.5, 11));
    arrowHead(p, QPointF(21.5, 11), QPointF(1, 0), 3.5);
    p.drawLine(QPointF(15.5, 17), QPointF(19.5, 17));
    p.drawLine(QPointF(15.5, 20), QPointF(18, 20));
}

void document(QPainter &p)
{
    QPainterPath page;
    page.moveTo(5, 2.5);
    page.lineTo(14, 2.5);
    page.lineTo(19, 7.5);
    page.lineTo(19, 21.5);
    page.lineTo(5, 21.5);
    page.closeSubpath();
    p.drawPath(page);
    p.drawPolyline(QPolygonF() << QPointF(14, 2.5) << QPointF(14, 7.5) << QPointF(19, 7.5));
}

void drawAddFile(QPainter &p, const QColor &c)
{
    p.setPen(linePen(c));
    document(p);
    p.drawLine(QPointF(12, 10.5), QPointF(12, 18.5));
    p.drawLine(QPointF(8, 14.5), QPointF(16, 14.5));
}

void drawDelete(QPainter &p, const QColor &c)
{
    p.setPen(linePen(c));
    p.drawLine(QPointF(4, 6), QPointF(20, 6));
    p.drawPolyline(QPolygonF() << QPointF(9, 6) << QPointF(9.5, 3) << QPointF(14.5, 3) << QPointF(15, 6));
    QPainterPath can;
    can.moveTo(6, 6);
    can.lineTo(7.2, 21);
    can.lineTo(16.8, 21);
    can.lineTo(18, 6);
    p.drawPath(can);
    p.drawLine(QPointF(10, 9.5), QPointF(10.3, 17.5));
    p.drawLine(QPointF(14, 9.5), QPointF(13.7, 17.5));
}

void drawClear(QPainter &p, const QColor &c)
{
    p.setPen(linePen(c));
    p.drawLine(QPointF(3, 5), QPointF(19, 5));
    p.drawLine(QPointF(3, 10), QPointF(19, 10));
    p.drawLine(QPointF(3, 15), QPointF(10, 15));
    p.drawLine(QPointF(3, 20), QPointF(10, 20));
    p.drawLine(QPointF(13.5, 13.5), QPointF(20.5, 20.5));
    p.drawLine(QPointF(20.5, 13.5), QPointF(13.5, 20.5));
}

void drawArrowUp(QPainter &p, const QColor &c)
{
    p.setPen(linePen(c, 2.0));
    p.drawLine(QPointF(12, 20.5), QPointF(12, 4));
    arrowHead(p, QPointF(12, 3.5), QPointF(0, -1), 7);
}

void drawArrowDown(QPainter &p, const QColor &c)
{
    p.setPen(linePen(c, 2.0));
    p.drawLine(QPointF(12, 3.5), QPointF(12, 20));
    arrowHead(p, QPointF(12, 20.5), QPointF(0, 1), 7);
}

void drawWebsite(QPainter &p, const QColor &c)
{
    p.setPen(linePen(c, 1.6));
    p.drawEllipse(QPointF(12, 12), 9, 9);
    p.drawEllipse(QPointF(12, 12), 4, 9);
    p.drawLine(QPointF(3, 12), QPointF(21, 12));
    p.drawLine(QPointF(4.8, 7), QPointF(19.2, 7));
    p.drawLine(QPointF(4.8, 17), QPointF(19.2, 17));
}

void drawAbout(QPainter &p, const QColor &c)
{
    p.setPen(linePen(c));
    p.drawEllipse(QPointF(12, 12), 9, 9);
    p.setPen(linePen(c, 2.2));
    p.drawLine(QPointF(12, 10.5), QPointF(12, 17));
    p.drawPoint(QPointF(12, 7));
}

void drawReset(QPainter &p, const QColor &c)
{
    p.setPen(linePen(c));
    const QRectF circle(4, 4, 16, 16);
    p.drawArc(circle, 100 * 16, 290 * 16);
    // The arc ends at the top, a little left of centre; the head points along it.
    arrowHead(p, QPointF(10.6, 4.1), QPointF(-1, -0.15), 4);
}

void drawFolder(QPainter &p, const QColor &c)
{
    p.setPen(linePen(c, 1.6));
    QPainterPath folder;
    folder.moveTo(2.5, 5);
    folder.lineTo(9, 5);
    folder.lineTo(11, 7.5);
    folder.lineTo(21.5, 7.5);
    folder.lineTo(21.5, 19.5);
    folder.lineTo(2.5, 19.5);
    folder.closeSubpath();
    p.drawPath(folder);
    p.drawLine(QPointF(2.5, 10.5), QPointF(21.5, 10.5));
}

void drawAddFolder(QPainter &p, const QColor &c)
{
    drawFolder(p, c);
    p.drawLine(QPointF(12, 12), QPointF(12, 18));
    p.drawLine(QPointF(9, 15), QPointF(15, 15));
}

void page(QPainter &p, const QRectF &r, bool withText)
{
    p.drawRoundedRect(r, 0.8, 0.8);
    if (!withText)
        return;
    const qreal left = r.left() + r.width() * 0.2;
    const qreal right = r.right() - r.width() * 0.2;
    for (int i = 1; i <= 4; ++i) {
        const qreal y = r.top() + r.height() * (0.18 * i + 0.05);
        p.drawLine(QPointF(left, y), QPointF(i == 4 ? (left + right) / 2 : right, y));
    }
}

void drawPortrait(QPainter &p, const QColor &c)
{
    p.setPen(linePen(c, 1.4));
    page(p, QRectF(6, 2.5, 12, 19), true);
}

void drawLandscape(QPainter &p, const QColor &c)
{
    p.setPen(linePen(c, 1.4));
    page(p, QRectF(2.5, 6, 19, 12), true);
}

void drawImageFull(QPainter &p, const QColor &c)
{
    p.setPen(linePen(c, 1.4));
    const QRectF r(5, 2.5, 14, 19);
    p.drawRect(r);
    landscape(p, r.adjusted(0.7, 2, -0.7, -0.7));
}

void drawImageBorder(QPainter &p, const QColor &c)
{
    p.setPen(linePen(c, 1.4));
    const QRectF r(5, 2.5, 14, 19);
    p.drawRect(r);
    QPen dashed = linePen(c, 0.8);
    dashed.setDashPattern({2, 2});
    p.setPen(dashed);
    const QRectF inner = r.adjusted(2.5, 2.5, -2.5, -2.5);
    p.drawRect(inner);
    p.setPen(linePen(c, 1.2));
    landscape(p, inner.adjusted(0.5, 3, -0.5, -0.5));
}

void drawFitToSize(QPainter &p, const QColor &c)
{
    // A light plate keeps the icon readable on any picture.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawRoundedRect(QRectF(0.5, 0.5, 23, 23), 3, 3);
    p.setBrush(Qt::NoBrush);
    p.setPen(linePen(c, 1.8));
    const qreal a = 4, b = 9.5, e = 20;
    p.drawPolyline(QPolygonF() << QPointF(a, b) << QPointF(a, a) << QPointF(b, a));
    p.drawPolyline(QPolygonF() << QPointF(e - 5.5, a) << QPointF(e, a) << QPointF(e, b));
    p.drawPolyline(QPolygonF() << QPointF(a, e - 5.5) << QPointF(a, e) << QPointF(b, e));
    p.drawPolyline(QPolygonF() << QPointF(e - 5.5, e) << QPointF(e, e) << QPointF(e, e - 5.5));
}

void drawDropLogo(QPainter &p, const QColor &c)
{
    p.setPen(linePen(c, 1.0));
    // Two stacked pictures and an arrow dropping onto them.
    p.drawRoundedRect(QRectF(5.5, 11, 12, 9.5), 0.8, 0.8);
    p.drawPolyline(QPolygonF() << QPointF(7.5, 11) << QPointF(7.5, 9) << QPointF(19.5, 9) << QPointF(19.5, 18.5)
                               << QPointF(17.5, 18.5));
    landscape(p, QRectF(6.2, 12.5, 10.6, 7.5));
    p.setPen(linePen(c, 1.2));
    p.drawLine(QPointF(12, 1.5), QPointF(12, 7));
    arrowHead(p, QPointF(12, 7.3), QPointF(0, 1), 2.6);
}

void drawAboutLogo(QPainter &p, const QColor &)
{
    // The application's logo: a blue tile with a white picture.
    QLinearGradient tile(0, 0, 0, 24);
    tile.setColorAt(0, QColor(0x3b, 0x8e, 0xea));
    tile.setColorAt(1, QColor(0x1d, 0x5f, 0xb5));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(1, 1, 22, 22), 4.5, 4.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(linePen(white, 1.3));
    p.drawRoundedRect(QRectF(5, 6, 14, 12), 1, 1);
    landscape(p, QRectF(5.8, 7.2, 12.4, 10));
}

void write(const QDir &dir, const QString &name, int size, const Drawing &draw, const QColor &colour)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 24.0, size / 24.0);
    draw(painter, colour);
    painter.end();
    if (!image.save(dir.filePath(name), "PNG"))
        QTextStream(stderr) << "cannot write " << dir.filePath(name) << '\n';
}

struct Icon
{
    const char *light;
    const char *white;
    const char *gray; // nullptr when the control has no disabled picture
    int size;
    Drawing draw;
};

} // namespace

int main(int argc, char *argv[])
{
    const bool appIcon = argc == 3 && qstrcmp(argv[1], "--app-icon") == 0;
    if (argc != 2 && !appIcon) {
        QTextStream(stderr) << "usage: kx_drawicons [--app-icon] <output folder>\n";
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[argc - 1]));
    if (!dir.exists() && !QDir().mkpath(dir.path())) {
        QTextStream(stderr) << "cannot create " << dir.path() << '\n';
        return 1;
    }
    if (appIcon) {
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
            const QString folder = QStringLiteral("%1x%1/apps").arg(size);
            dir.mkpath(folder);
            write(dir, folder + QStringLiteral("/kestrix-picturist.png"), size, drawAboutLogo, white);
        }
        return 0;
    }

    const Icon icons[] = {
        {"Convert24.png", "ConvertWhite24.png", "ConvertGray24.png", 24, drawConvert},
        {"AddFile24.png", "AddFileWhite24.png", nullptr, 24, drawAddFile},
        {"AddFolder24.png", "AddFolderWhite24.png", nullptr, 24, drawAddFolder},
        {"Delete24.png", "DeleteWhite24.png", "DeleteGray24.png", 24, drawDelete},
        {"shortcut24.png", "shortcutWhite24.png", "shortcutGray24.png", 24, drawClear},
        {"ArrowUp24.png", "ArrowUpWhite24.png", "ArrowUpGray24.png", 24, drawArrowUp},
        {"ArrowDown24.png", "ArrowDownWhite24.png", "ArrowDownGray24.png", 24, drawArrowDown},
        {"websiteIcon24.png", "websiteWhiteIcon24.png", nullptr, 24, drawWebsite},
        {"About24.png", "AboutWhite24.png", nullptr, 24, drawAbout},
        {"folder16.png", "folderWhite16.png", nullptr, 16, drawFolder},
        {"Portrait.png", "PortraitWhite.png", nullptr, 32, drawPortrait},
        {"Landscape.png", "LandscapeWhite.png", nullptr, 32, drawLandscape},
        {"Image.png", "ImageWhite.png", nullptr, 32, drawImageFull},
        {"ImageBorder.png", "ImageBorderWhite.png", nullptr, 32, drawImageBorder},
        {"DropLogo.png", "DropLogoWhite.png", nullptr, 128, drawDropLogo},
        {"Reset24.png", "ResetWhite24.png", nullptr, 24, drawReset},
    };
    for (const Icon &icon : icons) {
        write(dir, QLatin1String(icon.light), icon.size, icon.draw, dark);
        write(dir, QLatin1String(icon.white), icon.size, icon.draw, white);
        if (icon.gray)
            write(dir, QLatin1String(icon.gray), icon.size, icon.draw, grey);
    }
    write(dir, QStringLiteral("FitToSize24.png"), 24, drawFitToSize, dark);
    write(dir, QStringLiteral("AboutLogo.png"), 128, drawAboutLogo, white);
    return 0;
}
