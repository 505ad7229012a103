#include <QApplication>
#include <QIcon>

#include "mainwindow.h"
#include "pipelinerules.h"
#include "singleinstance.h"
#include "translations.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    installTranslations();
    applyAllocationLimit();
    // The installed desktop entry and icon; the same drawing when not installed.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kestrix.picturist"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("kestrix-picturist"), QIcon(QStringLiteral(":/resources/images/AboutLogo.png"))));

    const QStringList paths = app.arguments().mid(1);
    SingleInstance instance;
    if (instance.handOverOrListen(paths))
        return 0;
    MainWindow window;
    QObject::connect(&instance, &SingleInstance::filesReceived, &window, &MainWindow::openFiles);
    window.show();
    window.addFiles(paths);
    return app.exec();
}
