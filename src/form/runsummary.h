#pragma once

#include <QString>
#include <QStringList>

#include "conversionsettings.h"

// The preset last applied in the window, and whether the settings have
// changed since: a preset's settings that decide nothing of a run's output
// (the last folder, the job count, "Also write:", and the output folder when
// the preset names none) do not count.
bool settingsDifferFromPreset(const ConversionSettings &settings, const ConversionSettings &preset);

// The line under the toolbar: the applied preset, marked when the settings
// differ from it, and the options that change what a run does but live out
// of sight on their tabs. Empty when there is nothing to say.
QString runSummary(const ConversionSettings &settings, const QString &preset, bool changed);
