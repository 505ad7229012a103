#include "pngreducer.h"

#include "pipelinerules.h"
#include "pixelrows.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QFile>

#include <png.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {

struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(PngReducer)
};

// Everything the read touches lives here, set up before libpng may jump back
// on an error, so that nothing on the stack is left half-changed.
struct Read
{
    FILE *file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<png_byte> row;
    std::vector<png_bytep> rows; // into row, one a picture row, for an interlaced file
    std::vector<double> rgba;
    QImage image;
    std::optional<RowReducer> reducer;

    ~Read()
    {
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        if (file)
            std::fclose(file);
    }
};

QColorSpace colorSpaceOf(png_structp png, png_infop info)
{
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 length = 0;
    if (png_get_iCCP(png, info, &name, &compression, &profile, &length) && length > 0) {
        const QColorSpace space = QColorSpace::fromIccProfile(QByteArray(reinterpret_cast<const char *>(profile), length));
        if (space.isValid())
            return space;
    }
    int intent = 0;
    if (png_get_sRGB(png, info, &intent))
        return QColorSpace::SRgb;
    double gamma = 0;
    // As Qt's own reader takes a file gamma without primaries.
    if (png_get_gAMA(png, info, &gamma) && gamma > 0 && qAbs(gamma - 0.45455) > 0.0001)
        return QColorSpace(QColorSpace::Primaries::SRgb, float(1.0 / gamma));
    return {};
}

// The file opened for libpng with its structures made; file or info null
// when that failed. The caller sets the jump for libpng's errors.
std::unique_ptr<Read> openPng(const QString &path)
{
    auto read = std::make_unique<Read>();
    read->file = std::fopen(QFile::encodeName(path).constData(), "rb");
    read->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    read->info = read->png ? png_create_info_struct(read->png) : nullptr;
    return read;
}

} // namespace

PngReduction decodePngReduced(const QString &path, const QSize &atLeast, QImage *image, QString *cause,
                              bool wholeInterlaced)
{
    const std::unique_ptr<Read> read = openPng(path);
    if (!read->file || !read->info) {
        *cause = Tr::tr("damaged or truncated");
        return PngReduction::Failed;
    }
    if (setjmp(png_jmpbuf(read->png))) {
        *cause = Tr::tr("damaged or truncated");
        return PngReduction::Failed;
    }
    png_structp png = read->png;
    png_infop info = read->info;
    png_init_io(png, read->file);
    png_read_info(png, info);
    const bool interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    if (interlaced && !wholeInterlaced)
        return PngReduction::Whole;

    const int width = int(png_get_image_width(png, info));
    const int height = int(png_get_image_height(png, info));
    const bool deep = png_get_bit_depth(png, info) == 16;
    const int colourType = png_get_color_type(png, info);
    const bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    const bool grey = !(colourType & PNG_COLOR_MASK_COLOR);
    png_set_expand(png);
    if (grey)
        png_set_gray_to_rgb(png);
    if (!alpha)
        png_set_add_alpha(png, deep ? 0xffff : 0xff, PNG_FILLER_AFTER);
    if (deep)
        png_set_swap(png);
    if (interlaced)
        png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const QSize stored(width, height);
    const int factor = reductionFactor(stored, atLeast);
    QImage::Format format;
    if (alpha)
        format = deep ? QImage::Format_RGBA64 : QImage::Format_ARGB32;
    else if (grey)
        format = deep ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8;
    else
        format = deep ? QImage::Format_RGBX64 : QImage::Format_RGB32;
    const QSize reduced = reducedSize(stored, factor);
    // The passes of an interlaced file fill the whole picture before a row is complete.
    const size_t rowBytes = png_get_rowbytes(png, info);
    if (pictureSizeVerdict(reduced, QImage::toPixelFormat(format).bitsPerPixel()) != PictureSize::Fits
        || (interlaced && pictureSizeVerdict(stored, int(rowBytes * 8 / size_t(width))) != PictureSize::Fits))
        return PngReduction::Whole;
    read->image = QImage(reduced, format);
    read->row.resize(rowBytes * (interlaced ? size_t(height) : 1));
    read->rgba.resize(size_t(width) * 4);
    if (read->image.isNull()) {
        *cause = Tr::tr("there was not enough memory");
        return PngReduction::Failed;
    }
    read->reducer.emplace(&read->image, width, factor, false);
    const double scale = deep ? 65535.0 : 255.0;
    if (interlaced) {
        for (int y = 0; y < height; ++y)
            read->rows.push_back(read->row.data() + size_t(y) * rowBytes);
        png_read_image(png, read->rows.data());
    }
    for (int y = 0; y < height; ++y) {
        png_bytep row = interlaced ? read->rows[size_t(y)] : read->row.data();
        if (!interlaced)
            png_read_row(png, row, nullptr);
        const auto *wide = reinterpret_cast<const quint16 *>(row);
        for (size_t i = 0; i < read->rgba.size(); ++i)
            read->rgba[i] = (deep ? wide[i] : row[i]) / scale;
        read->reducer->add(read->rgba.data());
    }
    read->reducer->finish();
    png_read_end(png, nullptr);
    read->image.setColorSpace(colorSpaceOf(png, info));
    *image = read->image;
    return PngReduction::Done;
}

bool qtMisreadsPng(const QString &path)
{
    const std::unique_ptr<Read> read = openPng(path);
    if (!read->file || !read->info)
        return false;
    if (setjmp(png_jmpbuf(read->png)))
        return false;
    png_init_io(read->png, read->file);
    png_read_info(read->png, read->info);
    return png_get_bit_depth(read->png, read->info) == 16 && png_get_color_type(read->png, read->info) == PNG_COLOR_TYPE_RGB
           && png_get_valid(read->png, read->info, PNG_INFO_tRNS);
}
