#include <QApplication>

#include "convertimageform.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ConvertImageForm form;
    form.show();
    return app.exec();
}
