// Prints the media types of every picture type the program reads, each
// followed by ';', as desktop entries list them. The build fills the desktop
// entry and the file-manager actions from this, so the format table stays
// their only source.

#include <QTextStream>

#include "formattable.h"

int main()
{
    QTextStream out(stdout);
    for (const ImageFormat &format : imageFormats()) {
        if (!format.canRead)
            continue;
        for (const QString &type : format.mimeTypes)
            out << type << ';';
    }
    out << '\n';
    return 0;
}
