#include "formattable.h"

namespace {

using Route = MetadataRoute;
using Control = TargetControl;
constexpr bool read = true;
constexpr bool write = true;
constexpr bool pages = true;

// Rows that can be written keep their order: it is the stored target index.
// New formats go at the end, so that the dialogs list them last.
QList<ImageFormat> formatRows()
{
    return {
        {"AVIF", {"avif", "avifs"}, {"image/avif"}, read, write, "avifQuality", {}, Control::None, Route::ByEncoder,
         pages},
        {"GIF", {"gif"}, {"image/gif"}, read, write, {}, {}, Control::None, Route::None, pages},
        {"HEIC", {"heic"}, {"image/heic"}, read, write, "heicQuality", {}, Control::None, Route::ByEncoder, pages},
        {"HEIF", {"heif"}, {"image/heif"}, read, write, "heifQuality", {}, Control::None, Route::ByEncoder, pages},
        {"JPG", {"jpg", "jpeg"}, {"image/jpeg"}, read, write, "targeFileQuality", {}, Control::None,
         Route::AfterEncoding, !pages},
        {"JPEG XL", {"jxl"}, {"image/jxl"}, read, write, "jxlQuality", "jxlLossless", Control::None, Route::ByEncoder,
         pages},
        {"PNG", {"png"}, {"image/png"}, read, write, {}, {}, Control::PngLevel, Route::AfterEncoding, !pages},
        {"TIFF", {"tiff", "tif"}, {"image/tiff"}, read, write, {}, {}, Control::TiffCompression,
         Route::AfterEncoding, pages},
        {"WEBP", {"webp"}, {"image/webp"}, read, write, "webpQuality", "webpLossless", Control::None,
         Route::AfterEncoding, pages},
        {"PDF", {"pdf"}, {"application/pdf"}, !read, write, {}, {}, Control::None, Route::None, pages},
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
