#include "jpegtransform.h"

#include <QString>

#include <cstring>
#include <memory>

#include <turbojpeg.h>

#include "jpegerrors.h"

namespace {

void readLayout(jpeg_decompress_struct &info, JpegLayout *layout)
{
    const int components = info.num_components;
    layout->size = QSize(int(info.image_width), int(info.image_height));
    layout->grey = components == 1;
    layout->transformable = info.data_precision == 8 && !info.arith_code
                            && ((components == 1 && info.jpeg_color_space == JCS_GRAYSCALE)
                                || (components == 3 && info.jpeg_color_space == JCS_YCbCr));
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next)
        layout->hasColourProfile = layout->hasColourProfile
                                   || (marker->data_length >= 12 && std::memcmp(marker->data, "ICC_PROFILE", 12) == 0);
}

struct TurboDeleter {
    void operator()(void *handle) const { tjDestroy(handle); }
};

int transformFor(int orientation)
{
    switch (orientation) {
    case 2:
        return TJXOP_HFLIP;
    case 3:
        return TJXOP_ROT180;
    case 4:
        return TJXOP_VFLIP;
    case 5:
        return TJXOP_TRANSPOSE;
    case 6:
        return TJXOP_ROT90;
    case 7:
        return TJXOP_TRANSVERSE;
    case 8:
        return TJXOP_ROT270;
    default:
        return TJXOP_NONE;
    }
}

} // namespace

std::optional<JpegLayout> readJpegLayout(const QByteArray &jpeg)
{
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = errors.install();
    jpeg_create_decompress(&info);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(jpeg.constData()), static_cast<unsigned long>(jpeg.size()));
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xffff);
    std::optional<JpegLayout> layout;
    if (jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK) {
        layout.emplace();
        readLayout(info, &*layout);
    }
    jpeg_destroy_decompress(&info);
    return layout;
}

QByteArray transformedJpeg(const QByteArray &jpeg, int orientation, bool progressive, QString *error)
{
    const std::unique_ptr<void, TurboDeleter> handle(tjInitTransform());
    if (!handle) {
        *error = QString::fromLocal8Bit(tjGetErrorStr2(nullptr));
        return {};
    }
    tjtransform transform;
    std::memset(&transform, 0, sizeof transform);
    transform.op = transformFor(orientation);
    transform.options = TJXOPT_TRIM | TJXOPT_COPYNONE | (progressive ? TJXOPT_PROGRESSIVE : 0);
    unsigned char *out = nullptr;
    unsigned long outSize = 0;
    // A damaged source is refused rather than carried over with its damage.
    if (tjTransform(handle.get(), reinterpret_cast<const unsigned char *>(jpeg.constData()),
                    static_cast<unsigned long>(jpeg.size()), 1, &out, &outSize, &transform, TJFLAG_STOPONWARNING)
        != 0) {
        *error = QString::fromLocal8Bit(tjGetErrorStr2(handle.get()));
        tjFree(out);
        return {};
    }
    QByteArray result(reinterpret_cast<const char *>(out), qsizetype(outSize));
    tjFree(out);
    return result;
}
