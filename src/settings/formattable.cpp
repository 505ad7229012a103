#include "formattable.h"

namespace {

using Route = MetadataRoute;
using Control = TargetControl;
using Writer = TargetWriter;
constexpr bool read = true;
constexpr bool write = true;
constexpr bool animates = true;
constexpr bool opaque = true;

const QStringList &cameraRawExtensions()
{
    static const QStringList extensions{"dng", "cr2", "cr3", "crw", "nef", "nrw", "arw", "srf",
                                        "sr2", "orf", "raf", "rw2", "rwl", "pef", "kdc", "dcr",
                                        "srw", "3fr", "fff", "erf", "mrw", "mef", "mos", "iiq"};
    return extensions;
}

// Rows that can be written keep their order: it is the stored target index.
// New formats go at the end, so that the dialogs list them last.
// Working memory (the last number of a target's row): the peak resident
// memory of converting 24 MP photo-like JPEGs one at a time at the default
// settings, less an idle process's, per source pixel (bench_memory), rounded
// up, plus 4 bytes for the copy a pipeline step (scaling, rotation) makes.
QList<ImageFormat> formatRows()
{
    return {
        {"AVIF", {"avif", "avifs"}, {"image/avif"}, read, write, "avifQuality", {}, Control::None, Route::ByEncoder,
         Writer::QtPlugin, 30},
        {"GIF", {"gif"}, {"image/gif"}, read, write, {}, {}, Control::None, Route::None, Writer::Gif, 10,
         animates},
        {"HEIC", {"heic"}, {"image/heic"}, read, write, "heicQuality", {}, Control::None, Route::ByEncoder,
         Writer::QtPlugin, 28},
        {"HEIF", {"heif"}, {"image/heif"}, read, write, "heifQuality", {}, Control::None, Route::ByEncoder,
         Writer::QtPlugin, 28},
        {"JPG", {"jpg", "jpeg"}, {"image/jpeg"}, read, write, "targeFileQuality", {}, Control::None,
         Route::AfterEncoding, Writer::Jpeg, 11, !animates, 10, true, opaque},
        {"JPEG XL", {"jxl"}, {"image/jxl"}, read, write, "jxlQuality", "jxlLossless", Control::None, Route::ByEncoder,
         Writer::QtPlugin, 19},
        {"PNG", {"png"}, {"image/png"}, read, write, {}, {}, Control::PngLevel, Route::AfterEncoding,
         Writer::QtPlugin, 8},
        {"TIFF", {"tiff", "tif"}, {"image/tiff"}, read, write, {}, {}, Control::TiffCompression,
         Route::AfterEncoding, Writer::QtPlugin, 9},
        {"WEBP", {"webp"}, {"image/webp"}, read, write, "webpQuality", "webpLossless", Control::None,
         Route::AfterEncoding, Writer::Webp, 12, animates, 10},
        {"PDF", {"pdf"}, {"application/pdf"}, read, write, {}, {}, Control::None, Route::None, Writer::Document,
         9},
        {"SVG", {"svg", "svgz"}, {"image/svg+xml"}, read, !write},
        {"Camera RAW", cameraRawExtensions(),
         {"image/x-adobe-dng", "image/x-canon-cr2", "image/x-canon-cr3", "image/x-canon-crw", "image/x-nikon-nef",
          "image/x-nikon-nrw", "image/x-sony-arw", "image/x-sony-srf", "image/x-sony-sr2", "image/x-olympus-orf",
          "image/x-fuji-raf", "image/x-panasonic-rw2", "image/x-leica-rwl", "image/x-pentax-pef", "image/x-kodak-kdc",
          "image/x-kodak-dcr", "image/x-samsung-srw", "image/x-hasselblad-3fr", "image/x-hasselblad-fff",
          "image/x-epson-erf", "image/x-minolta-mrw", "image/x-mamiya-mef", "image/x-leaf-mos",
          "image/x-phaseone-iiq"},
         read, !write},
    };
}

} // namespace

const QList<ImageFormat> &imageFormats()
{
    static const QList<ImageFormat> rows = formatRows();
    return rows;
}

const QList<ImageFormat> &targetFormats()
{
    static const QList<ImageFormat> targets = [] {
        QList<ImageFormat> writable;
        for (const ImageFormat &format : imageFormats()) {
            if (format.canWrite)
                writable.append(format);
        }
        return writable;
    }();
    return targets;
}

const ImageFormat &targetFormatAt(int index)
{
    const QList<ImageFormat> &formats = targetFormats();
    return (index >= 0 && index < formats.size()) ? formats.at(index) : formats.first();
}

const ImageFormat *formatForExtension(const QString &extension)
{
    for (const ImageFormat &format : imageFormats()) {
        if (format.extensions.contains(extension, Qt::CaseInsensitive))
            return &format;
    }
    return nullptr;
}

bool isCameraRawExtension(const QString &extension)
{
    return cameraRawExtensions().contains(extension, Qt::CaseInsensitive);
}
