#include "pathutil.h"

Qt::CaseSensitivity filePathCaseSensitivity()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

bool sameFilePath(const QString &a, const QString &b)
{
    return a.compare(b, filePathCaseSensitivity()) == 0;
}

QString filePathKey(const QString &path)
{
    return filePathCaseSensitivity() == Qt::CaseInsensitive ? path.toCaseFolded() : path;
}
