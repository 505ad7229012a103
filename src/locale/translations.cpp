#include "translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

const QString translationsFolder = QStringLiteral(":/i18n");
const QString filePrefix = QStringLiteral("kestrix_");

// A translation that answers only for the texts of some contexts.
class ContextTranslator : public QTranslator
{
public:
    explicit ContextTranslator(const QStringList &contexts, QObject *parent) : QTranslator(parent), contexts(contexts) {}

    QString translate(const char *context, const char *sourceText, const char *disambiguation, int n) const override
    {
        if (!contexts.isEmpty() && !contexts.contains(QLatin1String(context)))
            return QString();
        return QTranslator::translate(context, sourceText, disambiguation, n);
    }

private:
    const QStringList contexts;
};

} // namespace

QString chosenLanguage(const QStringList &uiLanguages, const QStringList &shipped)
{
    for (const QString &name : uiLanguages) {
        const QLocale locale(name);
        if (locale.language() == QLocale::English)
            return QString();
        if (locale.language() == QLocale::C)
            continue;
        // "de-AT" or "de_AT": the most specific shipped form first.
        QString candidate = QString(name).replace(QLatin1Char('-'), QLatin1Char('_'));
        while (!candidate.isEmpty()) {
            if (shipped.contains(candidate))
                return candidate;
            const qsizetype cut = candidate.lastIndexOf(QLatin1Char('_'));
            candidate.truncate(cut < 0 ? 0 : cut);
        }
    }
    return QString();
}

QStringList shippedLanguages()
{
    QStringList languages;
    const QStringList files =
        QDir(translationsFolder).entryList({filePrefix + QStringLiteral("*.qm")}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        languages << file.mid(filePrefix.size()).chopped(3);
    return languages;
}

void installTranslations(const QLocale &locale, const QStringList &contexts)
{
    const QString language = chosenLanguage(locale.uiLanguages(), shippedLanguages());
    if (language.isEmpty())
        return;
    QCoreApplication *app = QCoreApplication::instance();
    auto *own = new ContextTranslator(contexts, app);
    if (!own->load(filePrefix + language, translationsFolder)) {
        delete own;
        return;
    }
    QCoreApplication::installTranslator(own);
    // Qt's texts in the same language, so that a dialog's buttons match its text.
    auto *qt = new QTranslator(app);
    if (qt->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
}
