#pragma once

#include <QString>

// File paths compare the way the platform's file system does: without regard
// to letter case on Windows and macOS, exactly on Linux, where A.jpg and a.jpg
// are two different files.
Qt::CaseSensitivity filePathCaseSensitivity();

bool sameFilePath(const QString &a, const QString &b);

// A key under which equal paths (by the rule above) collide, for sets and maps.
QString filePathKey(const QString &path);
