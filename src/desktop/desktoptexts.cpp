// kx_desktoptexts IN OUT: copies a desktop entry, a file-manager action or
// the AppStream metainfo and puts the translations of its texts, in every
// language the program ships, beside each English line:
//   Comment=Convert…                  Comment[de]=…
//   <summary>Convert…</summary>       <summary xml:lang="de">…</summary>
// The texts come from the program's own translation files; each one must be
// listed below (where lupdate finds it), or the build stops, so that no text
// of these files is left to English alone unnoticed.

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTranslator>

#include <cstdio>
#include <memory>
#include <vector>

#include "translations.h"

namespace {

const char context[] = "DesktopFiles";

const char *const texts[] = {
    QT_TRANSLATE_NOOP("DesktopFiles", "Kestrix Picturist"),
    QT_TRANSLATE_NOOP("DesktopFiles", "Batch Picture Converter"),
    QT_TRANSLATE_NOOP("DesktopFiles", "Convert, scale and watermark many pictures in one go"),
    //: Search words of the menu entry, each followed by ';'; the format names stay.
    QT_TRANSLATE_NOOP("DesktopFiles", "convert;resize;scale;watermark;batch;photo;AVIF;HEIC;WEBP;JPEG;PDF;"),
    QT_TRANSLATE_NOOP("DesktopFiles", "Convert with Kestrix Picturist"),
    QT_TRANSLATE_NOOP("DesktopFiles", "Open the selected pictures and folders in Kestrix Picturist"),
    QT_TRANSLATE_NOOP("DesktopFiles",
                      "Kestrix Picturist converts whole folders of pictures at once. Drop files and folders into its "
                      "window, pick a target format and an output folder, and watch a live preview of the result "
                      "before the list is converted."),
    QT_TRANSLATE_NOOP("DesktopFiles",
                      "Writes AVIF, GIF, HEIC, HEIF, JPEG, JPEG XL, PNG, TIFF, WEBP and multi-page PDF"),
    QT_TRANSLATE_NOOP("DesktopFiles", "Reads SVG drawings, PDF pages and camera RAW files besides these"),
    QT_TRANSLATE_NOOP("DesktopFiles", "Scales, stamps text, picture and QR-code watermarks and adjusts colours"),
    QT_TRANSLATE_NOOP("DesktopFiles", "Keeps photo metadata and colour profiles"),
    QT_TRANSLATE_NOOP("DesktopFiles", "Comes with kestrix-convert, the same conversion on the command line"),
    QT_TRANSLATE_NOOP("DesktopFiles", "The main window, ready for pictures to be dropped"),
};

struct Language
{
    QString name;
    std::unique_ptr<QTranslator> translator;
};

// A translatable line: "Key=text" of a desktop file, or "<tag>text</tag>" of
// the metainfo, the tag alone on its line.
const QRegularExpression desktopLine(QStringLiteral("^(Name|GenericName|Comment|Keywords)=(.*)$"));
const QRegularExpression metainfoLine(QStringLiteral("^(\\s*)<(summary|p|li|caption)>(.*)</\\2>$"));

bool isListed(const QString &text)
{
    for (const char *listed : texts)
        if (text == QLatin1String(listed))
            return true;
    return false;
}

// The line followed by its translations; false when its text is not listed.
bool translateLine(const QString &line, const std::vector<Language> &languages, QStringList &out)
{
    out << line;
    const QRegularExpressionMatch desktop = desktopLine.match(line);
    const QRegularExpressionMatch metainfo = metainfoLine.match(line);
    if (!desktop.hasMatch() && !metainfo.hasMatch())
        return true;
    const QString text = desktop.hasMatch() ? desktop.captured(2) : metainfo.captured(3);
    if (!isListed(text))
        return false;
    for (const Language &language : languages) {
        const QString translated = language.translator->translate(context, text.toUtf8().constData());
        if (translated.isEmpty() || translated == text)
            continue;
        if (desktop.hasMatch())
            out << QStringLiteral("%1[%2]=%3").arg(desktop.captured(1), language.name, translated);
        else
            out << QStringLiteral("%1<%2 xml:lang=\"%3\">%4</%2>")
                       .arg(metainfo.captured(1), metainfo.captured(2), language.name, translated.toHtmlEscaped());
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: kx_desktoptexts IN OUT\n", stderr);
        return 2;
    }
    std::vector<Language> languages;
    for (const QString &name : shippedLanguages()) {
        Language language{name, std::make_unique<QTranslator>()};
        if (!language.translator->load(QStringLiteral("kestrix_") + name, QStringLiteral(":/i18n")))
            return 1;
        languages.push_back(std::move(language));
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return 1;
    QStringList out;
    for (const QString &line : QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'))) {
        if (!translateLine(line, languages, out)) {
            std::fprintf(stderr, "%s: not listed in desktoptexts.cpp for translation: %s\n", argv[1],
                         line.toUtf8().constData());
            return 1;
        }
    }
    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(out.join(QLatin1Char('\n')).toUtf8()) < 0)
        return 1;
    return 0;
}
