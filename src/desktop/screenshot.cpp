// kx_screenshot FILE.png: the main window as a new user first sees it, at its
// first size, drawn offscreen in the language of the locale. The build runs it
// with settings folders of its own, so that no user's settings show.

#include <QApplication>
#include <QTimer>

#include <cstdio>

#include "mainwindow.h"
#include "translations.h"
#include "windowgeometry.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: kx_screenshot FILE.png\n", stderr);
        return 2;
    }
    QApplication::setStyle(QStringLiteral("Fusion"));
    installTranslations();
    MainWindow window;
    window.resize(firstWindowWidth, firstWindowHeight);
    window.show();
    int result = 1;
    // Once the layouts have settled and the form's start-up work has run.
    QTimer::singleShot(500, &app, [&] {
        result = window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
        app.quit();
    });
    app.exec();
    return result;
}
