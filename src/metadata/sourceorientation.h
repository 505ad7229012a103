#pragma once

#include <QString>

// The EXIF orientation (1 to 8) of a WEBP's EXIF chunk or of a PNG's eXIf
// chunk before its image data, which Qt's readers leave unread; 1 when the
// file has none or its metadata cannot be read.
int storedExifOrientation(const QString &path);
