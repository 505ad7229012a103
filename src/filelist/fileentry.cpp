#include "fileentry.h"

#include <QFileInfo>
#include <QImageIOHandler>
#include <QImageReader>
#include <QStringList>

namespace {
constexpr int listIconSide = 64;
}

QString entryLabel(const QString &path)
{
    return QFileInfo(path).fileName();
}

QString thumbnailEntryLabel(const QString &fileName, const QString &sizeStr, const QString &folder)
{
    return fileName + QLatin1Char('\n') + sizeStr + QLatin1Char('\n') + folder;
}

QString entryPath(const QString &label, const QString &pathCell)
{
    if (!pathCell.isEmpty())
        return pathCell;
    const int firstBreak = label.indexOf(QLatin1Char('\n'));
    if (firstBreak < 0)
        return pathCell;
    const int secondBreak = label.indexOf(QLatin1Char('\n'), firstBreak + 1);
    const QString name = label.left(firstBreak);
    const QString folder = secondBreak < 0 ? QString() : label.mid(secondBreak + 1);
    // A file in the root folder: QFileInfo::path() already ends in the slash.
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

bool acceptsDroppedUrls(const QList<QUrl> &urls)
{
    if (urls.isEmpty())
        return false;
    const QString path = urls.first().toLocalFile();
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).isDir())
        return true;
    return isSupportedImageFile(path);
}

QString imageSizeText(const QSize &size)
{
    return QString::number(size.width()) + QLatin1Char('x') + QString::number(size.height());
}

QImage makeListIcon(const QImage &image)
{
    if (image.isNull())
        return QImage();
    if (image.width() <= image.height())
        return image.scaledToWidth(listIconSide, Qt::FastTransformation);
    return image.scaledToHeight(listIconSide, Qt::FastTransformation);
}

ListThumbnail readListThumbnail(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    // Codecs that can decode at a reduced size (JPEG does it in the DCT) skip
    // most of the work for an icon; the others are decoded whole.
    const bool decodeSmall = stored.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize)
                             && qMin(stored.width(), stored.height()) > listIconSide;
    if (decodeSmall)
        reader.setScaledSize(stored.scaled(listIconSide, listIconSide, Qt::KeepAspectRatioByExpanding));
    QImage image;
    if (!reader.read(&image))
        return {QImage(), imageSizeText(QSize(0, 0))};
    const QSize size = decodeSmall ? (turned ? stored.transposed() : stored) : image.size();
    return {makeListIcon(image), imageSizeText(size)};
}
