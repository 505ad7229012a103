#pragma once

#include <QByteArray>
#include <QImageIOHandler>
#include <QSize>

#include <memory>

#include "encodermetadata.h"

// Reads and writes JPEG XL, both the bare codestream and the ISO-BMFF
// container. The stored orientation is reported as a transformation, so the
// reader applies it exactly once when automatic transformation is on; the
// size is the stored size, as for JPEG with EXIF orientation. What it tells
// readers beyond Qt's options is in readerinterface.h.
class JxlHandler : public QImageIOHandler
{
public:
    bool canRead() const override;
    bool read(QImage *image) override;
    bool write(const QImage &image) override;

    QVariant option(ImageOption option) const override;
    void setOption(ImageOption option, const QVariant &value) override;
    bool supportsOption(ImageOption option) const override;

    static bool canRead(QIODevice *device);

private:
    bool parseHeader();

    enum class State { Unread, Parsed, Finished, Failed };
    State m_state = State::Unread;
    QByteArray m_data;
    QSize m_size;
    int m_orientation = 1;
    int m_bitsPerSample = 8;
    bool m_grayscale = false;
    bool m_alpha = false;
    bool m_usesOriginalProfile = false;
    // A CMYK picture with its black apart, which is refused.
    bool m_blackChannel = false;
    int m_quality = -1;
    EncoderMetadata m_metadata;
};
