#pragma once

#include <QByteArray>
#include <QColorSpace>
#include <QImage>

#include <jxl/decode.h>

#include <memory>

// Ends a libjxl thread pool, the encoder's or a decoder's.
struct JxlRunnerDeleter {
    void operator()(void *runner) const;
};
using JxlRunnerPtr = std::unique_ptr<void, JxlRunnerDeleter>;

// A pool of the codec threads the program allows.
JxlRunnerPtr makeJxlRunner();

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
    JxlRunnerPtr m_runner;
    std::unique_ptr<JxlDecoder, DecoderDeleter> m_decoder;
    QColorSpace m_decodedSpace;
    QColorSpace m_fileSpace; // when libjxl cannot decode into it directly
};
