#pragma once
// Shared test helpers: isolation from user settings, and image fixtures.

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <functional>
#include <utility>

#include <sys/resource.h>

namespace kxtest {

// Points QStandardPaths and QSettings at throw-away places, never the user's.
inline void isolateUserData()
{
    QStandardPaths::setTestModeEnabled(true);
    static QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
}

inline void clearSettingsStore()
{
    QSettings("Kestrix", "ConvertImage").clear();
}

// Gradients with some detail, so lossy codecs behave as on photographs.
inline QImage makePhotoLikeImage(int width, int height, bool withAlpha = false)
{
    QImage image(width, height, withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int r = (x * 255) / qMax(1, width - 1);
            const int g = (y * 255) / qMax(1, height - 1);
            const int b = ((x + y) * 7 + ((x * y) >> 6)) & 0xff;
            const int a = withAlpha ? 255 - (x * 200) / qMax(1, width - 1) : 255;
            line[x] = qRgba(r, g, b, a);
        }
    }
    return image;
}

// Flat blocks of the given colours, left to right.
inline QImage makeBlocksImage(int width, int height, const QList<QColor> &colours)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    const int n = qMax<qsizetype>(1, colours.size());
    for (int i = 0; i < colours.size(); ++i) {
        const int x0 = (width * i) / n;
        const int x1 = (width * (i + 1)) / n;
        painter.fillRect(x0, 0, x1 - x0, height, colours.at(i));
    }
    return image;
}

// Largest and mean difference of any channel; 256 and 255 when the sizes differ or a picture is null.
inline std::pair<int, double> channelDifferences(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return {256, 255};
    const QImage ca = a.convertToFormat(QImage::Format_ARGB32);
    const QImage cb = b.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    double total = 0;
    for (int y = 0; y < ca.height(); ++y) {
        const auto *la = reinterpret_cast<const QRgb *>(ca.constScanLine(y));
        const auto *lb = reinterpret_cast<const QRgb *>(cb.constScanLine(y));
        for (int x = 0; x < ca.width(); ++x) {
            for (const int shift : {0, 8, 16, 24}) {
                const int d = qAbs(int((la[x] >> shift) & 0xff) - int((lb[x] >> shift) & 0xff));
                worst = qMax(worst, d);
                total += d;
            }
        }
    }
    return {worst, total / (4.0 * a.width() * a.height())};
}

inline int maxChannelDifference(const QImage &a, const QImage &b) { return channelDifferences(a, b).first; }

// Lossy codecs miss single edge pixels by a lot: the mean tells a decoder fault from noise.
inline double meanChannelDifference(const QImage &a, const QImage &b) { return channelDifferences(a, b).second; }

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The path, or empty when it could not be written.
inline QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

// The JPEG with an EXIF block holding only an orientation tag.
inline QByteArray jpegWithExifOrientation(QByteArray jpeg, int orientation)
{
    QByteArray exif = QByteArray::fromHex("ffe10022457869660000" "4d4d002a00000008" "0001"
                                          "011200030000000100000000" "00000000");
    exif[29] = char(orientation);
    return jpeg.insert(2, exif);
}

// A photo-like source file in folder, made once and reused by later calls.
inline QString photoFile(const QString &folder, const QString &name, const QSize &size = QSize(64, 48))
{
    const QString path = folder + QLatin1Char('/') + name;
    if (!QFileInfo::exists(path))
        makePhotoLikeImage(size.width(), size.height()).save(path);
    return path;
}

// Unlike QTRY_VERIFY it never sleeps, so a worker waiting on this thread is answered at once.
inline bool waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Appends source-list entries e0.png, e1.png, ... with Path cells /p/e0.png, ...
inline void appendListEntries(QStandardItemModel *model, int count)
{
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("e%1.png").arg(i);
        model->appendRow({new QStandardItem(name), new QStandardItem(QStringLiteral("/p/") + name)});
    }
}

// Such a list's rows as "e0", "e1", ...; "broken" where a label parted from its Path cell.
inline QStringList listOrder(const QStandardItemModel &model)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QString label = model.item(row, 0)->text().section(QLatin1Char('\n'), 0, 0);
        const bool intact = QStringLiteral("/p/") + label == model.item(row, 1)->text();
        names << (intact ? label.section(QLatin1Char('.'), 0, 0) : QStringLiteral("broken"));
    }
    return names;
}

// While it lives, writes past the given file size fail (EFBIG), as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }

private:
    rlimit saved{};
};

} // namespace kxtest
