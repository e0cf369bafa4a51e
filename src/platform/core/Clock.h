#pragma once
// "Today" for the whole program. Tests may fix it.

#include <QDate>

namespace kal {

QDate Today();
// Fixes today's date; an invalid date returns to the system clock.
void SetTodayForTests(const QDate& date);

} // namespace kal
