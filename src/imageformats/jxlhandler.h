#pragma once

#include <QByteArray>
#include <QColorSpace>
#include <QImageIOHandler>
#include <QSize>

#include <jxl/decode.h>

#include <memory>

#include "encodermetadata.h"

// Reads and writes JPEG XL, both the bare codestream and the ISO-BMFF
// container. The stored orientation is reported as a transformation, so the
// reader applies it exactly once when automatic transformation is on; the
// size is the stored size, as for JPEG with EXIF orientation.
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
    // Whether the file keeps a CMYK picture's black apart, which this
    // handler refuses to read.
    static bool hasBlackChannel(const QByteArray &data);

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
    int m_quality = -1;
    EncoderMetadata m_metadata;
};

// Ends a libjxl thread pool, the encoder's or a decoder's.
struct JxlRunnerDeleter {
    void operator()(void *runner) const;
};

// A libjxl decoder as the still reader and the animation frames both use it:
// over data that outlives it, alpha unpremultiplied, pixels decoded on the
// codec threads and brought into the file's own colours.
class JxlDecoding
{
public:
    // keepOrientation leaves the pixels as stored rather than upright.
    JxlDecoding(const QByteArray &data, int events, bool keepOrientation);
    JxlDecoding(const JxlDecoding &) = delete;
    JxlDecoding &operator=(const JxlDecoding &) = delete;

    // Null when libjxl refused the setup.
    JxlDecoder *get() const { return m_decoder.get(); }
    // At the colour event: how the pixels will come out. False when libjxl
    // refuses the choice.
    bool chooseColours(bool usesOriginalProfile, bool grey);
    // The pixels must then be decoded in 16 bits: applyColours converts them.
    bool viaWideGamut() const { return m_fileSpace.isValid(); }
    // Tags decoded pixels with their space and brings them into the file's.
    void applyColours(QImage *image) const;

private:
    struct DecoderDeleter {
        void operator()(JxlDecoder *decoder) const { JxlDecoderDestroy(decoder); }
    };
    // Declared first: the decoder uses the runner until it is gone.
    std::unique_ptr<void, JxlRunnerDeleter> m_runner;
    std::unique_ptr<JxlDecoder, DecoderDeleter> m_decoder;
    QColorSpace m_decodedSpace;
    QColorSpace m_fileSpace; // when libjxl cannot decode into it directly
};
