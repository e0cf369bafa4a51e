#include "Obsluga.h"

#include <QFontMetrics>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TFormObslugi* FormObslugi = nullptr;

namespace {

QPushButton* przycisk(QWidget* okno, QVBoxLayout* uklad, const char* nazwa, const QString& napis, const QIcon& obraz)
{
    auto* b = new QPushButton(obraz, napis, okno);
    b->setObjectName(QString::fromLatin1(nazwa));
    uklad->addWidget(b);
    return b;
}

// The printer drawn on a square of `bok` pixels (laid out on a 20-pixel grid).
QPixmap drukarka(int bok)
{
    QPixmap obraz(bok, bok);
    obraz.fill(Qt::transparent);
    QPainter p(&obraz);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(bok / 20.0, bok / 20.0);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 1.5, 9, 7)); // the sheet going in
    p.setBrush(QColor(150, 150, 155));
    p.drawRoundedRect(QRectF(1.5, 7.5, 17, 7), 1.5, 1.5); // the body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 12.5, 11, 6)); // the sheet coming out
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.drawLine(QPointF(6.5, 15), QPointF(13.5, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 170, 0));
    p.drawEllipse(QRectF(14.5, 9, 2.2, 2.2)); // the lamp
    return obraz;
}

} // namespace

QIcon ObrazDrukarki()
{
    QIcon obraz;
    for (int bok : {16, 20, 24, 32, 48})
        obraz.addPixmap(drukarka(bok));
    return obraz;
}

TFormObslugi::TFormObslugi(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FormObslugi"));
    auto* uklad = new QVBoxLayout(this);
    const QStyle* styl = style();
    Zamknij = przycisk(this, uklad, "Zamknij", QStringLiteral("&Zamknij"), styl->standardIcon(QStyle::SP_DialogCloseButton));
    Uzyj = przycisk(this, uklad, "Uzyj", QStringLiteral("&Użyj"), styl->standardIcon(QStyle::SP_DialogApplyButton));
    Kartoteka = przycisk(this, uklad, "Kartoteka", QStringLiteral("Kartoteka"),
                         styl->standardIcon(QStyle::SP_FileDialogDetailedView));
    Edytor = przycisk(this, uklad, "Edytor", QStringLiteral("Edytor"), styl->standardIcon(QStyle::SP_FileDialogContentsView));
    Drukuj = przycisk(this, uklad, "Drukuj", QStringLiteral("Drukuj"), ObrazDrukarki());
    Monitor = przycisk(this, uklad, "Monitor", QStringLiteral("Podgląd"), styl->standardIcon(QStyle::SP_ComputerIcon));
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
