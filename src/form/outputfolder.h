#pragma once

#include <QString>

// Why the output folder `folder` cannot be made, in words for the user
// (a file of a name on its path, a read-only disk, no permission), or empty
// when nothing on its path stands in the way.
QString folderCreationProblem(const QString &folder);
