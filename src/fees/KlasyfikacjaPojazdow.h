#pragma once
// Vehicle classes of table D: the Euro class of a vehicle and the table D
// row (1..29) that its fuel is counted in.

#include <QChar>
#include <QDate>
#include <QString>

#include <optional>

// The attributes of a vehicle that its table D row depends on.
struct DanePojazdu {
    QString rodzajPojazdu;             // RodzajPojazdu, "1".."11"
    QString normaEuro;                 // NormaEuro, "0".."5" or empty
    QDate dataPierwszejRejestracji;    // an invalid date when the field is empty
    std::optional<int> rokProdukcji;   // RokProdukcji, nullopt when empty
    QString fabrycznaInstalacjaGazu;   // FabrycznaInstalacjaGazu, "T" or "N"
};

// The Euro class (for tractors, machines and rail vehicles: the emission
// stage) of a vehicle: the first character of its class when the class is
// not empty; otherwise "1", "2", "3" for kinds 4, 5, 6 and "0" for every
// other kind.
QChar KlasaEuro(const QString& normaEuro, const QString& rodzajPojazdu);

// The table D row of a vehicle of kind `rodzaj` with Euro class `euro`,
// first registration `rejestracja` (invalid: none, earlier than every date)
// and production year `rok` (already the registration year when the
// production year is missing or below 1900). 0 for a kind outside 1..11.
int WierszTabeliD(int rodzaj, QChar euro, const QDate& rejestracja, int rok);

// What the fuel aggregation needs of a vehicle.
struct KlasaPojazdu {
    quint8 rodzaj = 0;   // the vehicle kind as a number (0 for a non-number)
    int wiersz = 0;      // the table D row, 0 for none
    bool gaz = false;    // factory-fitted gas installation ("T")
};

KlasaPojazdu KlasyfikujPojazd(const DanePojazdu& pojazd);
