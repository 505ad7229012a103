#pragma once
// Reads back what a test needs from a PDF written by the conversion run:
// pages, media boxes and where each page's image was drawn.

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QRegularExpression>
#include <QSizeF>
#include <QtEndian>

namespace pdfprobe {

inline int pageCount(const QByteArray &pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return int(QString::fromLatin1(pdf).count(page));
}

inline QList<QSizeF> mediaBoxes(const QByteArray &pdf)
{
    static const QRegularExpression box(QStringLiteral("/MediaBox\\s*\\[\\s*0 0 ([\\d.]+) ([\\d.]+)\\s*\\]"));
    QList<QSizeF> boxes;
    auto it = box.globalMatch(QString::fromLatin1(pdf));
    while (it.hasNext()) {
        const auto m = it.next();
        boxes << QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return boxes;
}

// The inflated content of every Flate stream that is not an image.
inline QList<QByteArray> contentStreams(const QByteArray &pdf)
{
    QList<QByteArray> streams;
    qsizetype from = 0;
    while (true) {
        const qsizetype start = pdf.indexOf("stream\n", from);
        if (start < 0)
            break;
        const qsizetype end = pdf.indexOf("endstream", start);
        if (end < 0)
            break;
        from = end + 9;
        if (start > 0 && pdf.at(start - 1) == 'd') // "endstream\n"
            continue;
        const qsizetype dictStart = pdf.lastIndexOf("<<", start);
        const QByteArray dict = pdf.mid(dictStart, start - dictStart);
        if (!dict.contains("FlateDecode") || dict.contains("/Image"))
            continue;
        QByteArray data = pdf.mid(start + 7, end - start - 7);
        QByteArray sized(4, '\0');
        qToBigEndian<quint32>(quint32(data.size() * 20 + 1024), sized.data());
        const QByteArray inflated = qUncompress(sized + data);
        if (!inflated.isEmpty())
            streams << inflated;
    }
    return streams;
}

// The device-pixel rectangle of every image drawn, in page order.
inline QList<QRect> drawnImages(const QByteArray &pdf)
{
    static const QRegularExpression draw(
        QStringLiteral("(?:1 0 0 1 (-?[\\d.]+) (-?[\\d.]+) cm\\s+)?(\\d+) 0 0 -(\\d+) 0 \\d+ cm\\s*/Im\\d+\\s+Do"));
    QList<QRect> rects;
    for (const QByteArray &stream : contentStreams(pdf)) {
        auto it = draw.globalMatch(QString::fromLatin1(stream));
        while (it.hasNext()) {
            const auto m = it.next();
            rects << QRect(int(m.captured(1).toDouble()), int(m.captured(2).toDouble()), m.captured(3).toInt(),
                           m.captured(4).toInt());
        }
    }
    return rects;
}

} // namespace pdfprobe
