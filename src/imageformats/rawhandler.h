#pragma once

#include <QByteArray>
#include <QImage>
#include <QImageIOHandler>
#include <QSize>

#include <memory>

#include "readerinterface.h"

class LibRaw;

// Develops camera RAW files through LibRaw: the camera's white balance, sRGB
// with its own tone curve, 16 bits a channel where the allocation limit
// allows it, 8 otherwise. The sensor's orientation is reported as a
// transformation, left to the reader; the size is the stored size.
// How it is developed comes with the device (readerinterface.h).
// A scaled size at most half the sensor's develops it at half size.
class RawHandler : public QImageIOHandler
{
public:
    RawHandler();
    ~RawHandler() override;

    bool canRead() const override;
    bool read(QImage *image) override;

    QVariant option(ImageOption option) const override;
    void setOption(ImageOption option, const QVariant &value) override;
    bool supportsOption(ImageOption option) const override;

    // Whether a format name (a file's suffix in lower case) is one of the RAW
    // types this handler reads.
    static bool isRawFormat(const QByteArray &format);

private:
    bool parseHeader();
    bool readEmbeddedPreview(QImage *image);
    bool develop(QImage *image);

    enum class State { Unread, Parsed, Finished, Failed };
    State m_state = State::Unread;
    QByteArray m_data;
    QSize m_size;
    QImage::Format m_format = QImage::Format_RGBX64;
    QSize m_scaledSize;
    int m_orientation = 1;
    // The embedded preview, read with the header when it is asked for.
    QByteArray m_preview;
    std::unique_ptr<LibRaw> m_raw;
};
