#include "ImportFlotyLogika.h"

#include "Dane.h"
#include "Funkcje.h"

#include "platform/core/Dialogs.h"
#include "platform/core/Exceptions.h"
#include "platform/db/WriteGroup.h"
#include "platform/workbook/Workbook.h"

#include <QDir>
#include <QFileInfo>

#include <iterator>

std::function<int(const QString& nrRejestracyjny)> ZnajdzIdentyfikatorPojazdu;

namespace {

const QString kNazwaDomyslna = QStringLiteral("Orlen.xls");

bool wEdycji(const kal::TTable* t)
{
    return t->State() == kal::dsEdit || t->State() == kal::dsInsert;
}

// The key under which PorownajBezSpacji finds a number equal.
QString kluczNumeru(const QString& nr)
{
    return UsunSpacje(nr.toUpper());
}

// Column checks in the order they are made, with their messages.
struct KolumnaKonfiguracji {
    kal::TField* TDM::*pole;
    const char* komunikat;
};
const KolumnaKonfiguracji kKolumny[] = {
    {&TDM::TPolaExcelNumerRejestracyjny, "Brak numeru rejestracyjnego w arkuszu FLOTY !!!"},
    {&TDM::TPolaExcelRodzajPojazdu, "Brak rodzaju pojazdu w arkuszu FLOTY !!!"},
    {&TDM::TPolaExcelNumerFaktury, "Brak numeru faktury w arkuszu FLOTY !!!"},
    {&TDM::TPolaExcelDataRealizacji, "Brak daty tankowania w arkuszu FLOTY !!!"},
    {&TDM::TPolaExcelIloscLitrow, "Brak ilości litrów w arkuszu FLOTY !!!"},
    {&TDM::TPolaExcelCena, "Brak ceny paliwa w arkuszu FLOTY !!!"},
    {&TDM::TPolaExcelGrupaProduktu, "Brak grupy produktu w arkuszu FLOTY !!!"},
};

} // namespace

QString NazwaArkuszaFloty()
{
    return QStringLiteral("EXP_ZESTAW_TRANS_FLOTY_OKROJONY$");
}

QString KomunikatNiepelnegoArkusza(const QString& plik, const kal::Sheet& arkusz)
{
    const int wiersze = arkusz.declaredRowCount();
    return QStringLiteral("Plik \"%1\" jest uszkodzony lub niepełny: z %2 %3 arkusza FLOTY odczytano w całości %4.\n"
                          "Import z tego pliku nie jest możliwy; pobierz plik FLOTY ponownie !!!")
        .arg(QDir::toNativeSeparators(plik))
        .arg(wiersze)
        .arg(wiersze == 1 ? QStringLiteral("wiersza") : QStringLiteral("wierszy"))
        .arg(arkusz.wholeRowCount());
}

QString DomyslnySzablonPolaczenia()
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=Orlen.xls;Extended Properties=Excel 8.0;"
                          "Persist Security Info=False");
}

TImportFlotyLogika::TImportFlotyLogika() : SzablonPolaczenia(DomyslnySzablonPolaczenia()) {}

TImportFlotyLogika::~TImportFlotyLogika() = default;

// ============================================================ the workbook

bool TImportFlotyLogika::Otworz(const QString& sciezka)
{
    Zamknij();
    const qsizetype p = SzablonPolaczenia.indexOf(kNazwaDomyslna);
    if (p < 0) {
        kal::Dialogs().messageBox(QStringLiteral("Błąd nazwy połączenia !!!"),
                                  QStringLiteral("Kontrola połączenia FLOTA."), kal::MbOk, kal::MsgIcon::Stop);
        return false;
    }
    const QString pelna = QFileInfo(sciezka).absoluteFilePath();
    m_polaczenie = SzablonPolaczenia;
    m_polaczenie.replace(p, kNazwaDomyslna.size(), pelna);
    // The connection reads the file named in place of the template's name.
    auto skoroszyt = std::make_unique<kal::Workbook>(pelna);
    const kal::Sheet& arkusz = skoroszyt->sheet(NazwaArkuszaFloty());
    // A sheet read only in part is not imported at all: its rows would be
    // missing from the half-year, and importing the file again once mended
    // would store the rows read now a second time.
    if (!arkusz.isWhole()) {
        kal::Dialogs().messageBox(KomunikatNiepelnegoArkusza(pelna, arkusz), QStringLiteral("Kontrola FLOTY."),
                                  kal::MbOk, kal::MsgIcon::Stop);
        return false;
    }
    m_skoroszyt = std::move(skoroszyt);
    m_arkusz = &arkusz;
    m_wiersz = 0;
    return true;
}

void TImportFlotyLogika::Zamknij()
{
    m_arkusz = nullptr;
    m_skoroszyt.reset();
    m_wiersz = 0;
}

// ============================================================ check

bool TImportFlotyLogika::SprawdzArkusz()
{
    if (wEdycji(DM->TPolaExcel))
        DM->TPolaExcel->Post();
    if (!Otwarty()) {
        kal::Dialogs().messageBox(QStringLiteral("Brak otwartego arkusza FLOTY !!!"), QStringLiteral("Kontrola FLOTY"),
                                  kal::MbOk, kal::MsgIcon::Stop);
        return false;
    }
    for (const KolumnaKonfiguracji& k : kKolumny) {
        if (!m_arkusz->hasColumn((DM->*k.pole)->AsString())) {
            kal::Dialogs().messageBox(QString::fromUtf8(k.komunikat), QStringLiteral("Kontrola FLOTY."), kal::MbOk,
                                      kal::MsgIcon::Stop);
            return false;
        }
    }
    return true;
}

// ============================================================ import

bool TImportFlotyLogika::Importuj()
{
    // A record the user is typing in the fuel window (or a vehicle being
    // changed) is posted before the first row: the import's own inserts would
    // post it, and its rule's refusal would be logged against a sheet row and
    // the record dropped. A refusal here stops the import before it starts;
    // its message reaches the user and the record stays as typed.
    for (kal::TTable* t : {DM->TZuzycie, DM->TPojazdy})
        if (wEdycji(t))
            t->Post();
    SaBledy = false;
    m_indeks.reset();
    m_skrocone.clear();
    m_log.clear();
    if (OnWyczyscLog)
        OnWyczyscLog();
    dopiszLinie(QStringLiteral("  Wykaz błędów powstałych w czasie importu FLOTY."));
    dopiszLinie(QStringLiteral("  ") + QString(48, u'='));
    const QString przerwany = Otwarty() ? importujWiersze() : QString();
    Zamknij();
    if (!przerwany.isEmpty())
        kal::Dialogs().messageBox(przerwany, QStringLiteral("Kontrola FLOTY."), kal::MbOk, kal::MsgIcon::Stop);
    return SaBledy;
}

QString TImportFlotyLogika::importujWiersze()
{
    // The sheet's fuel records are stored together when the last row is
    // done (one write of the half-year file, not one per row). A row refused
    // by a rule is logged and skipped as ever. A failure that stops the
    // import, a crash or a power cut leave the half-year file as it was
    // before the import, so that the file can simply be imported again.
    m_dopisanePojazdy = 0;
    // The windows on the fuel records and on the vehicles are told once, at
    // the end, instead of following every row and every vehicle looked at.
    const kal::TControlsDisabled oknoZuzycia(*DM->TZuzycie);
    const kal::TControlsDisabled oknoPojazdow(*DM->TPojazdy);
    QString przyczyna;
    try {
        kal::TWriteGroup grupa;
        for (m_wiersz = 0; m_wiersz < m_arkusz->rowCount(); ++m_wiersz) {
            if (BuforPamieci)
                ImportujWierszZBufora();
            else
                ImportujWiersz();
            if (!grupa.Intact())
                break; // the storage dropped the rows (a full disk): the commit says why
        }
        grupa.Commit();
        return {};
    } catch (const kal::EAbort&) {
    } catch (const kal::Exception& e) {
        przyczyna = e.message();
    } catch (const std::exception& e) {
        przyczyna = QString::fromUtf8(e.what());
    } catch (...) {
    }
    if (przyczyna.isEmpty())
        przyczyna = QStringLiteral("Błąd nieznanego typu.");
    QStringList skutki = {QStringLiteral("Żadna pozycja FLOTY z tego pliku nie została zapisana.")};
    if (m_dopisanePojazdy > 0)
        skutki << QStringLiteral("Pojazdy dopisane do ewidencji w czasie importu (%1) pozostały zapisane.")
                      .arg(m_dopisanePojazdy);
    const QString wpis = QStringLiteral("  Import FLOTY został przerwany: ") + przyczyna + QStringLiteral("\n  ") +
                         skutki.join(QStringLiteral("\n  "));
    // The entry names the row the import stopped at; a commit that failed
    // after the last row names none.
    if (m_wiersz < m_arkusz->rowCount()) {
        DopiszBlad(wpis);
    } else {
        dopiszLinie(wpis);
        dopiszLinie(QStringLiteral("  ") + QString(46, u'-'));
        SaBledy = true;
    }
    return QStringLiteral("Import FLOTY został przerwany:\n") + przyczyna + u'\n' + skutki.join(u'\n') +
           QStringLiteral("\nPo usunięciu przyczyny zaimportuj plik ponownie !!!");
}

const kal::Cell& TImportFlotyLogika::komorka(kal::TField* kolumna) const
{
    static const kal::Cell pusta;
    if (!m_arkusz)
        return pusta;
    const int k = m_arkusz->columnIndex(kolumna->AsString());
    return k < 0 ? pusta : m_arkusz->cell(m_wiersz, k);
}

QString TImportFlotyLogika::tekst(kal::TField* kolumna) const
{
    return komorka(kolumna).toText();
}

QString TImportFlotyLogika::rodzajPaliwa(int grupa)
{
    switch (grupa) {
    case 1:
    case 2:
        return QStringLiteral("5");
    case 3:
    case 5:
        return QStringLiteral("3");
    case 6:
        return QStringLiteral("4");
    default:
        return {};
    }
}

void TImportFlotyLogika::bladPojazdu()
{
    DopiszBlad(QStringLiteral("  Nie dopisano pojazdu o nemerze rejestracyjnym: ") +
               tekst(DM->TPolaExcelNumerRejestracyjny) + QStringLiteral(".\nPozycja FLOTY nie została dopisana."));
}

QString TImportFlotyLogika::numerPojazdu()
{
    const QString nr = tekst(DM->TPolaExcelNumerRejestracyjny);
    const int rozmiar = DM->TPojazdyNrRejestracyjny->Size();
    if (nr.size() <= rozmiar)
        return nr;
    const QString skrocony = nr.left(rozmiar);
    const QString klucz = kluczNumeru(skrocony);
    // Blanks cut off the end change nothing worth telling.
    if (klucz != kluczNumeru(nr) && !m_skrocone.contains(klucz)) {
        m_skrocone.insert(klucz);
        DopiszBlad(QStringLiteral("  Numer rejestracyjny pojazdu dłuższy niż %1 znaków skrócono do: %2.")
                       .arg(rozmiar)
                       .arg(skrocony));
    }
    return skrocony;
}

void TImportFlotyLogika::ImportujWiersz()
{
    const QString rodzaj = rodzajPaliwa(TekstNaCalkowita(tekst(DM->TPolaExcelGrupaProduktu)));
    if (rodzaj.isEmpty())
        return;
    bool znaleziony = false;
    try {
        znaleziony = ZnajdzLubDopiszPojazd();
    } catch (const kal::EAbort&) {
        znaleziony = false;
    } catch (const kal::Exception&) {
        znaleziony = false;
    }
    if (!znaleziony) {
        bladPojazdu();
        return;
    }
    zapiszTankowanie(DM->TPojazdyIdentyfikatorPojazdu->AsInteger());
}

void TImportFlotyLogika::ImportujWierszZBufora()
{
    const QString rodzaj = rodzajPaliwa(TekstNaCalkowita(tekst(DM->TPolaExcelGrupaProduktu)));
    if (rodzaj.isEmpty())
        return;
    m_numer = numerPojazdu();
    const QString& nr = m_numer;
    int id = -2;
    try {
        if (!UsunSpacje(nr).isEmpty()) {
            id = identyfikatorZIndeksu(nr);
            if (id == -2) {
                dopiszPojazd();
                m_indeks.reset(); // the vehicle just saved must be known at once
                id = identyfikatorZIndeksu(nr);
            }
        }
    } catch (const kal::Exception&) {
        id = -2;
    }
    if (id == -2) {
        bladPojazdu();
        return;
    }
    zapiszTankowanie(id);
}

int TImportFlotyLogika::identyfikatorZIndeksu(const QString& nr)
{
    if (ZnajdzIdentyfikatorPojazdu)
        return ZnajdzIdentyfikatorPojazdu(nr);
    // While no index is installed, the vehicle numbers are read once per
    // import (and again after a vehicle has been added): the first vehicle in
    // the table's order with a number wins.
    if (!m_indeks) {
        m_indeks.emplace();
        kal::TTable& t = *DM->TPojazdy;
        if (!t.IsEmpty() && !wEdycji(&t)) {
            const kal::TTable::TBookmark zakladka = t.GetBookmark();
            for (t.First(); !t.Eof(); t.Next()) {
                const QString klucz = kluczNumeru(DM->TPojazdyNrRejestracyjny->AsString());
                if (!klucz.isEmpty() && !m_indeks->contains(klucz))
                    m_indeks->insert(klucz, DM->TPojazdyIdentyfikatorPojazdu->AsInteger());
            }
            if (t.BookmarkValid(zakladka))
                t.GotoBookmark(zakladka);
        }
    }
    return m_indeks->value(kluczNumeru(nr), -2);
}

void TImportFlotyLogika::zapiszTankowanie(int idPojazdu)
{
    kal::TTable& z = *DM->TZuzycie;
    QString komunikat;
    try {
        const kal::Cell& data = komorka(DM->TPolaExcelDataRealizacji);
        const std::optional<QDateTime> kiedy = data.toDateTime();
        if (!data.isNull() && !kiedy)
            throw kal::EConvertError(QStringLiteral("'%1' nie jest poprawną datą.").arg(data.toText()));
        const QString faktura = tekst(DM->TPolaExcelNumerFaktury);
        z.Insert();
        DM->TZuzycieIdentyfikatorPojazdu->setAsInteger(idPojazdu);
        // An empty date stays empty: the fuel rule then names the missing date.
        if (kiedy)
            DM->TZuzycieDataTankowania->setAsDateTime(kiedy->date());
        DM->TZuzycieIloscPaliwa->setAsString(tekst(DM->TPolaExcelIloscLitrow));
        DM->TZuzycieCenaPaliwa->setAsString(tekst(DM->TPolaExcelCena));
        DM->TZuzycieNumerFaktury->setAsString(faktura);
        DM->TZuzycieRodzajPaliwa->setAsString(
            rodzajPaliwa(TekstNaCalkowita(tekst(DM->TPolaExcelGrupaProduktu))));
        z.Post();
        return;
    } catch (const kal::EAbort&) {
        komunikat.clear();
    } catch (const kal::Exception& e) {
        komunikat = e.message();
    } catch (...) {
        komunikat.clear();
    }
    if (z.State() == kal::dsInsert) {
        try {
            z.Cancel();
        } catch (...) {
        }
    }
    DopiszBlad(komunikat.isEmpty() ? QStringLiteral("  Dokładna specyfikacja błędu: Błąd nieznanego typu.")
                                   : QStringLiteral("  ") + komunikat);
}

bool TImportFlotyLogika::biezacyPojazdPasuje() const
{
    const QString numer = DM->TPojazdyNrRejestracyjny->AsString();
    return !UsunSpacje(numer).isEmpty() && PorownajBezSpacji(m_numer, numer);
}

bool TImportFlotyLogika::ZnajdzLubDopiszPojazd()
{
    kal::TTable& p = *DM->TPojazdy;
    m_numer = numerPojazdu();
    // A row without a registration number can match no vehicle: nothing is
    // added for it.
    if (UsunSpacje(m_numer).isEmpty())
        return false;
    for (p.First(); !p.Eof(); p.Next())
        if (biezacyPojazdPasuje())
            return true;
    dopiszPojazd();
    if (biezacyPojazdPasuje())
        return true;
    for (p.First(); !p.Eof(); p.Next())
        if (biezacyPojazdPasuje())
            return true;
    return false;
}

void TImportFlotyLogika::dopiszPojazd()
{
    // The vehicle is the user's own record, completed and saved by hand in
    // the vehicle register: it is stored at once, whatever becomes of the
    // import's fuel records.
    kal::TWriteGroupPause zapisPojazdu;
    kal::TTable& p = *DM->TPojazdy;
    // The vehicle register shows the new vehicle.
    const kal::TControlsEnabled rejestr(p);
    const int przed = p.RecordCount();
    p.Insert();
    try {
        DM->TPojazdyNrRejestracyjny->setAsString(m_numer);
        DM->TPojazdyRodzajPojazdu->setAsString(tekst(DM->TPolaExcelRodzajPojazdu).trimmed() == u"O"
                                                   ? QStringLiteral("1")
                                                   : QStringLiteral("3"));
        if (UzupelnijPojazd)
            UzupelnijPojazd();
    } catch (...) {
        if (wEdycji(&p))
            p.Cancel();
        throw;
    }
    // What the user did not save is not a vehicle of the register.
    if (wEdycji(&p))
        p.Cancel();
    if (p.RecordCount() > przed)
        ++m_dopisanePojazdy;
}

void TImportFlotyLogika::DopiszBlad(const QString& komunikat)
{
    dopiszLinie(QStringLiteral("  Numer faktury: ") + tekst(DM->TPolaExcelNumerFaktury) +
                QStringLiteral(" data zakupu: ") + tekst(DM->TPolaExcelDataRealizacji) +
                QStringLiteral(" numer rejestracyjny: ") + tekst(DM->TPolaExcelNumerRejestracyjny));
    dopiszLinie(komunikat);
    dopiszLinie(QStringLiteral("  ") + QString(46, u'-'));
    SaBledy = true;
}

void TImportFlotyLogika::dopiszLinie(const QString& linia)
{
    m_log.append(linia);
    if (OnDopiszDoLogu)
        OnDopiszDoLogu(linia);
}
