#include "Exceptions.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace kal {

QString ErrorBoxText(const QString& message)
{
    if (message.isEmpty())
        return message;
    if (message.back() > QChar(u'.'))
        return message + u'.';
    return message;
}

QString FileErrorReason(int err)
{
    switch (err) {
    case EROFS:
        return QStringLiteral("nośnik jest tylko do odczytu");
    case EACCES:
    case EPERM:
        return QStringLiteral("brak uprawnień do zapisu");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("brak miejsca na dysku");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("katalog nie istnieje");
    case EFBIG:
        return QStringLiteral("plik przekroczył największy dozwolony rozmiar");
    case EIO:
        return QStringLiteral("błąd wejścia/wyjścia nośnika danych (nośnik może być uszkodzony lub odłączony)");
    case ENOMEM:
        return QStringLiteral("brak pamięci");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("otwarto zbyt wiele plików");
    case ENAMETOOLONG:
        return QStringLiteral("nazwa pliku jest za długa");
    case EISDIR:
        return QStringLiteral("w miejscu pliku jest katalog");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("plik jest zajęty");
    case ESTALE:
    case ENODEV:
    case ENXIO:
        return QStringLiteral("nośnik danych jest niedostępny");
    default:
        return QStringLiteral("błąd systemu nr %1").arg(err);
    }
}

QString FileErrorReason(int err, const QString& path)
{
    if (err == ENOENT && !path.isEmpty() && QFileInfo(path).absoluteDir().exists())
        return QStringLiteral("plik nie istnieje");
    return FileErrorReason(err);
}

} // namespace kal
