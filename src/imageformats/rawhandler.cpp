#include "rawhandler.h"

#include "codedinput.h"
#include "encoderthreads.h"
#include "exiforientation.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageReader>
#include <QVariant>

#include <libraw.h>
#include <omp.h>

#include <algorithm>
#include <array>

namespace {

// The suffixes of the RAW types LibRaw develops (its Sigma support is not
// built into the system's library).
constexpr std::array rawFormats = {"dng", "cr2", "cr3", "crw", "nef", "nrw", "arw", "srf", "sr2", "orf", "raf",
                                   "rw2", "rwl", "pef", "kdc", "dcr", "srw", "3fr", "fff", "erf", "mrw", "mef",
                                   "mos", "iiq"};

// LibRaw numbers the turns as dcraw does (bit 4 swaps the axes, bit 2 flips,
// bit 1 mirrors); this is the EXIF orientation of each.
int exifOrientationOfFlip(int flip)
{
    static constexpr int orientations[] = {1, 2, 4, 3, 5, 8, 6, 7};
    return flip >= 0 && flip < 8 ? orientations[flip] : 1;
}

bool fitsAllocationLimit(const QSize &size, int bytesPerPixel)
{
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    return limit <= 0 || qint64(size.width()) * size.height() * bytesPerPixel <= limit;
}

// LibRaw writes 3 samples a pixel; the 16-bit picture wants a fourth. The
// samples move to their place from the end of each row, so none is
// overwritten before it is moved.
void spreadToRgbx64(QImage *image)
{
    for (int y = 0; y < image->height(); ++y) {
        auto *line = reinterpret_cast<quint16 *>(image->scanLine(y));
        for (int x = image->width() - 1; x >= 0; --x) {
            const quint16 r = line[3 * x], g = line[3 * x + 1], b = line[3 * x + 2];
            line[4 * x] = r;
            line[4 * x + 1] = g;
            line[4 * x + 2] = b;
            line[4 * x + 3] = 0xffff;
        }
    }
}

} // namespace

RawHandler::RawHandler() = default;
RawHandler::~RawHandler() = default;

bool RawHandler::isRawFormat(const QByteArray &format)
{
    return std::any_of(rawFormats.begin(), rawFormats.end(), [&](const char *name) { return format == name; });
}

// Asked while the reader is still choosing its handler, when the preview's
// JPEG reader could not start yet: the file is opened on first use instead.
bool RawHandler::canRead() const
{
    return m_state == State::Unread || m_state == State::Parsed;
}

bool RawHandler::parseHeader()
{
    if (m_state != State::Unread)
        return m_state == State::Parsed;
    m_state = State::Failed;
    if (!device())
        return false;
    const auto development = RawDevelopment(device()->property(rawDevelopmentProperty).toInt());

    m_raw = std::make_unique<LibRaw>(LIBRAW_OPTIONS_NONE);
    libraw_output_params_t &params = m_raw->imgdata.params;
    params.half_size = development == RawDevelopment::HalfSize || development == RawDevelopment::EmbeddedPreview;
    // LibRaw reads a file by itself, a part at a time; anything else is read whole.
    const auto *file = qobject_cast<QFile *>(device());
    int opened = LIBRAW_IO_ERROR;
    if (file && !file->fileName().isEmpty()) {
        opened = m_raw->open_file(QFile::encodeName(file->fileName()).constData());
    } else if (readCodedInput(device(), &m_data)) {
        opened = m_raw->open_buffer(m_data.data(), size_t(m_data.size()));
    }
    if (opened != LIBRAW_SUCCESS)
        return false;
    const libraw_image_sizes_t &sizes = m_raw->imgdata.sizes;
    m_orientation = exifOrientationOfFlip(sizes.flip);

    if (development == RawDevelopment::EmbeddedPreview && m_raw->unpack_thumb() == LIBRAW_SUCCESS) {
        const libraw_thumbnail_t &thumb = m_raw->imgdata.thumbnail;
        const QByteArray bytes(thumb.thumb, thumb.tlength);
        if (thumb.tformat == LIBRAW_THUMBNAIL_JPEG) {
            QBuffer buffer;
            buffer.setData(bytes);
            QImageReader reader(&buffer, "jpeg");
            reader.setAutoTransform(false);
            m_size = reader.size();
            m_format = reader.imageFormat();
        } else if (thumb.tformat == LIBRAW_THUMBNAIL_BITMAP && (thumb.tcolors == 1 || thumb.tcolors == 3)
                   && qint64(thumb.twidth) * thumb.theight * thumb.tcolors == thumb.tlength) {
            m_size = QSize(thumb.twidth, thumb.theight);
            m_format = thumb.tcolors == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB888;
        }
        if (m_size.isValid())
            m_preview = bytes;
    }
    if (m_preview.isEmpty()) {
        // Without a usable preview, the sensor at half size is the fast way.
        m_size = QSize(sizes.iwidth, sizes.iheight);
        m_format = fitsAllocationLimit(m_size, 8) ? QImage::Format_RGBX64 : QImage::Format_RGB888;
    }
    if (m_size.isEmpty())
        return false;
    m_state = State::Parsed;
    return true;
}

bool RawHandler::readEmbeddedPreview(QImage *image)
{
    const libraw_thumbnail_t &thumb = m_raw->imgdata.thumbnail;
    if (thumb.tformat == LIBRAW_THUMBNAIL_JPEG) {
        QBuffer buffer(&m_preview);
        QImageReader reader(&buffer, "jpeg");
        reader.setAutoTransform(false);
        return reader.read(image);
    }
    QImage result;
    if (!allocateImage(m_size, m_format, &result))
        return false;
    const qsizetype rowBytes = qsizetype(m_size.width()) * thumb.tcolors;
    for (int y = 0; y < m_size.height(); ++y)
        memcpy(result.scanLine(y), m_preview.constData() + y * rowBytes, size_t(rowBytes));
    *image = result;
    return true;
}

bool RawHandler::develop(QImage *image)
{
    libraw_output_params_t &params = m_raw->imgdata.params;
    params.use_camera_wb = 1;
    params.output_color = 1; // sRGB
    params.gamm[0] = 1 / 2.4;
    params.gamm[1] = 12.92;
    params.output_bps = m_format == QImage::Format_RGBX64 ? 16 : 8;
    if (m_scaledSize.isValid() && m_scaledSize.width() * 2 <= m_size.width() && m_scaledSize.height() * 2 <= m_size.height())
        params.half_size = 1;
    // The reader applies the turn.
    params.user_flip = 0;
    // LibRaw's OpenMP threads share the cores with the other files; the
    // limit holds for the teams this thread starts.
    if (const int threads = codecThreadCount(); threads > 0)
        omp_set_num_threads(threads);
    if (m_raw->unpack() != LIBRAW_SUCCESS || m_raw->dcraw_process() != LIBRAW_SUCCESS)
        return false;
    int width = 0, height = 0, colors = 0, bits = 0;
    m_raw->get_mem_image_format(&width, &height, &colors, &bits);
    if (colors != 3 || bits != params.output_bps)
        return false;
    QImage result;
    if (!allocateImage(QSize(width, height), m_format, &result)
        || m_raw->copy_mem_image(result.bits(), int(result.bytesPerLine()), 0) != LIBRAW_SUCCESS)
        return false;
    if (m_format == QImage::Format_RGBX64)
        spreadToRgbx64(&result);
    result.setColorSpace(QColorSpace::SRgb);
    *image = result;
    return true;
}

bool RawHandler::read(QImage *image)
{
    if (!parseHeader())
        return false;
    m_state = State::Failed;
    bool read = m_preview.isEmpty() ? develop(image) : readEmbeddedPreview(image);
    if (read && m_scaledSize.isValid() && image->size() != m_scaledSize) {
        *image = image->scaled(m_scaledSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        read = !image->isNull();
    }
    // LibRaw's buffers are large; they go as soon as the picture is made.
    m_raw.reset();
    m_data.clear();
    m_preview.clear();
    if (read)
        m_state = State::Finished;
    return read;
}

QVariant RawHandler::option(ImageOption option) const
{
    auto *self = const_cast<RawHandler *>(this);
    const auto known = [&] { return m_state == State::Finished || self->parseHeader(); };
    switch (option) {
    case Size:
        return known() ? QVariant(m_size) : QVariant();
    case ImageFormat:
        return known() ? QVariant(int(m_format)) : QVariant();
    case ImageTransformation:
        return known() ? QVariant(int(transformationForOrientation(m_orientation))) : QVariant();
    default:
        return {};
    }
}

void RawHandler::setOption(ImageOption option, const QVariant &value)
{
    if (option == ScaledSize)
        m_scaledSize = value.toSize();
}

bool RawHandler::supportsOption(ImageOption option) const
{
    return option == Size || option == ImageFormat || option == ImageTransformation || option == ScaledSize;
}
