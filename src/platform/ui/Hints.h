#pragma once
// Hints written "short|long": the short part is the tooltip, the long part
// the status-bar text. A hint without "|" serves as both.

#include <QString>

class QWidget;

namespace kal {

QString ShortHint(const QString& hint);
QString LongHint(const QString& hint);
void SetHint(QWidget* widget, const QString& hint);

} // namespace kal
