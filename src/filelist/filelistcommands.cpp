#include "filelistcommands.h"

#include <QApplication>
#include <QDebug>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QStandardItemModel>
#include <QStyle>

#include "fileentry.h"
#include "filelistindex.h"

#include <algorithm>

namespace {

QList<int> sortedUnique(QList<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void moveRow(QStandardItemModel *model, int from, int to)
{
    model->insertRow(to, model->takeRow(from));
}

} // namespace

QList<int> buildDeleteList(const QList<int> &indexRows)
{
    QList<int> deleteList;
    if (indexRows.isEmpty())
        return deleteList;
    deleteList.append(indexRows.first());
    qDebug().noquote() << "modelIndex.count(): " + QString::number(indexRows.size());
    for (int i = 1; i < indexRows.size(); ++i) {
        const int row = indexRows.at(i);
        int pos = 0;
        bool repeat = false;
        for (; pos < deleteList.size(); ++pos) {
            if (deleteList.at(pos) == row) {
                repeat = true;
                break;
            }
            if (deleteList.at(pos) < row)
                break;
            qDebug().noquote() << "row: " + QString::number(row);
        }
        if (!repeat)
            deleteList.insert(pos, row);
    }
    return deleteList;
}

int moveRowsUp(QStandardItemModel *model, QList<int> rows)
{
    rows = sortedUnique(rows);
    if (rows.isEmpty())
        return 0;
    int firstFree = 0; // rows above this one are held by selected rows that stayed
    for (const int row : std::as_const(rows)) {
        if (row < 0 || row >= model->rowCount())
            continue;
        if (row > firstFree) {
            moveRow(model, row, row - 1);
        } else {
            firstFree = row + 1;
        }
    }
    return qMax(rows.first() - 1, 0);
}

int moveRowsDown(QStandardItemModel *model, QList<int> rows)
{
    rows = sortedUnique(rows);
    if (rows.isEmpty())
        return 0;
    int lastFree = model->rowCount() - 1;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        const int row = *it;
        if (row < 0 || row >= model->rowCount())
            continue;
        if (row < lastFree) {
            moveRow(model, row, row + 1);
        } else {
            lastFree = row - 1;
        }
    }
    return qMin(rows.first() + 1, model->rowCount() - 1);
}

QList<int> moveRowsTo(QStandardItemModel *model, QList<int> rows, int targetRow, bool below)
{
    rows = sortedUnique(rows);
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [model](int row) { return row < 0 || row >= model->rowCount(); }),
               rows.end());
    if (rows.isEmpty())
        return {};
    int insertAt = below ? targetRow + 1 : targetRow;
    insertAt = qBound(0, insertAt, model->rowCount());
    // Rows taken from above the insertion point shift it up.
    const int takenAbove = int(std::count_if(rows.cbegin(), rows.cend(), [insertAt](int r) { return r < insertAt; }));
    QList<QList<QStandardItem *>> taken;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        taken.prepend(model->takeRow(*it));
    insertAt -= takenAbove;
    QList<int> newRows;
    for (int i = 0; i < taken.size(); ++i) {
        model->insertRow(insertAt + i, taken.at(i));
        newRows.append(insertAt + i);
    }
    return newRows;
}

int applyListThumbnail(QStandardItemModel *model, const QImage &icon, const QString &fileName,
                       const QString &folder, const QString &sizeStr, int index)
{
    const int row = findListedRow(model, fileName, folder, index);
    if (row < 0)
        return -1;
    QStandardItem *item = model->item(row, 0);
    if (!item)
        return -1;
    if (icon.isNull()) {
        // A file that cannot be decoded is marked as such, not shown as 0x0.
        item->setText(thumbnailEntryLabel(fileName, unreadableFileText(), folder));
        item->setIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning));
        item->setToolTip(unreadableFileText());
        return row;
    }
    item->setText(thumbnailEntryLabel(fileName, sizeStr, folder));
    item->setIcon(QIcon(QPixmap::fromImage(icon)));
    return row;
}
