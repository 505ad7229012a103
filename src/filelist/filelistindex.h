#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QStandardItemModel;

// The set of paths listed in the source list, kept in step with the model so
// that the duplicate test of a new file costs one hash lookup instead of a scan
// of every row. Paths are keyed by the platform's file-name rule. One index is
// attached to each model (as its child) and lives on the model's thread; it is
// used only there.
class FileListIndex : public QObject
{
    Q_OBJECT

public:
    // The index of the model, made on first use.
    static FileListIndex *of(QStandardItemModel *model);

    bool contains(const QString &path);

    // The row whose Path cell names the file with this name in this folder (as
    // QFileInfo::fileName() and path() give them), searched outward from
    // hintRow because rows seldom move far; -1 when no row does.
    int findRow(const QString &fileName, const QString &folder, int hintRow) const;

private:
    explicit FileListIndex(QStandardItemModel *model);

    void addRows(int first, int last);
    void removeRows(int first, int last);
    void rebuild();
    QString pathAt(int row) const;
    bool rowNames(int row, const QString &fileName, const QString &folder) const;

    QStandardItemModel *model;
    QHash<QString, int> counts; // key -> rows holding it (a row is briefly doubled while it moves)
    bool stale = true;
};
