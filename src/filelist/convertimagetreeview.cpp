#include "convertimagetreeview.h"

#include <QDebug>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QStandardItemModel>

#include "fileentry.h"
#include "filelistcommands.h"

ConvertImageTreeView::ConvertImageTreeView(QWidget *parent) : QTreeView(parent) {}

ConvertImageTreeView::~ConvertImageTreeView() = default;

void ConvertImageTreeView::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->source() == this) {
        qDebug() << "event->source(): self";
        // The dragged rows decide (the view drags its selection), whatever was
        // clicked last and whether or not their files still exist.
        if (selectionModel() && selectionModel()->hasSelection()) {
            // Let the view start its own drag bookkeeping (auto-scroll, state).
            QTreeView::dragEnterEvent(event);
            event->accept();
        } else {
            event->ignore();
        }
        return;
    }
    if (event->mimeData()->hasUrls() && acceptsDroppedUrls(event->mimeData()->urls()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ConvertImageTreeView::dragMoveEvent(QDragMoveEvent *event)
{
    setDropIndicatorShown(true);
    event->accept();
    QTreeView::dragMoveEvent(event);
    // The view's own handling refuses foreign drags that its model cannot
    // decode; files from outside are ours to take.
    if (event->source() != this)
        event->accept();
}

void ConvertImageTreeView::dropEvent(QDropEvent *event)
{
    if (event->source() != this) {
        const QList<QUrl> urls = event->mimeData()->urls();
        event->acceptProposedAction();
        emit addURLs(urls);
        return;
    }

    const DropIndicatorPosition position = dropIndicatorPosition();
    const QModelIndex target = indexAt(event->position().toPoint());
    stopAutoScroll();
    setState(NoState);
    viewport()->update();

    switch (position) {
    case OnItem:
        qDebug() << "QAbstractItemView::OnItem";
        qDebug() << "isOnItem";
        event->ignore();
        return;
    case OnViewport:
        qDebug() << "QAbstractItemView::OnViewport";
        event->ignore();
        return;
    case AboveItem:
        qDebug() << "QAbstractItemView::AboveItem";
        break;
    case BelowItem:
        qDebug() << "QAbstractItemView::BelowItem";
        break;
    }
    setDropIndicatorShown(false);

    auto *listModel = qobject_cast<QStandardItemModel *>(model());
    if (!listModel || !target.isValid()) {
        event->ignore();
        return;
    }
    QList<int> rows;
    const QModelIndexList selected = selectionModel()->selectedRows(0);
    for (const QModelIndex &index : selected)
        rows.append(index.row());
    const QList<int> newRows = moveRowsTo(listModel, rows, target.row(), position == BelowItem);

    // The rows were moved here, cells and all; the drag must not remove the
    // originals afterwards as a plain move would, so it ends as no action.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();

    QItemSelection moved;
    for (const int row : newRows)
        moved.select(listModel->index(row, 0), listModel->index(row, listModel->columnCount() - 1));
    if (!newRows.isEmpty()) {
        selectionModel()->setCurrentIndex(listModel->index(newRows.first(), 0), QItemSelectionModel::NoUpdate);
        selectionModel()->select(moved, QItemSelectionModel::ClearAndSelect);
    }
}
