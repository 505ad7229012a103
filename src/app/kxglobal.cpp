#include "kxglobal.h"

#include <QDebug>
#include <QLoggingCategory>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

// The store's own lines, off unless asked for (QT_LOGGING_RULES="kestrix.registry.debug=true"):
// a first start, having none of the values yet, would print four.
Q_LOGGING_CATEGORY(registryLog, "kestrix.registry", QtInfoMsg)

// "Software\Kestrix Picturist" becomes the per-user store "Kestrix Picturist".
QString storeNameFor(const QString &subkey)
{
    QString name = subkey;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QLatin1String("Software/"), Qt::CaseInsensitive))
        name = name.mid(9);
    return name;
}

} // namespace

bool KXGlobal::readRegistryDword(RegistryRoot, const QString &subkey, const QString &valueName,
                                 quint32 *value)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, storeNameFor(subkey));
    const QVariant stored = store.value(valueName);
    bool ok = false;
    const qulonglong number = stored.toULongLong(&ok);
    if (!stored.isValid() || !ok || number > 0xffffffffULL) {
        // A negative position (a window left of the primary monitor) is kept as
        // its 32-bit pattern, which compares larger than any screen size.
        const qlonglong signedNumber = stored.toLongLong(&ok);
        if (!stored.isValid() || !ok || signedNumber < -0x80000000LL || signedNumber > 0xffffffffLL) {
            qCDebug(registryLog).noquote() << subkey + " : " + valueName + " : Cannot read DWORD from registry.";
            return false;
        }
        *value = static_cast<quint32>(signedNumber);
        return true;
    }
    *value = static_cast<quint32>(number);
    return true;
}

bool KXGlobal::writeRegistryDword(RegistryRoot, const QString &subkey, const QString &valueName,
                                  quint32 value)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, storeNameFor(subkey));
    if (!store.isWritable())
        return false;
    store.setValue(valueName, value);
    store.sync();
    if (store.status() == QSettings::NoError)
        qCDebug(registryLog) << "true";
    return true;
}

QString KXGlobal::picturesFolder()
{
    // A new account may have no Pictures folder yet; a file dialog given a
    // missing folder would offer its name as a file name, so start at home.
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}
