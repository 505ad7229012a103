#include "rawplugin.h"

#include "rawhandler.h"

// Only by name: many RAW files are TIFF inside, and telling them from a
// plain TIFF by content would mean parsing them.
QImageIOPlugin::Capabilities RawPlugin::capabilities(QIODevice *, const QByteArray &format) const
{
    return RawHandler::isRawFormat(format) ? CanRead : Capabilities();
}

QImageIOHandler *RawPlugin::create(QIODevice *device, const QByteArray &format) const
{
    auto *handler = new RawHandler;
    handler->setDevice(device);
    handler->setFormat(format);
    return handler;
}
