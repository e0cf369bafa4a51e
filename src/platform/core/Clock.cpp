#include "Clock.h"

namespace kal {
namespace {
QDate g_fixed;
}

QDate Today() { return g_fixed.isValid() ? g_fixed : QDate::currentDate(); }

void SetTodayForTests(const QDate& date) { g_fixed = date; }

} // namespace kal
