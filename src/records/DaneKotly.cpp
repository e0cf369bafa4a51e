// Boilers and their fuel use, and table C: its rows and the summation of
// the boilers' use into its positions.

#include "Dane.h"
#include "DaneWspolne.h"

#include "Funkcje.h"

using namespace dane;

// ============================================================ boilers

namespace {

struct RodzajKotla {
    int kod;
    const char* tekst;
    const char* pole; // position of table C
    int paliwo;       // fuel index of the density; 100: the quantity as entered
};

// Natural gas is reckoned in millions of cubic metres: its sum keeps whole
// cubic metres (6 decimals), every other position is in Mg to 2 decimals.
int miejscaSumy(int kod)
{
    switch (kod) {
    case 511: case 512: case 521: case 522: return 6;
    default: return 2;
    }
}

const RodzajKotla kRodzajeKotlow[] = {
    {111, "111 Kotły opalane węglem kamiennym. Kocioł z rusztem mechanicznym, z urządzeniem odpylającym, nominalna moc "
          "cieplna <=3 MW.",
     "I1", 100},
    {112, "112 Kotły opalane węglem kamiennym. Kocioł z rusztem mechanicznym, z urządzeniem odpylającym, nominalna moc "
          "cieplna > 3MW i <=5 MW",
     "I1a", 100},
    {120, "120 Kotły opalane węglem kamiennym. Kocioł z rusztem mechanicznym, bez urządzenia odpylającego, nominalnej "
          "mocy cieplnej <=5 MW",
     "I2", 100},
    {130, "130 Kotły opalane węglem kamiennym. Kocioł z rusztem stałym, ciągiem naturalnym, o normalnej mocy cieplnej "
          "<=5 MW",
     "I3", 100},
    {140, "140 Kotły opalane węglem kamiennym. Kocioł z rusztem stałym, z ciągiem sztucznym, z urządzeniem "
          "odpylającym <= 5 MW",
     "I4", 100},
    {150, "150 Kotły opalane węglem kamiennym. Kocioł z rusztem stałym, z ciągiem sztucznym, bez urządzenia "
          "odpylającego <= 5MW",
     "I5", 100},
    {210, "210 Kotły o nominalnej mocy cieplnej <=5 MW opalane koksem. Kocioł z rusztem stałym, ciągiem naturalnym.",
     "II1", 100},
    {220, "220 Kotły o nominalnej mocy cieplnej <=5 MW opalane koksem. Kocioł z rusztem stałym, z ciągiem sztucznym, z "
          "urządzeniem odpylającym.",
     "II2", 100},
    {230, "230 Kotły o nominalnej mocy cieplnej <=5 MW opalane koksem. Kocioł z rusztem stałym, z ciągiem sztucznym, "
          "bez urządzenia odpylającego.",
     "II3", 100},
    {300, "300 Kotły o nominalnej mocy cieplnej <=5 MW opalane drewnem", "III", 100},
    {410, "410 Kotły o nominalnej mocy cieplnej <= 5 MW. Olej lekki (zawartość siarki nie większa niż 0,5 %).", "IV1", 7},
    {420, "420 Kotły o nominalnej mocy cieplnej <= 5 MW. Olej opałowy (zawartość siarki nie większa niż 1%).", "IV2", 8},
    {430, "430 Kotły o nominalnej mocy cieplnej <= 5 MW. Olej opałowy (zawartość siarki od 1% do 5 %).", "IV3", 9},
    {440, "440 Kotły o nominalnej mocy cieplnej <= 5 MW. Olej napędowy", "IV4", 5},
    {511, "511 Kotły opalane paliwem gazowym. Gaz ziemny wysokometanowy. Nominalna moc cieplna <= 1,4 MW", "V1a", 100},
    {512, "512 Kotły opalane paliwem gazowym. Gaz ziemny wysokometanowy. Nominalna moc cieplna > 1,4 MW i <= 5MW", "V1b",
     100},
    {521, "521 Kotły opalane paliwem gazowym. Gaz ziemny zaazotowany. Nominalna moc cieplna <= 1,4 MW", "V2a", 100},
    {522, "522 Kotły opalane paliwem gazowym. Gaz ziemny zaazotowany. Nominalna moc cieplna > 1,4 MW i <= 5MW", "V2b",
     100},
    {530, "530 Kotły opalane paliwem gazowym. Gaz ziemny propan-butan. Nominalna moc cieplna <= 5MW", "V3", 4},
};

const RodzajKotla* rodzajKotla(int kod)
{
    for (const RodzajKotla& r : kRodzajeKotlow)
        if (r.kod == kod)
            return &r;
    return nullptr;
}

} // namespace

int TDM::KodRodzajuKotla(const kal::TField& pole)
{
    return TekstNaCalkowita(pole.AsString().left(3));
}

bool TDM::PoprawnyRodzajKotla(const kal::TField& pole)
{
    return rodzajKotla(KodRodzajuKotla(pole)) != nullptr;
}

void TDM::TKotlyRodzajKotlaGetText(kal::TField& Sender, QString& Text, bool DisplayText)
{
    (void)DisplayText;
    const RodzajKotla* r = rodzajKotla(KodRodzajuKotla(Sender));
    Text = r ? QString::fromUtf8(r->tekst) : QStringLiteral("????");
}

void TDM::TKotlyRodzajKotlaValidate(kal::TField& Sender)
{
    if (!PoprawnyRodzajKotla(Sender))
        throw kal::Exception(QStringLiteral("Niewłaściwy rodzaj kotła !!!"));
}

void TDM::TKotlyAfterInsert(kal::TDataSet& DataSet)
{
    (void)DataSet;
    TKotlyIlosc->setAsInteger(1);
    TKotlyZuzycie->setAsFloat(0.0);
    TKotlyRokProdukcji->setAsInteger(0);
    TKotlyLogiczny->setAsBoolean(false);
    TKotlyNumeryk->setAsFloat(0.0);
}

void TDM::TKotlyBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (!PoprawnyRodzajKotla(*TKotlyRodzajKotla))
        throw kal::Exception(QStringLiteral("Niewłaściwy rodzaj kotła !!!"));
    sprawdzWymogi({{TKotlyOpisKotla, Pusty, "Musisz wprowadzić opis kotła !!!"}});
    if (TKotlyIlosc->IsNull() || TKotlyIlosc->AsInteger() < 1)
        TKotlyIlosc->setAsInteger(1);
}

void TDM::TZuzycieKotlaAfterInsert(kal::TDataSet& DataSet)
{
    (void)DataSet;
    TZuzycieKotlaSymbolJednostkiMiary->setAsInteger(0);
    TZuzycieKotlaPrzelicznik->setAsFloat(0.0);
    TZuzycieKotlaIloscPrzNaTony->setAsBoolean(false);
}

void TDM::TZuzycieKotlaDataZuzyciaSetText(kal::TField& Sender, const QString& Text)
{
    wpiszDate(Sender, Text, QStringLiteral("Data zużycia kotła musi być dobrze określona !!!"));
    KontrolaDatyZuzyciaKotla();
}

void TDM::TZuzycieKotlaBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    KontrolaDatyZuzyciaKotla();
    sprawdzWymogi({
        {TZuzycieKotlaIlosc, TekstPonizej(0.001), "Ilość zużycia kotła musi być większa od zera !!!"},
        {TZuzycieKotlaIdentyfikatorKotla, BezWartosci, "Musisz wybrać kotły do zużycia !!!"},
    });
}

void TDM::KontrolaDatyZuzyciaKotla()
{
    kontrolaDatyOkresu(TZuzycieKotlaDataZuzycia, TOkresRok, TOkresPolrocze,
                       QStringLiteral("Data zużycia kotła musi być dobrze określona !!!"),
                       QStringLiteral("Data zużycia kotła musi dotyczyć roku: "));
}

void TDM::SumujZuzycieKotlow(kal::TField& pole, int kodRodzaju, int indeksPaliwa)
{
    double suma = 0.0;
    for (TZuzycieKotla->First(); !TZuzycieKotla->Eof(); TZuzycieKotla->Next()) {
        if (KodRodzajuKotla(*TZuzycieKotlaRodzajKotla) != kodRodzaju)
            continue;
        const double ilosc = TZuzycieKotlaIlosc->AsFloat();
        if (indeksPaliwa == 100 || TZuzycieKotlaIloscPrzNaTony->AsBoolean()) {
            suma += ilosc;
        } else {
            double gestosc = 0.0;
            if (GestoscPaliwa) {
                gestosc = GestoscPaliwa(indeksPaliwa);
            } else if (indeksPaliwa >= 1 && indeksPaliwa <= 12) {
                const QString kod = indeksPaliwa <= 9 ? QString::number(indeksPaliwa)
                                                      : QString(QLatin1Char(char('a' + indeksPaliwa - 10)));
                gestosc = TTabelaGest->Lookup(QStringLiteral("IdentyfikatorPaliwa"), {kod}, QStringLiteral("Gestosc"))
                              .toDouble();
            }
            suma += ilosc * gestosc * 0.001;
        }
    }
    pole.setAsFloat(Zaokraglij(suma, miejscaSumy(kodRodzaju)));
}

bool TDM::PrzeliczTabeleCZKotlow()
{
    if (!UstawZbiorZuzyciaKotlow())
        return false;
    if (!edytowana(TTabelaC))
        TTabelaC->Edit();
    for (const RodzajKotla& r : kRodzajeKotlow)
        SumujZuzycieKotlow(*TTabelaC->FieldByName(QString::fromLatin1(r.pole)), r.kod, r.paliwo);
    TTabelaC->Post();
    return true;
}

// ============================================================ table C

void TDM::TTabelaCAfterInsert(kal::TDataSet& DataSet)
{
    (void)DataSet;
    for (kal::TField* f : m_wartosciC)
        f->setAsFloat(0.0);
}

void TDM::TTabelaCBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    for (kal::TField* f : m_wartosciC)
        ZerujGdyUjemna(*f, true);
}

