#include "filelistindex.h"

#include <QFileInfo>
#include <QStandardItemModel>

#include "pathutil.h"

namespace {
constexpr int pathColumn = 1;
}

FileListIndex *FileListIndex::of(QStandardItemModel *model)
{
    if (auto *index = model->findChild<FileListIndex *>(QString(), Qt::FindDirectChildrenOnly))
        return index;
    return new FileListIndex(model);
}

FileListIndex::FileListIndex(QStandardItemModel *model) : QObject(model), model(model)
{
    connect(model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &parent, int first, int last) {
        if (!parent.isValid())
            addRows(first, last);
    });
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &parent, int first, int last) {
                if (!parent.isValid())
                    removeRows(first, last);
            });
    // A Path cell written in place or a reset leaves no way to tell the old
    // keys: recount on the next question.
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                if (!topLeft.parent().isValid() && topLeft.column() <= pathColumn
                    && bottomRight.column() >= pathColumn)
                    stale = true;
            });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { stale = true; });
    connect(model, &QAbstractItemModel::columnsInserted, this, [this] { stale = true; });
    connect(model, &QAbstractItemModel::columnsRemoved, this, [this] { stale = true; });
}

QString FileListIndex::pathAt(int row) const
{
    const QStandardItem *item = model->item(row, pathColumn);
    return item ? item->text() : QString();
}

void FileListIndex::addRows(int first, int last)
{
    if (stale)
        return;
    for (int row = first; row <= last; ++row) {
        const QString path = pathAt(row);
        if (!path.isEmpty())
            ++counts[filePathKey(path)];
    }
}

void FileListIndex::removeRows(int first, int last)
{
    if (stale)
        return;
    for (int row = first; row <= last; ++row) {
        const QString path = pathAt(row);
        if (path.isEmpty())
            continue;
        const auto it = counts.find(filePathKey(path));
        if (it != counts.end() && --it.value() <= 0)
            counts.erase(it);
    }
}

void FileListIndex::rebuild()
{
    counts.clear();
    stale = false;
    addRows(0, model->rowCount() - 1);
}

bool FileListIndex::contains(const QString &path)
{
    if (stale)
        rebuild();
    return counts.contains(filePathKey(path));
}

bool FileListIndex::rowNames(int row, const QString &fileName, const QString &folder) const
{
    const QFileInfo info(pathAt(row));
    return sameFilePath(info.fileName(), fileName) && sameFilePath(info.path(), folder);
}

int FileListIndex::findRow(const QString &fileName, const QString &folder, int hintRow) const
{
    const int rowCount = model->rowCount();
    if (rowCount == 0)
        return -1;
    hintRow = qBound(0, hintRow, rowCount - 1);
    for (int distance = 0; distance < rowCount; ++distance) {
        const int below = hintRow + distance;
        const int above = hintRow - distance;
        if (below >= rowCount && above < 0)
            break;
        if (below < rowCount && rowNames(below, fileName, folder))
            return below;
        if (distance > 0 && above >= 0 && rowNames(above, fileName, folder))
            return above;
    }
    return -1;
}
