#pragma once

#include <QList>
#include <QTreeView>
#include <QUrl>

// The source list view (objectName sourceTreeView) with drag and drop. Drops
// from outside are handed on as addURLs; drags inside the view move whole
// entries (both cells) above or below another entry.
class ConvertImageTreeView : public QTreeView
{
    Q_OBJECT

public:
    explicit ConvertImageTreeView(QWidget *parent = nullptr);
    ~ConvertImageTreeView() override;

signals:
    void addURLs(const QList<QUrl> &urls);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
