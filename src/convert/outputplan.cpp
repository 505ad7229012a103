#include "outputplan.h"

#include "photometadata.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <optional>

#include "imagemagickutil.h"
#include "pathutil.h"
#include "photometadata.h"
#include "pipelinerules.h"
#include "targetformats.h"

namespace {

bool isForbiddenInFileName(QChar c)
{
    if (c.unicode() < 0x20 || c == QLatin1Char('/'))
        return true;
#ifdef Q_OS_WIN
    return QStringLiteral("\\:*?\"<>|").contains(c);
#else
    return false;
#endif
}

QString replacedForbidden(QString name)
{
    for (QChar &c : name) {
        if (isForbiddenInFileName(c))
            c = QLatin1Char('_');
    }
    return name;
}

bool isUsableName(const QString &name)
{
    const QString trimmed = name.trimmed();
    return !trimmed.isEmpty() && trimmed != QLatin1String(".") && trimmed != QLatin1String("..");
}

bool somethingAt(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The source's folder below root, one usable name per level; levels that are
// empty, "." or ".." are dropped.
QString relativeFolder(const QString &source, const QString &root)
{
    const QString folder = QDir::cleanPath(QFileInfo(source).absolutePath());
    QStringList kept;
    for (const QString &part : QDir(root).relativeFilePath(folder).split(QLatin1Char('/'))) {
        if (isUsableName(part))
            kept << replacedForbidden(part);
    }
    return kept.join(QLatin1Char('/'));
}

bool isInside(const QString &path, const QString &folder)
{
    const QString cleanFolder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString cleanPath = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QString prefix = cleanFolder.endsWith(QLatin1Char('/')) ? cleanFolder : cleanFolder + QLatin1Char('/');
    return cleanPath.startsWith(prefix, filePathCaseSensitivity());
}

} // namespace

SourceFacts fileSourceFacts(const ConversionSettings &settings)
{
    SourceFacts facts;
    facts.outputSize = [settings](const QString &source) {
        const QSize size = uprightImageSize(source);
        return scaledSize(size, settings).value_or(size);
    };
    facts.date = [](const QString &source) {
        const QDate taken = photoDateTaken(source);
        return taken.isValid() ? taken : QFileInfo(source).lastModified().date();
    };
    return facts;
}

QString expandFileNamePattern(const QString &pattern, const QString &source, int position, int count,
                              const SourceFacts &facts)
{
    const QString name = baseNameOf(source);
    const auto value = [&](QStringView token) -> std::optional<QString> {
        if (token == QLatin1String("name"))
            return name;
        if (token == QLatin1String("counter")) {
            const int width = int(QString::number(qMax(1, count)).size());
            return QStringLiteral("%1").arg(position + 1, width, 10, QLatin1Char('0'));
        }
        if (token == QLatin1String("width") || token == QLatin1String("height")) {
            const QSize size = facts.outputSize ? facts.outputSize(source) : QSize();
            return QString::number(qMax(0, token == QLatin1String("width") ? size.width() : size.height()));
        }
        if (token == QLatin1String("date"))
            return (facts.date ? facts.date(source) : QDate()).toString(QStringLiteral("yyyy-MM-dd"));
        return std::nullopt;
    };
    // One pass, so that a token inside a source's name stays text.
    QString result;
    for (qsizetype at = 0; at < pattern.size();) {
        const qsizetype close = pattern.at(at) == QLatin1Char('{') ? pattern.indexOf(QLatin1Char('}'), at) : -1;
        const std::optional<QString> expanded =
            close > at ? value(QStringView(pattern).mid(at + 1, close - at - 1)) : std::nullopt;
        if (expanded) {
            result += *expanded;
            at = close + 1;
        } else {
            result += pattern.at(at++);
        }
    }
    result = replacedForbidden(result);
    return isUsableName(result) ? result : name;
}

QString commonSourceFolder(const QStringList &sources)
{
    QStringList common;
    bool first = true;
    for (const QString &source : sources) {
        const QStringList parts = QDir::cleanPath(QFileInfo(source).absolutePath()).split(QLatin1Char('/'));
        if (first) {
            common = parts;
            first = false;
            continue;
        }
        qsizetype same = 0;
        while (same < common.size() && same < parts.size()
               && common.at(same).compare(parts.at(same), filePathCaseSensitivity()) == 0)
            ++same;
        common = common.mid(0, same);
    }
    const QString joined = common.join(QLatin1Char('/'));
    return joined.isEmpty() && !first ? QStringLiteral("/") : joined;
}

QString firstFreeName(const QString &target, const std::function<bool(const QString &)> &taken)
{
    const QFileInfo info(target);
    const QString suffix = info.fileName().contains(QLatin1Char('.'))
                               ? info.fileName().mid(info.fileName().lastIndexOf(QLatin1Char('.')))
                               : QString();
    const QString stem = target.left(target.size() - suffix.size());
    for (int n = 1;; ++n) {
        const QString candidate = stem + QLatin1Char('-') + QString::number(n) + suffix;
        if (!taken(candidate))
            return candidate;
    }
}

QList<PlannedFile> planOutputs(const QStringList &sources, const QString &outputFolder, const QString &extension,
                               const ConversionSettings &settings, bool overwriteExisting, const SourceFacts &facts)
{
    const int policy = overwriteExisting ? ExistingOverwrite : settings.existingFilePolicy;
    const QString root = settings.keepFolderStructure ? commonSourceFolder(sources) : QString();
    QSet<QString> planned;
    const auto isPlanned = [&planned](const QString &path) { return planned.contains(filePathKey(QDir::cleanPath(path))); };
    const auto taken = [&isPlanned](const QString &path) { return isPlanned(path) || somethingAt(path); };

    QList<PlannedFile> plan;
    for (int i = 0; i < sources.size(); ++i) {
        PlannedFile out;
        out.source = sources.at(i);
        const QString name = expandFileNamePattern(settings.fileNamePattern, out.source, i, int(sources.size()), facts);
        QString folder = outputFolder;
        if (settings.keepFolderStructure) {
            const QString below = relativeFolder(out.source, root);
            if (!below.isEmpty())
                folder += QLatin1Char('/') + below;
        }
        out.target = folder + QLatin1Char('/') + name + extension;
        // Whatever the names hold, nothing is written outside the output folder.
        if (!isInside(out.target, outputFolder))
            out.target = targetPathFor(out.source, outputFolder, extension);

        const bool collides = isPlanned(out.target);
        if (collides || somethingAt(out.target)) {
            if (policy == ExistingSkip) {
                out.action = PlannedFile::Skipped;
            } else if (policy == ExistingKeepBoth || (policy == ExistingOverwrite && collides)) {
                out.target = firstFreeName(out.target, taken);
                out.renamed = true;
            } else if (policy != ExistingOverwrite) {
                out.action = PlannedFile::Existing;
            }
        }
        if (out.action == PlannedFile::Convert)
            planned.insert(filePathKey(QDir::cleanPath(out.target)));
        plan << out;
    }
    return plan;
}

QList<PlannedFile> planGivenTargets(const QStringList &sources, const QStringList &targets)
{
    QList<PlannedFile> plan;
    QHash<QString, qsizetype> planned; // target -> its entry in the plan
    for (qsizetype i = 0; i < sources.size() && i < targets.size(); ++i) {
        const QString key = filePathKey(QDir::cleanPath(QFileInfo(targets.at(i)).absoluteFilePath()));
        const auto earlier = planned.constFind(key);
        if (earlier != planned.cend())
            plan[*earlier].action = PlannedFile::Superseded;
        planned.insert(key, plan.size());
        plan.append({sources.at(i), targets.at(i)});
    }
    return plan;
}
