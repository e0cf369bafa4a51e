#include "Exceptions.h"

namespace kal {

QString ErrorBoxText(const QString& message)
{
    if (message.isEmpty())
        return message;
    if (message.back() > QChar(u'.'))
        return message + u'.';
    return message;
}

} // namespace kal
