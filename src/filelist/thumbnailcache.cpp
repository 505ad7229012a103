#include "thumbnailcache.h"

QString thumbnailFolder() { return {}; }
ThumbnailLookup lookupThumbnail(const QString &, bool) { return {}; }
QString allocateThumbnailFile(const QString &) { return {}; }
QList<ThumbnailRecord> thumbnailRecords() { return {}; }
bool thumbnailCleanupPending() { return false; }
void setThumbnailCleanupPending(bool) {}
