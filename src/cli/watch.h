#pragma once

#include <QString>

#include "batch.h"
#include "conversionsettings.h"

// Converts what lands in folder (and below) to image files in the settings'
// output folder until a stop signal, one pass per batch of settled files,
// each file reported, journaled (and with moveOriginals moved into
// folder/done/ or folder/failed/) as soon as it is done. Each of extras is a
// further output of every file. Returns the exit status.
int runWatch(const QString &folder, const ConversionSettings &settings, const QList<ConversionSettings> &extras,
             bool moveOriginals, bool quiet);
