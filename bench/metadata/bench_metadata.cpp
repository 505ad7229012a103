// What copying a camera photo's metadata adds to the conversion of one
// 4000 x 3000 JPEG: reading and fitting it, and writing it into each target
// that Exiv2 writes after encoding. Medians of 20 runs, in milliseconds.
// Usage: bench_metadata

#include "photometadata.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr int runs = 20;

double medianMs(const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// What a camera writes: exposure data, position, a thumbnail and some XMP.
void addCameraMetadata(const QString &path)
{
    auto image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    Exiv2::ExifData &exif = image->exifData();
    exif["Exif.Image.Make"] = "Kestrel";
    exif["Exif.Image.Model"] = "Kestrel X100";
    exif["Exif.Image.Orientation"] = uint16_t(6);
    exif["Exif.Photo.DateTimeOriginal"] = "2021:07:14 09:30:00";
    exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 250);
    exif["Exif.Photo.FNumber"] = Exiv2::URational(28, 10);
    exif["Exif.Photo.ISOSpeedRatings"] = uint16_t(200);
    exif["Exif.Photo.MakerNote"] = std::string(30000, 'm');
    exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
    exif["Exif.GPSInfo.GPSLatitude"] = Exiv2::URational(48, 1);
    QByteArray thumbnail;
    QBuffer buffer(&thumbnail);
    buffer.open(QIODevice::WriteOnly);
    QImage(160, 120, QImage::Format_RGB32).save(&buffer, "jpg");
    Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte *>(thumbnail.constData()),
                                            long(thumbnail.size()));
    image->xmpData()["Xmp.dc.title"] = "lang=\"x-default\" Harbour at dawn";
    image->xmpData()["Xmp.xmp.Rating"] = "4";
    image->writeMetadata();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir folder;
    // Gradients with grain, so that the files have a photo's size.
    QImage photo(4000, 3000, QImage::Format_RGB32);
    quint32 seed = 1;
    for (int y = 0; y < photo.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = int(seed >> 28);
            line[x] = qRgb(x / 16 + grain, y / 12 + grain, 128 + grain);
        }
    }
    const QString source = folder.filePath("camera.jpg");
    photo.save(source, "jpg", 90);
    addCameraMetadata(source);

    PhotoMetadata metadata;
    out << "read and fit: " << medianMs([&] { metadata = readPhotoMetadata(source, QSize(3000, 4000), false); })
        << " ms\n";
    for (const char *format : {"jpg", "png", "webp", "tiff"}) {
        QByteArray encoded;
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        photo.save(&buffer, format);
        out << "write into " << format << " (" << encoded.size() / 1024 << " KB): " << medianMs([&] {
            QByteArray bytes = encoded;
            embedPhotoMetadata(&bytes, metadata);
        }) << " ms\n";
    }
    return 0;
}
