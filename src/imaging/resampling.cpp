// libvips first: GLib's headers use names that Qt's define as macros.
#include <vips/vips.h>

#include "resampling.h"

#include <QColorSpace>

#include <algorithm>
#include <cstring>
#include <limits>
#include <mutex>
#include <vector>

namespace {

void startVips()
{
    static std::once_flag once;
    std::call_once(once, [] {
        vips_init("kestrix");
        vips_concurrency_set(1);
        // Wrapped pictures' memory is gone after each call: no result may
        // outlive it in libvips' operation cache.
        vips_cache_set_max(0);
    });
}

// The picture in a layout libvips reads as it lies: grey, or bytes in red,
// green, blue, alpha order.
QImage workingPicture(const QImage &image)
{
    switch (image.format()) {
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64:
        return image;
    default:
        break;
    }
    const bool alpha = image.hasAlphaChannel();
    if (image.depth() <= 32)
        return image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888);
    return image.convertToFormat(alpha ? QImage::Format_RGBA64 : QImage::Format_RGBX64);
}

bool isDeep(QImage::Format format)
{
    return format == QImage::Format_Grayscale16 || format == QImage::Format_RGBX64 || format == QImage::Format_RGBA64;
}

bool isGrey(QImage::Format format)
{
    return format == QImage::Format_Grayscale8 || format == QImage::Format_Grayscale16;
}

// libvips' operations in one call; every image they make is released with it.
class VipsCall
{
public:
    VipsCall() : m_context(vips_image_new()), m_images(reinterpret_cast<VipsImage **>(
                                                   vips_object_local_array(VIPS_OBJECT(m_context), places)))
    {
    }
    ~VipsCall()
    {
        g_object_unref(m_context);
        vips_error_clear();
    }
    VipsCall(const VipsCall &) = delete;
    VipsCall &operator=(const VipsCall &) = delete;

    // An operation reads current() and writes to out(); done() takes its
    // result, which becomes current() when the operation succeeded.
    VipsImage *current() const { return m_images[m_used - 1]; }
    VipsImage **out() { return &m_images[m_used]; }
    bool done(int result)
    {
        if (result != 0 || !m_images[m_used])
            return false;
        ++m_used;
        return true;
    }

    // The working picture wrapped without copying. Rows that Qt pads are
    // read as a wider picture, then narrowed.
    bool wrap(const QImage &pixels)
    {
        const bool deep = isDeep(pixels.format());
        const int bands = isGrey(pixels.format()) ? 1 : 4;
        const int pixelBytes = bands * (deep ? 2 : 1);
        const int rowPixels = int(pixels.bytesPerLine() / pixelBytes);
        VipsImage *wrapped =
            vips_image_new_from_memory(pixels.constBits(), size_t(pixels.sizeInBytes()), rowPixels, pixels.height(),
                                       bands, deep ? VIPS_FORMAT_USHORT : VIPS_FORMAT_UCHAR);
        *out() = wrapped;
        if (!done(0))
            return false;
        const VipsInterpretation interpretation = bands == 1 ? (deep ? VIPS_INTERPRETATION_GREY16 : VIPS_INTERPRETATION_B_W)
                                                             : (deep ? VIPS_INTERPRETATION_RGB16 : VIPS_INTERPRETATION_sRGB);
        if (!done(vips_copy(current(), out(), "interpretation", interpretation, nullptr)))
            return false;
        return rowPixels == pixels.width()
               || done(vips_extract_area(current(), out(), 0, 0, pixels.width(), pixels.height(), nullptr));
    }

    // The current image computed into a picture of the given format.
    QImage picture(QImage::Format format) const
    {
        VipsImage *image = current();
        size_t bytes = 0;
        void *data = vips_image_write_to_memory(image, &bytes);
        if (!data)
            return QImage();
        const int width = image->Xsize;
        const int height = image->Ysize;
        const qsizetype rowBytes = qsizetype(bytes / size_t(height));
        // Rows of whole 32-bit words are taken over as they are; others are copied.
        if (rowBytes % 4 == 0)
            return QImage(static_cast<uchar *>(data), width, height, rowBytes, format, g_free, data);
        QImage copy(width, height, format);
        for (int y = 0; y < height && !copy.isNull(); ++y)
            std::memcpy(copy.scanLine(y), static_cast<const uchar *>(data) + y * rowBytes, size_t(rowBytes));
        g_free(data);
        return copy;
    }

private:
    static constexpr int places = 8;
    VipsImage *m_context;
    VipsImage **m_images;
    int m_used = 0;
};

// The result in the source's own format and colour space.
QImage asSource(QImage result, const QImage &source)
{
    if (result.isNull())
        return result;
    if (result.format() == QImage::Format_RGBA64 && source.format() == QImage::Format_RGBA64_Premultiplied)
        premultiplyDeep(result);
    else if (result.format() != source.format())
        result.convertTo(source.format());
    result.setColorSpace(source.colorSpace());
    return result;
}

// The unsharp mask libvips tunes for pictures reduced for screens (its
// sharpen with sigma 0.5, x1 2, y2 10, y3 20, m1 0, m2 3): only edges are
// sharpened (flat areas, noise among them, are left alone), lightness only,
// within a radius of about a pixel. It works here on the luma of the
// picture's own gamma-encoded samples, whose range stands for lightness 0 to
// 100 (the two follow each other closely), and adds the change to each colour
// alike: the same edges as libvips' sharpen at a fraction of its time, which
// goes mostly into its round trip through Lab.
float sharpening(float difference)
{
    constexpr float threshold = 2, slope = 3, brightest = 10, darkest = 20;
    if (difference > threshold)
        return std::min((difference - threshold) * slope, brightest);
    if (difference < -threshold)
        return std::max((difference + threshold) * slope, -darkest);
    return 0;
}

template <typename Sample, int Channels>
void sharpenLightness(QImage &image)
{
    const int width = image.width();
    const int height = image.height();
    const float top = std::numeric_limits<Sample>::max();
    const auto row = [&](int y) { return reinterpret_cast<Sample *>(image.scanLine(y)); };
    const auto luma = [](const Sample *p) {
        return Channels == 1 ? float(p[0]) : 0.2126f * p[0] + 0.7152f * p[1] + 0.0722f * p[2];
    };
    // The luma, and its blur across each row through libvips' integer mask
    // for sigma 0.5 (3, 20, 3), edges repeated; the blur down follows.
    std::vector<float> lumas(size_t(width) * size_t(height));
    std::vector<float> across(lumas.size());
    for (int y = 0; y < height; ++y) {
        const Sample *line = row(y);
        float *l = &lumas[size_t(y) * size_t(width)];
        for (int x = 0; x < width; ++x)
            l[x] = luma(line + x * Channels);
        float *a = &across[size_t(y) * size_t(width)];
        for (int x = 0; x < width; ++x)
            a[x] = (3 * l[std::max(x - 1, 0)] + 20 * l[x] + 3 * l[std::min(x + 1, width - 1)]) / 26;
    }
    for (int y = 0; y < height; ++y) {
        const float *above = &across[size_t(std::max(y - 1, 0)) * size_t(width)];
        const float *middle = &across[size_t(y) * size_t(width)];
        const float *below = &across[size_t(std::min(y + 1, height - 1)) * size_t(width)];
        const float *l = &lumas[size_t(y) * size_t(width)];
        Sample *line = row(y);
        for (int x = 0; x < width; ++x) {
            const float blurred = (3 * above[x] + 20 * middle[x] + 3 * below[x]) / 26;
            const float change = sharpening((l[x] - blurred) * 100 / top) * top / 100;
            if (change == 0)
                continue;
            for (int c = 0; c < std::min(Channels, 3); ++c) {
                Sample &sample = line[x * Channels + c];
                sample = Sample(std::clamp(sample + change, 0.0f, top) + 0.5f);
            }
        }
    }
}

void sharpenLightness(QImage &image)
{
    const bool grey = isGrey(image.format());
    if (isDeep(image.format()))
        grey ? sharpenLightness<quint16, 1>(image) : sharpenLightness<quint16, 4>(image);
    else
        grey ? sharpenLightness<quint8, 1>(image) : sharpenLightness<quint8, 4>(image);
}

} // namespace

QImage lanczosResampled(const QImage &image, const QSize &size, bool sharpen)
{
    startVips();
    const QImage pixels = workingPicture(image);
    const bool reduced = qint64(size.width()) * size.height() < qint64(image.width()) * image.height();
    const bool alpha = pixels.hasAlphaChannel();
    const bool deep = isDeep(pixels.format());
    const double maxAlpha = deep ? 65535 : 255;
    VipsCall call;
    if (!call.wrap(pixels))
        return QImage();
    // Colours are mixed premultiplied, in floating point as libvips' thumbnailer
    // mixes them, so that nothing under transparent pixels bleeds in and
    // faint pixels keep their colour.
    if (alpha && !call.done(vips_premultiply(call.current(), call.out(), "max_alpha", maxAlpha, nullptr)))
        return QImage();
    if (!call.done(vips_resize(call.current(), call.out(), double(size.width()) / image.width(), "vscale",
                               double(size.height()) / image.height(), "kernel", VIPS_KERNEL_LANCZOS3, nullptr)))
        return QImage();
    // libvips rounds the scaled sides; a side off by one is made exact.
    if ((call.current()->Xsize != size.width() || call.current()->Ysize != size.height())
        && !call.done(vips_embed(call.current(), call.out(), 0, 0, size.width(), size.height(), "extend",
                                 VIPS_EXTEND_COPY, nullptr)))
        return QImage();
    if (alpha
        && (!call.done(vips_unpremultiply(call.current(), call.out(), "max_alpha", maxAlpha, nullptr))
            || !call.done(vips_round(call.current(), call.out(), VIPS_OPERATION_ROUND_RINT, nullptr))
            || !call.done(vips_cast(call.current(), call.out(), deep ? VIPS_FORMAT_USHORT : VIPS_FORMAT_UCHAR, nullptr))))
        return QImage();
    QImage result = call.picture(pixels.format());
    if (sharpen && reduced && !result.isNull())
        sharpenLightness(result);
    return asSource(result, image);
}

QImage attentionCropped(const QImage &image, const QSize &size)
{
    startVips();
    const QImage pixels = workingPicture(image);
    VipsCall call;
    if (!call.wrap(pixels)
        || !call.done(vips_smartcrop(call.current(), call.out(), size.width(), size.height(), "interesting",
                                     VIPS_INTERESTING_ATTENTION, nullptr)))
        return QImage();
    return asSource(call.picture(pixels.format()), image);
}

void premultiplyDeep(QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgba64 *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = line[x].premultiplied();
    }
    image.reinterpretAsFormat(QImage::Format_RGBA64_Premultiplied);
}
