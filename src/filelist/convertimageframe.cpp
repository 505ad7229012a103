#include "convertimageframe.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "fileentry.h"

ConvertImageFrame::ConvertImageFrame(QWidget *parent) : QFrame(parent)
{
    setAcceptDrops(true);
}

ConvertImageFrame::~ConvertImageFrame() = default;

void ConvertImageFrame::dragEnterEvent(QDragEnterEvent *event)
{
    event->setDropAction(Qt::LinkAction);
    if (event->mimeData()->hasUrls() && acceptsDroppedUrls(event->mimeData()->urls()))
        event->accept();
    else
        event->ignore();
}

void ConvertImageFrame::dragMoveEvent(QDragMoveEvent *event)
{
    event->accept();
}

void ConvertImageFrame::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    event->accept();
    emit addURLs(urls);
}
