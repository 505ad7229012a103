#pragma once

#include <QImage>
#include <QSize>

// Scaling and cropping through libvips, on the picture's own memory where
// its layout allows. libvips runs one thread per call: a run converts its
// files side by side, as many as its job count, so libvips adds none.
// A null image when libvips fails (out of memory).

// The picture at exactly size through Lanczos 3, as `vips resize --kernel
// lanczos3` makes it; sharpened afterwards when sharpen is true and the
// picture was reduced. The format stays; so does the colour space.
QImage lanczosResampled(const QImage &image, const QSize &size, bool sharpen);

// The part of the picture of the given size that draws the eye most, as
// libvips' attention strategy finds it. size is no larger than the picture.
QImage attentionCropped(const QImage &image, const QSize &size);

// Qt 6.4 premultiplies 16-bit RGBA with the alpha multiplied by itself as
// well, in conversions and under a painter alike: a Format_RGBA64 picture
// is premultiplied here, pixel by pixel, into RGBA64_Premultiplied.
void premultiplyDeep(QImage &image);
