#include "colourconversion.h"

#include <QColorSpace>

LcmsTransform cmykToSrgbTransform(const void *icc, size_t size)
{
    const LcmsProfile cmyk(cmsOpenProfileFromMem(icc, cmsUInt32Number(size)));
    if (!cmyk || cmsGetColorSpace(cmyk.get()) != cmsSigCmykData)
        return {};
    const LcmsProfile srgb(cmsCreate_sRGBProfile());
    return LcmsTransform(cmsCreateTransform(cmyk.get(), TYPE_CMYK_16, srgb.get(), TYPE_RGB_16, INTENT_PERCEPTUAL, 0));
}

// L*a*b* is relative to D50, as in ICC profiles; its white is sRGB's white.
// Computed for every pixel: the table Little CMS would precompute misses
// white and black by a step.
LcmsTransform labToSrgbTransform()
{
    const LcmsProfile lab(cmsCreateLab4Profile(nullptr));
    const LcmsProfile srgb(cmsCreate_sRGBProfile());
    return LcmsTransform(cmsCreateTransform(lab.get(), TYPE_Lab_16, srgb.get(), TYPE_RGB_16,
                                            INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOOPTIMIZE));
}

bool convertToSrgb(QImage *image, const QByteArray &icc)
{
    // Grey pixels are taken as sRGB's grey, as the writers take them.
    if (image->format() == QImage::Format_Grayscale8 || image->format() == QImage::Format_Grayscale16
        || (image->depth() <= 8 && image->isGrayscale()))
        return true;
    const QColorSpace space = image->colorSpace();
    if (space.isValid()) {
        // Qt handles the matrix profiles it parses, every format and depth.
        if (space != QColorSpace::SRgb) {
            const QImage converted = image->convertedToColorSpace(QColorSpace::SRgb);
            if (converted.isNull())
                return false;
            *image = converted;
        }
        return true;
    }
    if (icc.isEmpty())
        return true;
    const LcmsProfile source(cmsOpenProfileFromMem(icc.constData(), cmsUInt32Number(icc.size())));
    if (!source || cmsGetColorSpace(source.get()) != cmsSigRgbData)
        return false;
    // Little CMS works on unpremultiplied samples in byte order.
    const bool deep = image->depth() > 32;
    const bool alpha = image->hasAlphaChannel();
    const QImage::Format format = deep ? (alpha ? QImage::Format_RGBA64 : QImage::Format_RGBX64)
                                       : (alpha ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888);
    QImage pixels = image->convertToFormat(format);
    if (pixels.isNull())
        return false;
    const cmsUInt32Number type = deep ? TYPE_RGBA_16 : TYPE_RGBA_8;
    const LcmsProfile srgb(cmsCreate_sRGBProfile());
    const LcmsTransform transform(cmsCreateTransform(source.get(), type, srgb.get(), type, INTENT_PERCEPTUAL,
                                                     cmsFLAGS_COPY_ALPHA));
    if (!transform)
        return false;
    for (int y = 0; y < pixels.height(); ++y) {
        uchar *line = pixels.scanLine(y);
        cmsDoTransform(transform.get(), line, line, cmsUInt32Number(pixels.width()));
    }
    pixels.setColorSpace(QColorSpace::SRgb);
    *image = pixels;
    return true;
}
