#pragma once

#include <QSize>

// The size at which a watermark picture is shown in a box: unchanged when it
// fits in both directions, otherwise shrunk by the larger of the two ratios
// (sizes truncated to whole pixels, at least 1). An invalid size gives an
// empty size.
QSize watermarkThumbnailSize(const QSize &imageSize, const QSize &box);
