// kalmora-nowe-dane <katalog>: makes a new data directory for Kalmora with
// every table file, the fuel densities and the fleet-import column names.
// It never touches a directory that already holds table files.

#include "Schemat.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList argumenty = QCoreApplication::arguments();
    if (argumenty.size() != 2) {
        std::fprintf(stderr, "Użycie: kalmora-nowe-dane <katalog>\n");
        return 1;
    }
    const QString blad = Schemat::UtworzKatalogDanych(argumenty[1]);
    if (!blad.isEmpty()) {
        std::fprintf(stderr, "%s\n", blad.toUtf8().constData());
        return 1;
    }
    std::printf("Utworzono katalog danych: %s\n", argumenty[1].toUtf8().constData());
    return 0;
}
