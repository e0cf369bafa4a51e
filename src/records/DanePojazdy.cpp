// Vehicles with their derived values, places of use, mileage and
// inspections, and the odometer readings that fuel records carry into the
// mileage register.

#include "Dane.h"
#include "DaneWspolne.h"

#include "Funkcje.h"
#include "platform/core/DateText.h"

using namespace dane;

// ============================================================ vehicles

namespace {

// A field read as a number and cut toward zero, as the vehicle kind is read.
int poleNaRodzaj(const QString& tekst)
{
    const double x = TekstNaLiczbe(tekst);
    return (x > -2147483648.0 && x < 2147483648.0) ? int(x) : 0;
}

QString tekstRodzajuPojazdu(int rodzaj)
{
    static const char* const teksty[] = {
        "1 -samochód osobowy z katalizatorem",
        "2 -samochód osobowy bez katalizatora",
        "3 -samochód nieosobowy o masie poniżej 3,5 Mg",
        "4 -samochód ciężarowy powyżej 3,5 Mg z EURO 1",
        "5 -samochód ciężarowy powyżej 3,5 Mg z EURO 2",
        "6 -samochód ciężarowy powyżej 3,5 Mg z EURO 3",
        "7 -samochód ciężarowy powyżej 3,5 Mg bez EURO",
        "8 - autobus inny niż w Lp 4-6",
        "9 - ciągnik rolniczy",
        "10- maszyny robocze",
        "11- pojazd szynowy",
    };
    if (rodzaj < 1 || rodzaj > 11)
        return QStringLiteral("????");
    return QString::fromUtf8(teksty[rodzaj - 1]);
}

// The gas flag as stored: "T" or "N", a lower-case "t" or "n" read the same;
// empty for any other value.
QString kodGazu(const QString& kod)
{
    if (kod.compare(QLatin1String("T"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("T");
    if (kod.compare(QLatin1String("N"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("N");
    return {};
}

// A kind passes only as a whole number 1..11, read the way the fee engine
// reads it; "1," or "2,5" would pass a cut-down number and then be counted
// nowhere.
void sprawdzRodzajPojazdu(const QString& tekst)
{
    const int rodzaj = TekstNaCalkowita(tekst);
    if (rodzaj < 1 || rodzaj > 11)
        throw kal::Exception(QStringLiteral("Rodzaj pojazdu jest z zakresu 1-11 !!!"));
}

} // namespace

void TDM::TPojazdyAfterInsert(kal::TDataSet& DataSet)
{
    (void)DataSet;
    TPojazdyRodzajPojazdu->setAsString(QStringLiteral("1"));
    TPojazdyLadownosc->setAsFloat(0.0);
    TPojazdyWartoscEwidencyjna->setAsFloat(0.0);
    TPojazdyNormaLetnia->setAsFloat(0.0);
    TPojazdyNormaZimowa->setAsFloat(0.0);
    TPojazdyIloscMiejsc->setAsInteger(0);
    TPojazdyPojemnoscSilnika->setAsInteger(0);
    TPojazdyRokProdukcji->setAsInteger(0);
    TPojazdyNormaEuro->setAsString(QStringLiteral("0"));
    TPojazdyFabrycznaInstalacjaGazu->setAsString(QStringLiteral("N"));
    if (OknoPojazdow) {
        if (TPojazdy->Tag() == 1)
            OknoPojazdow->UstawFokusNaMarke();
        OknoPojazdow->WlaczWyszukiwanie(false);
    }
}

void TDM::TPojazdyAfterEdit(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (OknoPojazdow)
        OknoPojazdow->WlaczWyszukiwanie(false);
}

void TDM::TPojazdyAfterCancel(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (OknoPojazdow)
        OknoPojazdow->WlaczWyszukiwanie(true);
}

void TDM::TPojazdyBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    const QString gaz = kodGazu(TPojazdyFabrycznaInstalacjaGazu->AsString());
    if (gaz != TPojazdyFabrycznaInstalacjaGazu->AsString())
        TPojazdyFabrycznaInstalacjaGazu->setAsString(gaz.isEmpty() ? QStringLiteral("N") : gaz);
    sprawdzRodzajPojazdu(TPojazdyRodzajPojazdu->AsString());
    KontrolaNormyEuro(TPojazdyNormaEuro->AsString());
    sprawdzWymogi({{TPojazdyNrRejestracyjny, PustyBezSpacji, "Numer rejestracyjny pojazdu musi być wprowadzony !!!"}});
    ZerujGdyUjemna(*TPojazdyLadownosc, true);
    ZerujGdyUjemnaCalk(*TPojazdyIloscMiejsc, true);
    ZerujGdyUjemnaCalk(*TPojazdyPojemnoscSilnika, true);
    ZerujGdyUjemnaCalk(*TPojazdyRokProdukcji, true);
    // Kilometres between inspections: a negative number is saved as 0, as the
    // whole numbers above are; an empty one stays empty (no interval known,
    // which the inspection list tells apart from 0).
    if (!TPojazdyIloscKmMiedzyPrzegl->IsNull() && TPojazdyIloscKmMiedzyPrzegl->AsInteger() < 0)
        TPojazdyIloscKmMiedzyPrzegl->setAsInteger(0);
    ZerujGdyUjemna(*TPojazdyWartoscEwidencyjna, true);
    ZerujGdyUjemna(*TPojazdyNormaLetnia, true);
    ZerujGdyUjemna(*TPojazdyNormaZimowa, true);
}

void TDM::TPojazdyBeforeDelete(kal::TDataSet& DataSet)
{
    (void)DataSet;
    throw kal::Exception(QStringLiteral("Nie można kasować pojazdów !!!"));
}

void TDM::TPojazdyRodzajPojazduGetText(kal::TField& Sender, QString& Text, bool DisplayText)
{
    (void)DisplayText;
    Text = tekstRodzajuPojazdu(poleNaRodzaj(Sender.AsString()));
}

void TDM::TPojazdyRodzajPojazduValidate(kal::TField& Sender)
{
    sprawdzRodzajPojazdu(Sender.AsString());
}

bool TDM::znajdzPojazd(int id)
{
    // The key search stands in for a walk from the first vehicle: the vehicle
    // becomes current, and without one the register stands at its end.
    if (TPojazdy->Locate(QStringLiteral("IdentyfikatorPojazdu"), QVariant(id)))
        return true;
    TPojazdy->Last();
    TPojazdy->Next();
    return false;
}

// ============================================================ vehicle derived values

void TDM::TPojazdyCalcFields(kal::TDataSet& DataSet)
{
    (void)DataSet;
    const double lato = PoleNaLiczbe(TPojazdyNormaLetnia);
    const double zima = PoleNaLiczbe(TPojazdyNormaZimowa);
    double srednia = lato < 0.005 ? zima : zima < 0.005 ? lato : (lato + zima) * 0.5;
    if (srednia < 0.0)
        srednia = 0.0;
    TPojazdyNormaSrednia->setAsFloat(Zaokraglij(srednia, 2));
}

void TDM::TPojazdyNormaEuroGetText(kal::TField& Sender, QString& Text, bool DisplayText)
{
    (void)DisplayText;
    const QString kod = Sender.AsString();
    switch (kod.isEmpty() ? '0' : kod.at(0).unicode()) {
    case '0': Text = QStringLiteral("0 - bez EURO"); break;
    case '1': Text = QStringLiteral("1 - EURO 1/Etap I"); break;
    case '2': Text = QStringLiteral("2 - EURO 2/Etap II"); break;
    case '3': Text = QStringLiteral("3 - EURO 3/Etap IIIA"); break;
    case '4': Text = QStringLiteral("4 - EURO 4"); break;
    case '5': Text = QStringLiteral("5 - EURO 5"); break;
    default: Text.clear(); break;
    }
}

void TDM::KontrolaNormyEuro(const QString& tekst)
{
    if (tekst.isEmpty() || (tekst.size() == 1 && tekst.at(0) >= QLatin1Char('0') && tekst.at(0) <= QLatin1Char('5')))
        return;
    throw kal::Exception(QStringLiteral("Dopuszczalne rodzaje norm EURO: 0 - bez normy\n 1 - EURO 1, 2 - EURO 2\n "
                                        "3 - EURO 3, 4 - EURO 4, 5 - EURO 5."));
}

void TDM::TPojazdyNormaEuroValidate(kal::TField& Sender)
{
    KontrolaNormyEuro(Sender.AsString());
}

void TDM::TPojazdyFabrycznaInstalacjaGazuGetText(kal::TField& Sender, QString& Text, bool DisplayText)
{
    (void)DisplayText;
    const QString kod = kodGazu(Sender.AsString());
    Text = kod == QLatin1String("T") ? QStringLiteral("Tak")
           : kod == QLatin1String("N") ? QStringLiteral("Nie")
                                       : QStringLiteral("???");
}

void TDM::TPojazdyFabrycznaInstalacjaGazuValidate(kal::TField& Sender)
{
    if (kodGazu(Sender.AsString()).isEmpty())
        throw kal::Exception(QStringLiteral("Fabtyczna instalacja gazu: Tak, lub Nie !!!"));
}

QChar TDM::KlasaEuroPojazdu()
{
    const QString klasa = TPojazdyNormaEuro->AsString();
    if (!klasa.isEmpty())
        return klasa.at(0);
    switch (poleNaRodzaj(TPojazdyRodzajPojazdu->AsString())) {
    case 4: return QLatin1Char('1');
    case 5: return QLatin1Char('2');
    case 6: return QLatin1Char('3');
    default: return QLatin1Char('0');
    }
}

// ============================================================ dates of vehicles, mileage and inspections

void TDM::StandartowaKontrolaDaty(kal::TField& Sender, const QString& Text)
{
    wpiszDate(Sender, Text,
              &Sender == TPrzeglDataNastepnegoPrzegladu
                  ? QStringLiteral("Data następnego przeglądu musi być dobrze określona !!!")
                  : QStringLiteral("Data końca musi być dobrze określona !!!"),
              PustaData::Czysci);
}

void TDM::TPojazdyDataSkresleniaZEwidencjiSetText(kal::TField& Sender, const QString& Text)
{
    wpiszDate(Sender, Text, QStringLiteral("Data skreślenia z ewidencji musi być dobrze określona !!!"),
              PustaData::Czysci);
}

void TDM::TPojazdyDataPierwszejRejestracjiSetText(kal::TField& Sender, const QString& Text)
{
    wpiszDate(Sender, Text, QStringLiteral("Data pierwszej rejestracji musi być dobrze określona !!!"),
              PustaData::Czysci);
}

void TDM::TPrzebiegDataSetText(kal::TField& Sender, const QString& Text)
{
    wpiszDate(Sender, Text, QStringLiteral("Data przebiegu musi być dobrze określona !!!"));
}

void TDM::TPrzeglDataSetText(kal::TField& Sender, const QString& Text)
{
    wpiszDate(Sender, Text, QStringLiteral("Data przeglądu/naprawy musi być dobrze określona !!!"));
}

// ============================================================ places of use, mileage, inspections

void TDM::TMiejsceUzBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    sprawdzWymogi({{TMiejsceUzNazwa, Pusty, "Nazwa miejsca użytkowania nie może być pusta !!!"}});
}

void TDM::TPrzebiegBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    sprawdzWymogi({{TPrzebiegData, BezWartosci, "Data przebiegu musi być dobrze określona !!!"}});
}

void TDM::TPrzeglBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    sprawdzWymogi({{TPrzeglData, BezWartosci, "Data przeglądu/naprawy musi być dobrze określona !!!"}});
    TPrzeglWartosc->setAsFloat(Zaokraglij(PoleNaLiczbe(TPrzeglWartosc), 2));
    TPrzeglIloscKm->setAsFloat(PoleNaLiczbe(TPrzeglIloscKm));
}

// ============================================================ odometer readings of fuel records

void TDM::AktualizujPrzebiegZTankowania()
{
    const QString data = TZuzycieDataTankowania->AsString();
    const QString km = TZuzycieIloscKm->AsString();
    if (data.isEmpty() || km.isEmpty() || TZuzycieIloscKm->AsFloat() < 1.0) {
        DopisanoWierszZuzycia = false;
        return;
    }
    const int pojazd = TZuzycieIdentyfikatorPojazdu->AsInteger();
    const double kilometry = TZuzycieIloscKm->AsFloat();

    TPrzRob->Close();
    TPrzRob->Open();
    auto znajdz = [this](int id, const QString& dzien) {
        TPrzRob->EditKey();
        TPrzRobIdentyfikatorPojazdu->setAsInteger(id);
        TPrzRobData->setAsString(dzien);
        return TPrzRob->GotoKey();
    };
    auto dopisz = [&] {
        TPrzRob->Insert();
        TPrzRobIdentyfikatorPojazdu->setAsInteger(pojazd);
        TPrzRobData->setAsString(data);
        TPrzRobIloscKilometrow->setAsFloat(kilometry);
        TPrzRob->Post();
    };

    const bool zapisanyNowy = znajdz(pojazd, data);
    if (zapisanyNowy) {
        TPrzRob->Edit();
        TPrzRobIloscKilometrow->setAsFloat(kilometry);
        TPrzRob->Post();
    }
    if (DopisanoWierszZuzycia) {
        if (!zapisanyNowy)
            dopisz();
    } else if (ZapamietanaDataTankowania != DataZTDateTime(TZuzycieDataTankowania->AsDateTime()) ||
               ZapamietanyPojazd != pojazd) {
        // The record moved to another vehicle or day: its entry moves with it.
        // A record that had no date had no entry of its own: an entry
        // without a date (typed in the mileage register) is not its entry and
        // stays as it is.
        const bool staryJest =
            ZapamietanaDataTankowania.Poprawna() &&
            znajdz(ZapamietanyPojazd, kal::DateToText(ZapamietanaDataTankowania.NaTDateTime()));
        if (staryJest && zapisanyNowy) {
            TPrzRob->Delete();
        } else if (staryJest) {
            TPrzRob->Edit();
            TPrzRobIdentyfikatorPojazdu->setAsInteger(pojazd);
            TPrzRobData->setAsString(data);
            TPrzRobIloscKilometrow->setAsFloat(kilometry);
            TPrzRob->Post();
        } else if (!zapisanyNowy) {
            dopisz();
        }
    } else if (!zapisanyNowy) {
        dopisz();
    }
    DopisanoWierszZuzycia = false;
    TPrzRob->Close();
    TPrzebieg->Refresh();
}

