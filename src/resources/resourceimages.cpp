#include "resourceimages.h"

QString resourceImage(const QString &fileName)
{
    return QStringLiteral(":/resources/images/") + fileName;
}
