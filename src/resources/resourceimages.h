#pragma once

#include <QString>

// The compiled-in path of one of the program's pictures, ":/resources/images/" + fileName.
QString resourceImage(const QString &fileName);
