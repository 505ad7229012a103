#include "filelistindex.h"

#include <QFileInfo>
#include <QStandardItemModel>

#include "pathutil.h"

namespace {

constexpr int pathColumn = 1;

QString pathAt(const QStandardItemModel *model, int row)
{
    const QStandardItem *item = model->item(row, pathColumn);
    return item ? item->text() : QString();
}

bool rowNames(const QStandardItemModel *model, int row, const QString &fileName, const QString &folder)
{
    const QFileInfo info(pathAt(model, row));
    return sameFilePath(info.fileName(), fileName) && sameFilePath(info.path(), folder);
}

} // namespace

QSet<QString> listedPathKeys(const QStandardItemModel *model)
{
    QSet<QString> keys;
    keys.reserve(model->rowCount());
    for (int row = 0; row < model->rowCount(); ++row) {
        const QString path = pathAt(model, row);
        if (!path.isEmpty())
            keys.insert(filePathKey(path));
    }
    return keys;
}

QList<bool> pathsListed(const QStandardItemModel *model, const QStringList &paths)
{
    QHash<QString, QList<int>> wanted;
    for (int i = 0; i < paths.size(); ++i)
        wanted[filePathKey(paths.at(i))].append(i);
    QList<bool> listed(paths.size(), false);
    for (int row = 0; row < model->rowCount(); ++row) {
        const auto it = wanted.constFind(filePathKey(pathAt(model, row)));
        if (it != wanted.constEnd()) {
            for (const int i : it.value())
                listed[i] = true;
        }
    }
    return listed;
}

int findListedRow(const QStandardItemModel *model, const QString &fileName, const QString &folder, int hintRow)
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
        if (below < rowCount && rowNames(model, below, fileName, folder))
            return below;
        if (distance > 0 && above >= 0 && rowNames(model, above, fileName, folder))
            return above;
    }
    return -1;
}
