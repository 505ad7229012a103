#include <QApplication>

#include "mainwindow.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    MainWindow window;
    window.show();
    window.addFiles(app.arguments().mid(1));
    return app.exec();
}
