#pragma once

#include <QByteArray>
#include <QImage>

#include <lcms2.h>

#include <memory>

// Little CMS handles shared by the decoders that turn CMYK and L*a*b*
// pixels into sRGB and by the conversion of a picture's colours to sRGB.
struct LcmsProfileCloser
{
    void operator()(void *profile) const { cmsCloseProfile(profile); }
};
using LcmsProfile = std::unique_ptr<void, LcmsProfileCloser>;

struct LcmsTransformDeleter
{
    void operator()(void *transform) const { cmsDeleteTransform(transform); }
};
using LcmsTransform = std::unique_ptr<void, LcmsTransformDeleter>;

// CMYK inks (0..1, 1 full ink) without a profile: the plain conversion of
// libtiff's RGBA interface, for each of red, green and blue.
inline double cmykWithoutProfile(double ink, double black)
{
    return (1.0 - ink) * (1.0 - black);
}

// CMYK through the given profile to sRGB, from the input to the output
// layout (Little CMS's TYPE_ constants); null when the profile is not a CMYK
// one Little CMS can use.
LcmsTransform cmykToSrgbTransform(const void *icc, size_t size, cmsUInt32Number input, cmsUInt32Number output);

// L*a*b* (D50, Little CMS's 16-bit encoding) to sRGB, TYPE_Lab_16 to TYPE_RGB_16.
LcmsTransform labToSrgbTransform();

// Brings the pixels into sRGB: from their colour space when the decoder set
// one, else from icc, the profile the file stores that the decoder could not
// apply (an RGB one, lookup tables included). Grey pictures with a grey
// profile become sRGB's grey without a profile, and stay grey. Pictures
// without a profile, or
// with one Little CMS cannot use or of another colour model, stay as they
// are; 16-bit pictures stay 16-bit. False when memory runs out, the picture
// then unchanged.
bool convertToSrgb(QImage *image, const QByteArray &icc);
