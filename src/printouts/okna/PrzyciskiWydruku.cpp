#include "PrzyciskiWydruku.h"

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

void UstawObrazy(const PrzyciskiWydruku& p)
{
    QStyle* s = QApplication::style();
    p.zamknij->setIcon(s->standardIcon(QStyle::SP_DialogCloseButton));
    p.podglad->setIcon(s->standardIcon(QStyle::SP_FileDialogContentsView));
    p.drukuj->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
}
