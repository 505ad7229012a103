#include "pixeladjustments.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// Contrast, brightness and gamma depend on one channel value only, so they are
// worked out once per value 0..255. Nothing is rounded or clamped here: the
// values carry on into sepia and inversion exactly as computed per pixel.
using ToneTable = std::array<float, 256>;
using ByteTable = std::array<quint8, 256>;

ToneTable toneTable(const ChannelAdjustments &a)
{
    const float factor = a.contrast != 0 ? contrastFactor(a.contrast) : 0.0f;
    const float exponent = a.gamma != 0.0f ? 1.0f / a.gamma : 0.0f;
    ToneTable table;
    for (int i = 0; i < 256; ++i) {
        float v = float(i);
        if (a.contrast != 0)
            v = (v - 128.0f) * factor + 128.0f;
        if (a.brightness != 0)
            v = v + float(a.brightness);
        if (a.gamma != 0.0f)
            v = std::pow(v / 255.0f, exponent) * 255.0f;
        table[i] = v;
    }
    return table;
}

// A threshold of 0 switches inversion off; as minus infinity it never
// compares greater, so the per-pixel test needs no second condition.
inline float effectiveThreshold(float threshold)
{
    return threshold != 0.0f ? threshold : -std::numeric_limits<float>::infinity();
}

inline float inverted(float v, float threshold)
{
    return threshold > v ? 255.0f - v : v;
}

// Clamped to 0..255 and truncated toward zero; not-a-number gives 0. Written
// as selects so that it compiles to min/max without branches.
inline quint32 stored(float v)
{
    float c = v > 0.0f ? v : 0.0f;
    c = c < 255.0f ? c : 255.0f;
    return quint32(c);
}

void adjustByTable(QImage &image, const ByteTable &table)
{
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb p = line[x];
            line[x] = (p & 0xff000000u) | (quint32(table[(p >> 16) & 0xff]) << 16)
                    | (quint32(table[(p >> 8) & 0xff]) << 8) | quint32(table[p & 0xff]);
        }
    }
}

// Sepia mixes the channels, so it runs per pixel, in double precision with each
// new channel rounded to single precision before the next line uses it. The
// products of a coefficient with an original channel depend on one value only
// and come from tables; the sums keep the order of the formula.
struct SepiaTables
{
    std::array<double, 256> r393, g769, b189, g686, b168, b131;

    explicit SepiaTables(const ToneTable &tone)
    {
        for (int i = 0; i < 256; ++i) {
            const double v = tone[i];
            r393[i] = 0.393 * v;
            g769[i] = 0.769 * v;
            b189[i] = 0.189 * v;
            g686[i] = 0.686 * v;
            b168[i] = 0.168 * v;
            b131[i] = 0.131 * v;
        }
    }
};

void adjustWithSepia(QImage &image, const SepiaTables &t, float threshold)
{
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb p = line[x];
            const quint32 r = (p >> 16) & 0xff;
            const quint32 g = (p >> 8) & 0xff;
            const quint32 b = p & 0xff;
            const float r1 = float(t.r393[r] + t.g769[g] + t.b189[b]);
            const float g1 = float(t.g686[g] + 0.349 * double(r1) + t.b168[b]);
            const float b1 = float(0.534 * double(g1) + 0.272 * double(r1) + t.b131[b]);
            line[x] = (p & 0xff000000u) | (stored(inverted(r1, threshold)) << 16)
                    | (stored(inverted(g1, threshold)) << 8) | stored(inverted(b1, threshold));
        }
    }
}

} // namespace

ChannelAdjustments channelAdjustments(const ConversionSettings &settings)
{
    ChannelAdjustments a;
    a.contrast = settings.adjustContrast;
    a.brightness = settings.adjustBrightness;
    a.gamma = float(settings.adjustGamma + 100) / 100.0f;
    a.sepia = settings.adjustSepia == 1;
    a.invertThreshold = float(settings.adjustInvertColours);
    return a;
}

float contrastFactor(int contrast)
{
    float d = float((259 - contrast) * 255);
    if (d == 0.0f)
        d = float((258 - contrast) * 255);
    return float((contrast + 255) * 259) / d;
}

void adjustPixels(QImage &image, const ChannelAdjustments &adjustments)
{
    if (image.isNull())
        return;
    if (image.format() != QImage::Format_RGB32)
        image.convertTo(QImage::Format_RGB32);

    const ToneTable tone = toneTable(adjustments);
    const float threshold = effectiveThreshold(adjustments.invertThreshold);
    ByteTable bytes;
    bool identity = true;
    for (int i = 0; i < 256; ++i) {
        bytes[i] = quint8(stored(inverted(tone[i], threshold)));
        identity = identity && bytes[i] == i;
    }
    if (identity && !adjustments.sepia)
        return;

    if (adjustments.sepia)
        adjustWithSepia(image, SepiaTables(tone), threshold);
    else
        adjustByTable(image, bytes);
}
