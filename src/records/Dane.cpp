// The data module itself: its components built from the table description,
// the handlers bound to their events, the lookups by name and the work table.
// The handlers live in the files of their table family:
//   DaneFirmaOkresy.cpp  company, periods, statement rows, rate carry-over;
//   DanePojazdy.cpp      vehicles, places of use, mileage, inspections;
//   DaneZuzycie.cpp      fuel use, refuelling places, densities, half-year files;
//   DaneKotly.cpp        boilers, their fuel use and table C;
//   DaneTabelaA.cpp      table A: communes, substances, sources, quantities;
//   DaneWspolne.cpp      what they share: post errors, buffers, typed values.

#include "Dane.h"

#include "Funkcje.h"
#include "platform/core/Dialogs.h"

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
            if (!p.etykieta.isEmpty())
                f->setDisplayLabel(p.etykieta);
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
