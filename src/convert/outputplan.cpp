#include "outputplan.h"

#include "photometadata.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <climits>
#include <optional>

#include <unistd.h>

#include "imagemagickutil.h"
#include "pathutil.h"
#include "photometadata.h"
#include "pipelinerules.h"
#include "sourceframes.h"
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
    facts.outputSize = [settings](const QString &source, int page) {
        const QSize size = uprightImageSize(source, settings.pdfSourceDpi, settings.rawPictures, page,
                                            settings.ignoreOrientation);
        return scaledSize(size, settings).value_or(size);
    };
    facts.pageCount = sourcePageCount;
    facts.date = [](const QString &source) {
        const QDate taken = photoDateTaken(source);
        return taken.isValid() ? taken : QFileInfo(source).lastModified().date();
    };
    return facts;
}

QString expandFileNamePattern(const QString &pattern, const QString &source, int position, int count,
                              const SourceFacts &facts, int page, int pages)
{
    const QString name = baseNameOf(source);
    const auto padded = [](int number, int of) {
        const int width = int(QString::number(qMax(1, of)).size());
        return QStringLiteral("%1").arg(number, width, 10, QLatin1Char('0'));
    };
    bool paged = false;
    const auto value = [&](QStringView token) -> std::optional<QString> {
        if (token == QLatin1String("name"))
            return name;
        if (token == QLatin1String("counter"))
            return padded(position + 1, count);
        if (token == QLatin1String("page")) {
            paged = true;
            return padded(page + 1, pages);
        }
        if (token == QLatin1String("width") || token == QLatin1String("height")) {
            const QSize size = facts.outputSize ? facts.outputSize(source, page) : QSize();
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
    if (!isUsableName(result))
        result = name;
    if (pages > 1 && !paged)
        result += QLatin1Char('-') + QString::number(page + 1);
    return result;
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

bool isTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
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

namespace {

// The texts of this file, translated under one name.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(OutputPlan)
};

// Canonical keys of existing files: a path that reaches one of them through
// a link or ".." gives the same key.
QString canonicalKey(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QString() : filePathKey(canonical);
}

QSet<QString> canonicalKeys(const QStringList &paths)
{
    QSet<QString> keys;
    for (const QString &path : paths) {
        const QString key = canonicalKey(path);
        if (!key.isEmpty())
            keys.insert(key);
    }
    return keys;
}

// Longer names fail with no useful reason from the system.
bool nameTooLong(const QString &target, long nameMax)
{
    return QFile::encodeName(QFileInfo(target).fileName()).size() > nameMax;
}

long fileNameMax(const QString &folder)
{
    const long max = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    return max > 0 ? max : NAME_MAX;
}

// The target the pattern names for the source at position, before any free
// name: in outputFolder (below root with the folder structure) or beside the
// source, and never outside that folder whatever the names hold.
QString namedTarget(const QStringList &sources, int position, const QString &outputFolder, const QString &root,
                    const QString &extension, const ConversionSettings &settings, const SourceFacts &facts,
                    int page = 0, int pages = 1)
{
    const QString &source = sources.at(position);
    const QString name =
        expandFileNamePattern(settings.fileNamePattern, source, position, int(sources.size()), facts, page, pages);
    const QString base = settings.outputBesideSource ? QFileInfo(source).absolutePath() : outputFolder;
    QString folder = base;
    if (!root.isEmpty()) {
        const QString below = relativeFolder(source, root);
        if (!below.isEmpty())
            folder += QLatin1Char('/') + below;
    }
    const QString target = folder + QLatin1Char('/') + name + extension;
    return isInside(target, base) ? target : targetPathFor(source, base, extension);
}

} // namespace

QString sourceNamedAsItsTarget(const QStringList &sources, const QString &extension, const ConversionSettings &settings,
                               const SourceFacts &facts)
{
    for (int i = 0; settings.outputBesideSource && i < sources.size(); ++i) {
        const QString key = canonicalKey(sources.at(i));
        if (!key.isEmpty() && canonicalKey(namedTarget(sources, i, QString(), QString(), extension, settings, facts)) == key)
            return sources.at(i);
    }
    return QString();
}

bool isOneOfTheSources(const QString &path, const QStringList &sources)
{
    const QString key = canonicalKey(path);
    return !key.isEmpty() && canonicalKeys(sources).contains(key);
}

namespace {

// claimedBy: target -> the source that has it, for every output of the run.
QList<PlannedFile> planClaiming(const QStringList &sources, const QString &outputFolder, const QString &extension,
                                const ImageFormat *format, const ConversionSettings &settings, bool overwriteExisting,
                                const SourceFacts &facts, const QString &structureRoot,
                                QHash<QString, QString> &claimedBy)
{
    const int policy = overwriteExisting ? ExistingOverwrite : settings.existingFilePolicy;
    const QString root = !settings.keepFolderStructure || settings.outputBesideSource ? QString()
                         : structureRoot.isEmpty()                                    ? commonSourceFolder(sources)
                                                                                      : structureRoot;
    const QSet<QString> sourceKeys = canonicalKeys(sources);
    const auto isSource = [&sourceKeys](const QString &path) {
        const QString key = canonicalKey(path);
        return !key.isEmpty() && sourceKeys.contains(key);
    };
    const auto key = [](const QString &path) { return filePathKey(QDir::cleanPath(path)); };
    const auto nameTaken = [&](const QString &path) { return claimedBy.contains(key(path)) || isSource(path); };

    // First the names, from the list alone: a name an earlier source has or
    // a source's own file gives the next free name.
    QList<PlannedFile> plan;
    const bool everyPage = settings.pagesAndFrames == PagesEach && facts.pageCount;
    for (int i = 0; i < sources.size(); ++i) {
        const int pages = everyPage ? qMax(1, facts.pageCount(sources.at(i))) : 1;
        for (int page = 0; page < pages; ++page) {
            PlannedFile out;
            out.source = sources.at(i);
            out.page = page;
            out.format = format;
            out.target = namedTarget(sources, i, outputFolder, root, extension, settings, facts, page, pages);

            const QString earlier = claimedBy.value(key(out.target));
            if (isSource(out.target) && (policy == ExistingAsk || policy == ExistingSkip)) {
                out.action = PlannedFile::Skipped;
                out.reason = Texts::tr("the target is one of the sources");
            } else if (!earlier.isEmpty() && policy == ExistingAsk) {
                out.action = PlannedFile::Existing;
            } else if (!earlier.isEmpty() || isSource(out.target)) {
                out.reason = earlier.isEmpty()
                                     ? Texts::tr("the target is one of the sources")
                                     : Texts::tr("%1 also becomes %2")
                                               .arg(QFileInfo(earlier).fileName(), QFileInfo(out.target).fileName());
                out.target = firstFreeName(out.target, nameTaken);
                out.renamed = true;
            }
            claimedBy.insert(key(out.target), out.source);
            plan << out;
        }
    }

    // Then the policy, for files that were there before the run.
    const long nameMax = fileNameMax(outputFolder);
    for (PlannedFile &out : plan) {
        if (out.action != PlannedFile::Convert)
            continue;
        const QFileInfo info(out.target);
        if (isTaken(out.target)) {
            if (policy == ExistingSkip) {
                out.action = PlannedFile::Skipped;
                out.reason = Texts::tr("the target exists");
            } else if (policy == ExistingAsk) {
                out.action = PlannedFile::Existing;
            } else if (policy == ExistingKeepBoth) {
                out.target = firstFreeName(out.target, [&](const QString &path) {
                    return claimedBy.contains(key(path)) || isTaken(path);
                });
                claimedBy.insert(key(out.target), out.source);
                out.renamed = true;
                if (out.reason.isEmpty())
                    out.reason = Texts::tr("the target exists");
            } else if (info.isSymLink()) {
                out.action = PlannedFile::Refused;
                out.reason = Texts::tr("the target is a symbolic link");
            } else {
                out.replaces = true;
            }
        }
        if (out.action == PlannedFile::Convert && nameTooLong(out.target, nameMax)) {
            out.action = PlannedFile::Refused;
            out.reason = Texts::tr("the file name is too long");
        }
    }
    return plan;
}

} // namespace

QList<PlannedFile> planOutputs(const QStringList &sources, const QString &outputFolder, const QString &extension,
                               const ConversionSettings &settings, bool overwriteExisting, const SourceFacts &facts,
                               const QString &structureRoot)
{
    QHash<QString, QString> claimedBy;
    return planClaiming(sources, outputFolder, extension, formatForExtension(extension.mid(1)), settings,
                        overwriteExisting, facts, structureRoot, claimedBy);
}

QList<PlannedFile> planEveryOutput(const QStringList &sources, const QList<OutputTarget> &outputs,
                                   bool overwriteExisting, const QString &structureRoot)
{
    QHash<QString, QString> claimedBy;
    QList<QList<PlannedFile>> plans;
    for (qsizetype k = 0; k < outputs.size(); ++k) {
        ConversionSettings settings = outputs.at(k).settings;
        if (k > 0 && settings.existingFilePolicy == ExistingAsk)
            settings.existingFilePolicy = ExistingSkip;
        plans << planClaiming(sources, outputs.at(k).folder, outputs.at(k).extension, outputs.at(k).format, settings,
                              overwriteExisting, fileSourceFacts(settings), structureRoot, claimedBy);
        for (PlannedFile &file : plans.last())
            file.output = int(k);
    }
    QList<PlannedFile> plan;
    QList<qsizetype> next(plans.size(), 0);
    for (const QString &source : sources) {
        for (qsizetype k = 0; k < plans.size(); ++k) {
            for (; next.at(k) < plans.at(k).size() && plans.at(k).at(next.at(k)).source == source; ++next[k])
                plan << plans.at(k).at(next.at(k));
        }
    }
    return plan;
}

QList<PlannedFile> planReplacing(const QList<PlannedFile> &chosen)
{
    QList<PlannedFile> plan;
    QHash<QString, qsizetype> planned; // target -> its entry in the plan
    for (PlannedFile file : chosen) {
        const QString key = filePathKey(QDir::cleanPath(QFileInfo(file.target).absoluteFilePath()));
        const auto earlier = planned.constFind(key);
        if (earlier != planned.cend())
            plan[*earlier].action = PlannedFile::Superseded;
        planned.insert(key, plan.size());
        file.action = PlannedFile::Convert;
        file.replaces = true;
        plan.append(file);
    }
    return plan;
}
