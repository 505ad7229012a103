#pragma once

#include <QString>

#include "conversionsettings.h"

// One source to one image file: the pipeline on the given settings, then the
// writer the target's suffix asks for. The window's conversion pass and the
// command line both convert each file through here. Returns false with the
// reason in *error; nothing is left at the target then. A picture written
// from an incomplete source gets *note, for the run's report. page: the page
// or frame of the source (0 the first). Under "keep animations" an animated
// source written to GIF or WEBP stays animated, every frame through the
// pipeline; other targets take its first frame, and *note says so.
bool convertImageFile(const QString &source, const QString &target, const ConversionSettings &settings,
                      QString *error, QString *note = nullptr, int page = 0);

// The note of an animated source written as a still under "keep animations".
QString animationKeptAsFirstFrame();
