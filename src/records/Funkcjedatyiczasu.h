#pragma once
// Funkcjedatyiczasu: the calendar date value DataKalendarzowa - year, month
// and day without time - with which the fee engine and the reports compare
// dates, count days and print dates in words, and the date-text check behind
// the text entry of the date fields.
//
// The all-zero value is the empty date ("no date"): not valid, and earlier
// than every real date. A date is valid when rok >= 1, miesiac is 1..12 and
// dzien is 1..DniWMiesiacu(rok, miesiac).
//
// The framework date is QDate; an invalid QDate stands for "no date" (the
// framework's date 0).

#include <QDate>
#include <QString>

namespace kal {
class TField;
}

class DataKalendarzowa {
public:
    int rok = 0;
    signed char miesiac = 0;
    signed char dzien = 0;

    // The empty date.
    DataKalendarzowa() = default;
    // The three values stored as given, without a validity check.
    DataKalendarzowa(int rok, char miesiac, char dzien);

    // The date of a date field: the empty date when the field's text is
    // empty, else the date the field holds.
    DataKalendarzowa(kal::TField* pole);
    DataKalendarzowa& operator=(kal::TField* pole);

    // The date of a framework date when CzyPoprawnaData accepts it, else the
    // empty date.
    DataKalendarzowa& operator=(const QDate& date);

    // The framework date of this date. Raises kal::EConvertError when this
    // date is not valid (the empty date included).
    QDate NaTDateTime() const;

    bool Poprawna() const;
    bool Pusta() const { return !Poprawna(); }

    // Chronological order: year, then month, then day (the empty date first).
    bool operator==(const DataKalendarzowa& other) const;
    bool operator!=(const DataKalendarzowa& other) const { return !(*this == other); }
    bool operator<(const DataKalendarzowa& other) const;
    bool operator!=(kal::TField* pole) const { return *this != DataKalendarzowa(pole); }
    bool operator<(kal::TField* pole) const { return *this < DataKalendarzowa(pole); }
    bool operator>(const DataKalendarzowa& other) const { return other < *this; }
    bool operator<=(const DataKalendarzowa& other) const { return !(other < *this); }
    bool operator>=(const DataKalendarzowa& other) const { return !(*this < other); }

    // This minus the other in days: RoznicaDni(*this, other).
    int operator-(const DataKalendarzowa& other) const;

    // The next calendar day; a date that is not valid stays as it is.
    DataKalendarzowa& operator++();
    DataKalendarzowa operator++(int);

    // The date as text. Layout 'U' (the only one the program uses; any other
    // letter gives the same) puts the day first: in words "05 czerwca 2009",
    // in digits "05-06-2009". A date that is not valid gives "__-__ - ____".
    QString NaTekst(char uklad = 'U', bool slownie = false) const;
};

// a minus b in days; 100000 when a is not valid, -100000 when b is not valid
// (a is looked at first).
int RoznicaDni(const DataKalendarzowa& a, const DataKalendarzowa& b);

// 1 when a is later, -1 when earlier, 0 when equal. A date that is not valid
// is earlier than a valid one, and two dates that are not valid are equal.
int PorownajDaty(const DataKalendarzowa& a, const DataKalendarzowa& b);

// Days of the month: 31, 28 (29 in a leap year), 31, 30, 31, 30, 31, 31, 30,
// 31, 30, 31; 0 for a month outside 1..12.
int DniWMiesiacu(int rok, int miesiac);

// rok divisible by 4 and (not by 100, or by 400).
bool RokPrzestepny(int rok);

bool CzyPoprawnaData(const DataKalendarzowa& data);
// The date-text check of the date fields: "yyyy-mm-dd" (a 4-digit year, a
// month and a day of one or two digits, blanks around allowed) naming a date
// that exists. An empty text is not a date.
bool CzyPoprawnaData(const QString& text);
// A framework date that is valid with a year of at least 1.
bool CzyPoprawnaData(const QDate& date);
// The text check on the field's AsString.
bool CzyPoprawnaData(kal::TField* pole);

// The date of a date field (see the constructor).
DataKalendarzowa DataZPola(kal::TField* pole);

// The year, month and day of a framework date; the empty date for "no date".
DataKalendarzowa DataZTDateTime(const QDate& date);
