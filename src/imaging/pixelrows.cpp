#include "pixelrows.h"

#include <QRgba64>

#include <algorithm>

quint8 unitTo8(double value)
{
    return quint8(std::min(std::max(0.0, value), 1.0) * 255.0 + 0.5);
}

quint16 unitTo16(double value)
{
    return quint16(std::min(std::max(0.0, value), 1.0) * 65535.0 + 0.5);
}

namespace {

template<typename Pixel, typename Make>
void storePixels(uchar *line, int width, const double *rgba, bool premultiplied, Make make)
{
    auto *out = reinterpret_cast<Pixel *>(line);
    for (int x = 0; x < width; ++x, rgba += 4) {
        const double alpha = rgba[3];
        // An associated colour never exceeds its alpha.
        if (premultiplied)
            out[x] = make(std::min(rgba[0], alpha), std::min(rgba[1], alpha), std::min(rgba[2], alpha), alpha);
        else
            out[x] = make(rgba[0], rgba[1], rgba[2], alpha);
    }
}

} // namespace

void storeRgbaRow(QImage &image, int y, const double *rgba)
{
    uchar *line = image.scanLine(y);
    const int width = image.width();
    const auto grey8 = [](double grey, double, double, double) { return unitTo8(grey); };
    const auto grey16 = [](double grey, double, double, double) { return unitTo16(grey); };
    const auto rgba64 = [](double r, double g, double b, double a) {
        return QRgba64::fromRgba64(unitTo16(r), unitTo16(g), unitTo16(b), unitTo16(a));
    };
    const auto argb32 = [](double r, double g, double b, double a) {
        return qRgba(unitTo8(r), unitTo8(g), unitTo8(b), unitTo8(a));
    };
    switch (image.format()) {
    case QImage::Format_Grayscale8:
        return storePixels<quint8>(line, width, rgba, false, grey8);
    case QImage::Format_Grayscale16:
        return storePixels<quint16>(line, width, rgba, false, grey16);
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64:
        return storePixels<QRgba64>(line, width, rgba, false, rgba64);
    case QImage::Format_RGBA64_Premultiplied:
        return storePixels<QRgba64>(line, width, rgba, true, rgba64);
    case QImage::Format_ARGB32_Premultiplied:
        return storePixels<QRgb>(line, width, rgba, true, argb32);
    default:
        return storePixels<QRgb>(line, width, rgba, false, argb32);
    }
}

RowReducer::RowReducer(QImage *reduced, int sourceWidth, int factor, bool associated)
    : m_image(reduced),
      m_sourceWidth(sourceWidth),
      m_factor(factor),
      m_associated(associated),
      m_sums(size_t(reduced->width()) * 4),
      m_row(size_t(reduced->width()) * 4)
{
}

void RowReducer::add(const double *rgba)
{
    for (int x = 0; x < m_sourceWidth; ++x, rgba += 4) {
        double *sum = &m_sums[size_t(x / m_factor) * 4];
        const double weight = m_associated ? 1.0 : rgba[3];
        for (int c = 0; c < 3; ++c)
            sum[c] += rgba[c] * weight;
        sum[3] += rgba[3];
    }
    if (++m_rows == m_factor)
        finish();
}

void RowReducer::finish()
{
    if (m_rows == 0 || m_y >= m_image->height())
        return;
    const int width = m_image->width();
    for (int x = 0; x < width; ++x) {
        const double *sum = &m_sums[size_t(x) * 4];
        double *out = &m_row[size_t(x) * 4];
        const double count = double(m_rows) * (std::min(m_sourceWidth, (x + 1) * m_factor) - x * m_factor);
        // A fully transparent block has no colour to keep.
        const double weight = m_associated || sum[3] == 0.0 ? count : sum[3];
        for (int c = 0; c < 3; ++c)
            out[c] = sum[c] / weight;
        out[3] = sum[3] / count;
    }
    storeRgbaRow(*m_image, m_y++, m_row.data());
    std::fill(m_sums.begin(), m_sums.end(), 0.0);
    m_rows = 0;
}
