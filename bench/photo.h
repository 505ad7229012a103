#pragma once

#include <QImage>
#include <QRandomGenerator>

#include <cmath>

// Smooth gradients, a few soft shapes and sensor-like noise, different for
// every index, so that the encoders work as hard as on photographs.
inline QImage makePhoto(int width, int height, int index)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(quint32(1234 + index));
    const int cx = width / 3 + int(random.bounded(width / 3));
    const int cy = height / 3 + int(random.bounded(height / 3));
    const double radius = double(qMin(width, height)) / 2.5;
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double dx = x - cx;
            const double dy = y - cy;
            const double d = qMin(1.0, (dx * dx + dy * dy) / (radius * radius));
            const int noise = int(random.generate() & 15) - 8;
            const int r = qBound(0, int(40 + 180 * (1.0 - d) + (x * 30) / width) + noise, 255);
            const int g = qBound(0, int(60 + 120 * double(y) / height + 40 * d) + noise, 255);
            const int b = qBound(0, int(90 + 100 * d + ((x ^ y) & 31)) + noise, 255);
            line[x] = qRgb(r, g, b);
        }
    }
    return image;
}

// Mean SSIM of two pictures of one size over 8 x 8 windows of their luma.
inline double ssim(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_Grayscale8);
    const QImage y = b.convertToFormat(QImage::Format_Grayscale8);
    constexpr double c1 = (0.01 * 255) * (0.01 * 255);
    constexpr double c2 = (0.03 * 255) * (0.03 * 255);
    double sum = 0;
    int windows = 0;
    for (int top = 0; top + 8 <= x.height(); top += 8) {
        for (int left = 0; left + 8 <= x.width(); left += 8) {
            double mx = 0, my = 0, xx = 0, yy = 0, xy = 0;
            for (int r = top; r < top + 8; ++r) {
                const uchar *px = x.constScanLine(r) + left;
                const uchar *py = y.constScanLine(r) + left;
                for (int c = 0; c < 8; ++c) {
                    mx += px[c];
                    my += py[c];
                    xx += px[c] * px[c];
                    yy += py[c] * py[c];
                    xy += px[c] * py[c];
                }
            }
            mx /= 64;
            my /= 64;
            const double vx = xx / 64 - mx * mx, vy = yy / 64 - my * my, cov = xy / 64 - mx * my;
            sum += ((2 * mx * my + c1) * (2 * cov + c2)) / ((mx * mx + my * my + c1) * (vx + vy + c2));
            ++windows;
        }
    }
    return windows ? sum / windows : 0;
}
