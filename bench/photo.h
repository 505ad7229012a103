#pragma once

#include <QImage>
#include <QRandomGenerator>

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
