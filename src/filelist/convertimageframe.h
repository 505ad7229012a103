#pragma once

#include <QFrame>
#include <QList>
#include <QUrl>

// The drop zone shown in the list's place while the list is empty.
class ConvertImageFrame : public QFrame
{
    Q_OBJECT

public:
    explicit ConvertImageFrame(QWidget *parent = nullptr);
    ~ConvertImageFrame() override;

signals:
    void addURLs(const QList<QUrl> &urls);
};
