#pragma once

#include <QByteArray>
#include <QImageIOHandler>
#include <QSize>

#include "encodermetadata.h"

#include <memory>

struct heif_context;
struct heif_image_handle;

// Reads HEIF, HEIC and AVIF files (whatever the suffix says, libheif picks the
// decoder from the file) and writes them: HEVC for heif and heic, AV1 for avif.
// libheif applies the file's rotation and mirroring while decoding, so the
// picture and its reported size are always upright. What it tells readers
// beyond Qt's options is in readerinterface.h.
class HeifHandler : public QImageIOHandler
{
public:
    HeifHandler();
    ~HeifHandler() override;

    bool canRead() const override;
    bool read(QImage *image) override;
    bool write(const QImage &image) override;

    QVariant option(ImageOption option) const override;
    void setOption(ImageOption option, const QVariant &value) override;
    bool supportsOption(ImageOption option) const override;
    // A file may hold several pictures side by side (not a sequence): the
    // primary one first, then the others in the file's order.
    int imageCount() const override;
    bool jumpToImage(int imageNumber) override;
    int currentImageNumber() const override;

    static bool canRead(QIODevice *device);

private:
    // "heic", "avif" or "heif" when the bytes open an ISO-BMFF file of one
    // of those brands; empty otherwise.
    static QByteArray formatFromHeader(const QByteArray &header);
    // Whether the bytes open a file that announces an image sequence.
    static bool isImageSequence(const QByteArray &header);
    // How much of a file's start the brands are looked for in.
    static constexpr int headerPeekBytes = 256;

    // The file's first bytes, wherever the device stands.
    QByteArray header() const;
    bool parseHeader();
    bool selectPicture(int number);

    enum class State { Unread, Parsed, Finished, Failed };
    State m_state = State::Unread;
    QByteArray m_data;
    QSize m_size;
    int m_picture = 0; // the picture read, 0 the primary one
    int m_quality = -1;
    EncoderMetadata m_metadata;
    struct ContextDeleter { void operator()(heif_context *context) const; };
    struct HandleDeleter { void operator()(heif_image_handle *handle) const; };
    // Declared in this order so that the handle, which refers into the
    // context, is released first.
    std::unique_ptr<heif_context, ContextDeleter> m_context;
    std::unique_ptr<heif_image_handle, HandleDeleter> m_handle;
};
