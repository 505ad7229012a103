#pragma once

#include <QFrame>
#include <QList>
#include <QUrl>

// The drop zone shown in the list's place while the list is empty
// (objectName sourceFrame). Its logo and text are laid out by the form.
class ConvertImageFrame : public QFrame
{
    Q_OBJECT

public:
    explicit ConvertImageFrame(QWidget *parent = nullptr);
    ~ConvertImageFrame() override;

signals:
    void addURLs(const QList<QUrl> &urls);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
