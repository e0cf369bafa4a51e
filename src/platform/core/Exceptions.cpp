#include "Exceptions.h"

#include <cerrno>
#include <cstring>

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
    default:
        return QString::fromLocal8Bit(std::strerror(err));
    }
}

} // namespace kal
