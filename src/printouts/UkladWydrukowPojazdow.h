#pragma once
// What the vehicle lists over the register share: the page, the title band,
// the ruled table of a column header and a detail band, the deregistration
// rule and keeping the current vehicle over a run.

#include "Funkcjedatyiczasu.h"
#include "Report.h"

#include <QString>
#include <utility>
#include <vector>

class TDM;

namespace wydrukiPojazdow {

// A4 portrait, 10 mm margins, first-page header and last-page footer,
// printed even when empty, rows from `dane`.
void UstawStrone(kal::report::Report& r, kal::report::IDataSource* dane);
// The title band with the bold title label QRLabel1.
void Tytul(kal::report::Report& r);
// Sets QRLabel1 to `poczatek` + today's date with the month in words + " roku.".
void UstawTytul(kal::report::Report& r, const QString& poczatek);
// A ruled table: the column header band with the captions and the detail
// band with one framed label per column (named as given), the first column
// left-aligned, the others centred. Returns the detail band.
kal::report::Band* Tabela(kal::report::Report& r, const std::vector<std::pair<QString, QString>>& kolumny);
// The column edges (mm from the left margin) of a table of `n` columns.
std::vector<double> Kolumny(int n);

// A vehicle is still in the register on `dzis` when it has no deregistration
// date or `dzis` is earlier than that date.
bool WEwidencji(TDM& dm, const DataKalendarzowa& dzis);

// Keeps the current vehicle of the register over a run.
class ZachowajPojazd {
public:
    explicit ZachowajPojazd(TDM& dm);
    ~ZachowajPojazd();
    ZachowajPojazd(const ZachowajPojazd&) = delete;
    ZachowajPojazd& operator=(const ZachowajPojazd&) = delete;

private:
    TDM& m_dm;
    int m_id = 0;
    bool m_jest = false;
};

} // namespace wydrukiPojazdow
