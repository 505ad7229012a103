#include "colourconversion.h"

#include <QColorSpace>

LcmsTransform cmykToSrgbTransform(const void *icc, size_t size, cmsUInt32Number input, cmsUInt32Number output)
{
    const LcmsProfile cmyk(cmsOpenProfileFromMem(icc, cmsUInt32Number(size)));
    if (!cmyk || cmsGetColorSpace(cmyk.get()) != cmsSigCmykData)
        return {};
    const LcmsProfile srgb(cmsCreate_sRGBProfile());
    return LcmsTransform(cmsCreateTransform(cmyk.get(), input, srgb.get(), output, INTENT_PERCEPTUAL, 0));
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

namespace {

// sRGB's grey: its tone curve under the ICC white.
LcmsProfile srgbGrey()
{
    const double parameters[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    cmsToneCurve *curve = cmsBuildParametricToneCurve(nullptr, 4, parameters);
    LcmsProfile grey(cmsCreateGrayProfile(cmsD50_xyY(), curve));
    cmsFreeToneCurve(curve);
    return grey;
}

// Every row through the transform, in place.
void transformRows(QImage *pixels, void *transform)
{
    for (int y = 0; y < pixels->height(); ++y) {
        uchar *line = pixels->scanLine(y);
        cmsDoTransform(transform, line, line, cmsUInt32Number(pixels->width()));
    }
}

} // namespace

bool convertToSrgb(QImage *image, const QByteArray &icc)
{
    const bool grey = image->format() == QImage::Format_Grayscale8 || image->format() == QImage::Format_Grayscale16;
    const QColorSpace space = image->colorSpace();
    if (space.isValid() && !grey) {
        // Qt handles the matrix profiles it parses, every format and depth.
        if (space != QColorSpace::SRgb) {
            const QImage converted = image->convertedToColorSpace(QColorSpace::SRgb);
            if (converted.isNull())
                return false;
            *image = converted;
        }
        return true;
    }
    // Qt parses grey profiles but cannot apply them to grey pixels.
    const QByteArray profile = space.isValid() ? space.iccProfile() : icc;
    if (profile.isEmpty())
        return true;
    const LcmsProfile source(cmsOpenProfileFromMem(profile.constData(), cmsUInt32Number(profile.size())));
    // Grey pixels with a profile of another model are taken as sRGB's grey,
    // as the writers take them.
    const cmsColorSpaceSignature model = grey ? cmsSigGrayData : cmsSigRgbData;
    if (!source || cmsGetColorSpace(source.get()) != model) {
        if (grey)
            image->setColorSpace(QColorSpace());
        return true;
    }
    QImage pixels;
    cmsUInt32Number type;
    LcmsProfile target;
    if (grey) {
        pixels = *image;
        type = image->format() == QImage::Format_Grayscale16 ? TYPE_GRAY_16 : TYPE_GRAY_8;
        target = srgbGrey();
    } else {
        // Little CMS works on unpremultiplied samples in byte order.
        const bool deep = image->depth() > 32;
        const bool alpha = image->hasAlphaChannel();
        pixels = image->convertToFormat(deep ? (alpha ? QImage::Format_RGBA64 : QImage::Format_RGBX64)
                                             : (alpha ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888));
        type = deep ? TYPE_RGBA_16 : TYPE_RGBA_8;
        target.reset(cmsCreate_sRGBProfile());
    }
    // A profile Little CMS cannot build a transform from is left, as the
    // metadata leaves it.
    const LcmsTransform transform(cmsCreateTransform(source.get(), type, target.get(), type, INTENT_PERCEPTUAL,
                                                     cmsFLAGS_COPY_ALPHA));
    if (!transform)
        return true;
    // Pixels shared with the picture are copied before they are written.
    if (pixels.isNull() || !pixels.bits())
        return false;
    transformRows(&pixels, transform.get());
    // Grey goes out without a profile, taken as sRGB's grey.
    pixels.setColorSpace(grey ? QColorSpace() : QColorSpace(QColorSpace::SRgb));
    *image = pixels;
    return true;
}
