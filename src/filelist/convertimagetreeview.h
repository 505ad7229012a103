#pragma once

#include <QList>
#include <QTreeView>
#include <QUrl>

// The source list view (objectName sourceTreeView) with drag and drop.
class ConvertImageTreeView : public QTreeView
{
    Q_OBJECT

public:
    explicit ConvertImageTreeView(QWidget *parent = nullptr);
    ~ConvertImageTreeView() override;

    QString url;

signals:
    void addURLs(const QList<QUrl> &urls);
};
