#include "desktopprogress.h"

#include <QWidget>

#ifdef KX_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#endif

namespace {

const QString desktopEntry = QStringLiteral("org.kestrix.picturist");

} // namespace

DesktopProgress::DesktopProgress(QWidget *window) : QObject(window), window(window) {}

void DesktopProgress::setProgress(int done, int total)
{
    if (idleTitle.isEmpty())
        idleTitle = window->windowTitle();
    const int percent = total > 0 ? done * 100 / total : 0;
    window->setWindowTitle(QStringLiteral("%1 % \u2014 %2").arg(percent).arg(idleTitle));
    sendLauncherProgress(total > 0 ? double(done) / total : 0.0, true);
}

void DesktopProgress::runCompleted(const QString &message)
{
    clear();
    if (!window->isMinimized())
        return;
#ifdef KX_HAVE_DBUS
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), desktopEntry}};
    notify << window->windowTitle() << 0u << desktopEntry << message << QString() << QStringList() << hints << -1;
    QDBusConnection::sessionBus().send(notify);
#else
    Q_UNUSED(message)
#endif
}

void DesktopProgress::clear()
{
    if (idleTitle.isEmpty())
        return;
    window->setWindowTitle(idleTitle);
    idleTitle.clear();
    sendLauncherProgress(0.0, false);
}

void DesktopProgress::sendLauncherProgress(double fraction, bool visible)
{
#ifdef KX_HAVE_DBUS
    QDBusMessage update = QDBusMessage::createSignal(QStringLiteral("/example/kestrix/picturist/launcher"),
                                                     QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                                     QStringLiteral("Update"));
    const QVariantMap properties{{QStringLiteral("progress"), fraction},
                                 {QStringLiteral("progress-visible"), visible}};
    update << QStringLiteral("application://%1.desktop").arg(desktopEntry) << properties;
    QDBusConnection::sessionBus().send(update);
#else
    Q_UNUSED(fraction)
    Q_UNUSED(visible)
#endif
}
