#pragma once

#include <QString>
#include <QtGlobal>

// Small utilities over per-user storage and the user's folders. The window
// geometry values live in the per-user settings store, one value per name,
// under the key path given by the caller.
class KXGlobal
{
public:
    enum RegistryRoot { CurrentUser };

    // Reads one 32-bit unsigned value. On failure *value is left untouched,
    // the debug log gets "<subkey> : <name> : Cannot read DWORD from registry."
    // and false is returned.
    bool readRegistryDword(RegistryRoot root, const QString &subkey, const QString &valueName,
                           quint32 *value);

    // Writes one 32-bit unsigned value; returns whether the store could be opened for writing.
    bool writeRegistryDword(RegistryRoot root, const QString &subkey, const QString &valueName,
                            quint32 value);

    // The user's Pictures folder, or an empty string when there is none.
    QString picturesFolder();
};
