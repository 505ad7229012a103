#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QUrl>

#include "sourcefiles.h" // isSupportedImageFile

// Rules for the entries of the source list. An entry is one row of two cells:
// column 0 shows the label (and later the thumbnail icon), the hidden column 1
// holds the source path exactly as the add step stored it.

// The label of a freshly added entry: the file name with its extension.
QString entryLabel(const QString &path);

// The label once the thumbnail is in: name, pixel size and folder on three lines.
QString thumbnailEntryLabel(const QString &fileName, const QString &sizeStr, const QString &folder);

// The path of the source file an entry stands for. The Path cell holds the
// exact path the add step stored and wins whenever it is at hand; otherwise a
// three-line label gives folder + "/" + name (a label of a.jpg, 800x600 and
// C:/Pics gives C:/Pics/a.jpg), and a one-line label gives nothing.
// Reading the label alone would misplace a file whose name holds a line break.
QString entryPath(const QString &label, const QString &pathCell);

// Whether a drag from outside may be dropped on the list or the drop zone:
// only the first URL counts; a folder is welcome, a file must be a supported
// image, and a URL without a local file refuses the drag.
bool acceptsDroppedUrls(const QList<QUrl> &urls);

// The pixel size as the list shows it, for example 1920x1080.
QString imageSizeText(const QSize &size);

// The list icon: the shorter side scaled to 64 pixels with nearest-pixel
// sampling, keeping the aspect ratio. A null image stays null.
QImage makeListIcon(const QImage &image);

// The list thumbnail of a file: its icon (see makeListIcon) and its pixel size
// text, after the orientation the file asks for. A file that cannot be decoded
// gives a null icon and 0x0.
struct ListThumbnail
{
    QImage icon;
    QString sizeStr;
};
ListThumbnail readListThumbnail(const QString &path);
