// Encodes and decodes a 4000 x 3000 photo-like picture in every target format
// through the program's own writers and loader, and prints the times.
// Usage: kx_bench_codecs [output folder [format...]]
// The files are kept in the folder when one is given; formats narrow the run.

#include "imagemagickutil.h"
#include "imagewriters.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>

namespace {

// Smooth light falloff, a few soft shapes and fine grain: what lossy
// encoders meet in photographs, unlike flat test patterns.
QImage makePhoto(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const double fy = double(y) / height;
        for (int x = 0; x < width; ++x) {
            const double fx = double(x) / width;
            seed = seed * 1664525u + 1013904223u;
            const int grain = int((seed >> 24) % 5) - 2;
            const double wave = std::sin(fx * 23.0 + std::cos(fy * 17.0) * 3.0) * 0.5 + 0.5;
            const double disc = std::exp(-((fx - 0.6) * (fx - 0.6) + (fy - 0.4) * (fy - 0.4)) * 18.0);
            const int r = int(200 * fx * (1 - fy) + 55 * wave) + grain;
            const int g = int(120 + 100 * disc + 35 * std::sin(fy * 40.0 + fx * 5.0)) + grain;
            const int b = int(180 * fy + 60 * (1 - disc) * wave) + grain;
            line[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
        }
    }
    return image;
}

// Peak signal-to-noise ratio of the decoded picture against the source, in dB.
double psnr(const QImage &decoded, const QImage &source)
{
    const QImage a = decoded.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto *p = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *q = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int dr = qRed(p[x]) - qRed(q[x]), dg = qGreen(p[x]) - qGreen(q[x]), db = qBlue(p[x]) - qBlue(q[x]);
            sum += dr * dr + dg * dg + db * db;
        }
    }
    const double mse = sum / (3.0 * a.width() * a.height());
    return mse > 0 ? 10 * std::log10(255.0 * 255.0 / mse) : 99.0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    QDir().mkpath(folder);

    const QImage photo = makePhoto(4000, 3000);
    const double megapixels = photo.width() * double(photo.height()) / 1e6;
    photo.save(folder + "/source.png");
    out << "picture: " << photo.width() << " x " << photo.height() << ", source written to " << folder
        << "/source.png\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
               .arg("format", -6).arg("encode s", 9).arg("MP/s", 7).arg("decode s", 9).arg("MP/s", 7).arg("bytes", 11)
               .arg("PSNR dB", 8);

    QStringList formats{"avif", "heic", "heif", "jxl", "webp", "jpg", "png", "tiff", "gif"};
    if (argc > 2) {
        formats.clear();
        for (int i = 2; i < argc; ++i)
            formats << QString::fromLocal8Bit(argv[i]);
    }
    for (const QString &suffix : formats) {
        const QString path = folder + "/bench." + suffix;
        QString error;
        QElapsedTimer timer;
        timer.start();
        const ImageFormat *format = formatForExtension(suffix);
        const bool written = format && writeImageFile(photo, path, *format, writeOptionsFor(ConversionSettings(), *format), &error);
        const double encodeSeconds = timer.nsecsElapsed() / 1e9;
        if (!written) {
            out << suffix << ": " << error << "\n";
            continue;
        }
        QImage decoded;
        timer.restart();
        const bool read = ImageMagickUtil().loadImage(path, decoded);
        const double decodeSeconds = timer.nsecsElapsed() / 1e9;
        const bool decodedWhole = read && decoded.size() == photo.size();
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7%8\n")
                   .arg(suffix, -6)
                   .arg(encodeSeconds, 9, 'f', 3)
                   .arg(megapixels / encodeSeconds, 7, 'f', 2)
                   .arg(decodeSeconds, 9, 'f', 3)
                   .arg(megapixels / decodeSeconds, 7, 'f', 2)
                   .arg(QFileInfo(path).size(), 11)
                   .arg(decodedWhole ? psnr(decoded, photo) : 0.0, 8, 'f', 1)
                   .arg(decodedWhole ? "" : "  (decode failed)");
        out.flush();
    }
    return 0;
}
