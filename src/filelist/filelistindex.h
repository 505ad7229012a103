#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class QStandardItemModel;

// The keys (by the platform's file-name rule) of every path in the list's Path
// column. Made afresh for each chunk of files, so that the duplicate test of a
// chunk costs one lookup per file instead of a scan of every row per file.
QSet<QString> listedPathKeys(const QStandardItemModel *model);

// For each of a few paths, whether it is listed: one pass over the rows with
// no set of them all.
QList<bool> pathsListed(const QStandardItemModel *model, const QStringList &paths);

// The row whose Path cell names the file with this name in this folder (as
// QFileInfo::fileName() and path() give them), searched outward from hintRow
// because rows seldom move far; -1 when no row does.
int findListedRow(const QStandardItemModel *model, const QString &fileName, const QString &folder, int hintRow);
