#include "imagewriters.h"

bool writeImageFile(const QImage &, const QString &, int, QString *) { return false; }
bool writeGif(const QImage &, const QString &, QString *) { return false; }
