#include "runsummary.h"

#include <QCoreApplication>

#include <type_traits>
#include <variant>

#include "presets.h"
#include "targetformats.h"
#include "targetsize.h"

namespace {

// The texts of this file, translated under one name.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(ConvertImageForm)
};

// The keys whose values differ between two records (a font by its family).
QStringList differingKeys(const ConversionSettings &a, const ConversionSettings &b)
{
    QStringList keys;
    for (const SettingKey &key : settingKeys()) {
        const bool same = std::visit(
            [&](auto member) {
                if constexpr (std::is_same_v<std::decay_t<decltype(a.*member)>, QFont>)
                    return (a.*member).family() == (b.*member).family();
                else
                    return a.*member == b.*member;
            },
            settingField(key.name)->member);
        if (!same)
            keys << key.name;
    }
    return keys;
}

} // namespace

bool settingsDifferFromPreset(const ConversionSettings &settings, const ConversionSettings &preset)
{
    QStringList ignored{QStringLiteral("lastPicturesDir"), QStringLiteral("convertJobs"), QStringLiteral("alsoWrite")};
    if (preset.outputFolder.isEmpty())
        ignored << QStringLiteral("outputFolder");
    for (const QString &key : differingKeys(settings, preset)) {
        if (!ignored.contains(key))
            return true;
    }
    return false;
}

QString runSummary(const ConversionSettings &settings, const QString &preset, bool changed)
{
    QStringList parts;
    if (!preset.isEmpty())
        parts << (changed ? Texts::tr("Preset: %1 (changed)") : Texts::tr("Preset: %1")).arg(presetDisplayName(preset));
    const bool pdf = settings.targeFileType == TargetPdf;
    if (settings.ignoreOrientation)
        parts << Texts::tr("Orientation tag ignored");
    if (settings.outputBesideSource && !pdf)
        parts << Texts::tr("Saved beside each source");
    const bool limited = settings.limitFileSize
                         && sizeLimitRefusal(settings, targetFormatAt(settings.targeFileType)).isEmpty();
    if (limited && !settings.shrinkToFileSize)
        parts << Texts::tr("At most %1 KB, never scaled down").arg(settings.fileSizeLimitKb);
    return parts.join(QStringLiteral("  \u00b7  "));
}
