#pragma once
// The order of texts: the Polish alphabet (a ą b c ć d e ę f ... l ł ... z ź ż),
// case-insensitive. Used by the dataset engine for alpha indexes and by any
// code that sorts or compares names.

#include <QString>

namespace kal {

// <0, 0 or >0 as `a` sorts before, with or after `b`.
int ComparePolish(const QString& a, const QString& b);

} // namespace kal
