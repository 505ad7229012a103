#include "fileentry.h"

#include "imagemagickutil.h"

#include <QCollator>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageIOHandler>
#include <QImageReader>
#include <QLocale>
#include <QStringList>

#include <algorithm>

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

void sortNaturally(QStringList &paths)
{
    // The C locale compares plain code points, numeric mode or not.
    const QLocale locale = QLocale().language() == QLocale::C ? QLocale(QLocale::English) : QLocale();
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(paths.begin(), paths.end(), collator);
}

QString imageSizeText(const QSize &size)
{
    return QString::number(size.width()) + QLatin1Char('x') + QString::number(size.height());
}

QString unreadableFileText()
{
    return QCoreApplication::translate("FileList", "Cannot be read");
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
    // A drawing or a page is rendered at the icon's size; the list tells its
    // own size (a page's at the default resolution).
    if (const std::optional<QSize> own = renderedSourceSize(path, defaultPdfSourceDpi)) {
        QImage image;
        const Rendering icon{own->scaled(listIconSide, listIconSide, Qt::KeepAspectRatioByExpanding)};
        if (!own->isValid() || !ImageMagickUtil().loadImage(path, image, nullptr, nullptr, icon))
            return {QImage(), imageSizeText(QSize(0, 0))};
        return {makeListIcon(image), imageSizeText(*own)};
    }
    QImageReader reader(path);
    reader.setAutoTransform(false);
    const QSize stored = reader.size();
    // Codecs that can decode at a reduced size (JPEG does it in the DCT) skip
    // most of the work for an icon; the others go the loader's whole way.
    const bool decodeSmall = stored.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize)
                             && qMin(stored.width(), stored.height()) > listIconSide;
    QImage image;
    if (!decodeSmall) {
        if (!ImageMagickUtil().loadImage(path, image))
            return {QImage(), imageSizeText(QSize(0, 0))};
        return {makeListIcon(image), imageSizeText(image.size())};
    }
    const QImageIOHandler::Transformations turn = storedTransformation(reader);
    const QSize size = turn & QImageIOHandler::TransformationRotate90 ? stored.transposed() : stored;
    if (reader.format() == "jpeg") {
        // The loader decodes a JPEG reduced as well, and its CMYK kinds right.
        Rendering rendering;
        rendering.atLeast = size.scaled(listIconSide, listIconSide, Qt::KeepAspectRatioByExpanding);
        if (!ImageMagickUtil().loadImage(path, image, nullptr, nullptr, rendering))
            return {QImage(), imageSizeText(QSize(0, 0))};
        return {makeListIcon(image), imageSizeText(size)};
    }
    reader.setScaledSize(stored.scaled(listIconSide, listIconSide, Qt::KeepAspectRatioByExpanding));
    if (!reader.read(&image))
        return {QImage(), imageSizeText(QSize(0, 0))};
    return {makeListIcon(uprightImage(image, turn)), imageSizeText(size)};
}
