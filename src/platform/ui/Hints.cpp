#include "Hints.h"

#include <QWidget>

namespace kal {

QString ShortHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.left(bar);
}

QString LongHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void SetHint(QWidget* widget, const QString& hint)
{
    if (!widget)
        return;
    widget->setToolTip(ShortHint(hint));
    widget->setStatusTip(LongHint(hint));
}

} // namespace kal
