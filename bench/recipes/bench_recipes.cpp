// Several outputs from one decode: photo-like JPEGs of 12 and 24 MP written
// at three sizes (whole, 1600 px and 400 px long edge) in two formats (JPEG
// and WEBP) in one run, against the largest single output alone (whole, in
// each format). Prints seconds and the ratio of each.
//
// usage: bench_recipes [count=24] [work folder]

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

#include "../photo.h"
#include "conversionrun.h"
#include "targetformats.h"

namespace {

ConversionSettings output(int type, int longEdge, const QString &folder)
{
    ConversionSettings settings;
    settings.targeFileType = type;
    settings.outputFolder = folder;
    settings.existingFilePolicy = ExistingOverwrite;
    settings.scaleImage = longEdge > 0;
    settings.scaleType = ScaleByLongEdge;
    settings.scaleLongEdge = longEdge;
    return settings;
}

double secondsFor(const QStringList &sources, const QList<ConversionSettings> &outputs)
{
    for (const ConversionSettings &settings : outputs)
        QDir().mkpath(settings.outputFolder);
    ConversionJob job;
    job.sources = sources;
    job.settings = outputs;
    job.outputFolder = outputs.first().outputFolder;
    job.targetExtension = targetFormatAt(outputs.first().targeFileType).targetExtension();
    QElapsedTimer clock;
    clock.start();
    const ConversionResult result = runConversion(job);
    const double seconds = clock.elapsed() / 1000.0;
    for (const ConversionResult::File &file : result.files) {
        if (!file.failures.isEmpty())
            std::fprintf(stderr, "%s: %s\n", qPrintable(file.source), qPrintable(file.failures.join("; ")));
    }
    return seconds;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = args.size() > 1 ? qMax(1, args.at(1).toInt()) : 24;
    QTemporaryDir tmp(args.size() > 2 ? args.at(2) + QStringLiteral("/bench-recipes-XXXXXX") : QString());
    const QString work = tmp.path();

    std::printf("%-6s %-28s %8s %6s\n", "MP", "run", "s", "ratio");
    for (const QSize size : {QSize(4000, 3000), QSize(6000, 4000)}) {
        QStringList sources;
        const QString in = work + QStringLiteral("/in-%1").arg(size.width());
        QDir().mkpath(in);
        for (int i = 0; i < count; ++i) {
            const QString path = in + QStringLiteral("/photo-%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
            makePhoto(size.width(), size.height(), i).save(path, "jpeg", 90);
            sources << path;
        }
        QList<ConversionSettings> recipe;
        for (const int type : {int(TargetJpg), int(TargetWebp)}) {
            for (const int edge : {0, 1600, 400})
                recipe << output(type, edge, work + QStringLiteral("/out-%1-%2").arg(type).arg(edge));
        }
        const int mp = size.width() * size.height() / 1000000;
        const double jpeg = secondsFor(sources, {recipe.at(0)});
        const double webp = secondsFor(sources, {recipe.at(3)});
        const double all = secondsFor(sources, recipe);
        std::printf("%-6d %-28s %8.2f\n", mp, "whole JPEG alone", jpeg);
        std::printf("%-6d %-28s %8.2f\n", mp, "whole WEBP alone", webp);
        std::printf("%-6d %-28s %8.2f %6.2f\n", mp, "3 sizes x 2 formats", all, all / qMax(jpeg, webp));
    }
    return 0;
}
