#include <QApplication>
#include <QIcon>

#include "mainwindow.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The installed desktop entry and icon; the same drawing when not installed.
    QGuiApplication::setDesktopFileName(QStringLiteral("kestrix-picturist"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("kestrix-picturist"), QIcon(QStringLiteral(":/resources/images/AboutLogo.png"))));
    MainWindow window;
    window.show();
    window.addFiles(app.arguments().mid(1));
    return app.exec();
}
