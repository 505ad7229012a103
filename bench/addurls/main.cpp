// Lists a folder tree of small images through the add worker, as a drop on
// the window would, and reports how long listing and thumbnails take.
//
//   bench_addurls [file count (10000)] [folder]
//
// A given folder that does not exist yet is made and kept, so that later runs
// measure the list alone; an existing one is added as it is. The list is shown
// in a view, as in the program; NOVIEW=1 leaves the view hidden.

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "convertimageaddurlsthread.h"
#include "convertimagetreeview.h"
#include "filelistcommands.h"

namespace {

void makeTree(const QString &root, int count)
{
    QImage image(48, 32, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 5, y * 7, (x * y) & 0xff));
    const int perFolder = 100;
    for (int i = 0; i < count; ++i) {
        const QString folder = root + QStringLiteral("/d%1/e%2").arg(i / (perFolder * 10)).arg(i / perFolder);
        if (i % perFolder == 0)
            QDir().mkpath(folder);
        image.setPixel(0, 0, qRgb(i & 0xff, (i >> 8) & 0xff, 0));
        image.save(folder + QStringLiteral("/img%1.png").arg(i));
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The per-file debug lines would measure the terminal, not the list.
    qputenv("QT_LOGGING_RULES", "default.debug=false");
    QApplication app(argc, argv);

    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    QTemporaryDir temp;
    QString root = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.path() + QStringLiteral("/tree");
    if (!QFileInfo::exists(root)) {
        QElapsedTimer making;
        making.start();
        makeTree(root, count);
        std::printf("made %d files in %.2f s\n", count, making.elapsed() / 1000.0);
    }

    QStandardItemModel model;
    model.setHorizontalHeaderLabels({QStringLiteral("File List"), QStringLiteral("Path")});
    ConvertImageTreeView view;
    view.setModel(&model);
    view.hideColumn(1);
    view.setIconSize(QSize(64, 64));
    view.resize(400, 600);
    if (qEnvironmentVariableIsEmpty("NOVIEW")) view.show();

    auto *worker = new ConvertImageAddUrlsThread(&app, &model);
    QElapsedTimer clock;
    qint64 listedAt = -1;
    qint64 lastIconAt = -1;
    int icons = 0;
    int landed = 0;
    qint64 applyNs = 0;
    QObject::connect(worker, &ConvertImageAddUrlsThread::addUrlsFinish, &app, [&](const QString &) {
        if (listedAt < 0)
            listedAt = clock.elapsed();
    });
    QObject::connect(worker, &ConvertImageAddUrlsThread::processFinish, &app,
                     [&](const QImage &icon, const QString &fileName, const QString &folder, const QString &sizeStr,
                         int index) {
                         ++icons;
                         QElapsedTimer applying;
                         applying.start();
                         const bool ok = applyListThumbnail(&model, icon, fileName, folder, sizeStr, index) >= 0;
                         applyNs += applying.nsecsElapsed();
                         if (ok)
                             ++landed;
                         lastIconAt = clock.elapsed();
                     });
    QObject::connect(worker, &QThread::finished, &app, [&] { QTimer::singleShot(0, &app, &QApplication::quit); });

    worker->appendPendingUrls({QUrl::fromLocalFile(root)});
    clock.start();
    worker->start();
    app.exec();

    const double listed = listedAt / 1000.0;
    const double thumbnailTime = (lastIconAt - listedAt) / 1000.0;
    std::printf("listed %d files in %.3f s (addUrlsFinish)\n", model.rowCount(), listed);
    std::printf("last thumbnail delivered at %.3f s: %d thumbnails (%d landed), %.0f thumbnails/s\n",
                lastIconAt / 1000.0, icons, landed, thumbnailTime > 0 ? icons / thumbnailTime : 0.0);
    std::printf("GUI thread time putting thumbnails on rows: %.3f s\n", applyNs / 1e9);
    return model.rowCount() == count || argc > 2 ? 0 : 1;
}
