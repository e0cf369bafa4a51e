#include "Obsluga.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TFormObslugi* FormObslugi = nullptr;

namespace {

QPushButton* przycisk(QWidget* okno, QVBoxLayout* uklad, const char* nazwa, const QString& napis,
                      QStyle::StandardPixmap obraz)
{
    auto* b = new QPushButton(okno->style()->standardIcon(obraz), napis, okno);
    b->setObjectName(QString::fromLatin1(nazwa));
    uklad->addWidget(b);
    return b;
}

} // namespace

TFormObslugi::TFormObslugi(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FormObslugi"));
    auto* uklad = new QVBoxLayout(this);
    Zamknij = przycisk(this, uklad, "Zamknij", QStringLiteral("&Zamknij"), QStyle::SP_DialogCloseButton);
    Uzyj = przycisk(this, uklad, "Uzyj", QStringLiteral("&Użyj"), QStyle::SP_DialogApplyButton);
    Kartoteka = przycisk(this, uklad, "Kartoteka", QStringLiteral("Kartoteka"), QStyle::SP_FileDialogDetailedView);
    Edytor = przycisk(this, uklad, "Edytor", QStringLiteral("Edytor"), QStyle::SP_FileDialogContentsView);
    Drukuj = przycisk(this, uklad, "Drukuj", QStringLiteral("Drukuj"), QStyle::SP_DialogSaveButton);
    Monitor = przycisk(this, uklad, "Monitor", QStringLiteral("Podgląd"), QStyle::SP_ComputerIcon);
    if (!FormObslugi)
        FormObslugi = this;
}

TFormObslugi::~TFormObslugi()
{
    if (FormObslugi == this)
        FormObslugi = nullptr;
}

int SzerokoscTekstu(TFormObslugi* okno, const QFont& czcionka, const QString& tekst)
{
    if (okno)
        okno->setFont(czcionka);
    return QFontMetrics(czcionka).horizontalAdvance(tekst);
}
