#include "Dane.h"

#include "Funkcje.h"
#include "platform/core/Dialogs.h"
#include "platform/core/DateText.h"

#include <QFileInfo>
#include <QHash>

#include <exception>

TDM* DM = nullptr;
std::function<QString(const QString&, const QString&)> TDM::NazwaTymczasowa;

namespace {

using HandlerZbioru = void (TDM::*)(kal::TDataSet&);
using HandlerUstawTekst = void (TDM::*)(kal::TField&, const QString&);
using HandlerPobierzTekst = void (TDM::*)(kal::TField&, QString&, bool);
using HandlerSprawdz = void (TDM::*)(kal::TField&);

template <typename H>
H znajdzHandler(const QHash<QString, H>& mapa, const QString& nazwa, const QString& gdzie)
{
    auto it = mapa.constFind(nazwa);
    if (it == mapa.constEnd())
        throw kal::Exception(QStringLiteral("Brak procedury obsługi %1 dla %2 !!!").arg(nazwa, gdzie));
    return *it;
}

// A name-to-member map over one of the module's name lists: the lambda
// gives each list its own instantiation and so its own map.
template <typename M, typename Wpisy>
const QHash<QString, M>& mapaNazw(Wpisy wpisy)
{
    static const QHash<QString, M> h = wpisy();
    return h;
}

#define KAL_WPIS(n) {QStringLiteral(#n), &TDM::n},
#define KAL_MAPA(M, LISTA) mapaNazw<M>([] { return QHash<QString, M>{LISTA(KAL_WPIS)}; })

using CzlonekTabeli = kal::TTable* TDM::*;
using CzlonekZrodla = kal::TDataSource* TDM::*;
using CzlonekPola = kal::TField* TDM::*;

const QHash<QString, HandlerZbioru>& handleryZbioru() { return KAL_MAPA(HandlerZbioru, KAL_TDM_ZDARZENIA_ZBIORU); }
const QHash<QString, HandlerUstawTekst>& handleryUstawTekst()
{
    return KAL_MAPA(HandlerUstawTekst, KAL_TDM_USTAW_TEKST);
}
const QHash<QString, HandlerPobierzTekst>& handleryPobierzTekst()
{
    return KAL_MAPA(HandlerPobierzTekst, KAL_TDM_POBIERZ_TEKST);
}
const QHash<QString, HandlerSprawdz>& handlerySprawdz() { return KAL_MAPA(HandlerSprawdz, KAL_TDM_SPRAWDZ); }
const QHash<QString, CzlonekTabeli>& czlonkowieTabel() { return KAL_MAPA(CzlonekTabeli, KAL_TDM_TABELE); }
const QHash<QString, CzlonekZrodla>& czlonkowieZrodel() { return KAL_MAPA(CzlonekZrodla, KAL_TDM_ZRODLA); }
const QHash<QString, CzlonekPola>& czlonkowiePol() { return KAL_MAPA(CzlonekPola, KAL_TDM_POLA); }

#undef KAL_MAPA
#undef KAL_WPIS

// The text of a refused post, by table (the post-error box).
QString tekstBleduZapisu(const QString& tabela)
{
    static const QHash<QString, QString> teksty = {
        {QStringLiteral("TFirma"), QStringLiteral("Dane firmy powtarzają się !!!")},
        {QStringLiteral("TOkres"), QStringLiteral("Dane okresu powtarzają się !!!")},
        {QStringLiteral("TPojazdy"), QStringLiteral("Dane pojazdu powtarzają się !!!")},
        {QStringLiteral("TTabelaC"), QStringLiteral("Nazwa gminy w tabeli C dla okresu powtarza się !!!")},
        {QStringLiteral("TMiejsceUz"), QStringLiteral("Nazwa miejsca użytkowania powtarza się !!!")},
        {QStringLiteral("TMiejscTank"), QStringLiteral("Nazwa miejsca tankowania powtarza się !!!")},
        {QStringLiteral("TPrzebieg"), QStringLiteral("Data przebiegu powtarza się !!!")},
        {QStringLiteral("TZuzycie"), QStringLiteral("Dane zużycia powtarzają się !!!")},
        {QStringLiteral("TZuzycieKotla"), QStringLiteral("Dane zużycia kotła powtarzają się !!!")},
        {QStringLiteral("TGminy"), QStringLiteral("Dane Gminy powtarzają się !!!")},
        {QStringLiteral("TSubsatncje"), QStringLiteral("Dane o substancji powtarzają się!!!")},
        {QStringLiteral("TTabelaAGmina"), QStringLiteral("Dane gminy do Tabeli A w okresie powtarzają się !!!")},
        {QStringLiteral("TTabelaAZrodla"), QStringLiteral("Zródło i surowiec w gminie powtarza się !!!")},
        {QStringLiteral("TTabelaASubstancje"), QStringLiteral("Dane substancji powtarzają się !!!")},
        {QStringLiteral("TTabelaAPaliwa"), QStringLiteral("Dane o paliwach powtarzają się !!!")},
        {QStringLiteral("TTabAPozWart"), QStringLiteral("Data wartości źródła powtarza się !!!")},
    };
    return teksty.value(tabela, QStringLiteral("Nieznany błąd danych !!!"));
}

bool edytowana(const kal::TTable* t)
{
    return t->State() == kal::dsEdit || t->State() == kal::dsInsert;
}

} // namespace

// ============================================================ construction

namespace {
quint64 g_ostatniNumerModulu = 0;
}

TDM::TDM() : Numer(++g_ostatniNumerModulu)
{
    if (!DM)
        DM = this;
    try {
        // 1. The components of the stored layout; the 25 file tables open.
        zbudujSkladniki();
        powiazZdarzenia();
        m_wartosciD = polaWartosci(TTabelaD);
        m_wartosciStawekD = polaWartosci(TStawkiTabD);
        m_wartosciStawekC = polaWartosci(TStawkiTabC);
        m_wartosciC = polaWartosci(TTabelaC);
        m_wartosciZalacznika = polaWartosci(TZalacznik1);
        for (const Schemat::Tabela& s : Schemat::Tabele())
            if (s.otwieranaPrzyTworzeniu)
                Tabela(s.komponent)->Open();

        // 2. The remembered fuel row.
        ZapamietanaDataTankowania = DataKalendarzowa();
        ZapamietanyPojazd = 0;
        DopisanoWierszZuzycia = false;

        // 3. Display formats.
        for (const Schemat::Tabela& s : Schemat::Tabele())
            for (const Schemat::Pole& p : s.pola)
                if (!p.formatPrzyTworzeniu.isEmpty())
                    Pole(p.komponent)->setDisplayFormat(p.formatPrzyTworzeniu);

        // 4. The carried-over rates.
        for (double& s : ZapamietaneStawkiC)
            s = 0.0;
        for (double& s : ZapamietaneStawkiD)
            s = 0.0;

        // 5. The window switches.
        TPojazdy->setTag(0);
        TTabelaC->setTag(0);
        TTabelaD->setTag(0);
    } catch (...) {
        zwolnijSkladniki();
        if (DM == this)
            DM = nullptr;
        throw;
    }

    // OnCreate. Its failure is shown and the module goes on without a work table.
    try {
        DataModuleCreate();
    } catch (const kal::EAbort&) {
    } catch (const kal::Exception& e) {
        kal::ShowErrorBox(e.message());
    } catch (const std::exception& e) {
        kal::ShowErrorBox(QString::fromUtf8(e.what()));
    }
}

TDM::~TDM()
{
    try {
        DataModuleDestroy();
    } catch (const kal::EAbort&) {
    } catch (const kal::Exception& e) {
        kal::ShowErrorBox(e.message());
    } catch (const std::exception& e) {
        kal::ShowErrorBox(QString::fromUtf8(e.what()));
    }
    zwolnijSkladniki();
    if (DM == this)
        DM = nullptr;
}

void TDM::zwolnijSkladniki()
{
    // Details close before their masters. A pending change is posted by the
    // close; one that cannot be posted is dropped, since the module ends.
    for (auto it = m_tabele.rbegin(); it != m_tabele.rend(); ++it) {
        kal::TTable& t = **it;
        try {
            t.Close();
        } catch (...) {
            try {
                t.Cancel();
                t.Close();
            } catch (...) {
            }
        }
    }
    // The links go before the data sources they follow, the data sources before their tables.
    for (auto& t : m_tabele)
        t->setMasterSource(nullptr);
    m_zrodla.clear();
    m_tabele.clear();
}

void TDM::zbudujSkladniki()
{
    const auto& tabele = czlonkowieTabel();
    const auto& zrodla = czlonkowieZrodel();
    const auto& pola = czlonkowiePol();
    auto niezgodne = [](const QString& nazwa) {
        return kal::Exception(QStringLiteral("Składnik %1 nie ma swojego pola w module danych !!!").arg(nazwa));
    };

    for (const Schemat::Tabela& s : Schemat::Tabele()) {
        auto it = tabele.constFind(s.komponent);
        if (it == tabele.constEnd())
            throw niezgodne(s.komponent);
        m_tabele.push_back(std::make_unique<kal::TTable>(s.komponent));
        this->*(*it) = m_tabele.back().get();
    }
    if (m_tabele.size() != size_t(tabele.size()))
        throw kal::Exception(QStringLiteral("Niezgodna lista tabel modułu danych !!!"));

    for (const Schemat::Tabela& s : Schemat::Tabele()) {
        if (s.zrodloDanych.isEmpty())
            continue;
        auto it = zrodla.constFind(s.zrodloDanych);
        if (it == zrodla.constEnd())
            throw niezgodne(s.zrodloDanych);
        m_zrodla.push_back(std::make_unique<kal::TDataSource>(Tabela(s.komponent), s.zrodloDanych));
        this->*(*it) = m_zrodla.back().get();
    }
    if (m_zrodla.size() != size_t(zrodla.size()))
        throw kal::Exception(QStringLiteral("Niezgodna lista źródeł danych modułu danych !!!"));

    int przypisane = 0;
    for (const Schemat::Tabela& s : Schemat::Tabele()) {
        kal::TTable* t = Tabela(s.komponent);
        t->setTableName(s.plik);
        t->setIndexFieldNames(s.polaIndeksu);
        if (s.komponent == QLatin1String("TRoboczy")) {
            // Field definitions only, made by the OnCreate handler.
            t->setExclusive(true);
            continue;
        }
        for (const Schemat::Pole& p : s.pola) {
            kal::TFieldKind rodzaj = p.rodzaj == Schemat::Rodzaj::Obliczane    ? kal::fkCalculated
                                     : p.rodzaj == Schemat::Rodzaj::Wyszukiwane ? kal::fkLookup
                                                                               : kal::fkData;
            kal::TField* f = t->AddField(p.nazwa, Schemat::TypPola(p.typ), p.rozmiar, rodzaj, p.komponent);
            f->setDisplayFormat(p.formatWyswietlania);
            f->setEditMask(p.maskaEdycji);
            if (p.szerokoscWyswietlania > 0)
                f->setDisplayWidth(p.szerokoscWyswietlania);
            f->setReadOnly(p.tylkoDoOdczytu);
            if (p.rodzaj == Schemat::Rodzaj::Wyszukiwane)
                f->setLookupDefinition(Tabela(p.tabelaWyszukiwania), p.poleKlucza, p.poleKluczaWyszukiwania,
                                       p.poleWyniku);
            auto it = pola.constFind(p.komponent);
            if (it == pola.constEnd())
                throw niezgodne(p.komponent);
            this->*(*it) = f;
            ++przypisane;
        }
        if (!s.zrodloNadrzedne.isEmpty()) {
            t->setMasterSource(Zrodlo(s.zrodloNadrzedne));
            t->setMasterFields(s.poleNadrzedne);
        }
    }
    if (przypisane != pola.size())
        throw kal::Exception(QStringLiteral("Niezgodna lista pól modułu danych !!!"));
}

void TDM::powiazZdarzenia()
{
    using Z = Schemat::Zdarzenie;
    for (const Schemat::Tabela& s : Schemat::Tabele()) {
        kal::TTable* t = Tabela(s.komponent);
        for (const Schemat::ObslugaZdarzenia& o : s.zdarzenia) {
            if (o.zdarzenie == Z::OnPostError) {
                if (o.handler != QLatin1String("TFirmaPostError"))
                    throw kal::Exception(QStringLiteral("Brak procedury obsługi %1 !!!").arg(o.handler));
                t->OnPostError = [this](kal::TTable& d, kal::EDatabaseError& e, kal::TDataAction& a) {
                    TFirmaPostError(d, e, a);
                };
                continue;
            }
            HandlerZbioru h = znajdzHandler(handleryZbioru(), o.handler, s.komponent);
            kal::TTable::TDataSetNotifyEvent f = [this, h](kal::TTable& d) { (this->*h)(d); };
            switch (o.zdarzenie) {
            case Z::BeforeInsert: t->BeforeInsert = f; break;
            case Z::AfterInsert: t->AfterInsert = f; break;
            case Z::BeforeEdit: t->BeforeEdit = f; break;
            case Z::AfterEdit: t->AfterEdit = f; break;
            case Z::BeforePost: t->BeforePost = f; break;
            case Z::AfterPost: t->AfterPost = f; break;
            case Z::AfterCancel: t->AfterCancel = f; break;
            case Z::BeforeDelete: t->BeforeDelete = f; break;
            case Z::AfterDelete: t->AfterDelete = f; break;
            case Z::OnCalcFields: t->OnCalcFields = f; break;
            case Z::OnPostError: break;
            }
        }
        for (const Schemat::Pole& p : s.pola) {
            if (p.komponent.isEmpty())
                continue;
            kal::TField* f = Pole(p.komponent);
            if (!p.onSetText.isEmpty()) {
                HandlerUstawTekst h = znajdzHandler(handleryUstawTekst(), p.onSetText, p.komponent);
                f->OnSetText = [this, h](kal::TField& pole, const QString& tekst) { (this->*h)(pole, tekst); };
            }
            if (!p.onGetText.isEmpty()) {
                HandlerPobierzTekst h = znajdzHandler(handleryPobierzTekst(), p.onGetText, p.komponent);
                f->OnGetText = [this, h](kal::TField& pole, QString& tekst, bool wyswietlany) {
                    (this->*h)(pole, tekst, wyswietlany);
                };
            }
            if (!p.onValidate.isEmpty()) {
                HandlerSprawdz h = znajdzHandler(handlerySprawdz(), p.onValidate, p.komponent);
                f->OnValidate = [this, h](kal::TField& pole) { (this->*h)(pole); };
            }
        }
    }
}

kal::TTable* TDM::Tabela(const QString& komponent) const
{
    auto it = czlonkowieTabel().constFind(komponent);
    return it == czlonkowieTabel().constEnd() ? nullptr : this->*(*it);
}

kal::TDataSource* TDM::Zrodlo(const QString& komponent) const
{
    auto it = czlonkowieZrodel().constFind(komponent);
    return it == czlonkowieZrodel().constEnd() ? nullptr : this->*(*it);
}

kal::TField* TDM::Pole(const QString& komponent) const
{
    auto it = czlonkowiePol().constFind(komponent);
    return it == czlonkowiePol().constEnd() ? nullptr : this->*(*it);
}

// ============================================================ the work table

void TDM::DataModuleCreate()
{
    const QString nazwa = NazwaTymczasowa ? NazwaTymczasowa(Schemat::PrefiksRoboczej, Schemat::RozszerzenieRoboczej)
                                          : NazwaZbioruTymczasowego(Schemat::PrefiksRoboczej,
                                                                    Schemat::RozszerzenieRoboczej);
    TRoboczy->setTableName(nazwa);
    if (TRoboczy->TableName().isEmpty()) {
        kal::Dialogs().messageBox(QStringLiteral("Bład generowania tablicy tymczasowej !!!"), QString(), kal::MbOk,
                                  kal::MsgIcon::Stop);
        return;
    }
    const Schemat::Tabela* s = Schemat::ZnajdzTabele(QStringLiteral("TRoboczy"));
    TRoboczy->FieldDefs().Clear();
    for (const Schemat::Pole& p : s->pola)
        TRoboczy->FieldDefs().Add(p.nazwa, Schemat::TypPola(p.typ), p.rozmiar, false);
    TRoboczy->IndexDefs().Clear();
    for (const Schemat::Indeks& i : s->indeksy)
        TRoboczy->IndexDefs().Add(i.nazwa, i.pola, (i.glowny ? kal::ixPrimary : 0u) | (i.unikalny ? kal::ixUnique : 0u));
    TRoboczy->CreateTable();
    TRoboczy->Open();
}

void TDM::DataModuleDestroy()
{
    if (TRoboczy->TableName().isEmpty())
        return;
    TRoboczy->Close();
    TRoboczy->DeleteTable();
}

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
    if (TOkresRok->IsNull())
        throw kal::Exception(QStringLiteral("Musisz wprowadzić rok okresu !!!"));
    const int rok = TOkresRok->AsInteger();
    if (rok < 2000 || rok > 2020)
        throw kal::Exception(QStringLiteral("Wprowadzono niewłaściwy rok obliczeniowy !!!"));
    if (!TOkresKwartal->IsNull()) {
        const int kwartal = TOkresKwartal->AsInteger();
        if (kwartal < 1 || kwartal > 4)
            throw kal::Exception(QStringLiteral("Wprowadzono niewłaściwy kwartał obliczeniowy !!!"));
    }
    if (TOkresPolrocze->IsNull())
        throw kal::Exception(QStringLiteral("Musisz wprowadzić półrocze obliczeniowe !!!"));
    const int polrocze = TOkresPolrocze->AsInteger();
    if (polrocze < 1 || polrocze > 2)
        throw kal::Exception(QStringLiteral("Wprowadzono niewłaściwe półrocze !!!"));
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

void TDM::AAANieWolno(kal::TDataSet& DataSet)
{
    const QString tekst = &DataSet == TKotly ? QStringLiteral("Nie wolno kasować kotłów !!!")
                                             : QStringLiteral("Nie wolno kasować tych danych !!!");
    kal::Dialogs().messageBox(tekst, QStringLiteral("Kontrola kasowania danych."), kal::MbOk, kal::MsgIcon::Stop);
    kal::Abort();
}

void TDM::TFirmaPostError(kal::TDataSet& DataSet, kal::EDatabaseError& E, kal::TDataAction& Action)
{
    Action = kal::daAbort;
    kal::Dialogs().messageBox(tekstBleduZapisu(DataSet.Name()) + QStringLiteral("\nDokładna specyfikacja błędu:\n") +
                                  E.message(),
                              QStringLiteral("Błąd komponentu: ") + DataSet.Name(), kal::MbOk, kal::MsgIcon::Stop);
}

void TDM::AAAZrzucBufory(kal::TDataSet& DataSet)
{
    DataSet.FlushBuffers();
}

void TDM::TFirmaAfterDelete(kal::TDataSet& DataSet)
{
    DataSet.FlushBuffers();
}

void TDM::TFirmaAfterPost(kal::TDataSet& DataSet)
{
    DataSet.FlushBuffers();
    if (&DataSet == TPojazdy) {
        if (OknoPojazdow)
            OknoPojazdow->WlaczWyszukiwanie(true);
        if (DodajPojazdDoIndeksu)
            DodajPojazdDoIndeksu();
    } else if (&DataSet == TZuzycie) {
        AktualizujPrzebiegZTankowania();
    }
}

// ============================================================ period rows and rate carry-over

void TDM::ZerujGdyUjemna(kal::TField& pole, bool pustyToZero)
{
    if (pustyToZero && pole.IsNull()) {
        pole.setAsFloat(0.0);
        return;
    }
    const double x = PoleNaLiczbe(&pole);
    if (!(x > 0.0))
        pole.setAsFloat(0.0);
}

void TDM::ZerujGdyUjemnaCalk(kal::TField& pole, bool pustyToZero)
{
    if (pustyToZero && pole.IsNull()) {
        pole.setAsInteger(0);
        return;
    }
    if (pole.AsInteger() < 1)
        pole.setAsInteger(0);
}

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

} // namespace

bool TDM::otworzZbiorPolrocza(kal::TTable& tabela, const QString& plik, const QString& szablon, bool komunikat)
{
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
        if (!istnieje) {
            // The component's current file (the template, or the last half-year)
            // lends its structure to the new one.
            if (!tabela.Active())
                tabela.Open();
            tabela.Close();
            tabela.setTableName(plik);
            tabela.CreateTable();
            tabela.Open();
        } else {
            tabela.Close();
            tabela.setTableName(plik);
            tabela.Open();
        }
        return true;
    } catch (const kal::Exception&) {
        if (komunikat)
            kal::Dialogs().messageBox(QStringLiteral("Błąd generowania zbioru: ") + plik, QString(), kal::MbOk,
                                      kal::MsgIcon::Stop);
        // Nothing is pending here (posted above), so the close cannot raise on a change.
        if (tabela.Active())
            tabela.Close();
        tabela.setTableName(szablon);
        tabela.Open();
        return false;
    }
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

// ============================================================ typed values of the fee tables

void TDM::przeliczDla(const kal::TField& pole)
{
    const kal::TTable* t = pole.DataSet();
    if ((t == TTabelaC || t == TStawkiTabC) && PrzeliczTabeleC)
        PrzeliczTabeleC();
    else if ((t == TTabelaD || t == TStawkiTabD) && PrzeliczTabeleD)
        PrzeliczTabeleD();
}

void TDM::UstalNieujemna(kal::TField& Sender, const QString& Text)
{
    double x = TekstNaLiczbe(Text);
    if (!(x >= 0.0))
        x = 0.0;
    Sender.setAsFloat(x);
    przeliczDla(Sender);
}

void TDM::UstalNieujemnaCalk(kal::TField& Sender, const QString& Text)
{
    // A count is a 16-bit field: a larger number is refused, never wrapped.
    qint64 n = 0;
    if (!Text.isEmpty()) {
        bool ok = false;
        n = Text.toLongLong(&ok);
        if (!ok)
            throw kal::EConvertError(QStringLiteral("'%1' nie jest poprawną liczbą całkowitą.").arg(Text));
        if (n > 32767)
            throw kal::EConvertError(
                QStringLiteral("'%1' przekracza największą dozwoloną wartość 32767.").arg(Text));
    }
    if (n < 0)
        n = 0;
    Sender.setAsInteger(int(n));
    przeliczDla(Sender);
}

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

// ============================================================ vehicles, fuel, places, mileage, inspections

namespace {

// The zero tolerance of amounts.
constexpr double kProgZera = 1e-07;

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
    if (TPojazdyNrRejestracyjny->AsString().trimmed().isEmpty())
        throw kal::Exception(QStringLiteral("Numer rejestracyjny pojazdu musi być wprowadzony !!!"));
    ZerujGdyUjemna(*TPojazdyLadownosc, true);
    ZerujGdyUjemnaCalk(*TPojazdyIloscMiejsc, true);
    ZerujGdyUjemnaCalk(*TPojazdyPojemnoscSilnika, true);
    ZerujGdyUjemnaCalk(*TPojazdyRokProdukcji, true);
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
    if (TZuzycieIdentyfikatorPojazdu->IsNull())
        throw kal::Exception(QStringLiteral("Musisz wybrać pojazd !!!"));
    KontrolaDatyTankowania();
    const QString paliwo = TZuzycieRodzajPaliwa->AsString();
    if (paliwo.isEmpty())
        throw kal::Exception(QStringLiteral("Musisz wybrać rodzaj paliwa !!!"));
    if (!paliwoPojazdu(paliwo))
        throw kal::Exception(QStringLiteral("Rodzaj paliwa jest niewłaściwy !!!"));

    TZuzycieRodzajPojazdu->Clear();
    const int id = TZuzycieIdentyfikatorPojazdu->AsInteger();
    const QString rodzaj = znajdzPojazd(id) ? TPojazdyRodzajPojazdu->AsString() : QString();
    if (rodzaj.isEmpty())
        throw kal::Exception(QStringLiteral("Niewłaściwe dane wybranego pojazdu !!!"));
    TZuzycieRodzajPojazdu->setAsString(rodzaj);

    ZerujGdyUjemna(*TZuzycieIloscPaliwa, true);
    ZerujGdyUjemna(*TZuzycieCenaPaliwa, true);
    if (TZuzycieIloscPaliwa->AsFloat() < kProgZera)
        throw kal::Exception(QStringLiteral("Ilość paliwa musi być większa od zera !!!"));
}

namespace {

void kontrolaDatyOkresu(const kal::TField* data, const kal::TField* rok, const kal::TField* polrocze,
                        const QString& zlaData, const QString& prefiksRoku)
{
    const QString tekst = data->AsString();
    if (!CzyPoprawnaData(tekst))
        throw kal::Exception(zlaData);
    const QDate d = data->AsDateTime();
    if (d.year() != rok->AsInteger())
        throw kal::Exception(prefiksRoku + rok->AsString() + QStringLiteral(" roku."));
    if (polrocze->AsInteger() == 1) {
        if (d.month() > 6)
            throw kal::Exception(QStringLiteral("Pierwsze pólrocze dotyczy miesięcy od stycznia do czerwca !!!"));
    } else if (d.month() < 7) {
        throw kal::Exception(QStringLiteral("Drugie półrocze dotyczy miesięcy od lipca do grudnia !!!"));
    }
}

} // namespace

void TDM::KontrolaDatyTankowania()
{
    kontrolaDatyOkresu(TZuzycieDataTankowania, TOkresRok, TOkresPolrocze,
                       QStringLiteral("Data tankowania musi być dobrze określona !!!"),
                       QStringLiteral("Data tankowania musi dotyczyć roku: "));
}

void TDM::KontrolaDatyZuzyciaKotla()
{
    kontrolaDatyOkresu(TZuzycieKotlaDataZuzycia, TOkresRok, TOkresPolrocze,
                       QStringLiteral("Data zużycia kotła musi być dobrze określona !!!"),
                       QStringLiteral("Data zużycia kotła musi dotyczyć roku: "));
}

namespace {

// Typed date text: a valid date is stored. An empty text clears a field that
// may stay empty. Any other text is refused with the field's message and the
// date stored before stays: a typing slip never erases a date.
enum class PustaData { Czysci, Odmowa };
void wpiszDate(kal::TField& pole, const QString& tekst, const QString& komunikat,
               PustaData pusta = PustaData::Odmowa)
{
    if (CzyPoprawnaData(tekst)) {
        pole.setAsString(tekst.trimmed());
        return;
    }
    if (pusta == PustaData::Czysci && tekst.trimmed().isEmpty()) {
        pole.Clear();
        return;
    }
    throw kal::Exception(komunikat);
}

} // namespace

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

void TDM::TZuzycieDataTankowaniaSetText(kal::TField& Sender, const QString& Text)
{
    wpiszDate(Sender, Text, QStringLiteral("Data tankowania musi być dobrze określona !!!"));
    KontrolaDatyTankowania();
}

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
    if (PoleNaLiczbe(TTabelaGestGestosc) < kProgZera)
        throw kal::Exception(QStringLiteral("Gęstość paliwa jest wielokością większą od zera !!!"));
}

void TDM::TMiejsceUzBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (TMiejsceUzNazwa->AsString().isEmpty())
        throw kal::Exception(QStringLiteral("Nazwa miejsca użytkowania nie może być pusta !!!"));
}

void TDM::TMiejscTankBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (TMiejscTankNazwa->AsString().isEmpty())
        throw kal::Exception(QStringLiteral("Nazwa miejsca tankowania nie może być pusta !!!"));
}

void TDM::TPrzebiegBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (TPrzebiegData->IsNull())
        throw kal::Exception(QStringLiteral("Data przebiegu musi być dobrze określona !!!"));
}

void TDM::TPrzeglBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (TPrzeglData->IsNull())
        throw kal::Exception(QStringLiteral("Data przeglądu/naprawy musi być dobrze określona !!!"));
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
        const QString staraData =
            ZapamietanaDataTankowania.Poprawna() ? kal::DateToText(ZapamietanaDataTankowania.NaTDateTime()) : QString();
        const bool staryJest = znajdz(ZapamietanyPojazd, staraData);
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

// ============================================================ boilers

namespace {

struct RodzajKotla {
    int kod;
    const char* tekst;
    const char* pole; // position of table C
    int paliwo;       // fuel index of the density; 100: the quantity as entered
};

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
    if (TKotlyOpisKotla->AsString().isEmpty())
        throw kal::Exception(QStringLiteral("Musisz wprowadzić opis kotła !!!"));
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
    if (PoleNaLiczbe(TZuzycieKotlaIlosc) < 0.001)
        throw kal::Exception(QStringLiteral("Ilość zużycia kotła musi być większa od zera !!!"));
    if (TZuzycieKotlaIdentyfikatorKotla->IsNull())
        throw kal::Exception(QStringLiteral("Musisz wybrać kotły do zużycia !!!"));
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
    pole.setAsFloat(Zaokraglij(suma, 2));
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

// ============================================================ table A

namespace {

bool pusty(const kal::TField* pole)
{
    return pole->AsString().isEmpty();
}

} // namespace

void TDM::KontrolaWierszaTabA(kal::TDataSet& tabela)
{
    const QString substancje = QStringLiteral("Najpierw zapisz dane o substancjach !!!");
    const QString paliwa = QStringLiteral("Najpierw zapisz dane o paliwach !!!");
    const QString zrodla = QStringLiteral("Najpierw zapisz dane o źródłach !!!");
    const QString brakZrodla = QStringLiteral("Najpierw załóż źródło !!!");
    if (&tabela == TTabelaAZrodla) {
        if (edytowana(TTabelaASubstancje))
            throw kal::Exception(substancje);
        if (edytowana(TTabelaAPaliwa))
            throw kal::Exception(paliwa);
    } else if (&tabela == TTabelaASubstancje) {
        if (edytowana(TTabelaAZrodla))
            throw kal::Exception(zrodla);
        if (TTabelaAZrodla->IsEmpty())
            throw kal::Exception(brakZrodla);
        if (edytowana(TTabelaAPaliwa))
            throw kal::Exception(paliwa);
    } else if (&tabela == TTabelaAPaliwa) {
        if (edytowana(TTabelaAZrodla))
            throw kal::Exception(zrodla);
        if (TTabelaAZrodla->IsEmpty())
            throw kal::Exception(brakZrodla);
        if (edytowana(TTabelaASubstancje))
            throw kal::Exception(substancje);
    }
}

void TDM::PrzedDopisemWierszTabA(kal::TDataSet& DataSet)
{
    KontrolaWierszaTabA(DataSet);
}

void TDM::PrzedEdycjaWierszaTabA(kal::TDataSet& DataSet)
{
    KontrolaWierszaTabA(DataSet);
}

void TDM::PrzedKasowaniemWierszaTabA(kal::TDataSet& DataSet)
{
    KontrolaWierszaTabA(DataSet);
}

void TDM::TGminyBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (pusty(TGminyNazwaGminy))
        throw kal::Exception(QStringLiteral("Nazwa gminy nie może być pusta !!!"));
}

void TDM::TSubsatncjeBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (pusty(TSubsatncjeNazwaSubstancji))
        throw kal::Exception(QStringLiteral("Nazwa substancji nie może być pusta !!!"));
    if (pusty(TSubsatncjeKodSubstancji))
        throw kal::Exception(QStringLiteral("Musisz wprowadzić kod substancji !!!"));
    if (pusty(TSubsatncjeJednostkowaStawka))
        throw kal::Exception(QStringLiteral("Jednostkowa stawka opłaty jest obowiązkowa !!!"));
    if (TSubsatncjeJednostkowaStawka->AsFloat() < 0.0001)
        throw kal::Exception(QStringLiteral("Jednostkowa stawka opłaty musi być dodatnia !!!"));
}

void TDM::TZrodlaTerminObowiazywaniaSetText(kal::TField& Sender, const QString& Text)
{
    wpiszDate(Sender, Text, QStringLiteral("Termin obowiązywania musi być dobrze określony !!!"));
}

void TDM::TZrodlaBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (pusty(TZrodlaRodzajInstalacji))
        throw kal::Exception(QStringLiteral("Rodzaj instalacji/działalności musi być wypełniony !!!"));
    if (pusty(TZrodlaPozwoleniezData))
        throw kal::Exception(QStringLiteral("Nr, data wydania oraz organ wydający pozwolenie są obowiązkowe !!!"));
    if (pusty(TZrodlaTerminObowiazywania))
        throw kal::Exception(QStringLiteral("Termin obowiązywania jest obowiązkowy !!!"));
}

void TDM::TTabelaAGminaBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (pusty(TTabelaAGminaIdentyfikatorGminy))
        throw kal::Exception(QStringLiteral("Musisz wybrać gminę !!!"));
    if (pusty(TTabelaAGminaPowiat))
        throw kal::Exception(QStringLiteral("Powiat musi być wprowadzony !!!"));
}

void TDM::TTabelaAZrodlaBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (pusty(TTabelaAZrodlaIdentyfikatorZrodla))
        throw kal::Exception(QStringLiteral("Musisz wybrać źródło !!!"));
    if (pusty(TTabelaAZrodlaNazwaSurowcow))
        throw kal::Exception(QStringLiteral("Musisz podać nazwę surowców lub materiałów !!!"));
    if (pusty(TTabelaAZrodlaIlosc))
        throw kal::Exception(QStringLiteral("Ilość zużytych surowców lub materiałów musi być określona !!!"));
    if (TTabelaAZrodlaIlosc->AsFloat() < 0.0001)
        throw kal::Exception(QStringLiteral("Ilość zużytych surowców lub materiałów musi być dodatnia !!!"));
}

void TDM::TTabelaASubstancjeBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (pusty(TTabelaASubstancjeIdentyfikatorSubstancji))
        throw kal::Exception(QStringLiteral("Musisz wybrać substancję !!!"));
    if (pusty(TTabelaASubstancjeWskaznikEmisji))
        throw kal::Exception(QStringLiteral("Wskażnik emisji jest obowiązkowy !!!"));
    if (pusty(TTabelaASubstancjeJednostkowaStawka))
        throw kal::Exception(QStringLiteral("Jednostkowa stawka opłaty jest obowiązkowa !!!"));
}

void TDM::TTabelaASubstancjeCalcFields(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (pusty(TTabelaASubstancjeWskaznikEmisji) || pusty(TTabelaASubstancjeJednostkowaStawka))
        return;
    const double emisja =
        Zaokraglij(TTabelaAZrodlaIlosc->AsFloat() * TTabelaASubstancjeWskaznikEmisji->AsFloat(), 2);
    TTabelaASubstancjeWielkoscEmisji->setAsFloat(emisja);
    TTabelaASubstancjeWysokoscOpaty->setAsFloat(
        Zaokraglij(TTabelaASubstancjeJednostkowaStawka->AsFloat() * emisja, 2));
}

void TDM::TTabelaAPaliwaBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (pusty(TTabelaAPaliwaRodzajPaliwa))
        throw kal::Exception(QStringLiteral("Musisz wpisać rodzaj paliwa !!!"));
    if (pusty(TTabelaAPaliwaZuzycie))
        throw kal::Exception(QStringLiteral("Zużycie paliwa jest obowiązkowe !!!"));
}

namespace {

void kontrolaDatyPozycji(const kal::TField* data, const kal::TField* rok, const kal::TField* polrocze)
{
    const QDate d = data->AsDateTime();
    if (d.year() != rok->AsInteger())
        throw kal::Exception(QStringLiteral("Data ilości źródła musi dotyczyć roku: ") + rok->AsString() +
                             QStringLiteral(" roku."));
    if (polrocze->AsInteger() == 1) {
        if (d.month() > 6)
            throw kal::Exception(QStringLiteral("Pierwsze pólrocze dotyczy miesięcy od stycznia do czerwca !!!"));
    } else if (d.month() < 7) {
        throw kal::Exception(QStringLiteral("Drugie półrocze dotyczy miesięcy od lipca do grudnia !!!"));
    }
}

} // namespace

void TDM::TTabAPozWartAfterInsert(kal::TDataSet& DataSet)
{
    (void)DataSet;
    TTabAPozWartProcent->setAsFloat(100.0);
    TTabAPozWartGestosc->setAsFloat(1.0);
}

void TDM::TTabAPozWartDataSetText(kal::TField& Sender, const QString& Text)
{
    wpiszDate(Sender, Text, QStringLiteral("Data ilości źródła musi być dobrze określona !!!"));
    kontrolaDatyPozycji(TTabAPozWartData, TOkresRok, TOkresPolrocze);
}

void TDM::TTabAPozWartBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (TTabAPozWartData->IsNull())
        throw kal::Exception(QStringLiteral("Data ilości źródła musi być dobrze określona !!!"));
    kontrolaDatyPozycji(TTabAPozWartData, TOkresRok, TOkresPolrocze);
    if (TTabAPozWartProcent->IsNull())
        TTabAPozWartProcent->setAsFloat(100.0);
    if (TTabAPozWartGestosc->IsNull())
        TTabAPozWartGestosc->setAsFloat(1.0);
    if (TTabAPozWartIlosc->IsNull())
        TTabAPozWartIlosc->setAsFloat(0.0);
    if (TTabAPozWartIlosc->AsFloat() < 0.001)
        throw kal::Exception(QStringLiteral("Ilość musi być dodatnia !!!"));
    if (TTabAPozWartProcent->AsFloat() < 0.001)
        throw kal::Exception(QStringLiteral("Procent musi być dodatni !!!"));
    if (TTabAPozWartGestosc->AsFloat() < 0.001)
        throw kal::Exception(QStringLiteral("Gęstość musi być dodatnia !!!"));
}

void TDM::TTabAPozWartCalcFields(kal::TDataSet& DataSet)
{
    (void)DataSet;
    TTabAPozWartIloscKoncowa->setAsFloat(0.0);
    if (TTabAPozWartProcent->IsNull() || TTabAPozWartGestosc->IsNull() || TTabAPozWartIlosc->IsNull())
        return;
    TTabAPozWartIloscKoncowa->setAsFloat(Zaokraglij(
        TTabAPozWartIlosc->AsFloat() * TTabAPozWartProcent->AsFloat() * 0.01 * TTabAPozWartGestosc->AsFloat(), 4));
}
