#include "TabelaC.h"

#include "Dane.h"
#include "FunkcjeSrodowiska.h"
#include "WydrukTabelaC.h"
#include "ZuzycieKotla.h"

#include "platform/core/Dialogs.h"
#include "platform/ui/DBEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

TFTabelaC* FTabelaC = nullptr;

namespace {

// A label of a position or group text. Where the text leaves a gap before
// "5 MW", an underlined "<" ("not more than") is drawn in the gap.
QLabel* NapisPozycji(const QString& tekst, QWidget* rodzic, bool pogrubiony)
{
    auto* l = new QLabel(tekst, rodzic);
    if (pogrubiony) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    static const QRegularExpression luka(QStringLiteral("( {3,})5 MW"));
    const QRegularExpressionMatch m = luka.match(tekst);
    if (m.hasMatch()) {
        auto* znak = new QLabel(QStringLiteral("<u>&lt;</u>"), l);
        znak->setTextFormat(Qt::RichText);
        znak->setFont(l->font());
        const QFontMetrics fm(l->font());
        const int x = fm.horizontalAdvance(tekst.left(m.capturedStart(1))) + fm.horizontalAdvance(m.captured(1)) / 2 -
                      fm.horizontalAdvance(QLatin1Char('<')) / 2;
        znak->move(l->contentsMargins().left() + x, 0);
        znak->adjustSize();
    }
    return l;
}

} // namespace

const std::vector<PozycjaOknaTabeliC>& PozycjeOknaTabeliC()
{
    static const std::vector<PozycjaOknaTabeliC> p = [] {
        const QString mechaniczny = QStringLiteral("1 kocioł z rusztem mechanicznym, z urządzeniem odpylającym");
        const QString wysokometanowy = QStringLiteral("1 gaz ziemny wysokometanowy");
        const QString zaazotowany = QStringLiteral("2 gaz ziemny zaazotowany");
        const QString doJeden4 = QStringLiteral("nominalna moc cieplna do 1,4 MW");
        const QString powyzejJeden4 = QStringLiteral("nominalna moc cieplna powyżej 1,4 MW do 5 MW");
        return std::vector<PozycjaOknaTabeliC>{
            {"I1", "LI1_", QStringLiteral("I. Kotły opalane węglem kamiennym"), mechaniczny,
             QStringLiteral("nominalna moc cieplna do 3 MW")},
            {"I1a", "LI1a", {}, mechaniczny, QStringLiteral("nominalna moc cieplna powyżej 3 MW do 5 MW")},
            {"I2", "LI2", {},
             QStringLiteral("2 kocioł z rusztem mechanicznym, bez urządzenia odpylającego, nominalnej mocy cieplnej     5 MW"),
             {}},
            {"I3", "LI3", {},
             QStringLiteral("3 kocioł z rusztem stałym, ciągiem naturalnym, o normalnej mocy cieplnej    5 MW"), {}},
            {"I4", "LI4", {}, QStringLiteral("4 kocioł z rusztem stałym, z ciągiem sztucznym, z urządzeniem odpylającym,"),
             {}},
            {"I5", "LI5", {},
             QStringLiteral("5 kocioł z rusztem stałym, z ciągiem sztucznym, bez urządzenia odpylającego,"), {}},
            {"II1", "LII1", QStringLiteral("II. Kotły o nominalnej mocy cieplnej     5 MW opalane koksem"),
             QStringLiteral("1 kocioł z rusztem stałym, ciągiem naturalnym"), {}},
            {"II2", "LII2", {}, QStringLiteral("2 kocioł z rusztem stałym, z ciągiem sztucznym, z urządzeniem odpylającym"),
             {}},
            {"II3", "LII3", {},
             QStringLiteral("3 kocioł z rusztem stałym, z ciągiem sztucznym, bez urządzenia odpylającego"), {}},
            {"III", "LIII", {}, QStringLiteral("III. Kotły o nominalnej mocy cieplnej      5 MW opalane drewnem"), {}},
            {"IV1", "LIV1", QStringLiteral("IV. Kotły o nominalnej mocy cieplnej     5 MW"),
             QStringLiteral("1 olej lekki (zawartość siarki nie większa niż 0,5 %)"), {}},
            {"IV2", "LIV2", {}, QStringLiteral("2 olej opałowy (zawartość siarki nie większa niż 1%)"), {}},
            {"IV3", "LIV3", {}, QStringLiteral("3 olej opałowy (zawartość siarki od 1% do 5 %)"), {}},
            {"IV4", "LIV4", {}, QStringLiteral("4 olej napędowy"), {}},
            {"V1a", "LV1a", QStringLiteral("V. Kotły opalane paliwem gazowym"), wysokometanowy, doJeden4},
            {"V1b", "LV1b", {}, wysokometanowy, powyzejJeden4},
            {"V2a", "LV2a", {}, zaazotowany, doJeden4},
            {"V2b", "LV2b", {}, zaazotowany, powyzejJeden4},
            {"V3", "LV3", {}, QStringLiteral("3 gaz płynny propan - butan      nominalna moc cieplna     5 MW"), {}},
        };
    }();
    return p;
}

TFTabelaC::TFTabelaC(QWidget* parent) : TOknoZestawienia(parent)
{
    setObjectName(QStringLiteral("FTabelaC"));
    kal::TDataSource* ilosci = DM ? DM->DTabelaC : nullptr;
    kal::TDataSource* stawki = DM ? DM->DStawkiTabC : nullptr;

    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    BitBDrukPrzMonitor = NowyPrzycisk("BitBDrukPrzMonitor", QStringLiteral("Podgląd"));
    BitBDrukPrzDrukarka = NowyPrzycisk("BitBDrukPrzDrukarka", QStringLiteral("Drukuj"));
    BitBtn2 = NowyPrzycisk("BitBtn2", QStringLiteral("Zużycie"));
    BitBtn3 = NowyPrzycisk("BitBtn3", QStringLiteral("Wczytaj"));
    DBEditGminy = NowePole("DBEditGminy", ilosci, QStringLiteral("NazwaGminy"));

    auto* tresc = new QWidget;
    auto* siatka = new QGridLayout(tresc);
    siatka->setVerticalSpacing(3);
    int wiersz = 0;
    // Set in short lines, as the printout sets them: no unit is ever broken
    // inside, and the columns stay narrow enough for a small screen.
    const QStringList naglowki = {QStringLiteral("Liczba\nkotłów"), QStringLiteral("Zużycie\npaliwa\n[Mg lub\n10⁶ m³]"),
                                  QStringLiteral("Jednostkowa\nstawka opłaty\n[zł/Mg lub\nzł/10⁶ m³]"),
                                  QStringLiteral("Wysokość\nopłaty\n[zł]")};
    kal::TDBEdit wzor;
    // Room for "99 999,999" in the quantity, rate and fee columns; the number
    // of boilers needs less.
    const int szerokoscPola = wzor.fontMetrics().horizontalAdvance(QStringLiteral("99 999,999")) + 16;
    const int szerokosci[] = {wzor.fontMetrics().horizontalAdvance(QStringLiteral("9999")) + 16, szerokoscPola,
                              szerokoscPola, szerokoscPola + 10};
    for (int i = 0; i < naglowki.size(); ++i) {
        auto* n = new QLabel(naglowki[i], tresc);
        n->setObjectName(QStringLiteral("LabelNaglowek") + QString::number(i + 1));
        n->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        QFont f = n->font();
        f.setBold(true);
        n->setFont(f);
        siatka->addWidget(n, wiersz, 1 + i);
        siatka->setColumnMinimumWidth(1 + i, std::max(szerokosci[i], 80));
    }
    ++wiersz;
    int numer = 0;
    const auto& pozycje = PozycjeOknaTabeliC();
    const int liczba = int(pozycje.size());
    for (const PozycjaOknaTabeliC& p : pozycje) {
        if (!p.grupa.isEmpty()) {
            siatka->addWidget(NapisPozycji(p.grupa, tresc, true), wiersz++, 0, 1, 5);
        }
        QLabel* opis = NapisPozycji(p.opis, tresc, p.pole == QLatin1String("III"));
        if (p.moc.isEmpty()) {
            siatka->addWidget(opis, wiersz, 0);
        } else {
            // A split position: its power band under its text.
            auto* oba = new QWidget(tresc);
            auto* pion = new QVBoxLayout(oba);
            pion->setContentsMargins(0, 0, 0, 0);
            pion->setSpacing(0);
            opis->setParent(oba);
            pion->addWidget(opis);
            auto* moc = new QLabel(p.moc, oba);
            moc->setContentsMargins(16, 0, 0, 0);
            pion->addWidget(moc);
            siatka->addWidget(oba, wiersz, 0);
        }
        ++numer;
        const QByteArray nLiczby = "DBEdit" + QByteArray::number(2 * liczba + numer);
        kal::TDBEdit* k = NowePole(nLiczby.constData(), ilosci, QStringLiteral("LK") + p.pole);
        const QByteArray nIlosci = "DBEdit" + QByteArray::number(numer);
        kal::TDBEdit* e = NowePole(nIlosci.constData(), ilosci, p.pole);
        const QByteArray nStawki = "DBEdit" + QByteArray::number(liczba + numer);
        kal::TDBEdit* s = NowePole(nStawki.constData(), stawki, p.pole);
        auto* l = new QLabel(tresc);
        l->setObjectName(p.etykieta);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setMinimumWidth(szerokosci[3]);
        int kolumna = 1;
        for (kal::TDBEdit* w : {k, e, s}) {
            w->setParent(tresc);
            w->setAlignment(Qt::AlignRight);
            w->setMinimumWidth(szerokosci[kolumna - 1]);
            siatka->addWidget(w, wiersz, kolumna++, Qt::AlignVCenter);
        }
        siatka->addWidget(l, wiersz++, kolumna);
        m_liczby.push_back(k);
        m_ilosci.push_back(e);
        m_stawki.push_back(s);
        m_etykiety.push_back(l);
    }
    siatka->setColumnStretch(0, 1);
    siatka->setRowStretch(wiersz, 1);
    DBEdit1 = m_ilosci.front();

    m_przewijanie = new QScrollArea(this);
    m_przewijanie->setObjectName(QStringLiteral("ScrollBox1"));
    m_przewijanie->setWidgetResizable(true);
    m_przewijanie->setWidget(tresc);
    QWidget* poprzedni = DBEditGminy;
    for (size_t i = 0; i < m_ilosci.size(); ++i)
        for (QWidget* w : {static_cast<QWidget*>(m_liczby[i]), static_cast<QWidget*>(m_ilosci[i]),
                           static_cast<QWidget*>(m_stawki[i])}) {
            QWidget::setTabOrder(poprzedni, w);
            poprzedni = w;
        }

    auto* gora = new QHBoxLayout;
    gora->addWidget(new QLabel(QStringLiteral("Nazwa gminy:"), this));
    gora->addWidget(DBEditGminy, 1);
    for (QPushButton* b : {BitBtn3, BitBtn2, BitBDrukPrzMonitor, BitBDrukPrzDrukarka, BitBtn1})
        gora->addWidget(b);
    auto* uklad = new QVBoxLayout(this);
    uklad->addLayout(gora);
    uklad->addWidget(m_przewijanie, 1);

    Podlacz(BitBtn1, [this] { ZamknijZWynikiem(mrCancel); });
    Podlacz(BitBDrukPrzMonitor, [this] { Drukuj(BitBDrukPrzMonitor); });
    Podlacz(BitBDrukPrzDrukarka, [this] { Drukuj(BitBDrukPrzDrukarka); });
    Podlacz(BitBtn2, [this] { ZuzycieKlik(); });
    Podlacz(BitBtn3, [this] { BitBtn3Click(); });
    if (DM)
        UstawZbioryDoZapisu({DM->TTabelaC, DM->TStawkiTabC});
    if (!FTabelaC) {
        FTabelaC = this;
        UstawOdswiezanieTabeliC([this] { Odswiez(); });
    }
}

TFTabelaC::~TFTabelaC()
{
    if (FTabelaC == this) {
        UstawOdswiezanieTabeliC({});
        FTabelaC = nullptr;
    }
}

int TFTabelaC::indeks(const QString& pole) const
{
    const auto& p = PozycjeOknaTabeliC();
    for (size_t i = 0; i < p.size(); ++i)
        if (p[i].pole == pole)
            return int(i);
    return -1;
}

kal::TDBEdit* TFTabelaC::EdycjaIlosci(const QString& pole) const
{
    const int i = indeks(pole);
    return i < 0 ? nullptr : m_ilosci[size_t(i)];
}

kal::TDBEdit* TFTabelaC::EdycjaStawki(const QString& pole) const
{
    const int i = indeks(pole);
    return i < 0 ? nullptr : m_stawki[size_t(i)];
}

kal::TDBEdit* TFTabelaC::EdycjaLiczbyKotlow(const QString& pole) const
{
    const int i = indeks(pole);
    return i < 0 ? nullptr : m_liczby[size_t(i)];
}

QLabel* TFTabelaC::Etykieta(const QString& pole) const
{
    const int i = indeks(pole);
    return i < 0 ? nullptr : m_etykiety[size_t(i)];
}

int TFTabelaC::Pokaz()
{
    if (!DM->OtworzZalacznikiPolrocza())
        return -100;
    setWindowTitle(QStringLiteral("TABELA C za półrocze: ") + TekstOkresu());
    KopiujObrazZZalacznika(BitBtn1, "BitBtn1");
    KopiujObrazZZalacznika(BitBDrukPrzMonitor, "BitBDrukPrzMonitor");
    KopiujObrazZZalacznika(BitBDrukPrzDrukarka, "BitBDrukPrzDrukarka");
    m_przewijanie->verticalScrollBar()->setValue(0);
    int wynik = mrNone;
    {
        PrzelacznikTag przelacznik(DM->TTabelaC);
        OplatyC().Przelicz();
        NaCalyEkran();
        wynik = PokazModalnie();
    }
    ZapiszOczekujace();
    return wynik;
}

void TFTabelaC::Odswiez()
{
    const OplatyTabelaC& o = OplatyC();
    for (size_t i = 0; i < m_etykiety.size(); ++i)
        m_etykiety[i]->setText(o.teksty.oplaty[i]);
}

void TFTabelaC::Drukuj(QAbstractButton* Sender)
{
    DrukujZestawienie(QRTabelaC, Sender == BitBDrukPrzMonitor, QStringLiteral("Wydruk Tabeli C za półrocze: "));
}

void TFTabelaC::ZuzycieKlik()
{
    ZapiszOczekujace();
    if (DM->TTabelaC->IsEmpty()) {
        kal::Dialogs().messageBox(QStringLiteral("Brak założonej tabeli C !!!"), QStringLiteral("Kontrola tabeli C."),
                                  kal::MbOk, kal::MsgIcon::Stop);
        return;
    }
    if (FZuzycieKotla)
        FZuzycieKotla->Pokaz();
}

void TFTabelaC::BitBtn3Click()
{
    if (kal::Dialogs().messageBox(QStringLiteral("Czy chcesz wczytać dane do tabeli C ?"),
                                  QStringLiteral("Kontrola wprowadzania tabeli C."), kal::MbYes | kal::MbNo,
                                  kal::MsgIcon::Question) != kal::MbYes)
        return;
    try {
        // No boiler-use file for the period: the row is untouched, the reason
        // has been shown.
        if (!DM->PrzeliczTabeleCZKotlow())
            return;
    } catch (...) {
        // A failed post leaves the new quantities in the row: the fees
        // follow them, then the error goes on.
        try {
            OplatyC().Oblicz();
            Odswiez();
        } catch (...) {
        }
        throw;
    }
    OplatyC().Oblicz();
    Odswiez();
}

void TFTabelaC::PoPrzejsciuEnterem()
{
    if (focusWidget() == DBEdit1)
        m_przewijanie->verticalScrollBar()->setValue(0);
}
