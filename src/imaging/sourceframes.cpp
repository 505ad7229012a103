#include "sourceframes.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTransform>

#include <avif/avif.h>
#include <gif_lib.h>
#include <webp/demux.h>

#include <cmath>
#include <algorithm>
#include <cstring>
#include <vector>

#include "exiforientation.h"
#include "imagemagickutil.h"
#include "formattable.h"
#include "jxldecoding.h"
#include "pipelinerules.h"
#include "renderedsources.h"
#include "sourceorientation.h"
#include "tiffdecoder.h"

class FrameReader::Decoder
{
public:
    virtual ~Decoder() = default;
    virtual bool next(SourceFrame *frame, QString *cause) = 0;

    int frames = 0;
    int loops = 0;
};

namespace {

// The texts of this file, translated under one name.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(SourceFrames)
};

QString damaged()
{
    return Texts::tr("damaged or truncated");
}

QString tooLarge(const QSize &size)
{
    return Texts::tr("at %1 x %2 pixels it needs more than %3 MB")
            .arg(size.width())
            .arg(size.height())
            .arg(allocationLimitMegabytes());
}

} // namespace

SourceKind sourceKind(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return SourceKind::Other;
    const QByteArray head = file.peek(12);
    if (isGifData(head))
        return SourceKind::Gif;
    if (head.startsWith("RIFF") && head.mid(8, 4) == "WEBP")
        return SourceKind::Webp;
    // Many camera RAW files are TIFF inside; their name says they are developed whole.
    if (isTiffData(head))
        return isCameraRawExtension(QFileInfo(path).suffix()) ? SourceKind::Other : SourceKind::Tiff;
    // JPEG XL and the HEIF family are their plugins' to recognise: each is
    // asked alone, which is far quicker than every reader trying the content.
    if (QImageReader jxl(&file, "jxl"); jxl.canRead())
        return SourceKind::Jxl;
    if (QImageReader heif(&file, "heif"); heif.canRead())
        return heif.supportsAnimation() ? SourceKind::AvifSequence : SourceKind::HeifPictures;
    return SourceKind::Other;
}

namespace {

// GIF, read record by record with giflib so that only the canvas is held.
class GifDecoder : public FrameReader::Decoder
{
public:
    ~GifDecoder() override
    {
        if (gif) {
            int error = 0;
            DGifCloseFile(gif, &error);
        }
    }

    // Counts the frames and reads the loop count without decoding the pictures.
    static bool scan(const QByteArray &name, int *frames, int *loops, QSize *firstFrameExtent = nullptr)
    {
        int error = 0;
        GifFileType *gif = DGifOpenFileName(name.constData(), &error);
        if (!gif)
            return false;
        *frames = 0;
        *loops = 1; // without the loop extension a GIF plays once
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        bool ok = true;
        while (ok && type != TERMINATE_RECORD_TYPE) {
            ok = DGifGetRecordType(gif, &type) != GIF_ERROR;
            if (ok && type == IMAGE_DESC_RECORD_TYPE) {
                int codeSize = 0;
                GifByteType *block = nullptr;
                ok = DGifGetImageDesc(gif) != GIF_ERROR;
                if (ok && firstFrameExtent && *frames == 0)
                    *firstFrameExtent = QSize(gif->Image.Left + gif->Image.Width, gif->Image.Top + gif->Image.Height);
                ok = ok && DGifGetCode(gif, &codeSize, &block) != GIF_ERROR;
                while (ok && block)
                    ok = DGifGetCodeNext(gif, &block) != GIF_ERROR;
                ++*frames;
            } else if (ok && type == EXTENSION_RECORD_TYPE) {
                ok = skipExtension(gif, loops, nullptr);
            }
        }
        DGifCloseFile(gif, &error);
        // A frame cut short counts too: decoding it tells of the damage,
        // rather than the animation ending early without a word.
        return *frames > 0;
    }

    bool open(const QByteArray &name, QString *cause)
    {
        QSize firstFrameExtent;
        if (!scan(name, &frames, &loops, &firstFrameExtent)) {
            *cause = damaged();
            return false;
        }
        int error = 0;
        gif = DGifOpenFileName(name.constData(), &error);
        if (!gif) {
            *cause = damaged();
            return false;
        }
        // Some writers leave the screen's size 0: players then take the first frame's.
        const QSize size = gif->SWidth > 0 && gif->SHeight > 0 ? QSize(gif->SWidth, gif->SHeight) : firstFrameExtent;
        if (pictureSizeVerdict(size, 32) != PictureSize::Fits) {
            *cause = size.isEmpty() ? damaged() : tooLarge(size);
            return false;
        }
        canvas = QImage(size, QImage::Format_ARGB32);
        if (canvas.isNull()) {
            *cause = tooLarge(size);
            return false;
        }
        canvas.fill(0);
        return true;
    }

    bool next(SourceFrame *frame, QString *cause) override
    {
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        for (GifRecordType type = UNDEFINED_RECORD_TYPE; type != IMAGE_DESC_RECORD_TYPE;) {
            if (DGifGetRecordType(gif, &type) == GIF_ERROR || type == TERMINATE_RECORD_TYPE
                || (type == EXTENSION_RECORD_TYPE && !skipExtension(gif, nullptr, &control))) {
                *cause = damaged();
                return false;
            }
        }
        if (DGifGetImageDesc(gif) == GIF_ERROR) {
            *cause = damaged();
            return false;
        }
        // Clearing needs alpha again.
        canvas.reinterpretAsFormat(QImage::Format_ARGB32);
        // What the frame before asked to be done once it had been shown.
        if (lastDisposal == DISPOSE_BACKGROUND) {
            for (int y = lastArea.top(); y <= lastArea.bottom(); ++y)
                std::fill_n(reinterpret_cast<QRgb *>(canvas.scanLine(y)) + lastArea.left(), lastArea.width(), 0);
        } else if (lastDisposal == DISPOSE_PREVIOUS && !saved.isNull()) {
            canvas = saved;
        }
        if (control.DisposalMode == DISPOSE_PREVIOUS)
            saved = canvas.copy();

        const GifImageDesc &desc = gif->Image;
        const ColorMapObject *map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        if (!map || desc.Width <= 0 || desc.Height <= 0) {
            *cause = damaged();
            return false;
        }
        const QRect area = QRect(desc.Left, desc.Top, desc.Width, desc.Height) & canvas.rect();
        std::vector<GifPixelType> line(size_t(desc.Width));
        // Interlaced rows come in four passes.
        static const int starts[] = {0, 4, 2, 1};
        static const int steps[] = {8, 8, 4, 2};
        for (int pass = 0; pass < (desc.Interlace ? 4 : 1); ++pass) {
            const int start = desc.Interlace ? starts[pass] : 0;
            const int step = desc.Interlace ? steps[pass] : 1;
            for (int row = start; row < desc.Height; row += step) {
                if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR) {
                    *cause = damaged();
                    return false;
                }
                const int y = desc.Top + row;
                if (y < area.top() || y > area.bottom())
                    continue;
                auto *out = reinterpret_cast<QRgb *>(canvas.scanLine(y));
                for (int x = area.left(); x <= area.right(); ++x) {
                    const int index = line[size_t(x - desc.Left)];
                    // An index past the colour table shows nothing, as in browsers.
                    if (index == control.TransparentColor || index >= map->ColorCount)
                        continue;
                    const GifColorType &colour = map->Colors[index];
                    out[x] = qRgb(colour.Red, colour.Green, colour.Blue);
                }
            }
        }
        lastDisposal = control.DisposalMode;
        lastArea = area;
        // A canvas with nothing clear goes out as RGB, so that no output
        // carries an alpha channel it does not need; the canvas itself is
        // retagged, as the frame shares its pixels.
        if (isOpaque(canvas))
            canvas.reinterpretAsFormat(QImage::Format_RGB32);
        frame->image = canvas;
        frame->delayMs = control.DelayTime * 10;
        return true;
    }

private:
    static bool isOpaque(const QImage &canvas)
    {
        for (int y = 0; y < canvas.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(canvas.constScanLine(y));
            if (!std::all_of(line, line + canvas.width(), [](QRgb pixel) { return qAlpha(pixel) == 255; }))
                return false;
        }
        return true;
    }

    // Reads an extension's blocks: the loop count of the application
    // extension into *loops, the graphic control into *control.
    static bool skipExtension(GifFileType *gif, int *loops, GraphicsControlBlock *control)
    {
        int code = 0;
        GifByteType *block = nullptr;
        if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
            return false;
        if (control && code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
            DGifExtensionToGCB(block[0], block + 1, control);
        const bool looping = loops && code == APPLICATION_EXT_FUNC_CODE && block && block[0] >= 11
                && std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0;
        while (block) {
            if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
                return false;
            // The extension counts the repeats after the first play, 0 forever.
            if (looping && block && block[0] >= 3 && block[1] == 1) {
                const int repeats = block[2] | (block[3] << 8);
                *loops = repeats == 0 ? 0 : repeats + 1;
            }
        }
        return true;
    }

    GifFileType *gif = nullptr;
    QImage canvas;
    QImage saved;
    int lastDisposal = DISPOSAL_UNSPECIFIED;
    QRect lastArea;
};

// WEBP through libwebp's animation decoder, which composites the frames.
class WebpDecoder : public FrameReader::Decoder
{
public:
    ~WebpDecoder() override { WebPAnimDecoderDelete(decoder); }

    static int frameCount(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 0;
        const QByteArray data = file.readAll();
        const WebPData input{reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size())};
        WebPDemuxer *demux = WebPDemux(&input);
        const int frames = demux ? int(WebPDemuxGetI(demux, WEBP_FF_FRAME_COUNT)) : 0;
        WebPDemuxDelete(demux);
        return frames;
    }

    bool open(const QString &path, QString *cause)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *cause = damaged();
            return false;
        }
        data = file.readAll();
        const WebPData input{reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size())};
        WebPAnimDecoderOptions options;
        WebPAnimDecoderOptionsInit(&options);
        options.color_mode = MODE_RGBA;
        WebPAnimInfo info;
        decoder = WebPAnimDecoderNew(&input, &options);
        if (!decoder || !WebPAnimDecoderGetInfo(decoder, &info)) {
            *cause = damaged();
            return false;
        }
        size = QSize(int(info.canvas_width), int(info.canvas_height));
        if (pictureSizeVerdict(size, 64) != PictureSize::Fits) {
            *cause = tooLarge(size);
            return false;
        }
        frames = int(info.frame_count);
        loops = int(info.loop_count);
        WebPChunkIterator chunk;
        if (WebPDemuxGetChunk(WebPAnimDecoderGetDemuxer(decoder), "ICCP", 1, &chunk)) {
            space = QColorSpace::fromIccProfile(
                    QByteArray(reinterpret_cast<const char *>(chunk.chunk.bytes), qsizetype(chunk.chunk.size)));
            WebPDemuxReleaseChunkIterator(&chunk);
        }
        turn = transformationForOrientation(storedExifOrientation(path));
        return true;
    }

    bool next(SourceFrame *frame, QString *cause) override
    {
        uint8_t *pixels = nullptr;
        int timestamp = 0;
        if (!WebPAnimDecoderHasMoreFrames(decoder) || !WebPAnimDecoderGetNext(decoder, &pixels, &timestamp)) {
            *cause = damaged();
            return false;
        }
        QImage image = QImage(pixels, size.width(), size.height(), size.width() * 4, QImage::Format_RGBA8888).copy();
        if (image.isNull()) {
            *cause = tooLarge(size);
            return false;
        }
        image.setColorSpace(space);
        frame->image = uprightImage(image, turn);
        frame->delayMs = timestamp - shownUntil;
        shownUntil = timestamp;
        return true;
    }

private:
    QByteArray data; // the decoder reads from it
    WebPAnimDecoder *decoder = nullptr;
    QSize size;
    QColorSpace space;
    QImageIOHandler::Transformations turn = QImageIOHandler::TransformationNone;
    int shownUntil = 0;
};

// AVIF image sequences through libavif; libheif reads only their still pictures.
class AvifDecoder : public FrameReader::Decoder
{
public:
    AvifDecoder() : decoder(avifDecoderCreate()) {}
    ~AvifDecoder() override { avifDecoderDestroy(decoder); }

    bool open(const QString &path, QString *cause)
    {
        if (!decoder || avifDecoderSetIOFile(decoder, QFile::encodeName(path).constData()) != AVIF_RESULT_OK
            || avifDecoderParse(decoder) != AVIF_RESULT_OK) {
            *cause = damaged();
            return false;
        }
        const QSize size(int(decoder->image->width), int(decoder->image->height));
        if (pictureSizeVerdict(size, 64) != PictureSize::Fits) {
            *cause = tooLarge(size);
            return false;
        }
        frames = decoder->imageCount;
        loops = 0; // a sequence carries no loop count this library reads
        return true;
    }

    bool next(SourceFrame *frame, QString *cause) override
    {
        if (avifDecoderNextImage(decoder) != AVIF_RESULT_OK) {
            *cause = damaged();
            return false;
        }
        const avifImage *decoded = decoder->image;
        const bool deep = decoded->depth > 8;
        QImage image(int(decoded->width), int(decoded->height), deep ? QImage::Format_RGBA64 : QImage::Format_RGBA8888);
        if (image.isNull()) {
            *cause = tooLarge(image.size());
            return false;
        }
        avifRGBImage rgb;
        avifRGBImageSetDefaults(&rgb, decoded);
        rgb.format = AVIF_RGB_FORMAT_RGBA;
        rgb.depth = deep ? 16 : 8;
        rgb.pixels = image.bits();
        rgb.rowBytes = uint32_t(image.bytesPerLine());
        if (avifImageYUVToRGB(decoded, &rgb) != AVIF_RESULT_OK) {
            *cause = damaged();
            return false;
        }
        if (decoded->icc.size > 0)
            image.setColorSpace(QColorSpace::fromIccProfile(
                    QByteArray(reinterpret_cast<const char *>(decoded->icc.data), qsizetype(decoded->icc.size))));
        // The rotation (anticlockwise) comes before the mirror.
        const QColorSpace space = image.colorSpace();
        if ((decoded->transformFlags & AVIF_TRANSFORM_IROT) && decoded->irot.angle % 4 != 0)
            image = image.transformed(QTransform().rotate(-90.0 * (decoded->irot.angle % 4)));
        if (decoded->transformFlags & AVIF_TRANSFORM_IMIR)
            image = image.mirrored(decoded->imir.mode == 1, decoded->imir.mode == 0);
        image.setColorSpace(space);
        frame->image = image;
        frame->delayMs = int(std::lround(decoder->imageTiming.duration * 1000.0));
        return true;
    }

private:
    avifDecoder *decoder;
};

// JPEG XL animations through libjxl, which composites each frame onto the
// canvas and turns it upright.
class JxlFrameDecoder : public FrameReader::Decoder
{
public:
    static int frameCount(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 0;
        // A still says so in its first bytes: the rest of the file is not read.
        const QByteArray head = file.read(headBytes);
        JxlBasicInfo info;
        const JxlDecoding header(head, JXL_DEC_BASIC_INFO, false);
        if (header.get() && JxlDecoderProcessInput(header.get()) == JXL_DEC_BASIC_INFO
            && JxlDecoderGetBasicInfo(header.get(), &info) == JXL_DEC_SUCCESS && !info.have_animation)
            return 1;
        return scan(head + file.readAll(), &info);
    }

    bool open(const QString &path, QString *cause)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *cause = damaged();
            return false;
        }
        data = file.readAll();
        JxlBasicInfo info;
        frames = scan(data, &info);
        if (frames == 0) {
            *cause = damaged();
            return false;
        }
        // A still is read as a picture, not here.
        if (!info.have_animation)
            return false;
        // Upright, as libjxl turns the frames.
        size = QSize(int(qMin<uint32_t>(info.xsize, INT_MAX)), int(qMin<uint32_t>(info.ysize, INT_MAX)));
        if (pictureSizeVerdict(size, 64) != PictureSize::Fits) {
            *cause = size.isEmpty() ? damaged() : tooLarge(size);
            return false;
        }
        alpha = info.alpha_bits > 0;
        loops = int(qMin<uint32_t>(info.animation.num_loops, INT_MAX));
        tickMs = 1000.0 * info.animation.tps_denominator / info.animation.tps_numerator;
        decoding = std::make_unique<JxlDecoding>(data, JXL_DEC_COLOR_ENCODING | JXL_DEC_FRAME | JXL_DEC_FULL_IMAGE,
                                                 false);
        if (!decoding->get() || JxlDecoderProcessInput(decoding->get()) != JXL_DEC_COLOR_ENCODING
            || !decoding->chooseColours(info.uses_original_profile, info.num_color_channels == 1)) {
            *cause = damaged();
            return false;
        }
        return true;
    }

    bool next(SourceFrame *frame, QString *cause) override
    {
        const bool deep = decoding->viaWideGamut();
        // Opaque frames stay without alpha, as the first one read as a still does.
        QImage image(size, deep ? (alpha ? QImage::Format_RGBA64 : QImage::Format_RGBX64)
                                : (alpha ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888));
        if (image.isNull()) {
            *cause = tooLarge(size);
            return false;
        }
        const JxlPixelFormat format{4, deep ? JXL_TYPE_UINT16 : JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN,
                                    size_t(image.bytesPerLine())};
        JxlDecoder *decoder = decoding->get();
        JxlFrameHeader header{};
        for (JxlDecoderStatus status = JxlDecoderProcessInput(decoder); status != JXL_DEC_FULL_IMAGE;
             status = JxlDecoderProcessInput(decoder)) {
            const bool handled =
                    (status == JXL_DEC_FRAME && JxlDecoderGetFrameHeader(decoder, &header) == JXL_DEC_SUCCESS)
                    || (status == JXL_DEC_NEED_IMAGE_OUT_BUFFER
                        && JxlDecoderSetImageOutBuffer(decoder, &format, image.bits(), size_t(image.sizeInBytes()))
                                   == JXL_DEC_SUCCESS);
            if (!handled) {
                *cause = damaged();
                return false;
            }
        }
        decoding->applyColours(&image);
        image.convertTo(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888);
        frame->image = image;
        frame->delayMs = int(std::lround(header.duration * tickMs));
        return true;
    }

private:
    static constexpr qint64 headBytes = 64 * 1024;

    // Counts the frames shown: with only their headers asked for, libjxl
    // skips their pixels. Frames before damage count, as in a GIF.
    static int scan(const QByteArray &data, JxlBasicInfo *info)
    {
        const JxlDecoding counting(data, JXL_DEC_BASIC_INFO | JXL_DEC_FRAME, false);
        if (!counting.get() || JxlDecoderProcessInput(counting.get()) != JXL_DEC_BASIC_INFO
            || JxlDecoderGetBasicInfo(counting.get(), info) != JXL_DEC_SUCCESS)
            return 0;
        int shown = 0;
        while (JxlDecoderProcessInput(counting.get()) == JXL_DEC_FRAME)
            ++shown;
        return shown;
    }

    QByteArray data; // the decoder reads from it
    std::unique_ptr<JxlDecoding> decoding;
    QSize size;
    bool alpha = false;
    double tickMs = 0;
};

} // namespace

int sourcePageCount(const QString &path)
{
    int count = 0;
    switch (sourceKind(path)) {
    case SourceKind::Other:
        count = renderedPageCount(path);
        break;
    case SourceKind::Tiff:
        count = tiffPageCount(path);
        break;
    case SourceKind::Gif: {
        int loops = 0;
        GifDecoder::scan(QFile::encodeName(path), &count, &loops);
        break;
    }
    case SourceKind::Webp:
        count = WebpDecoder::frameCount(path);
        break;
    case SourceKind::AvifSequence: {
        const FrameReader reader(path);
        count = reader.frameCount();
        break;
    }
    case SourceKind::Jxl:
        count = JxlFrameDecoder::frameCount(path);
        break;
    case SourceKind::HeifPictures:
        count = QImageReader(path).imageCount();
        break;
    }
    return qMax(1, count);
}

bool isAnimatedSource(const QString &path)
{
    const SourceKind kind = sourceKind(path);
    return (kind == SourceKind::Gif || kind == SourceKind::Webp || kind == SourceKind::AvifSequence
            || kind == SourceKind::Jxl)
           && sourcePageCount(path) > 1;
}

FrameReader::FrameReader(const QString &path)
{
    switch (sourceKind(path)) {
    case SourceKind::Gif: {
        auto gif = std::make_unique<GifDecoder>();
        if (gif->open(QFile::encodeName(path), &openCause))
            decoder = std::move(gif);
        break;
    }
    case SourceKind::Webp: {
        auto webp = std::make_unique<WebpDecoder>();
        if (webp->open(path, &openCause))
            decoder = std::move(webp);
        break;
    }
    case SourceKind::AvifSequence: {
        auto avif = std::make_unique<AvifDecoder>();
        if (avif->open(path, &openCause))
            decoder = std::move(avif);
        break;
    }
    case SourceKind::Jxl: {
        auto jxl = std::make_unique<JxlFrameDecoder>();
        if (jxl->open(path, &openCause))
            decoder = std::move(jxl);
        break;
    }
    case SourceKind::Tiff:
    case SourceKind::HeifPictures:
    case SourceKind::Other:
        break;
    }
}

FrameReader::~FrameReader() = default;

bool FrameReader::isOpen() const
{
    return decoder != nullptr;
}

QString FrameReader::cause() const
{
    return openCause;
}

int FrameReader::frameCount() const
{
    return decoder ? decoder->frames : 0;
}

int FrameReader::loopCount() const
{
    return decoder ? decoder->loops : 0;
}

bool FrameReader::next(SourceFrame *frame, QString *cause)
{
    if (!decoder) {
        *cause = openCause;
        return false;
    }
    return decoder->next(frame, cause);
}

bool isGifData(const QByteArray &head)
{
    return head.startsWith("GIF87a") || head.startsWith("GIF89a");
}
