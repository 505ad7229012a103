// One PDF of camera-like JPEGs (half of them 12 MP, half 24 MP) made by the
// command-line converter with the JPEG data kept, drawn as without it, and by
// img2pdf run right beside it, alternately, best of the rounds; then whether
// pdfimages -j gives back every source byte for byte. img2pdf and pdfimages
// (Debian img2pdf, poppler-utils) are left out when not installed.
// Usage: bench_pdfkeep [count=24] [rounds=3] [work folder]

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include "../photo.h"

namespace {

// Seconds the program took, or a negative number when it failed.
double runSeconds(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = args.size() > 1 ? qMax(1, args.at(1).toInt()) : 24;
    const int rounds = args.size() > 2 ? qMax(1, args.at(2).toInt()) : 3;
    QTemporaryDir tmp;
    const QString root = args.size() > 3 ? args.at(3) : tmp.path();
    const QString sources = root + QStringLiteral("/sources");
    QDir().mkpath(sources);

    QStringList files;
    qint64 bytes = 0;
    for (int i = 0; i < count; ++i) {
        const QString path = QStringLiteral("%1/camera%2.jpg").arg(sources).arg(i, 3, 10, QLatin1Char('0'));
        const bool large = i % 2 == 1;
        if (!QFile::exists(path))
            makePhoto(large ? 6000 : 4000, large ? 4000 : 3000, i).save(path, "jpeg", 92);
        files << path;
        bytes += QFileInfo(path).size();
    }
    std::printf("sources: %d JPEGs, 12 and 24 MP, %.1f MB\n", count, bytes / 1e6);

    const QString kept = root + QStringLiteral("/kept.pdf");
    const QString drawn = root + QStringLiteral("/drawn.pdf");
    const QString peer = root + QStringLiteral("/img2pdf.pdf");
    const QString img2pdf = QStandardPaths::findExecutable(QStringLiteral("img2pdf"));
    const QStringList common = QStringList{QStringLiteral("--existing"), QStringLiteral("overwrite"),
                                           QStringLiteral("--quiet")} + files;
    double bestKept = 1e9, bestDrawn = 1e9, bestPeer = 1e9;
    for (int round = 0; round < rounds; ++round) {
        bestKept = std::min(bestKept, runSeconds(QStringLiteral(KESTRIX_CONVERT),
                                                 QStringList{QStringLiteral("--pdf"), kept,
                                                             QStringLiteral("--pdf-keep-jpeg")} + common));
        if (!img2pdf.isEmpty())
            bestPeer = std::min(bestPeer, runSeconds(img2pdf, files + QStringList{QStringLiteral("-o"), peer}));
        if (round == 0)
            bestDrawn = runSeconds(QStringLiteral(KESTRIX_CONVERT), QStringList{QStringLiteral("--pdf"), drawn} + common);
    }
    const auto megabytes = [](const QString &path) { return QFileInfo(path).size() / 1e6; };
    std::printf("%-28s %7.2f s %8.1f MB\n", "kept JPEG data", bestKept, megabytes(kept));
    std::printf("%-28s %7.2f s %8.1f MB\n", "drawn (option off, 1 round)", bestDrawn, megabytes(drawn));
    if (!img2pdf.isEmpty()) {
        std::printf("%-28s %7.2f s %8.1f MB\n", "img2pdf", bestPeer, megabytes(peer));
        std::printf("kept / img2pdf: %.2f x\n", bestKept / bestPeer);
    }

    const QString pdfimages = QStandardPaths::findExecutable(QStringLiteral("pdfimages"));
    if (pdfimages.isEmpty())
        return 0;
    const QString extracted = root + QStringLiteral("/extracted");
    QDir(extracted).removeRecursively();
    QDir().mkpath(extracted);
    if (runSeconds(pdfimages, {QStringLiteral("-j"), kept, extracted + QStringLiteral("/page")}) < 0) {
        std::printf("pdfimages failed\n");
        return 1;
    }
    const QStringList images = QDir(extracted).entryList(QDir::Files, QDir::Name);
    int identical = 0;
    for (int i = 0; i < files.size() && i < images.size(); ++i)
        identical += images.at(i).endsWith(QLatin1String(".jpg"))
                     && readAll(extracted + QLatin1Char('/') + images.at(i)) == readAll(files.at(i));
    std::printf("pdfimages -j: %d images, %d of %d byte-identical to their sources\n", int(images.size()), identical,
                int(files.size()));
    return identical == files.size() ? 0 : 1;
}
