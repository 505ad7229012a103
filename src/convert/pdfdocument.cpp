#include "pdfdocument.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>

#include <csetjmp>
#include <cstdlib>
#include <cstdio>
#include <string_view>

#include <hpdf.h>

#include "conversionsettings.h"
#include "imagemagickutil.h"
#include "jpegerrors.h"
#include "pipelinerules.h"

namespace {

// The pixel size of JPEG data that a PDF reader decodes from the data alone,
// read from its header, and its colour profile; invalid for any other, and
// for one whose profile the document could not name (CMYK, or unreadable):
// those are drawn with the profile applied.
QSize carriedJpegSize(QByteArrayView data, QByteArray *profile)
{
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = errors.install();
    jpeg_create_decompress(&info);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return QSize();
    }
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.data()), static_cast<unsigned long>(data.size()));
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xffff);
    QSize size;
    if (jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK && info.data_precision == 8 && !info.arith_code) {
        const int components = info.num_components;
        const J_COLOR_SPACE space = info.jpeg_color_space;
        // Without Adobe's marker four components may hold plain CMYK, which
        // the decode array would invert; such files are drawn.
        const bool carried = (components == 1 && space == JCS_GRAYSCALE) || (components == 3 && space == JCS_YCbCr)
                             || (components == 4 && info.saw_Adobe_marker && (space == JCS_CMYK || space == JCS_YCCK));
        JOCTET *icc = nullptr;
        unsigned int iccBytes = 0;
        if (jpeg_read_icc_profile(&info, &icc, &iccBytes)) {
            *profile = QByteArray(reinterpret_cast<const char *>(icc), qsizetype(iccBytes));
            std::free(icc);
        }
        // The profile's own colour model (header bytes 16 to 19) must be the data's.
        const QByteArray model = profile->mid(16, 4);
        const bool named = profile->isEmpty()
                           || (((components == 1 && model == "GRAY") || (components == 3 && model == "RGB "))
                               && QColorSpace::fromIccProfile(*profile).isValid());
        if (carried && named)
            size = QSize(int(info.image_width), int(info.image_height));
    }
    jpeg_destroy_decompress(&info);
    return size;
}

class PaintedDocument : public PdfDocument
{
public:
    PaintedDocument(QIODevice *file, const PdfPageSetup &page) : writer(file), page(page)
    {
        writer.setPageSize(page.layout.pageSize());
        writer.setPdfVersion(QPagedPaintDevice::PdfVersion_1_6);
        writer.setResolution(page.resolution);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        writer.setPageOrientation(page.layout.orientation());
    }

    bool begin() override { return painter.begin(&writer); }

    bool addPage(const PdfPicture &picture) override
    {
        if (pages++ > 0)
            writer.newPage();
        if (!picture.image.isNull())
            painter.drawImage(QPoint(page.margin, page.margin), picture.image);
        return true;
    }

    bool end(bool) override
    {
        painter.end();
        return true;
    }

private:
    QPdfWriter writer;
    QPainter painter;
    const PdfPageSetup page;
    int pages = 0;
};

class HaruDocument : public PdfDocument
{
public:
    HaruDocument(QIODevice *file, const PdfPageSetup &page) : file(file), page(page) {}
    ~HaruDocument() override
    {
        if (pdf)
            HPDF_Free(pdf);
    }

    bool begin() override
    {
        pdf = HPDF_New(nullptr, nullptr);
        if (!pdf)
            return false;
        // The version QPdfWriter declares; soft masks need at least 1.4.
        pdf->pdf_version = HPDF_VER_16;
        return HPDF_SetCompressionMode(pdf, HPDF_COMP_ALL) == HPDF_OK;
    }

    bool addPage(const PdfPicture &picture) override
    {
        HPDF_Image image = nullptr;
        if (!picture.size.isEmpty()) {
            image = picture.jpeg.isEmpty() ? drawnImage(picture.image) : keptImage(picture);
            if (!image) {
                HPDF_ResetError(pdf);
                return false;
            }
        }
        const HPDF_Page added = HPDF_AddPage(pdf);
        const QSize points = page.layout.fullRectPoints().size();
        if (!added || HPDF_Page_SetWidth(added, HPDF_REAL(points.width())) != HPDF_OK
            || HPDF_Page_SetHeight(added, HPDF_REAL(points.height())) != HPDF_OK) {
            HPDF_ResetError(pdf);
            return false;
        }
        if (image) {
            const QRectF at = pdfPictureRect(page, picture.size);
            HPDF_Page_DrawImage(added, image, HPDF_REAL(at.x()), HPDF_REAL(at.y()), HPDF_REAL(at.width()),
                                HPDF_REAL(at.height()));
        }
        return true;
    }

    bool end(bool keep) override
    {
        if (!keep)
            return true;
        // Saved straight into the file rather than into a second copy of
        // the document in memory. The file records a failed write and gives
        // its reason when committed.
        pdf->stream = HPDF_CallbackWriter_New(
                pdf->mmgr,
                [](HPDF_Stream stream, const HPDF_BYTE *data, HPDF_UINT size) {
                    static_cast<QIODevice *>(stream->attr)->write(reinterpret_cast<const char *>(data), size);
                    return HPDF_STATUS(HPDF_OK);
                },
                file);
        return pdf->stream && HPDF_SaveToStream(pdf) == HPDF_OK;
    }

private:
    // The data as it is; refused when libharu reads another size from it than libjpeg.
    HPDF_Image keptImage(const PdfPicture &picture)
    {
        if (!roomFor(picture.jpeg.size()))
            return nullptr;
        HPDF_Image image = HPDF_LoadJpegImageFromMem(pdf, reinterpret_cast<const HPDF_BYTE *>(picture.jpeg.constData()),
                                                     HPDF_UINT(picture.jpeg.size()));
        if (image && QSize(int(HPDF_Image_GetWidth(image)), int(HPDF_Image_GetHeight(image))) != picture.jpegPixels)
            return nullptr;
        if (image && !picture.jpegProfile.isEmpty() && !describeColours(image, picture.jpegProfile))
            return nullptr;
        return image;
    }

    // The picture's colour space as its own ICC profile rather than the plain device space.
    bool describeColours(HPDF_Image image, const QByteArray &profile)
    {
        if (!roomFor(profile.size()))
            return false;
        const HPDF_Stream data = HPDF_MemStream_New(pdf->mmgr, HPDF_UINT(profile.size()));
        const bool written = data
                             && HPDF_Stream_Write(data, reinterpret_cast<const HPDF_BYTE *>(profile.constData()),
                                                  HPDF_UINT(profile.size()))
                                        == HPDF_OK;
        const HPDF_Dict icc = written ? HPDF_ICC_LoadIccFromMem(pdf, pdf->mmgr, data, pdf->xref,
                                                                 int(HPDF_Image_GetColorSpace(image) == std::string_view("DeviceGray") ? 1 : 3))
                                      : nullptr;
        if (data)
            HPDF_Stream_Free(data);
        const HPDF_Array space = icc ? HPDF_Array_New(pdf->mmgr) : nullptr;
        return space && HPDF_Array_AddName(space, "ICCBased") == HPDF_OK && HPDF_Array_Add(space, icc) == HPDF_OK
               && HPDF_Dict_Add(image, "ColorSpace", space) == HPDF_OK;
    }

    // As QPdfWriter puts a picture into its documents: JPEG at quality 94,
    // the alpha channel as a soft mask where it is not opaque.
    HPDF_Image drawnImage(const QImage &picture)
    {
        const QImage image = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
                                     ? picture
                                     : picture.convertToFormat(QImage::Format_ARGB32);
        QByteArray encoded;
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(94);
        const qint64 maskBytes = image.hasAlphaChannel() ? qint64(image.width()) * image.height() : 0;
        if (!writer.write(image) || !roomFor(encoded.size() + maskBytes))
            return nullptr;
        HPDF_Image drawn = HPDF_LoadJpegImageFromMem(pdf, reinterpret_cast<const HPDF_BYTE *>(encoded.constData()),
                                                     HPDF_UINT(encoded.size()));
        if (!drawn || image.format() != QImage::Format_ARGB32)
            return drawn;
        const int w = image.width();
        const int h = image.height();
        QByteArray alpha(qsizetype(w) * h, Qt::Uninitialized);
        bool opaque = true;
        for (int y = 0; y < h; ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            uchar *out = reinterpret_cast<uchar *>(alpha.data()) + qsizetype(y) * w;
            for (int x = 0; x < w; ++x) {
                out[x] = uchar(qAlpha(line[x]));
                opaque = opaque && out[x] == 255;
            }
        }
        if (opaque)
            return drawn;
        const HPDF_Image mask = HPDF_LoadRawImageFromMem(pdf, reinterpret_cast<const HPDF_BYTE *>(alpha.constData()),
                                                         HPDF_UINT(w), HPDF_UINT(h), HPDF_CS_DEVICE_GRAY, 8);
        if (!mask || HPDF_Image_AddSMask(drawn, mask) != HPDF_OK)
            return nullptr;
        return drawn;
    }

    // libharu counts the document's bytes in 32 bits; what would pass that
    // is refused rather than written wrong.
    bool roomFor(qint64 bytes)
    {
        constexpr qint64 largestDocument = 0xf0000000;
        if (embedded + bytes > largestDocument)
            return false;
        embedded += bytes;
        return true;
    }

    QIODevice *const file;
    const PdfPageSetup page;
    HPDF_Doc pdf = nullptr;
    qint64 embedded = 0;
};

} // namespace

std::optional<PdfPicture> keptJpegPicture(const QString &path, const ConversionSettings &settings,
                                          const PdfPageSetup &page)
{
    // Only regular files are opened: anything else (a FIFO) could block.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QImageReader reader(path);
    reader.setAutoTransform(false);
    if (reader.format() != "jpeg" || storedTransformation(reader) != QImageIOHandler::TransformationNone)
        return std::nullopt;
    const QSize size = reader.size();
    // A picture too large to decode is refused as the drawn page refuses it.
    if (pictureSizeVerdict(size, 32) != PictureSize::Fits || !pipelineKeepsPixels(size, settings))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const uchar *mapped = file.map(0, file.size());
    if (!mapped)
        return std::nullopt;
    // A file cut short is drawn, its missing part grey and told; data after
    // the picture stays out of the document.
    const QByteArrayView data(mapped, file.size());
    const qint64 end = jpegPictureEnd(data);
    QByteArray profile;
    if (end <= 0 || carriedJpegSize(data.first(end), &profile) != size)
        return std::nullopt;
    PdfPicture picture;
    picture.jpeg = data.first(end).toByteArray();
    picture.jpegProfile = profile;
    picture.jpegPixels = size;
    picture.size = pdfFitSize(size, page.availableWidth(), page.availableHeight(), settings.resizeImageToPaper);
    return picture;
}

std::unique_ptr<PdfDocument> makePdfDocument(QIODevice *file, const PdfPageSetup &page, bool keepsJpeg)
{
    if (keepsJpeg)
        return std::make_unique<HaruDocument>(file, page);
    return std::make_unique<PaintedDocument>(file, page);
}
