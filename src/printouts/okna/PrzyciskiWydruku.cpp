#include "PrzyciskiWydruku.h"

#include "Obsluga.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QStyle>

PrzyciskiWydruku UtworzPrzyciski(QDialog* okno, QHBoxLayout* uklad, const QString& nazwaPodgladu,
                                 const QString& nazwaDruku, const QString& tekstDruku, const QString& nazwaZamkniecia)
{
    PrzyciskiWydruku p;
    p.podglad = new QPushButton(QStringLiteral("Podgląd"), okno);
    p.podglad->setObjectName(nazwaPodgladu);
    p.drukuj = new QPushButton(tekstDruku, okno);
    p.drukuj->setObjectName(nazwaDruku);
    p.zamknij = new QPushButton(QStringLiteral("&Zamknij"), okno);
    p.zamknij->setObjectName(nazwaZamkniecia);
    for (QPushButton* b : {p.podglad, p.drukuj, p.zamknij}) {
        b->setAutoDefault(false);
        uklad->addWidget(b);
    }
    QObject::connect(p.zamknij, &QPushButton::clicked, okno, &QDialog::reject);
    return p;
}

namespace {

// The image of the image store's button `wzor`; without the store,
// `zastepczy`.
QIcon Obraz(const char* wzor, const QIcon& zastepczy)
{
    if (FormObslugi)
        if (auto* b = FormObslugi->findChild<QAbstractButton*>(QString::fromLatin1(wzor)))
            return b->icon();
    return zastepczy;
}

} // namespace

void UstawObrazy(const PrzyciskiWydruku& p)
{
    p.zamknij->setIcon(Obraz("Zamknij", QApplication::style()->standardIcon(QStyle::SP_DialogCloseButton)));
    p.podglad->setIcon(Obraz("Monitor", QApplication::style()->standardIcon(QStyle::SP_FileDialogContentsView)));
    p.drukuj->setIcon(Obraz("Drukuj", ObrazDrukarki()));
}
