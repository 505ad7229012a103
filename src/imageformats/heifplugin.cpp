#include "heifplugin.h"

#include "heifhandler.h"

QImageIOPlugin::Capabilities HeifPlugin::capabilities(QIODevice *device, const QByteArray &format) const
{
    if (format == "heif" || format == "heic" || format == "avif")
        return CanRead | CanWrite;
    if (!format.isEmpty() || !device || !device->isOpen())
        return {};
    if (device->isReadable() && HeifHandler::canRead(device))
        return CanRead;
    return {};
}

QImageIOHandler *HeifPlugin::create(QIODevice *device, const QByteArray &format) const
{
    auto *handler = new HeifHandler;
    handler->setDevice(device);
    handler->setFormat(format);
    return handler;
}
