#pragma once

#include <QList>

class QStandardItemModel;

// The row rules of the list commands, kept apart from the widgets so that they
// can be checked on a bare model. Every move takes whole rows (both cells), so
// the hidden Path cell always travels with its label.

// The rows to delete for the selected indexes' rows (one row per index, both
// columns of a row usually appear): descending, without repeats, so removing
// front to back keeps the remaining numbers valid.
QList<int> buildDeleteList(const QList<int> &indexRows);

// Moves each selected row one place up. A row at the top, or right below a
// selected row that could not move, stays, so a selected block keeps its order.
// Returns the row to make current: one above the topmost selected row, or 0.
int moveRowsUp(QStandardItemModel *model, QList<int> rows);

// Moves each selected row one place down, the mirror of moveRowsUp. Returns the
// row to make current: the one below the topmost selected row, at most the last.
int moveRowsDown(QStandardItemModel *model, QList<int> rows);

// The internal drag move: the rows leave their places and go, in their order,
// above (or below) the target row. Returns the new rows of the moved entries.
QList<int> moveRowsTo(QStandardItemModel *model, QList<int> rows, int targetRow, bool below);

class QImage;
class QString;

// Puts a finished list thumbnail on its entry: the icon and the three-line
// label go to the row whose Path cell names the file, which is the row the
// thumbnail was made for unless rows moved meanwhile. Returns that row, or -1
// when the file is no longer listed (the thumbnail is dropped). A null icon
// (the file cannot be decoded) marks the entry with a warning icon, the note
// in place of the size and the note as its tooltip.
int applyListThumbnail(QStandardItemModel *model, const QImage &icon, const QString &fileName,
                       const QString &folder, const QString &sizeStr, int index);
