#include "jxlplugin.h"

#include "jxlhandler.h"

QImageIOPlugin::Capabilities JxlPlugin::capabilities(QIODevice *device, const QByteArray &format) const
{
    if (format == "jxl")
        return CanRead | CanWrite;
    if (!format.isEmpty() || !device || !device->isOpen())
        return {};
    if (device->isReadable() && JxlHandler::canRead(device))
        return CanRead;
    return {};
}

QImageIOHandler *JxlPlugin::create(QIODevice *device, const QByteArray &format) const
{
    auto *handler = new JxlHandler;
    handler->setDevice(device);
    handler->setFormat(format.isEmpty() ? QByteArray("jxl") : format);
    return handler;
}
