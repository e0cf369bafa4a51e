// A new data directory: the table files made from the description, the
// fuel densities and the fleet-import column names it starts with.

#include "Schemat.h"

#include "platform/core/Exceptions.h"
#include "platform/db/Table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace Schemat {

const std::vector<GestoscPaliwa>& PoczatkoweGestosci()
{
    static const std::vector<GestoscPaliwa> g = {
        {"1", "etylina 94", 0.745},
        {"2", "etylina 98", 0.745},
        {"3", "benzyna bezołowiowa", 0.745},
        {"4", "gaz płynny propan-butan", 0.54},
        {"5", "olej napędowy", 0.835},
        {"6", "olej napędowy o zawartości siarki poniżej 0,02% m/m", 0.835},
        {"7", "olej lekki (zawartość siarki nie większa niż 0,5 %)", 0.86},
        {"8", "olej opałowy (zawartość siarki nie większa niż 1%)", 0.95},
        {"9", "olej opałowy (zawartość siarki od 1% do 5 %)", 0.98},
        {"a", "biodiesel", 0.88},
        {"b", "biometan", 0.72},
        {"c", "sprężony gaz ziemny", 0.72},
    };
    return g;
}

namespace {

const QString kRobocze = QStringLiteral(".kalmora-nowe-dane");
const QString kZnacznikGotowych = QStringLiteral("gotowe");

void synchronizujKatalog(const QString& katalog)
{
    const int fd = ::open(QFile::encodeName(katalog).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Moves the finished files of the staging directory into the data directory
// (each rename is whole), then removes the staging directory.
QString przeniesZbiory(const QDir& dir, QDir robocze)
{
    for (const QString& plik : robocze.entryList({QStringLiteral("*.db")}, QDir::Files | QDir::Hidden)) {
        if (QFileInfo::exists(dir.filePath(plik))
            || ::rename(QFile::encodeName(robocze.filePath(plik)).constData(),
                        QFile::encodeName(dir.filePath(plik)).constData())
                != 0)
            return QStringLiteral("Nie można przenieść zbioru %1 do katalogu %2 !!!").arg(plik, dir.path());
    }
    synchronizujKatalog(dir.path());
    robocze.removeRecursively();
    return {};
}

} // namespace

QString UtworzKatalogDanych(const QString& katalog)
{
    QDir dir(katalog);
    if (!dir.exists() && !QDir().mkpath(katalog))
        return QStringLiteral("Nie można utworzyć katalogu %1 !!!").arg(katalog);
    // Every file is made whole in a hidden staging directory inside the new
    // one and moved into place only once all of them are: a process killed
    // while they are made leaves no table file, and one killed while they
    // move is finished by the next run.
    QDir robocze(dir.filePath(kRobocze));
    if (QFileInfo::exists(robocze.filePath(kZnacznikGotowych)))
        return przeniesZbiory(dir, robocze);
    const QStringList zbiory = dir.entryList({QStringLiteral("*.db")}, QDir::Files | QDir::Hidden);
    if (!zbiory.isEmpty())
        return QStringLiteral("Katalog %1 zawiera już zbiory danych (%2). Nic nie zmieniono.")
            .arg(katalog, zbiory.join(QStringLiteral(", ")));
    robocze.removeRecursively();
    if (!QDir().mkpath(robocze.path()))
        return QStringLiteral("Nie można utworzyć katalogu %1 !!!").arg(robocze.path());

    try {
        for (const Tabela* s : TabelePlikowe()) {
            kal::TTable t(s->komponent);
            t.setTableName(robocze.filePath(s->plik));
            for (const Pole& p : s->pola)
                if (p.zapisywane())
                    t.FieldDefs().Add(p.nazwa, TypPola(p.typ), p.rozmiar, false);
            for (const Indeks& i : s->indeksy)
                t.IndexDefs().Add(i.nazwa, i.pola,
                                  (i.glowny ? kal::ixPrimary : 0u) | (i.unikalny ? kal::ixUnique : 0u));
            t.CreateTable();
        }

        kal::TTable gestosci(QStringLiteral("TTabelaGest"));
        gestosci.setTableName(robocze.filePath(ZnajdzTabele(QStringLiteral("TTabelaGest"))->plik));
        gestosci.Open();
        for (const GestoscPaliwa& g : PoczatkoweGestosci()) {
            gestosci.Append();
            gestosci.FieldByName(QStringLiteral("IdentyfikatorPaliwa"))->setAsString(QString::fromUtf8(g.kod));
            gestosci.FieldByName(QStringLiteral("NazwaPaliwa"))->setAsString(QString::fromUtf8(g.nazwa));
            gestosci.FieldByName(QStringLiteral("Gestosc"))->setAsFloat(g.gestosc);
            gestosci.Post();
        }
        gestosci.Close();

        // The column names of the fuel-card workbook as the vendor exports them.
        kal::TTable kolumny(QStringLiteral("TPolaExcel"));
        kolumny.setTableName(robocze.filePath(ZnajdzTabele(QStringLiteral("TPolaExcel"))->plik));
        kolumny.Open();
        kolumny.Append();
        const std::pair<const char*, const char*> nazwy[] = {
            {"NumerRejestracyjny", "Nr rejestracyjny"}, {"RodzajPojazdu", "Rodzaj pojazdu"},
            {"NumerFaktury", "Nr faktury"},             {"DataRealizacji", "Data realizacji"},
            {"IloscLitrow", "Ilość litrów"},            {"Cena", "Cena za litr"},
            {"GrupaProduktu", "Grupa prod"},
        };
        for (const auto& [pole, kolumna] : nazwy)
            kolumny.FieldByName(QString::fromUtf8(pole))->setAsString(QString::fromUtf8(kolumna));
        kolumny.Post();
        kolumny.Close();
    } catch (const kal::Exception& e) {
        robocze.removeRecursively();
        return e.message();
    }
    // Marked whole (and synced) before the first file moves.
    QFile znacznik(robocze.filePath(kZnacznikGotowych));
    if (!znacznik.open(QIODevice::WriteOnly) || znacznik.write("gotowe\n") != 7 || !znacznik.flush()
        || ::fsync(znacznik.handle()) != 0) {
        robocze.removeRecursively();
        return QStringLiteral("Nie można zapisywać w katalogu %1 !!!").arg(katalog);
    }
    znacznik.close();
    return przeniesZbiory(dir, robocze);
}

} // namespace Schemat
