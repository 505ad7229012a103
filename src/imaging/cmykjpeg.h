#pragma once

#include <QImage>
#include <QString>

enum class CmykJpeg { NotCmyk, Decoded, Failed };

// Decodes a JPEG stored in CMYK or YCCK with libjpeg, reduced by factor (1,
// 2, 4 or 8), into sRGB pixels as stored, not yet turned: through the
// file's own CMYK profile when it carries one, else by the plain formula the
// TIFF decoder uses too. Files with Adobe's marker hold inverted inks, as
// Adobe's programs write them; others hold the inks as they are. NotCmyk for
// any other JPEG (and for what is no JPEG), Failed with *reason in words for
// the user to follow "The image could not be read: ".
CmykJpeg decodeCmykJpeg(const QString &path, int factor, QImage *image, QString *reason);
