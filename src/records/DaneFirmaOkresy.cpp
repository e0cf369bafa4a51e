// Companies and periods: the order in which their rows may change, the
// period rules, the guards against deleting them; the statement rows of a
// period (annex 1, tables C and D, the rates of C and D) with the rate
// carry-over and their calculated totals.

#include "Dane.h"
#include "DaneWspolne.h"

#include "Funkcje.h"
#include "platform/core/Dialogs.h"

using namespace dane;

// ============================================================ company and period rules

namespace {

// The order checks before a row is inserted or edited; true when the row is
// a statement row (it has passed the checks of step 3).
bool sprawdzKolejnosc(const TDM& dm, const kal::TDataSet& DataSet)
{
    // 1. A pending company change blocks the others; a pending period blocks the company.
    if (&DataSet == dm.TFirma) {
        if (edytowana(dm.TOkres))
            throw kal::Exception(QStringLiteral("Zapisz dane o okresch !!!"));
    } else if (edytowana(dm.TFirma)) {
        throw kal::Exception(QStringLiteral("Najperw zapisz dane firmy !!!"));
    }
    // 2. A period needs a company.
    if (&DataSet == dm.TOkres) {
        if (dm.TFirma->IsEmpty())
            throw kal::Exception(QStringLiteral("Brak danych firmy !!!"));
        return false;
    }
    // 3. A statement row needs a saved period.
    if (&DataSet == dm.TZalacznik1 || &DataSet == dm.TTabelaD || &DataSet == dm.TTabelaC ||
        &DataSet == dm.TStawkiTabC || &DataSet == dm.TStawkiTabD) {
        if (dm.TOkres->IsEmpty())
            throw kal::Exception(QStringLiteral("Brak wprowadzonych okresów dla firmy !!!"));
        if (edytowana(dm.TOkres))
            throw kal::Exception(QStringLiteral("Zapisz dane o okresch !!!"));
        return true;
    }
    return false;
}

} // namespace

void TDM::TOkresBeforeInsert(kal::TDataSet& DataSet)
{
    if (!sprawdzKolejnosc(*this, DataSet))
        return;
    if (&DataSet == TStawkiTabC)
        ZapamietajStawkiTabC();
    else if (&DataSet == TStawkiTabD)
        ZapamietajStawkiTabD();
}

void TDM::TOkresBeforeEdit(kal::TDataSet& DataSet)
{
    if (sprawdzKolejnosc(*this, DataSet))
        return;
    // 4. The fuel row remembers its date and vehicle for the odometer step after the post.
    if (&DataSet == TZuzycie) {
        ZapamietanaDataTankowania = DataKalendarzowa();
        if (!TZuzycieDataTankowania->IsNull())
            ZapamietanaDataTankowania = TZuzycieDataTankowania->AsDateTime();
        ZapamietanyPojazd = TZuzycieIdentyfikatorPojazdu->AsInteger();
    }
}

void TDM::TOkresBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    sprawdzWymogi({
        {TOkresRok, BezWartosci, "Musisz wprowadzić rok okresu !!!"},
        {TOkresRok, PozaZakresem(2000, 2020), "Wprowadzono niewłaściwy rok obliczeniowy !!!"},
        {TOkresKwartal, PozaZakresem(1, 4), "Wprowadzono niewłaściwy kwartał obliczeniowy !!!"},
        {TOkresPolrocze, BezWartosci, "Musisz wprowadzić półrocze obliczeniowe !!!"},
        {TOkresPolrocze, PozaZakresem(1, 2), "Wprowadzono niewłaściwe półrocze !!!"},
    });
}

void TDM::TOkresCalcFields(kal::TDataSet& DataSet)
{
    (void)DataSet;
    TOkresNazwaKwartalu->setAsString(NumerRzymski(TOkresKwartal->IsNull() ? 0 : TOkresKwartal->AsInteger()));
}

void TDM::TFirmaBeforeDelete(kal::TDataSet& DataSet)
{
    if (&DataSet == TFirma)
        throw kal::Exception(QStringLiteral("Nie można kasować danych firmy !!!"));
    if (&DataSet == TOkres)
        throw kal::Exception(QStringLiteral("Nie można kasować okresu danych !!!"));
    if (&DataSet == TMiejsceUz)
        throw kal::Exception(QStringLiteral("Nie można kasować miejsc użytkowania !!!"));
    if (&DataSet == TMiejscTank)
        throw kal::Exception(QStringLiteral("Nie można kasować miejsc tankowania !!!"));
}

// ============================================================ period rows and rate carry-over

namespace {

// Copies the value fields of the last rate row (highest period id, any company)
// into `bufor`, with the master link cut meanwhile; the guard gives the link
// back on every path, also when cutting it or the refresh raises.
void zapamietajStawki(kal::TTable& tabela, const std::vector<kal::TField*>& pola, double* bufor)
{
    kal::TMasterLinkGuard bezOkresu(tabela);
    if (tabela.IsEmpty())
        return;
    tabela.Last();
    for (size_t i = 0; i < pola.size(); ++i)
        bufor[i] = pola[i]->AsFloat();
}

} // namespace

std::vector<kal::TField*> TDM::polaWartosci(const kal::TTable* tabela) const
{
    QStringList nazwy;
    if (tabela == TTabelaD || tabela == TStawkiTabD)
        nazwy = Schemat::KolumnyTabeliD() + QStringList{QStringLiteral("Rezerwa1"), QStringLiteral("Rezerwa2"),
                                                       QStringLiteral("Rezerwa3"), QStringLiteral("Rezerwa4"),
                                                       QStringLiteral("Rezerwa5")};
    else if (tabela == TTabelaC || tabela == TStawkiTabC)
        nazwy = Schemat::PolaIlosciTabeliC();
    else if (tabela == TZalacznik1)
        nazwy = Schemat::PolaZalacznika1();
    std::vector<kal::TField*> pola;
    for (const QString& n : nazwy)
        pola.push_back(tabela->FieldByName(n));
    return pola;
}

void TDM::ZapamietajStawkiTabC()
{
    zapamietajStawki(*TStawkiTabC, m_wartosciStawekC, ZapamietaneStawkiC);
}

void TDM::ZapamietajStawkiTabD()
{
    zapamietajStawki(*TStawkiTabD, m_wartosciStawekD, ZapamietaneStawkiD);
}

void TDM::TStawkiTabCAfterInsert(kal::TDataSet& DataSet)
{
    (void)DataSet;
    for (size_t i = 0; i < m_wartosciStawekC.size(); ++i)
        m_wartosciStawekC[i]->setAsFloat(ZapamietaneStawkiC[i]);
}

void TDM::TStawkiTabDAfterInsert(kal::TDataSet& DataSet)
{
    (void)DataSet;
    for (size_t i = 0; i < m_wartosciStawekD.size(); ++i)
        m_wartosciStawekD[i]->setAsFloat(ZapamietaneStawkiD[i]);
}

void TDM::TTabelaDAfterInsert(kal::TDataSet& DataSet)
{
    (void)DataSet;
    for (kal::TField* f : m_wartosciD)
        f->setAsFloat(0.0);
}

void TDM::TZalacznik1AfterInsert(kal::TDataSet& DataSet)
{
    (void)DataSet;
    for (kal::TField* f : m_wartosciZalacznika)
        f->setAsFloat(0.0);
}

void TDM::TTabelaDBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    for (kal::TField* f : m_wartosciD)
        ZerujGdyUjemna(*f, true);
}

void TDM::TStawkiTabCBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    for (kal::TField* f : m_wartosciStawekC)
        ZerujGdyUjemna(*f, true);
}

void TDM::TStawkiTabDBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    for (kal::TField* f : m_wartosciStawekD)
        ZerujGdyUjemna(*f, true);
}

bool TDM::DopiszWierszOkresu(kal::TDataSet& tabela, const QString& tekstBledu, const QString& tekstZapisu)
{
    const QString naglowek = QStringLiteral("Otwarcie załączników do półrocza.");
    // A change already pending in the table is posted, never dropped: when
    // its post is refused the user is told and the change stays as typed.
    if (edytowana(&tabela)) {
        QString powod;
        try {
            tabela.Post();
        } catch (const kal::EAbort&) {
            // the refusal has been reported by the post's own box
        } catch (const kal::Exception& e) {
            powod = e.message();
        } catch (...) {
        }
        if (edytowana(&tabela)) {
            kal::Dialogs().messageBox(powod.isEmpty() ? tekstZapisu
                                                      : tekstZapisu + QStringLiteral("\nSpecyfikacja błędu\n") + powod,
                                      naglowek, kal::MbOk, kal::MsgIcon::Stop);
            return false;
        }
    }
    if (tabela.IsEmpty()) {
        try {
            tabela.Insert();
            tabela.Post();
        } catch (const kal::Exception& e) {
            if (tabela.State() == kal::dsInsert)
                tabela.Cancel();
            // A silent abort (a refused post already reported) carries no text of its own.
            const bool cichy = dynamic_cast<const kal::EAbort*>(&e) != nullptr;
            kal::Dialogs().messageBox(cichy ? tekstBledu
                                            : tekstBledu + QStringLiteral("\nSpecyfikacja błędu\n") + e.message(),
                                      naglowek, kal::MbOk, kal::MsgIcon::Stop);
            return false;
        } catch (...) {
            if (tabela.State() == kal::dsInsert)
                tabela.Cancel();
            kal::Dialogs().messageBox(tekstBledu, naglowek, kal::MbOk, kal::MsgIcon::Stop);
            return false;
        }
    }
    if (tabela.State() == kal::dsInsert) {
        // The new row was not written (a handler kept it open): it holds
        // nothing typed, so it is dropped.
        tabela.Cancel();
        kal::Dialogs().messageBox(tekstZapisu, naglowek, kal::MbOk, kal::MsgIcon::Stop);
        return false;
    }
    return true;
}

bool TDM::OtworzZalacznikiPolrocza()
{
    return DopiszWierszOkresu(*TTabelaC, QStringLiteral("Nieznany błąd dopisu do tabeli C !!!"),
                              QStringLiteral("Nieudany zapis tabeli C !!!")) &&
           DopiszWierszOkresu(*TTabelaD, QStringLiteral("Nieznany błąd dopisu do tabeli D !!!"),
                              QStringLiteral("Nieudany zapis tabeli D !!!")) &&
           DopiszWierszOkresu(*TZalacznik1, QStringLiteral("Nieznany błąd dopisu do załącznika 1 !!!"),
                              QStringLiteral("Nieudany zapis załącznika 1 !!!")) &&
           DopiszWierszOkresu(*TStawkiTabC, QStringLiteral("Nieznany błąd dopisu do stawek tabeli C !!!"),
                              QStringLiteral("Nieudany zapis stawek tabeli C !!!")) &&
           DopiszWierszOkresu(*TStawkiTabD, QStringLiteral("Nieznany błąd dopisu do stawek tabeli D !!!"),
                              QStringLiteral("Nieudany zapis stawki tabeli D !!!"));
}

// ============================================================ calculated fields of the statements

void TDM::TZalacznik1CalcFields(kal::TDataSet& DataSet)
{
    (void)DataSet;
    auto suma = [](std::initializer_list<kal::TField*> pola) {
        double s = 0.0;
        for (kal::TField* p : pola)
            s += p->AsFloat();
        return Zaokraglij(s, 0);
    };
    TZalacznik1PI->setAsFloat(suma({TZalacznik1P11, TZalacznik1P12, TZalacznik1P13, TZalacznik1P14, TZalacznik1P15}));
    TZalacznik1PII->setAsFloat(suma({TZalacznik1P21, TZalacznik1P22, TZalacznik1P23}));
    TZalacznik1PIII->setAsFloat(suma({TZalacznik1P311, TZalacznik1P312, TZalacznik1P313, TZalacznik1P314,
                                       TZalacznik1P315, TZalacznik1P32, TZalacznik1P33, TZalacznik1P34,
                                       TZalacznik1P35, TZalacznik1Rezerwa1P316}));
    TZalacznik1PIV->setAsFloat(suma({TZalacznik1P41, TZalacznik1P42}));
    TZalacznik1POgolem->setAsFloat(
        suma({TZalacznik1PI, TZalacznik1PII, TZalacznik1PIII, TZalacznik1PIV}));
}

void TDM::TTabelaDCalcFields(kal::TDataSet& DataSet)
{
    (void)DataSet;
    double s = 0.0;
    for (const kal::TField* f : m_wartosciD)
        s += f->AsFloat();
    TTabelaDRazem->setAsFloat(Zaokraglij(s, 6));
}

