// JPEG sources kept as JPEG data, on a folder of real photographs (JPEG
// files), side by side with the reference tools:
// 1. to lossless JPEG XL by the command-line converter and by cjxl (its
//    JPEG recompression, one file after another on all cores): time, sizes
//    against the sources and cjxl's, and whether djxl gives back every
//    source byte for byte;
// 2. to JPG turned upright (each source given EXIF orientation 6) with
//    --jpeg-lossless, and by jpegtran -rotate 90 -trim, one process a core:
//    time, and whether the pixels are identical.
// cjxl, djxl and jpegtran come from Debian's libjxl-tools and libjpeg-turbo-progs.
// Usage: bench_jpegkeep FOLDER [rounds=3]

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <memory>

namespace {

struct Command
{
    QString program;
    QStringList arguments;
};

// Seconds for all the commands, `parallel` at a time; negative when one failed.
double runAll(const QList<Command> &commands, int parallel)
{
    QElapsedTimer timer;
    timer.start();
    std::deque<std::unique_ptr<QProcess>> running;
    bool failed = false;
    const auto finishOldest = [&] {
        QProcess &process = *running.front();
        failed = failed || !process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit
                 || process.exitCode() != 0;
        running.pop_front();
    };
    for (const Command &command : commands) {
        if (int(running.size()) >= parallel)
            finishOldest();
        auto process = std::make_unique<QProcess>();
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        process->start(command.program, command.arguments);
        running.push_back(std::move(process));
    }
    while (!running.empty())
        finishOldest();
    return failed ? -1 : timer.nsecsElapsed() / 1e9;
}

double best(const QList<Command> &commands, int parallel, int rounds)
{
    double fastest = 1e9;
    for (int round = 0; round < rounds; ++round) {
        const double seconds = runAll(commands, parallel);
        if (seconds < 0)
            return -1;
        fastest = std::min(fastest, seconds);
    }
    return fastest;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

qint64 totalSize(const QString &folder, const QStringList &names, const QString &suffix)
{
    qint64 bytes = 0;
    for (const QString &name : names)
        bytes += QFileInfo(folder + QLatin1Char('/') + QFileInfo(name).completeBaseName() + suffix).size();
    return bytes;
}

// The JPEG with an EXIF segment holding orientation 6 right after its start.
QByteArray turnedSideways(QByteArray jpeg)
{
    const QByteArray exif = QByteArray::fromHex("ffe10022457869660000" "4d4d002a00000008" "0001"
                                                "011200030000000100060000" "00000000");
    return jpeg.insert(2, exif);
}

void compareToCjxl(const QStringList &files, const QString &root, int rounds)
{
    const QString ours = root + QStringLiteral("/jxl-ours");
    const QString peer = root + QStringLiteral("/jxl-cjxl");
    QDir().mkpath(peer);
    const double oursSeconds =
        best({{QStringLiteral(KESTRIX_CONVERT),
               QStringList{QStringLiteral("--to"), QStringLiteral("jxl"), QStringLiteral("--set"),
                           QStringLiteral("jxlLossless=true"), QStringLiteral("-o"), ours, QStringLiteral("--existing"),
                           QStringLiteral("overwrite"), QStringLiteral("--quiet")}
                   + files}},
             1, rounds);
    QList<Command> cjxl;
    QStringList names;
    for (const QString &file : files) {
        names << QFileInfo(file).fileName();
        cjxl << Command{QStringLiteral("cjxl"),
                        {file, peer + QLatin1Char('/') + QFileInfo(file).completeBaseName() + QStringLiteral(".jxl")}};
    }
    const double peerSeconds = best(cjxl, 1, rounds);
    qint64 sources = 0;
    for (const QString &file : files)
        sources += QFileInfo(file).size();
    const qint64 oursBytes = totalSize(ours, names, QStringLiteral(".jxl"));
    const qint64 peerBytes = totalSize(peer, names, QStringLiteral(".jxl"));
    int exact = 0;
    for (const QString &file : files) {
        const QString jxl = ours + QLatin1Char('/') + QFileInfo(file).completeBaseName() + QStringLiteral(".jxl");
        const QString back = root + QStringLiteral("/back.jpg");
        QFile::remove(back);
        if (runAll({{QStringLiteral("djxl"), {jxl, back}}}, 1) >= 0 && readAll(back) == readAll(file))
            ++exact;
        else
            std::printf("  not byte-exact: %s\n", qPrintable(file));
    }
    std::printf("JPEG -> lossless JPEG XL, %lld files, sources %.1f MB\n", qint64(files.size()), sources / 1e6);
    std::printf("  ours: %6.2f s  %.2f MB (%.1f %% of the sources, %.2f %% of cjxl's)\n", oursSeconds, oursBytes / 1e6,
                100.0 * oursBytes / sources, 100.0 * oursBytes / peerBytes);
    std::printf("  cjxl: %6.2f s  %.2f MB (%.1f %% of the sources)   time ours/cjxl %.2f\n", peerSeconds,
                peerBytes / 1e6, 100.0 * peerBytes / sources, oursSeconds / peerSeconds);
    std::printf("  byte-exact through djxl: %d of %lld\n", exact, qint64(files.size()));
}

void compareToJpegtran(const QStringList &files, const QString &root, int rounds)
{
    const QString sideways = root + QStringLiteral("/sideways");
    const QString ours = root + QStringLiteral("/jpg-ours");
    const QString peer = root + QStringLiteral("/jpg-jpegtran");
    QDir().mkpath(sideways);
    QDir().mkpath(peer);
    QStringList sources;
    QList<Command> jpegtran;
    QList<Command> progressive;
    for (const QString &file : files) {
        const QString source = sideways + QLatin1Char('/') + QFileInfo(file).fileName();
        QFile out(source);
        if (!out.open(QIODevice::WriteOnly) || out.write(turnedSideways(readAll(file))) < 0)
            return;
        sources << source;
        const QString target = peer + QLatin1Char('/') + QFileInfo(file).completeBaseName() + QStringLiteral(".jpg");
        const QStringList common{QStringLiteral("-rotate"), QStringLiteral("90"), QStringLiteral("-trim"),
                                 QStringLiteral("-copy"), QStringLiteral("all")};
        jpegtran << Command{QStringLiteral("jpegtran"), common + QStringList{QStringLiteral("-outfile"), target, source}};
        progressive << Command{QStringLiteral("jpegtran"), common + QStringList{QStringLiteral("-progressive"),
                                                                              QStringLiteral("-outfile"), target, source}};
    }
    const int cores = QThread::idealThreadCount();
    const double oursSeconds =
        best({{QStringLiteral(KESTRIX_CONVERT),
               QStringList{QStringLiteral("--to"), QStringLiteral("jpg"), QStringLiteral("--jpeg-lossless"),
                           QStringLiteral("-o"), ours, QStringLiteral("--existing"), QStringLiteral("overwrite"),
                           QStringLiteral("--quiet")}
                   + sources}},
             1, rounds);
    const double progressiveSeconds = best(progressive, cores, rounds);
    const double peerSeconds = best(jpegtran, cores, rounds);
    int identical = 0;
    int whole = 0;
    int wholeIdentical = 0;
    for (const QString &file : files) {
        const QString name = QFileInfo(file).completeBaseName() + QStringLiteral(".jpg");
        const QImage mine(ours + QLatin1Char('/') + name);
        const QImage theirs(peer + QLatin1Char('/') + name);
        const QImage source(file);
        // 4:2:0 photographs: a turn by 90 degrees moves the bottom edge, whole when its height is of 16-line blocks.
        const bool isWhole = source.height() % 16 == 0;
        const bool same = !mine.isNull() && mine.convertToFormat(QImage::Format_RGB32)
                                                == theirs.convertToFormat(QImage::Format_RGB32);
        identical += same;
        whole += isWhole;
        wholeIdentical += same && isWhole;
        if (!same)
            std::printf("  pixels differ: %s\n", qPrintable(file));
    }
    std::printf("JPG -> JPG turned upright, %lld files\n", qint64(files.size()));
    std::printf("  ours (progressive): %6.2f s\n", oursSeconds);
    std::printf("  jpegtran -progressive: %6.2f s   ours/jpegtran %.2f\n", progressiveSeconds,
                oursSeconds / progressiveSeconds);
    std::printf("  jpegtran (baseline): %6.2f s   ours/jpegtran %.2f\n", peerSeconds, oursSeconds / peerSeconds);
    std::printf("  pixels identical to jpegtran -rotate 90 -trim: %d of %lld (whole-block sides: %d of %d)\n",
                identical, qint64(files.size()), wholeIdentical, whole);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_jpegkeep FOLDER [rounds=3]\n");
        return 2;
    }
    const int rounds = args.size() > 2 ? qMax(1, args.at(2).toInt()) : 3;
    QStringList files;
    const QDir folder(args.at(1));
    for (const QString &name : folder.entryList({QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}, QDir::Files,
                                                QDir::Name))
        files << folder.absoluteFilePath(name);
    QTemporaryDir work;
    compareToCjxl(files, work.path(), rounds);
    compareToJpegtran(files, work.path(), rounds);
    return 0;
}
