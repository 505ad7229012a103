#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

// The pages of a document (TIFF, PDF) and the frames of an animation (GIF,
// WEBP, AVIF sequence, JPEG XL) and the pictures a HEIF file holds side by
// side, as far as a source has more than one.

// How a source's pages or frames are read, told from its content (and, for
// camera RAW files built like TIFF, from its name).
enum class SourceKind {
    Other,        // one picture, or a drawing or document the renderer pages
    Tiff,         // pages through libtiff
    Gif,          // frames through giflib
    Webp,         // frames through libwebp
    AvifSequence, // a HEIF or AVIF file announcing an image sequence: frames through libavif
    Jxl,          // frames through libjxl
    HeifPictures, // pictures side by side, the reader's images
};
SourceKind sourceKind(const QString &path);

// How many pages or frames the source holds, told from its structure without
// decoding pixels; 1 for any other picture and for one that cannot be told
// (decoding it says why).
int sourcePageCount(const QString &path);

// True when a file beginning with these bytes is a GIF.
bool isGifData(const QByteArray &head);

// True when the source is an animation of more than one frame.
bool isAnimatedSource(const QString &path);

struct SourceFrame
{
    QImage image;
    int delayMs = 0;
};

// Reads an animation's frames one after another, each the whole canvas as a
// player shows it (earlier frames beneath, their disposal applied), upright
// and in the file's colour space. Only one canvas is held at a time.
class FrameReader
{
public:
    explicit FrameReader(const QString &path);
    ~FrameReader();
    FrameReader(const FrameReader &) = delete;
    FrameReader &operator=(const FrameReader &) = delete;

    // False for a source that is no animation this reader reads, or is
    // damaged; cause() says why for a damaged one.
    bool isOpen() const;
    QString cause() const;
    int frameCount() const;
    // How often the animation plays, 0 forever.
    int loopCount() const;
    // The next frame; false with *cause for the user when it cannot be decoded.
    bool next(SourceFrame *frame, QString *cause);

    class Decoder;

private:
    std::unique_ptr<Decoder> decoder;
    QString openCause;
};
