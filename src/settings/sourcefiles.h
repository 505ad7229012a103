#pragma once

#include <QString>

#include <functional>

// Which files the program takes as sources, for the window's list and the
// command line alike.

// True for an existing regular file whose last extension is one of a readable
// format of the format table, in any letter case.
bool isSupportedImageFile(const QString &path);
// The same test on the name alone.
bool hasSupportedImageExtension(const QString &path);

// The filter of the dialogs that pick pictures: every readable format's
// extensions, in the table's order.
QString imageFileDialogFilter();

// Walks a folder and its sub-folders the way a dropped folder is walked: every
// file whose name holds a dot, hidden ones left out, links to folders not
// followed. visit gets each path and returns false to end the walk. A run's
// output folder below the walked one is left out with all below it, so that
// earlier outputs never become sources.
void walkFolderFiles(const QString &folder, const std::function<bool(const QString &path)> &visit,
                     const QString &outputFolder = QString());
