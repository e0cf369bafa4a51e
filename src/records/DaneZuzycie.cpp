// Fuel use: the fuel record rules, the refuelling places and the fuel
// densities, and the per-half-year files of fuel and boiler use.

#include "Dane.h"
#include "DaneWspolne.h"

#include "Funkcje.h"
#include "platform/core/Dialogs.h"

#include <QFileInfo>

#include <exception>

using namespace dane;

// ============================================================ fuel use

namespace {

QString tekstRodzajuPaliwa(const QString& kod)
{
    if (kod.isEmpty())
        return QStringLiteral("????");
    switch (kod.at(0).unicode()) {
    case '1': return QStringLiteral("1 - etylina 94");
    case '2': return QStringLiteral("2 - etylina 98");
    case '3': return QStringLiteral("3 - benzyna bezołowiowa");
    case '4': return QStringLiteral("4 - gaz płynny propan-butan");
    case '5': return QStringLiteral("5 - olej napędowy");
    case '6': return QStringLiteral("6 -olej napędowy o zawartości siarki poniżej 0,02% m/m");
    case 'a': return QStringLiteral("a - biodiesel");
    case 'b': return QStringLiteral("b - biometan");
    case 'c': return QStringLiteral("c - sprężony gaz ziemny");
    default: return QStringLiteral("!????");
    }
}

bool paliwoPojazdu(const QString& kod)
{
    return !kod.isEmpty() && QStringLiteral("123456abc").contains(kod.at(0));
}

} // namespace

void TDM::TZuzycieAfterInsert(kal::TDataSet& DataSet)
{
    (void)DataSet;
    TZuzycieIloscPaliwa->setAsFloat(0.0);
    TZuzycieCenaPaliwa->setAsFloat(0.0);
}

void TDM::TZuzycieIdentyfikatorPojazduValidate(kal::TField& Sender)
{
    if (!edytowana(TZuzycie))
        return;
    const int id = Sender.AsInteger();
    if (!TPojazdy->IsEmpty() && TPojazdyIdentyfikatorPojazdu->AsInteger() == id) {
        TZuzycieRodzajPojazdu->setAsString(TPojazdyRodzajPojazdu->AsString());
        return;
    }
    if (znajdzPojazd(id))
        TZuzycieRodzajPojazdu->setAsString(TPojazdyRodzajPojazdu->AsString());
}

void TDM::TZuzycieRodzajPaliwaGetText(kal::TField& Sender, QString& Text, bool DisplayText)
{
    (void)DisplayText;
    Text = tekstRodzajuPaliwa(Sender.AsString());
}

void TDM::TZuzycieRodzajPaliwaValidate(kal::TField& Sender)
{
    // An empty code is refused with the same message as a wrong one.
    if (!paliwoPojazdu(Sender.AsString()))
        throw kal::Exception(QStringLiteral("Rodzaj paliwa jest niewłaściwy !!!"));
}

void TDM::TZuzycieBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    DopisanoWierszZuzycia = TZuzycie->State() == kal::dsInsert;
    sprawdzWymogi({{TZuzycieIdentyfikatorPojazdu, BezWartosci, "Musisz wybrać pojazd !!!"}});
    KontrolaDatyTankowania();
    sprawdzWymogi({{TZuzycieRodzajPaliwa, Pusty, "Musisz wybrać rodzaj paliwa !!!"}});
    if (!paliwoPojazdu(TZuzycieRodzajPaliwa->AsString()))
        throw kal::Exception(QStringLiteral("Rodzaj paliwa jest niewłaściwy !!!"));

    TZuzycieRodzajPojazdu->Clear();
    const int id = TZuzycieIdentyfikatorPojazdu->AsInteger();
    const QString rodzaj = znajdzPojazd(id) ? TPojazdyRodzajPojazdu->AsString() : QString();
    if (rodzaj.isEmpty())
        throw kal::Exception(QStringLiteral("Niewłaściwe dane wybranego pojazdu !!!"));
    TZuzycieRodzajPojazdu->setAsString(rodzaj);

    ZerujGdyUjemna(*TZuzycieIloscPaliwa, true);
    ZerujGdyUjemna(*TZuzycieCenaPaliwa, true);
    sprawdzWymogi({{TZuzycieIloscPaliwa, Ponizej(kProgZera), "Ilość paliwa musi być większa od zera !!!"}});
}

void TDM::KontrolaDatyTankowania()
{
    kontrolaDatyOkresu(TZuzycieDataTankowania, TOkresRok, TOkresPolrocze,
                       QStringLiteral("Data tankowania musi być dobrze określona !!!"),
                       QStringLiteral("Data tankowania musi dotyczyć roku: "));
}

void TDM::TZuzycieDataTankowaniaSetText(kal::TField& Sender, const QString& Text)
{
    wpiszDate(Sender, Text, QStringLiteral("Data tankowania musi być dobrze określona !!!"));
    KontrolaDatyTankowania();
}

void TDM::TMiejscTankBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    sprawdzWymogi({{TMiejscTankNazwa, Pusty, "Nazwa miejsca tankowania nie może być pusta !!!"}});
}

// ============================================================ fuel densities

void TDM::TTabelaGestBeforeInsert(kal::TDataSet& DataSet)
{
    (void)DataSet;
    throw kal::Exception(QStringLiteral("Nie można dopisywać nowych rodzajów paliwa !!!"));
}

void TDM::TTabelaGestBeforeDelete(kal::TDataSet& DataSet)
{
    (void)DataSet;
    throw kal::Exception(QStringLiteral("Nie można kasować rodzajów paliwa !!!"));
}

void TDM::TTabelaGestBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    sprawdzWymogi({
        {TTabelaGestGestosc, TekstPonizej(kProgZera), "Gęstość paliwa jest wielokością większą od zera !!!"},
    });
}

// ============================================================ per-half-year files

namespace {

// Reports a refused post: the rule's message in the error box; a silent
// abort has been reported by the post's own box already.
void zglosOdmoweZapisu(const std::exception_ptr& blad)
{
    try {
        std::rethrow_exception(blad);
    } catch (const kal::EAbort&) {
    } catch (const kal::Exception& e) {
        kal::ShowErrorBox(e.message());
    } catch (const std::exception& e) {
        kal::ShowErrorBox(QString::fromUtf8(e.what()));
    } catch (...) {
    }
}

// A half-year file's message with the cause below it, when there is one.
QString zPrzyczyna(const QString& tekst, const QString& przyczyna)
{
    return przyczyna.isEmpty() ? tekst : tekst + u'\n' + kal::ErrorBoxText(przyczyna);
}

} // namespace

bool TDM::otworzZbiorPolrocza(kal::TTable& tabela, const QString& plik, const QString& szablon, bool komunikat)
{
    m_przyczynaBleduZbioru.clear();
    const bool istnieje = QFileInfo::exists(plik);
    if (istnieje && tabela.TableName() == plik)
        return true;
    // Leaving the current file: a pending change is posted first. When its
    // post is refused the component stays on its file with the change as
    // typed, and the user sees why.
    if (tabela.Active() && edytowana(&tabela)) {
        try {
            tabela.Post();
        } catch (...) {
            zglosOdmoweZapisu(std::current_exception());
            return false;
        }
        if (edytowana(&tabela))
            return false;
    }
    try {
        if (istnieje) {
            tabela.Close();
            tabela.setTableName(plik);
            try {
                tabela.Open();
                return true;
            } catch (const kal::EDatabaseError& e) {
                if (e.kind() != kal::EDatabaseError::Kind::NoTable)
                    throw;
            }
            // An empty database of one page (a creation killed before it
            // was whole) holds nothing: it is made anew, with the structure
            // the component took from the file it was open on. Any other
            // file that cannot be read stays as it is and is told.
            tabela.DeleteTable();
        } else {
            // The component's current file (the template, or the last half-year)
            // lends its structure to the new one.
            if (!tabela.Active())
                tabela.Open();
            tabela.Close();
            tabela.setTableName(plik);
        }
        tabela.CreateTable();
        tabela.Open();
        return true;
    } catch (const kal::Exception& e) {
        // Why, as the engine tells it, naming the file.
        m_przyczynaBleduZbioru = e.message().contains(plik)
            ? e.message()
            : QStringLiteral("Zbiór danych %1: %2").arg(plik, e.message());
        if (komunikat)
            kal::Dialogs().messageBox(zPrzyczyna(QStringLiteral("Błąd generowania zbioru: ") + plik,
                                                 m_przyczynaBleduZbioru),
                                      QString(), kal::MbOk, kal::MsgIcon::Stop);
        // Nothing is pending here (posted above), so the close cannot raise on a change.
        if (tabela.Active())
            tabela.Close();
        tabela.setTableName(szablon);
        tabela.Open();
        return false;
    }
}

QString TDM::TekstBleduZbioruZuzycia(const QString& przyczyna)
{
    return zPrzyczyna(QStringLiteral("Bład otwarcia zbioru półrocznego na zużycie paliwa !!!"), przyczyna);
}

QString TDM::KomunikatBleduZbioruZuzycia() const
{
    return TekstBleduZbioruZuzycia(m_przyczynaBleduZbioru);
}

bool TDM::OtworzZbiorZuzycia(int rok, int polrocze)
{
    return otworzZbiorPolrocza(*TZuzycie, QStringLiteral("Zuz%1%2.db").arg(rok).arg(polrocze),
                               QStringLiteral("Zuzycie.DB"), false);
}

bool TDM::OtworzZbiorZuzyciaKotlow(int rok, int polrocze)
{
    return otworzZbiorPolrocza(*TZuzycieKotla, QStringLiteral("ZuzKot%1%2.db").arg(rok).arg(polrocze),
                               QStringLiteral("ZuzKotla.db"), true);
}

bool TDM::ustawZbiorPolrocza(bool kotly)
{
    m_przyczynaBleduZbioru.clear();
    try {
        if (TOkres->IsEmpty())
            return false;
        if (edytowana(TOkres)) {
            // A refused period is reported with the rule's message; the
            // callers then add their own.
            try {
                TOkres->Post();
            } catch (...) {
                zglosOdmoweZapisu(std::current_exception());
                return false;
            }
        }
        if (edytowana(TOkres))
            return false;
        const int rok = TOkresRok->AsInteger();
        const int polrocze = TOkresPolrocze->AsInteger();
        return kotly ? OtworzZbiorZuzyciaKotlow(rok, polrocze) : OtworzZbiorZuzycia(rok, polrocze);
    } catch (...) {
        return false;
    }
}

bool TDM::UstawZbiorZuzycia()
{
    return ustawZbiorPolrocza(false);
}

bool TDM::UstawZbiorZuzyciaKotlow()
{
    return ustawZbiorPolrocza(true);
}

