#include "drawingtext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <zlib.h>

#include "pathutil.h"

namespace {

struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(RenderedSources)
};

// Inflates the file's gzip stream until it ends or passes limit, keeping
// what kept has room for (none without it); returns how far it went.
qint64 inflateStream(QFile &file, qint64 limit, QByteArray *kept)
{
    z_stream stream{};
    if (!file.seek(0) || inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return -1;
    QByteArray input(64 * 1024, Qt::Uninitialized);
    QByteArray output(64 * 1024, Qt::Uninitialized);
    qint64 length = 0;
    int status = Z_OK;
    while (status == Z_OK && length <= limit) {
        if (stream.avail_in == 0) {
            const qint64 read = file.read(input.data(), input.size());
            if (read <= 0)
                break;
            stream.next_in = reinterpret_cast<Bytef *>(input.data());
            stream.avail_in = uInt(read);
        }
        stream.next_out = reinterpret_cast<Bytef *>(output.data());
        stream.avail_out = uInt(output.size());
        status = inflate(&stream, Z_NO_FLUSH);
        const qint64 produced = output.size() - qint64(stream.avail_out);
        if (kept)
            kept->append(output.constData(), qsizetype(qMin(produced, limit - length)));
        length += produced;
    }
    inflateEnd(&stream);
    return length;
}

bool isCompressed(QFile &file)
{
    return file.peek(2) == "\x1f\x8b";
}

// Where a picture of the drawing may be read from: its href as a file in the
// drawing's folder or below, an empty string for anything else.
QString allowedPicture(const QString &href, const QDir &folder)
{
    if (href.isEmpty() || QDir::isAbsolutePath(href) || !QUrl(href).scheme().isEmpty())
        return {};
    const QString root = folder.canonicalPath();
    const QString picture = QFileInfo(folder.absoluteFilePath(QUrl::fromPercentEncoding(href.toUtf8()))).canonicalFilePath();
    // Links are followed before the comparison: one that leads out leads out.
    const bool inside = !picture.isEmpty() && !root.isEmpty()
            && picture.startsWith(root + QLatin1Char('/'), filePathCaseSensitivity());
    // A drawing in a drawing would read its own pictures unchecked.
    if (!inside || QImageReader::imageFormat(picture).startsWith("svg"))
        return {};
    return picture;
}

// Names as written, prefixes and all: the drawing is copied without
// namespace processing, so that it is copied as it is.
bool isNamed(QStringView qualifiedName, QLatin1String name)
{
    return qualifiedName == name || qualifiedName.endsWith(QLatin1Char(':') + name);
}

// The element's attributes with its picture's link made safe: kept for
// data: URIs, made absolute for a file allowed, left out otherwise.
QXmlStreamAttributes checkedAttributes(const QXmlStreamReader &xml, const QDir &folder)
{
    QXmlStreamAttributes attributes;
    for (const QXmlStreamAttribute &attribute : xml.attributes()) {
        if (!isNamed(xml.qualifiedName(), QLatin1String("image"))
            || !isNamed(attribute.qualifiedName(), QLatin1String("href"))) {
            attributes.append(attribute);
            continue;
        }
        const QString href = attribute.value().trimmed().toString();
        if (href.startsWith(QLatin1String("data:"), Qt::CaseInsensitive)) {
            attributes.append(attribute);
        } else if (const QString picture = allowedPicture(href, folder); !picture.isEmpty()) {
            attributes.append(attribute.qualifiedName().toString(), picture);
        }
    }
    return attributes;
}

// The drawing copied with its pictures checked; an empty text when it is no XML.
QByteArray withPicturesChecked(const QByteArray &text, const QDir &folder)
{
    QXmlStreamReader xml(text);
    xml.setNamespaceProcessing(false);
    QByteArray copy;
    QXmlStreamWriter writer(&copy);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.tokenType() == QXmlStreamReader::StartElement) {
            writer.writeStartElement(xml.qualifiedName().toString());
            writer.writeAttributes(checkedAttributes(xml, folder));
        } else {
            writer.writeCurrentToken(xml);
        }
    }
    return xml.hasError() ? QByteArray() : copy;
}

} // namespace

QByteArray boundedDrawingText(const QString &path, qint64 limit, bool *whole)
{
    *whole = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray text;
    const qint64 length = isCompressed(file) ? inflateStream(file, limit, &text) : (text = file.read(limit + 1)).size();
    *whole = length >= 0 && length <= limit;
    text.truncate(qsizetype(qMin(text.size(), limit)));
    return text;
}

QByteArray renderableDrawing(const QString &path, QString *cause)
{
    // A drawing too long is told at zlib's speed, before anything is kept of it.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *cause = Tr::tr("damaged or not a drawing");
        return {};
    }
    const qint64 length = isCompressed(file) ? inflateStream(file, drawingTextLimitBytes, nullptr) : file.size();
    bool whole = false;
    const QByteArray text = length > drawingTextLimitBytes ? QByteArray()
                                                           : boundedDrawingText(path, drawingTextLimitBytes, &whole);
    if (!whole) {
        *cause = Tr::tr("the drawing's text is larger than %1 MB").arg(drawingTextLimitBytes / (1024 * 1024));
        return {};
    }
    const QByteArray checked = withPicturesChecked(text, QFileInfo(path).absoluteDir());
    if (checked.isEmpty())
        *cause = Tr::tr("damaged or not a drawing");
    return checked;
}
