#include "Funkcjedatyiczasu.h"

#include "DateText.h"
#include "Exceptions.h"
#include "Field.h"

#include <algorithm>
#include <climits>

namespace {

const char* const kMiesiaceDopelniacz[12] = {"stycznia", "lutego",   "marca",     "kwietnia", "maja",
                                             "czerwca",  "lipca",    "sierpnia",  "września", "października",
                                             "listopada", "grudnia"};

// The day number of a valid date: consecutive days have consecutive numbers
// (proleptic Gregorian calendar).
long long NumerDnia(const DataKalendarzowa& d)
{
    // Shift the year to start in March, so that the leap day comes last.
    long long y = d.rok;
    const int m = d.miesiac;
    if (m <= 2)
        --y;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const int mp = (m + 9) % 12;
    const long long doy = (153 * mp + 2) / 5 + d.dzien - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

} // namespace

DataKalendarzowa::DataKalendarzowa(int rok_, char miesiac_, char dzien_)
    : rok(rok_), miesiac(static_cast<signed char>(miesiac_)), dzien(static_cast<signed char>(dzien_))
{
}

DataKalendarzowa::DataKalendarzowa(kal::TField* pole) { *this = DataZPola(pole); }

DataKalendarzowa& DataKalendarzowa::operator=(kal::TField* pole)
{
    *this = DataZPola(pole);
    return *this;
}

DataKalendarzowa& DataKalendarzowa::operator=(const QDate& date)
{
    *this = DataZTDateTime(date);
    return *this;
}

QDate DataKalendarzowa::NaTDateTime() const
{
    if (!Poprawna())
        throw kal::EConvertError(QStringLiteral("Niepoprawna data"));
    return QDate(rok, miesiac, dzien);
}

bool DataKalendarzowa::Poprawna() const
{
    return rok >= 1 && miesiac >= 1 && miesiac <= 12 && dzien >= 1 && dzien <= DniWMiesiacu(rok, miesiac);
}

bool DataKalendarzowa::operator==(const DataKalendarzowa& other) const
{
    return rok == other.rok && miesiac == other.miesiac && dzien == other.dzien;
}

bool DataKalendarzowa::operator<(const DataKalendarzowa& other) const
{
    if (rok != other.rok)
        return rok < other.rok;
    if (miesiac != other.miesiac)
        return miesiac < other.miesiac;
    return dzien < other.dzien;
}

int DataKalendarzowa::operator-(const DataKalendarzowa& other) const { return RoznicaDni(*this, other); }

DataKalendarzowa& DataKalendarzowa::operator++()
{
    if (!Poprawna())
        return *this;
    if (dzien < DniWMiesiacu(rok, miesiac)) {
        ++dzien;
    } else {
        dzien = 1;
        if (miesiac < 12) {
            ++miesiac;
        } else if (rok < INT_MAX) {
            miesiac = 1;
            ++rok;
        } else {
            dzien = 31; // the last day that can be held
        }
    }
    return *this;
}

DataKalendarzowa DataKalendarzowa::operator++(int)
{
    DataKalendarzowa before = *this;
    ++*this;
    return before;
}

QString DataKalendarzowa::NaTekst(char uklad, bool slownie) const
{
    (void)uklad; // every layout puts the day first
    if (!Poprawna())
        return QStringLiteral("__-__ - ____");
    if (slownie)
        return QString::asprintf("%02d ", int(dzien)) + QString::fromUtf8(kMiesiaceDopelniacz[miesiac - 1])
               + QString::asprintf(" %04d", rok);
    return QString::asprintf("%02d-%02d-%04d", int(dzien), int(miesiac), rok);
}

int RoznicaDni(const DataKalendarzowa& a, const DataKalendarzowa& b)
{
    if (!a.Poprawna())
        return 100000;
    if (!b.Poprawna())
        return -100000;
    const long long days = NumerDnia(a) - NumerDnia(b);
    return static_cast<int>(std::clamp<long long>(days, INT_MIN, INT_MAX));
}

int PorownajDaty(const DataKalendarzowa& a, const DataKalendarzowa& b)
{
    const bool va = a.Poprawna();
    const bool vb = b.Poprawna();
    if (!va || !vb)
        return va == vb ? 0 : (va ? 1 : -1);
    if (a < b)
        return -1;
    if (b < a)
        return 1;
    return 0;
}

int DniWMiesiacu(int rok, int miesiac)
{
    static const int dni[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (miesiac < 1 || miesiac > 12)
        return 0;
    if (miesiac == 2 && RokPrzestepny(rok))
        return 29;
    return dni[miesiac - 1];
}

bool RokPrzestepny(int rok) { return rok % 4 == 0 && (rok % 100 != 0 || rok % 400 == 0); }

bool CzyPoprawnaData(const DataKalendarzowa& data) { return data.Poprawna(); }

bool CzyPoprawnaData(const QString& text) { return kal::ParseDate(text).has_value(); }

bool CzyPoprawnaData(const QDate& date) { return date.isValid() && date.year() >= 1; }

bool CzyPoprawnaData(kal::TField* pole) { return pole && CzyPoprawnaData(pole->AsString()); }

DataKalendarzowa DataZPola(kal::TField* pole)
{
    if (!pole || pole->AsString().isEmpty())
        return {};
    return DataZTDateTime(pole->AsDateTime());
}

DataKalendarzowa DataZTDateTime(const QDate& date)
{
    if (!CzyPoprawnaData(date))
        return {};
    return DataKalendarzowa(date.year(), static_cast<char>(date.month()), static_cast<char>(date.day()));
}
