// The data module on a data directory made by the new-data-directory routine:
// components, fields, links, the work table, post errors and the company,
// period and statement-row rules that the module carries itself.

#include "DataDir.h"
#include "Funkcje.h"
#include "InChild.h"

#include "platform/db/DataSource.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The data module opened on a new data directory, today in June 2009.
class Dane : public kal::test::DataDir {
protected:
    // The text of the rule exception raised by `akcja`, or "" when none.
    template <typename F>
    static QString komunikat(F akcja)
    {
        try {
            akcja();
        } catch (const kal::EAbort&) {
            return QStringLiteral("<abort>");
        } catch (const kal::Exception& e) {
            return e.message();
        }
        return {};
    }
};

} // namespace

TEST_F(Dane, EveryComponentOpensOnANewDataDirectory)
{
    EXPECT_EQ(DM, dm.get());
    int otwarte = 0;
    for (const Schemat::Tabela& s : Schemat::Tabele()) {
        kal::TTable* t = dm->Tabela(s.komponent);
        ASSERT_NE(t, nullptr) << s.komponent.toStdString();
        EXPECT_EQ(t->Name(), s.komponent);
        otwarte += t->Active() ? 1 : 0;
    }
    // 25 files, and the work table made by the module.
    EXPECT_EQ(otwarte, 26);
    EXPECT_FALSE(dm->TPrzRob->Active());
    EXPECT_TRUE(dm->TRoboczy->Active());
    EXPECT_EQ(dm->TZuzycie->TableName(), "Zuzycie.DB");
    EXPECT_EQ(dm->TPrzRob->TableName(), "Przebieg.db");
    EXPECT_EQ(dm->DSubstancje->DataSet(), dm->TSubsatncje);
    EXPECT_EQ(dm->DOkres->DataSet(), dm->TOkres);
    EXPECT_EQ(dm->DSubstancje->Name(), "DSubstancje");
    EXPECT_EQ(dm->Zrodlo("DPrzRob"), nullptr);
    EXPECT_EQ(dm->Zrodlo("DRoboczy"), nullptr);
    EXPECT_EQ(dm->TZuzycie->IndexFieldNames(), "IdentyfikatorFirmy;IdentyfikatorPojazdu;DataTankowania;Identyfikator");
}

TEST_F(Dane, FieldComponentsWithTheirTypesSizesAndNames)
{
    struct Liczba {
        kal::TTable* tabela;
        int pola;
    };
    const Liczba liczby[] = {
        {dm->TFirma, 8},          {dm->TOkres, 8},           {dm->TPojazdy, 25},       {dm->TZuzycie, 18},
        {dm->TPrzebieg, 3},       {dm->TPrzRob, 3},          {dm->TPrzegl, 9},         {dm->TMiejsceUz, 2},
        {dm->TMiejscTank, 2},     {dm->TTabelaGest, 3},      {dm->TKotly, 12},         {dm->TGminy, 3},
        {dm->TSubsatncje, 4},     {dm->TZrodla, 7},          {dm->TPolaExcel, 8},      {dm->TZalacznik1, 31},
        {dm->TTabelaD, 125},      {dm->TStawkiTabD, 124},    {dm->TTabelaC, 52},       {dm->TStawkiTabC, 26},
        {dm->TZuzycieKotla, 12},  {dm->TTabelaAGmina, 6},    {dm->TTabelaAZrodla, 7},  {dm->TTabelaASubstancje, 9},
        {dm->TTabelaAPaliwa, 7},  {dm->TTabAPozWart, 7},
    };
    for (const Liczba& l : liczby)
        EXPECT_EQ(l.tabela->FieldCount(), l.pola) << l.tabela->Name().toStdString();
    EXPECT_EQ(dm->TRoboczy->FieldCount(), 33);

    // Every described field is a member with its name, type, size and kind.
    for (const Schemat::Tabela& s : Schemat::Tabele()) {
        if (s.komponent == "TRoboczy")
            continue;
        for (const Schemat::Pole& p : s.pola) {
            kal::TField* f = dm->Pole(p.komponent);
            ASSERT_NE(f, nullptr) << p.komponent.toStdString();
            EXPECT_EQ(f->Name(), p.komponent);
            EXPECT_EQ(f->FieldName(), p.nazwa);
            EXPECT_EQ(f->DataSet(), dm->Tabela(s.komponent));
            EXPECT_EQ(f->DataType(), Schemat::TypPola(p.typ));
            if (p.typ == Schemat::Typ::Tekst || p.typ == Schemat::Typ::Memo) {
                EXPECT_EQ(f->Size(), p.rozmiar) << p.komponent.toStdString();
            }
        }
    }

    EXPECT_EQ(dm->TOkresRok->FieldName(), "Rok");
    EXPECT_EQ(dm->TOkresRok->DataType(), kal::ftSmallint);
    EXPECT_EQ(dm->TPojazdyMarka->Size(), 35);
    EXPECT_EQ(dm->TPojazdyNrRejestracyjny->EditMask(), ">cccccccccccccccccccc");
    EXPECT_EQ(dm->TPojazdyNrRejestracyjny->DisplayWidth(), 20);
    EXPECT_TRUE(dm->TFirmaIdentyfikator->ReadOnly());
    EXPECT_EQ(dm->TFirmaIdentyfikator->DataType(), kal::ftAutoInc);
    EXPECT_EQ(dm->TTabelaDBDEDesigner1a->FieldName(), "1a");
    EXPECT_EQ(dm->TStawkiTabDBDEDesigner32d->FieldName(), "32d");
    EXPECT_EQ(dm->TZalacznik1Rezerwa1P316->FieldName(), "Rezerwa1");
    EXPECT_EQ(dm->TTabelaASubstancjeWysokoscOpaty->FieldName(), QStringLiteral("WysokoscOpłaty"));
    EXPECT_EQ(dm->TTabelaASubstancjeWysokoscOpaty->FieldKind(), kal::fkCalculated);
    EXPECT_EQ(dm->TZuzycieMarka->FieldKind(), kal::fkLookup);
    EXPECT_EQ(dm->TZuzycieMarka->LookupDataSet(), dm->TPojazdy);
    EXPECT_EQ(dm->TPrzeglZakresRobot->DataType(), kal::ftMemo);
    EXPECT_EQ(dm->TRoboczy->FieldByName("Pole30")->Size(), 100);
}

TEST_F(Dane, DisplayFormatsAndWhatTheyShow)
{
    int kwoty = 0;
    for (const Schemat::Tabela& s : Schemat::Tabele())
        for (const Schemat::Pole& p : s.pola)
            if (!p.komponent.isEmpty() && dm->Pole(p.komponent)->DisplayFormat() == "# ### ##0.00# ### ###")
                ++kwoty;
    EXPECT_EQ(kwoty, 315);
    EXPECT_EQ(dm->TZalacznik1PIV->DisplayFormat(), "# ### ##0.### ###");
    EXPECT_EQ(dm->TZalacznik1POgolem->DisplayFormat(), "");
    EXPECT_EQ(dm->TPrzeglWartosc->DisplayFormat(), "# ### ##0.00");
    EXPECT_EQ(dm->TTabelaASubstancjeJednostkowaStawka->DisplayFormat(), "###0.00");
    EXPECT_EQ(dm->TPojazdyDataKonca->DisplayFormat(), "yyyy-mm-dd");
    EXPECT_EQ(dm->TPojazdyDataKonca->EditMask(), "!9999/99/99;1;_");

    firmaIOkres();
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    dm->TTabelaD->Edit();
    dm->TTabelaDBDEDesigner2b->setAsFloat(1234.5);
    EXPECT_EQ(dm->TTabelaDBDEDesigner2b->DisplayText(), "1 234,50");
    dm->TTabelaD->Cancel();
}

TEST_F(Dane, EventsAreBoundWhereTheTablesSaySo)
{
    using Z = Schemat::Zdarzenie;
    for (const Schemat::Tabela& s : Schemat::Tabele()) {
        kal::TTable* t = dm->Tabela(s.komponent);
        SCOPED_TRACE(s.komponent.toStdString());
        EXPECT_EQ(bool(t->BeforeInsert), !s.handler(Z::BeforeInsert).isEmpty());
        EXPECT_EQ(bool(t->AfterInsert), !s.handler(Z::AfterInsert).isEmpty());
        EXPECT_EQ(bool(t->BeforeEdit), !s.handler(Z::BeforeEdit).isEmpty());
        EXPECT_EQ(bool(t->AfterEdit), !s.handler(Z::AfterEdit).isEmpty());
        EXPECT_EQ(bool(t->BeforePost), !s.handler(Z::BeforePost).isEmpty());
        EXPECT_EQ(bool(t->AfterPost), !s.handler(Z::AfterPost).isEmpty());
        EXPECT_EQ(bool(t->AfterCancel), !s.handler(Z::AfterCancel).isEmpty());
        EXPECT_EQ(bool(t->BeforeDelete), !s.handler(Z::BeforeDelete).isEmpty());
        EXPECT_EQ(bool(t->AfterDelete), !s.handler(Z::AfterDelete).isEmpty());
        EXPECT_EQ(bool(t->OnCalcFields), !s.handler(Z::OnCalcFields).isEmpty());
        EXPECT_EQ(bool(t->OnPostError), !s.handler(Z::OnPostError).isEmpty());
        for (const Schemat::Pole& p : s.pola) {
            if (p.komponent.isEmpty())
                continue;
            kal::TField* f = dm->Pole(p.komponent);
            EXPECT_EQ(bool(f->OnSetText), !p.onSetText.isEmpty()) << p.komponent.toStdString();
            EXPECT_EQ(bool(f->OnGetText), !p.onGetText.isEmpty()) << p.komponent.toStdString();
            EXPECT_EQ(bool(f->OnValidate), !p.onValidate.isEmpty()) << p.komponent.toStdString();
        }
    }
    EXPECT_EQ(dm->TPojazdy->Tag(), 0);
    EXPECT_EQ(dm->TTabelaC->Tag(), 0);
    EXPECT_EQ(dm->TTabelaD->Tag(), 0);
}

TEST_F(Dane, ADetailRowReceivesItsMastersKey)
{
    firmaIOkres();
    dm->TPojazdy->Insert();
    dm->TPojazdyRodzajPojazdu->setAsString("1");
    dm->TPojazdyNrRejestracyjny->setAsString("WA12345");
    dm->TPojazdy->Post();
    const int pojazd = dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    ASSERT_GT(pojazd, 0);

    dm->TPrzebieg->Insert();
    EXPECT_EQ(dm->TPrzebiegIdentyfikatorPojazdu->AsInteger(), pojazd);
    dm->TPrzebiegData->setAsDateTime(QDate(2009, 3, 1));
    dm->TPrzebiegIloscKilometrow->setAsFloat(120);
    dm->TPrzebieg->Post();
    EXPECT_EQ(dm->TPrzebieg->RecordCount(), 1);

    dm->TZuzycie->Insert();
    EXPECT_EQ(dm->TZuzycieIdentyfikatorFirmy->AsInteger(), dm->TFirmaIdentyfikator->AsInteger());
    dm->TZuzycie->Cancel();
}

TEST_F(Dane, WorkTableLivesInTempAndIsDeletedAtTheEnd)
{
    const QFileInfo plik(dm->TRoboczy->TableName());
    EXPECT_EQ(plik.fileName(), "Tym2009612aaaa.DB");
    EXPECT_EQ(QFileInfo(plik.absolutePath()).canonicalFilePath(), QFileInfo(temp.path()).canonicalFilePath());
    EXPECT_TRUE(plik.exists());
    EXPECT_TRUE(dm->TRoboczy->Exclusive());

    // It takes rows under its key and refuses a repeated key.
    dm->TRoboczy->Append();
    dm->TRoboczy->FieldByName("Klucz")->setAsString("A");
    dm->TRoboczy->FieldByName("Pole1")->setAsString("pierwszy");
    dm->TRoboczy->Post();
    EXPECT_EQ(dm->TRoboczy->RecordCount(), 1);

    dm.reset();
    EXPECT_EQ(DM, nullptr);
    EXPECT_FALSE(QFileInfo::exists(plik.filePath()));
    EXPECT_TRUE(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_TRUE(dialogi.boxes().empty());
}

// The work tables a killed run left in the temporary directory go, with
// their journals; the one this run holds, with its journals, and every file
// of another name, kind or owner stay (one another running copy holds: the
// start-up tests).
TEST_F(Dane, WorkTablesLeftByAKilledRunGoAndHeldOnesStay)
{
    const QDir tmp(temp.path());
    // The module's table holds a row in its log.
    const QString wlasna = dm->TRoboczy->TableName();
    dm->TRoboczy->Append();
    dm->TRoboczy->FieldByName("Klucz")->setAsString("A");
    dm->TRoboczy->Post();
    ASSERT_TRUE(QFileInfo(wlasna + "-wal").size() > 0);
    ASSERT_TRUE(QFile(wlasna + "-shm").open(QIODevice::WriteOnly));
    const QStringList pozostawione = {"Tym2009611aaaa.DB", "Tym2009611aaaa.DB-wal", "Tym20091231zzzz.DB"};
    const QStringList inne = {"Tym2009611aaaa.db", "Tym2009611aaa.DB", "tym2009611aaab.DB", "Tym2009611aaaa.DB.kopia",
                              "XTym2009611aaaa.DB", "TymABCDEFGaaaa.DB", "Tym2009611cudz.DB", "Firma.db"};
    for (const QString& n : pozostawione + inne) {
        QFile f(tmp.filePath(n));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_EQ(::chown(QFile::encodeName(tmp.filePath("Tym2009611cudz.DB")).constData(), 65534, 65534), 0);
    ASSERT_TRUE(QFile::link(katalog.file("Firma.db"), tmp.filePath("Tym2009611link.DB")));
    UsunPozostawioneZbioryTymczasowe("Tym", "DB");
    for (const QString& n : pozostawione)
        EXPECT_FALSE(tmp.exists(n)) << n.toStdString();
    for (const QString& n : inne + QStringList({"Tym2009611link.DB", wlasna, wlasna + "-wal", wlasna + "-shm"}))
        EXPECT_TRUE(tmp.exists(n)) << n.toStdString();
    EXPECT_TRUE(QFileInfo::exists(katalog.file("Firma.db")));
    // The module's own table still takes rows, and keeps the first.
    dm->TRoboczy->Append();
    dm->TRoboczy->FieldByName("Klucz")->setAsString("B");
    dm->TRoboczy->Post();
    dm->TRoboczy->Close();
    dm->TRoboczy->Open();
    EXPECT_EQ(dm->TRoboczy->RecordCount(), 2);
}

// Copies of the program started at the same moment on data directories of
// their own with one TEMP each take a work table of their own, and each
// keeps it while the others start.
TEST_F(Dane, ModulesStartedTogetherEachTakeAWorkTableOfTheirOwn)
{
    dm.reset();
    constexpr int kKopie = 4;
    QTemporaryDir katalogi;
    for (int i = 0; i < kKopie; ++i) {
        const QDir kopia(katalogi.filePath(QString::number(i)));
        ASSERT_TRUE(kopia.mkpath("."));
        for (const QString& plik : QDir(katalog.path()).entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(katalog.file(plik), kopia.filePath(plik)));
    }
    // Each copy waits for the end of `start`, makes its module, writes a
    // byte into `made` and holds its module until the end of `end`.
    int start[2], made[2], end[2];
    ASSERT_EQ(::pipe(start) | ::pipe(made) | ::pipe(end), 0);
    std::vector<pid_t> kopie;
    for (int i = 0; i < kKopie; ++i) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(start[1]);
            ::close(end[1]);
            char c;
            int wynik = 3;
            if (QDir::setCurrent(katalogi.filePath(QString::number(i))) && ::read(start[0], &c, 1) == 0) {
                try {
                    TDM modul;
                    modul.TRoboczy->Append();
                    modul.TRoboczy->FieldByName("Klucz")->setAsString("A");
                    modul.TRoboczy->Post();
                    wynik = modul.TRoboczy->RecordCount() == 1 && dialogi.boxes().empty() ? 0 : 1;
                    if (wynik == 0 && ::write(made[1], "x", 1) == 1) {
                        ::close(made[1]);
                        wynik = ::read(end[0], &c, 1) == 0 ? 0 : 2;
                    }
                } catch (...) {
                }
            }
            _exit(wynik);
        }
        kopie.push_back(pid);
    }
    ::close(made[1]);
    ::close(start[1]);
    int gotowe = 0;
    for (char c; ::read(made[0], &c, 1) == 1;)
        ++gotowe;
    ::close(end[1]);
    for (const pid_t pid : kopie) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(kal::test::EndedWell(status)) << status;
    }
    EXPECT_EQ(gotowe, kKopie);
    EXPECT_TRUE(QDir(temp.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
    for (const int fd : {start[0], made[0], end[0]})
        ::close(fd);
}

TEST_F(Dane, NoFreeTemporaryNameLeavesTheModuleWithoutAWorkTable)
{
    dm.reset();
    dialogi.clear();
    TDM::NazwaTymczasowa = [](const QString&, const QString&) { return QString(); };
    dm = std::make_unique<TDM>();
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].text, "Bład generowania tablicy tymczasowej !!!");
    EXPECT_EQ(dialogi.boxes()[0].caption, "");
    EXPECT_EQ(dialogi.boxes()[0].icon, kal::MsgIcon::Stop);
    EXPECT_EQ(dialogi.boxes()[0].buttons, unsigned(kal::MbOk));
    EXPECT_FALSE(dm->TRoboczy->Active());
    // The end deletes nothing and shows nothing.
    dm.reset();
    EXPECT_EQ(dialogi.boxes().size(), 1u);
}

TEST_F(Dane, AWorkTableThatCannotBeMadeIsReportedAndTheModuleGoesOn)
{
    dm.reset();
    dialogi.clear();
    const QString gdzie = temp.filePath("brak/Tym2009612aaaa.DB");
    TDM::NazwaTymczasowa = [&](const QString&, const QString&) { return gdzie; };
    dm = std::make_unique<TDM>();
    ASSERT_EQ(dialogi.calls().size(), 1u);
    EXPECT_EQ(dialogi.calls()[0].kind, kal::test::DialogCall::Error);
    EXPECT_FALSE(dialogi.calls()[0].text.isEmpty());
    EXPECT_FALSE(dm->TRoboczy->Active());
    EXPECT_TRUE(dm->TFirma->Active());
    dm.reset();
    EXPECT_EQ(dialogi.calls().size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(gdzie));
}

TEST_F(Dane, MissingTableFileStopsTheModule)
{
    dm.reset();
    ASSERT_TRUE(QFile::remove(katalog.file("Gminy.db")));
    EXPECT_THROW(TDM(), kal::EDatabaseError);
    EXPECT_EQ(DM, nullptr);
}

TEST_F(Dane, ToolMakesTheRowsAndRefusesADirectoryWithTables)
{
    ASSERT_EQ(dm->TTabelaGest->RecordCount(), 12);
    QStringList kody;
    for (dm->TTabelaGest->First(); !dm->TTabelaGest->Eof(); dm->TTabelaGest->Next())
        kody << dm->TTabelaGestIdentyfikatorPaliwa->AsString();
    EXPECT_EQ(kody, QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "a", "b", "c"}));
    ASSERT_TRUE(dm->TTabelaGest->Locate("IdentyfikatorPaliwa", QVariant("6")));
    EXPECT_EQ(dm->TTabelaGestNazwaPaliwa->AsString(), "olej napędowy o zawartości siarki poniżej 0,02% m/m");
    ASSERT_TRUE(dm->TTabelaGest->Locate("IdentyfikatorPaliwa", QVariant("c")));
    EXPECT_EQ(dm->TTabelaGestNazwaPaliwa->AsString(), "sprężony gaz ziemny");
    ASSERT_TRUE(dm->TTabelaGest->Locate("IdentyfikatorPaliwa", QVariant("5")));
    EXPECT_DOUBLE_EQ(dm->TTabelaGestGestosc->AsFloat(), 0.835);

    ASSERT_EQ(dm->TPolaExcel->RecordCount(), 1);
    dm->TPolaExcel->First();
    EXPECT_EQ(dm->TPolaExcelNumerRejestracyjny->AsString(), "Nr rejestracyjny");
    EXPECT_EQ(dm->TPolaExcelIloscLitrow->AsString(), "Ilość litrów");
    EXPECT_EQ(dm->TPolaExcelGrupaProduktu->AsString(), "Grupa prod");

    // A second run on the same directory changes nothing.
    dm.reset();
    const QString blad = Schemat::UtworzKatalogDanych(katalog.path());
    EXPECT_TRUE(blad.startsWith("Katalog ")) << blad.toStdString();
    EXPECT_TRUE(blad.contains("Firma.db"));
    dm = std::make_unique<TDM>();
    EXPECT_EQ(dm->TTabelaGest->RecordCount(), 12);
    EXPECT_EQ(dm->TPolaExcel->RecordCount(), 1);

    // Nor does a directory holding any table file, whatever its case.
    QTemporaryDir inny;
    QFile obcy(inny.filePath("STARE.DB"));
    ASSERT_TRUE(obcy.open(QIODevice::WriteOnly));
    obcy.close();
    EXPECT_FALSE(Schemat::UtworzKatalogDanych(inny.path()).isEmpty());
    EXPECT_EQ(QDir(inny.path()).entryList(QDir::Files).size(), 1);

    // A directory that does not exist yet is made.
    const QString nowy = inny.filePath("a/b");
    EXPECT_EQ(Schemat::UtworzKatalogDanych(nowy), QString());
    EXPECT_TRUE(QFileInfo::exists(nowy + "/TabelaD2009.DB"));
}

TEST_F(Dane, KeyViolationsReachThePostErrorBox)
{
    firmaIOkres();
    dm->TFirma->Insert();
    dm->TFirmaNazwa1->setAsString(QStringLiteral("Ruvelkon sp. z o.o."));
    dialogi.clear();
    EXPECT_THROW(dm->TFirma->Post(), kal::EAbort);
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    const auto box = dialogi.boxes()[0];
    EXPECT_TRUE(box.text.startsWith("Dane firmy powtarzają się !!!\nDokładna specyfikacja błędu:\n"))
        << box.text.toStdString();
    EXPECT_GT(box.text.size(), QString("Dane firmy powtarzają się !!!\nDokładna specyfikacja błędu:\n").size());
    EXPECT_EQ(box.caption, "Błąd komponentu: TFirma");
    EXPECT_EQ(box.icon, kal::MsgIcon::Stop);
    EXPECT_EQ(box.buttons, unsigned(kal::MbOk));
    // The typed values stay in the new row.
    EXPECT_EQ(dm->TFirma->State(), kal::dsInsert);
    EXPECT_EQ(dm->TFirmaNazwa1->AsString(), "Ruvelkon sp. z o.o.");
    dm->TFirma->Cancel();

    // A second period of the same half-year.
    dialogi.clear();
    dm->TOkres->Insert();
    dm->TOkresRok->setAsInteger(2009);
    dm->TOkresPolrocze->setAsInteger(1);
    EXPECT_THROW(dm->TOkres->Post(), kal::EAbort);
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_TRUE(dialogi.boxes()[0].text.startsWith("Dane okresu powtarzają się !!!\n"));
    EXPECT_EQ(dialogi.boxes()[0].caption, "Błąd komponentu: TOkres");
    dm->TOkres->Cancel();

    // Two refuelling places of one name.
    for (int i = 0; i < 2; ++i) {
        dm->TMiejscTank->Append();
        dm->TMiejscTankNazwa->setAsString("Orlen Płock");
        if (i == 0)
            dm->TMiejscTank->Post();
    }
    dialogi.clear();
    EXPECT_THROW(dm->TMiejscTank->Post(), kal::EAbort);
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_TRUE(dialogi.boxes()[0].text.startsWith("Nazwa miejsca tankowania powtarza się !!!\n"));
    dm->TMiejscTank->Cancel();

    // Inspections may repeat: two equal rows are both kept.
    dm->TPojazdy->Insert();
    dm->TPojazdyNrRejestracyjny->setAsString("KR1");
    dm->TPojazdy->Post();
    for (int i = 0; i < 2; ++i) {
        dm->TPrzegl->Insert();
        dm->TPrzeglData->setAsDateTime(QDate(2009, 2, 2));
        dm->TPrzeglNrFaktury->setAsString("F/1");
        dm->TPrzegl->Post();
    }
    EXPECT_EQ(dm->TPrzegl->RecordCount(), 2);
}

TEST_F(Dane, CompanyAndPeriodOrderAndChecks)
{
    EXPECT_EQ(komunikat([&] { dm->TOkres->Insert(); }), "Brak danych firmy !!!");
    dm->TFirma->Insert();
    dm->TFirmaNazwa1->setAsString("Firma");
    EXPECT_EQ(komunikat([&] { dm->TOkres->Insert(); }), "Najperw zapisz dane firmy !!!");
    dm->TFirma->Post();
    EXPECT_EQ(komunikat([&] { dm->TTabelaD->Insert(); }), "Brak wprowadzonych okresów dla firmy !!!");

    dm->TOkres->Insert();
    EXPECT_EQ(komunikat([&] { dm->TFirma->Edit(); }), "Zapisz dane o okresch !!!");
    EXPECT_EQ(komunikat([&] { dm->TOkres->Post(); }), "Musisz wprowadzić rok okresu !!!");
    dm->TOkresRok->setAsInteger(1999);
    EXPECT_EQ(komunikat([&] { dm->TOkres->Post(); }), "Wprowadzono niewłaściwy rok obliczeniowy !!!");
    dm->TOkresRok->setAsInteger(2021);
    EXPECT_EQ(komunikat([&] { dm->TOkres->Post(); }), "Wprowadzono niewłaściwy rok obliczeniowy !!!");
    dm->TOkresRok->setAsInteger(2020);
    dm->TOkresKwartal->setAsInteger(5);
    EXPECT_EQ(komunikat([&] { dm->TOkres->Post(); }), "Wprowadzono niewłaściwy kwartał obliczeniowy !!!");
    dm->TOkresKwartal->setAsInteger(3);
    EXPECT_EQ(komunikat([&] { dm->TOkres->Post(); }), "Musisz wprowadzić półrocze obliczeniowe !!!");
    dm->TOkresPolrocze->setAsInteger(3);
    EXPECT_EQ(komunikat([&] { dm->TOkres->Post(); }), "Wprowadzono niewłaściwe półrocze !!!");
    dm->TOkresPolrocze->setAsInteger(2);
    EXPECT_EQ(komunikat([&] { dm->TOkres->Post(); }), "");
    EXPECT_EQ(dm->TOkresNazwaKwartalu->AsString(), "III");

    EXPECT_EQ(komunikat([&] { dm->TFirma->Delete(); }), "Nie można kasować danych firmy !!!");
    EXPECT_EQ(komunikat([&] { dm->TOkres->Delete(); }), "Nie można kasować okresu danych !!!");
    EXPECT_EQ(dm->TFirma->RecordCount(), 1);
    EXPECT_EQ(dm->TOkres->RecordCount(), 1);

    dm->TKotly->Append();
    dm->TKotlyRodzajKotla->setAsString("300");
    dm->TKotlyOpisKotla->setAsString("Kocioł 1");
    dm->TKotly->Post();
    dialogi.clear();
    EXPECT_EQ(komunikat([&] { dm->TKotly->Delete(); }), "<abort>");
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].text, "Nie wolno kasować kotłów !!!");
    EXPECT_EQ(dialogi.boxes()[0].caption, "Kontrola kasowania danych.");
    EXPECT_EQ(dm->TKotly->RecordCount(), 1);
}

TEST_F(Dane, PeriodRowsAndRateCarryOver)
{
    // With no period the first table fails and no later one is visited.
    dm->TFirma->Insert();
    dm->TFirmaNazwa1->setAsString("Firma");
    dm->TFirma->Post();
    dialogi.clear();
    EXPECT_FALSE(dm->OtworzZalacznikiPolrocza());
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].text,
              "Nieznany błąd dopisu do tabeli C !!!\nSpecyfikacja błędu\nBrak wprowadzonych okresów dla firmy !!!");
    EXPECT_EQ(dialogi.boxes()[0].caption, "Otwarcie załączników do półrocza.");
    EXPECT_EQ(dm->TTabelaC->State(), kal::dsBrowse);

    firmaIOkres(2009, 1);
    dialogi.clear();
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    EXPECT_TRUE(dialogi.boxes().empty());
    for (kal::TTable* t : {dm->TTabelaC, dm->TTabelaD, dm->TZalacznik1, dm->TStawkiTabC, dm->TStawkiTabD})
        EXPECT_EQ(t->RecordCount(), 1) << t->Name().toStdString();
    // The first rate row of an empty rate table has 0 in every rate.
    EXPECT_EQ(dm->TStawkiTabDBDEDesigner1a->AsFloat(), 0.0);
    EXPECT_FALSE(dm->TStawkiTabDRezerwa5->IsNull());
    EXPECT_EQ(dm->TTabelaDBDEDesigner32d->AsFloat(), 0.0);
    EXPECT_EQ(dm->TZalacznik1P42->AsFloat(), 0.0);
    // A second call writes nothing.
    EXPECT_TRUE(dm->OtworzZalacznikiPolrocza());
    EXPECT_EQ(dm->TTabelaD->RecordCount(), 1);

    // Negative and empty rates become 0 when posted; 0.01 stays.
    dm->TStawkiTabD->Edit();
    dm->TStawkiTabDBDEDesigner1a->setAsFloat(12.5);
    dm->TStawkiTabDBDEDesigner10e->setAsFloat(0.01);
    dm->TStawkiTabDRezerwa2->setAsFloat(-3);
    dm->TStawkiTabDBDEDesigner2b->Clear();
    dm->TStawkiTabD->Post();
    EXPECT_EQ(dm->TStawkiTabDRezerwa2->AsFloat(), 0.0);
    EXPECT_FALSE(dm->TStawkiTabDBDEDesigner2b->IsNull());
    EXPECT_DOUBLE_EQ(dm->TStawkiTabDBDEDesigner10e->AsFloat(), 0.01);
    dm->TStawkiTabC->Edit();
    dm->TStawkiTabCIV2->setAsFloat(7.25);
    dm->TStawkiTabC->Post();

    // The next period takes the rates of the highest-numbered rate row.
    firmaIOkres(2009, 2);
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    EXPECT_DOUBLE_EQ(dm->TStawkiTabDBDEDesigner1a->AsFloat(), 12.5);
    EXPECT_DOUBLE_EQ(dm->TStawkiTabDBDEDesigner10e->AsFloat(), 0.01);
    EXPECT_DOUBLE_EQ(dm->TStawkiTabCIV2->AsFloat(), 7.25);
    // Quantities start at 0.
    EXPECT_EQ(dm->TTabelaDBDEDesigner1a->AsFloat(), 0.0);
}

TEST_F(Dane, StatementTotals)
{
    firmaIOkres();
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    EXPECT_EQ(dm->TZalacznik1POgolem->AsFloat(), 0.0);

    dm->TZalacznik1->Edit();
    dm->TZalacznik1P11->setAsFloat(0.5);
    EXPECT_EQ(dm->TZalacznik1PI->AsFloat(), 1.0);
    EXPECT_EQ(dm->TZalacznik1POgolem->AsFloat(), 1.0);
    // The grand total adds the rounded group totals.
    dm->TZalacznik1P11->setAsFloat(0.4);
    dm->TZalacznik1P21->setAsFloat(0.4);
    EXPECT_EQ(dm->TZalacznik1PI->AsFloat(), 0.0);
    EXPECT_EQ(dm->TZalacznik1PII->AsFloat(), 0.0);
    EXPECT_EQ(dm->TZalacznik1POgolem->AsFloat(), 0.0);
    dm->TZalacznik1P11->setAsFloat(-0.5);
    dm->TZalacznik1P21->setAsFloat(0.0);
    EXPECT_EQ(dm->TZalacznik1PI->AsFloat(), -1.0);
    // The third group takes the reserve shown as 3.16; the other reserves take part in nothing.
    dm->TZalacznik1P11->setAsFloat(0.0);
    dm->TZalacznik1Rezerwa1P316->setAsFloat(2.0);
    dm->TZalacznik1Rezerwa2->setAsFloat(100.0);
    EXPECT_EQ(dm->TZalacznik1PIII->AsFloat(), 2.0);
    EXPECT_EQ(dm->TZalacznik1POgolem->AsFloat(), 2.0);
    dm->TZalacznik1->Cancel();

    dm->TTabelaD->Edit();
    dm->TTabelaDBDEDesigner5->setAsFloat(0.0000004);
    dm->TTabelaDRezerwa5->setAsFloat(0.0000003);
    EXPECT_DOUBLE_EQ(dm->TTabelaDRazem->AsFloat(), 0.000001);
    dm->TTabelaD->Cancel();
}

TEST(NoweDane, ToolProgramExitCodes)
{
    const QString program = QCoreApplication::applicationDirPath() + "/kalmora-nowe-dane";
    if (!QFileInfo::exists(program))
        GTEST_SKIP() << "kalmora-nowe-dane not built";
    QTemporaryDir dir;
    const QString katalog = dir.filePath("dane");

    QProcess p;
    p.start(program, {katalog});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(QDir(katalog).entryList({"*.db"}, QDir::Files).size(), 25);

    QProcess drugi;
    drugi.start(program, {katalog});
    ASSERT_TRUE(drugi.waitForFinished(60000));
    EXPECT_EQ(drugi.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(drugi.readAllStandardError()).contains("zawiera już zbiory danych"));

    QProcess bez;
    bez.start(program, {});
    ASSERT_TRUE(bez.waitForFinished(60000));
    EXPECT_EQ(bez.exitCode(), 1);
}

TEST_F(Dane, HalfYearFilesOfFuelAndBoilerUse)
{
    dm->TFirma->Insert();
    dm->TFirmaNazwa1->setAsString("Firma");
    dm->TFirma->Post();
    // A company without periods: nothing is switched.
    EXPECT_FALSE(dm->UstawZbiorZuzycia());
    EXPECT_FALSE(dm->UstawZbiorZuzyciaKotlow());
    EXPECT_EQ(dm->TZuzycie->TableName(), "Zuzycie.DB");
    EXPECT_EQ(dm->TZuzycieKotla->TableName(), "ZuzKotla.db");

    firmaIOkres(2009, 1);
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    EXPECT_EQ(dm->TZuzycie->TableName(), "Zuz20091.db");
    EXPECT_TRUE(QFileInfo::exists(katalog.file("Zuz20091.db")));
    EXPECT_TRUE(dm->TZuzycie->Active());
    EXPECT_TRUE(dm->TZuzycie->IsEmpty());
    ASSERT_TRUE(dm->UstawZbiorZuzyciaKotlow());
    EXPECT_EQ(dm->TZuzycieKotla->TableName(), "ZuzKot20091.db");
    EXPECT_TRUE(QFileInfo::exists(katalog.file("ZuzKot20091.db")));

    tankowanie(pojazd("WA1"), QDate(2009, 3, 3), 40);
    EXPECT_EQ(dm->TZuzycie->RecordCount(), 1);
    // The same period again changes nothing.
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    EXPECT_EQ(dm->TZuzycie->RecordCount(), 1);

    // Another half-year has a file of its own, and the first keeps its row.
    firmaIOkres(2009, 2);
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    EXPECT_EQ(dm->TZuzycie->TableName(), "Zuz20092.db");
    EXPECT_TRUE(dm->TZuzycie->IsEmpty());
    ASSERT_TRUE(dm->TOkres->Locate("Polrocze", QVariant(1)));
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    EXPECT_EQ(dm->TZuzycie->TableName(), "Zuz20091.db");
    EXPECT_EQ(dm->TZuzycie->RecordCount(), 1);
    EXPECT_DOUBLE_EQ(dm->TZuzycieIloscPaliwa->AsFloat(), 40.0);

    // A period that cannot be saved switches nothing, and the user reads why.
    dm->TOkres->Edit();
    dm->TOkresRok->setAsInteger(1999);
    dialogi.clear();
    EXPECT_FALSE(dm->UstawZbiorZuzycia());
    EXPECT_EQ(dm->TZuzycie->TableName(), "Zuz20091.db");
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].kind, kal::test::DialogCall::Error);
    EXPECT_EQ(dialogi.boxes()[0].text, "Wprowadzono niewłaściwy rok obliczeniowy !!!");
    // The boiler path and its table C summation say the same and change nothing.
    dialogi.clear();
    EXPECT_FALSE(dm->UstawZbiorZuzyciaKotlow());
    EXPECT_FALSE(dm->PrzeliczTabeleCZKotlow());
    EXPECT_EQ(dm->TZuzycieKotla->TableName(), "ZuzKot20091.db");
    EXPECT_EQ(dialogi.texts(), QStringList({"Wprowadzono niewłaściwy rok obliczeniowy !!!",
                                            "Wprowadzono niewłaściwy rok obliczeniowy !!!"}));
    EXPECT_EQ(dm->TOkres->State(), kal::dsEdit);
    EXPECT_EQ(dm->TOkresRok->AsInteger(), 1999);
    dm->TOkres->Cancel();
}

TEST_F(Dane, HalfYearFileIsMadeOnceWithTheTemplateStructure)
{
    firmaIOkres(2009, 1);
    kal::TTable wzor;
    wzor.setTableName(katalog.file("Zuzycie.DB"));
    wzor.Open();
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    kal::TTable polrocze;
    polrocze.setTableName(katalog.file("Zuz20091.db"));
    polrocze.Open();
    ASSERT_EQ(polrocze.FieldDefs().Count(), wzor.FieldDefs().Count());
    for (int i = 0; i < wzor.FieldDefs().Count(); ++i) {
        EXPECT_EQ(polrocze.FieldDefs()[i].Name, wzor.FieldDefs()[i].Name);
        EXPECT_EQ(polrocze.FieldDefs()[i].DataType, wzor.FieldDefs()[i].DataType) << i;
        EXPECT_EQ(polrocze.FieldDefs()[i].Size, wzor.FieldDefs()[i].Size) << i;
    }
    ASSERT_EQ(polrocze.IndexDefs().Count(), wzor.IndexDefs().Count());
    ASSERT_GT(wzor.IndexDefs().Count(), 0);
    for (int i = 0; i < wzor.IndexDefs().Count(); ++i) {
        EXPECT_EQ(polrocze.IndexDefs()[i].Name, wzor.IndexDefs()[i].Name);
        EXPECT_EQ(polrocze.IndexDefs()[i].Fields, wzor.IndexDefs()[i].Fields);
        EXPECT_EQ(polrocze.IndexDefs()[i].Options, wzor.IndexDefs()[i].Options);
    }
    polrocze.Close();
    wzor.Close();

    // Made once: a row written to it survives the next switch to the same
    // half-year and a switch away and back.
    tankowanie(pojazd("WA1"), QDate(2009, 2, 2), 25);
    firmaIOkres(2009, 2);
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    tankowanie(dm->TPojazdyIdentyfikatorPojazdu->AsInteger(), QDate(2009, 8, 8), 60);
    ASSERT_TRUE(dm->TOkres->Locate("Polrocze", QVariant(1)));
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    ASSERT_EQ(dm->TZuzycie->RecordCount(), 1);
    EXPECT_DOUBLE_EQ(dm->TZuzycieIloscPaliwa->AsFloat(), 25.0);
    ASSERT_TRUE(dm->TOkres->Locate("Polrocze", QVariant(2)));
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    ASSERT_EQ(dm->TZuzycie->RecordCount(), 1);
    EXPECT_DOUBLE_EQ(dm->TZuzycieIloscPaliwa->AsFloat(), 60.0);
    // The template itself stays empty.
    wzor.Open();
    EXPECT_TRUE(wzor.IsEmpty());
}

// A half-year file that cannot be opened is told with its name and the
// engine's cause under the windows' own text. An empty database of one page
// (what an older build's creation killed before its first commit left) holds
// nothing, and is made anew.
TEST_F(Dane, HalfYearFileThatCannotBeOpenedIsToldWithItsNameAndCause)
{
    firmaIOkres(2009, 1);
    const QString plik = katalog.file("Zuz20091.db");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(plik).constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    tankowanie(pojazd("WA1"), QDate(2009, 3, 3), 40);
    EXPECT_EQ(dm->TZuzycie->RecordCount(), 1);
    EXPECT_TRUE(dialogi.boxes().empty()) << dialogi.texts().join('|').toStdString();

    const QString naglowek = "Bład otwarcia zbioru półrocznego na zużycie paliwa !!!\n";
    // A database's beginning, then rubbish.
    dm.reset();
    QFile zepsuty(plik);
    ASSERT_TRUE(zepsuty.open(QIODevice::WriteOnly | QIODevice::Truncate));
    zepsuty.write(QByteArray("SQLite format 3", 16) + QByteArray(4080, 'x'));
    zepsuty.close();
    otworzModul();
    EXPECT_FALSE(dm->UstawZbiorZuzycia());
    EXPECT_EQ(dm->KomunikatBleduZbioruZuzycia(),
              naglowek + "Zbiór danych Zuz20091.db jest uszkodzony. Odtwórz go z kopii zapasowej.");
    EXPECT_EQ(dm->TZuzycie->TableName(), "Zuzycie.DB");

    // A file the user may not write (as root every file may be written: the
    // module runs as another user, with the rest of the directory open to it).
    ASSERT_TRUE(QFile::remove(plik));
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    dm.reset();
    for (const QString& d : {katalog.path(), temp.path()}) {
        QFile::setPermissions(d, QFileDevice::Permissions(0x7777));
        for (const QString& f : QDir(d).entryList(QDir::Files))
            QFile::setPermissions(QDir(d).filePath(f), QFileDevice::Permissions(0x6666));
    }
    QFile::setPermissions(plik, QFileDevice::Permissions(0x4444));
    const QString tekst = kal::test::InChildAsNobody([] {
        TDM modul;
        return modul.UstawZbiorZuzycia() ? QStringLiteral("opened") : modul.KomunikatBleduZbioruZuzycia();
    });
    if (tekst.startsWith("#skip"))
        GTEST_SKIP() << tekst.toStdString();
    EXPECT_EQ(tekst, naglowek + "Nie można zapisać zbioru danych Zuz20091.db: brak uprawnień do zapisu.");
}

// A half-year file whose first page reads as an empty schema (8 bytes of
// its page header overwritten, its data pages intact, so that a repair can
// start from it) holds records: it is told as damaged with its name and
// cause, and stays on disk as it is. The fuel file and the boiler file alike.
TEST_F(Dane, AHalfYearFileWhoseTablesCannotBeReadIsToldAndKept)
{
    firmaIOkres(2009, 1);
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    ASSERT_TRUE(dm->UstawZbiorZuzyciaKotlow());
    const int id = pojazd("WA1");
    for (int i = 0; i < 50; ++i)
        tankowanie(id, QDate(2009, 1, 1).addDays(i), 10 + i);
    dm.reset();
    {
        kal::TTable kotly;
        kotly.setTableName("ZuzKot20091.db");
        kotly.Open();
        for (int i = 1; i <= 50; ++i) {
            kotly.Append();
            kotly.FieldByName("IdentyfikatorTabC")->setAsInteger(1);
            kotly.FieldByName("DataZuzycia")->setAsDateTime(QDate(2009, 2, 1));
            kotly.FieldByName("IdentyfikatorKotla")->setAsInteger(i);
            kotly.FieldByName("Ilosc")->setAsFloat(i);
            kotly.Post();
        }
    }
    const auto odczytaj = [](const QString& plik) {
        QFile f(plik);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const auto zapisz = [](const QString& plik, const QByteArray& bajty) {
        QFile f(plik);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bajty) == bajty.size();
    };
    const auto tabele = [](const QString& plik) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(QFile::encodeName(plik).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* st = nullptr;
        int n = -1;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &st, nullptr) == SQLITE_OK
            && sqlite3_step(st) == SQLITE_ROW)
            n = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
        sqlite3_close(db);
        return n;
    };
    struct Przypadek {
        QString plik;
        bool kotly;
        QString komunikat; // what the user reads
    };
    const QString uszkodzony = "Zbiór danych %1 jest uszkodzony. Odtwórz go z kopii zapasowej.";
    const Przypadek przypadki[] = {
        {"Zuz20091.db", false,
         "Bład otwarcia zbioru półrocznego na zużycie paliwa !!!\n" + uszkodzony.arg("Zuz20091.db")},
        {"ZuzKot20091.db", true, "Błąd generowania zbioru: ZuzKot20091.db\n" + uszkodzony.arg("ZuzKot20091.db")},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.plik.toStdString());
        const QString plik = katalog.file(p.plik);
        const QByteArray caly = odczytaj(plik);
        ASSERT_GT(caly.size(), 4 * 4096);
        // The b-tree header of the first page, after the file's own 100
        // bytes: a leaf page of no cell.
        QByteArray zepsuty = caly;
        zepsuty.replace(100, 8, QByteArray("\x0D\x00\x00\x00\x00\x10\x00\x00", 8));
        ASSERT_TRUE(zapisz(plik, zepsuty));
        ASSERT_EQ(tabele(plik), 0);

        otworzModul();
        ASSERT_TRUE(dm->TOkres->Locate("Polrocze", QVariant(1)));
        dialogi.clear();
        EXPECT_FALSE(p.kotly ? dm->UstawZbiorZuzyciaKotlow() : dm->UstawZbiorZuzycia());
        const QString komunikat = p.kotly ? dialogi.texts().value(0) : dm->KomunikatBleduZbioruZuzycia();
        EXPECT_EQ(komunikat.toStdString(), p.komunikat.toStdString());
        EXPECT_EQ(dialogi.boxes().size(), p.kotly ? 1u : 0u) << dialogi.texts().join('|').toStdString();
        EXPECT_EQ((p.kotly ? dm->TZuzycieKotla : dm->TZuzycie)->TableName().toStdString(),
                  p.kotly ? "ZuzKotla.db" : "Zuzycie.DB");
        dm.reset();
        EXPECT_TRUE(odczytaj(plik) == zepsuty) << "the file was changed";

        // Its data pages hold every record: with the header back, all 50 read.
        ASSERT_TRUE(zapisz(plik, caly));
        kal::TTable t;
        t.setTableName(plik);
        t.Open();
        EXPECT_EQ(t.RecordCount(), 50);
    }
}

TEST_F(Dane, HalfYearSwitchPostsOrKeepsAPendingFuelChange)
{
    firmaIOkres(2009, 1);
    const int id = pojazd("WA1");

    // A new row typed on the template, before the first switch, is written
    // to the file it was typed into before the component leaves it.
    ASSERT_EQ(dm->TZuzycie->TableName(), "Zuzycie.DB");
    dm->TZuzycie->Insert();
    dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(id);
    dm->TZuzycieDataTankowania->setAsDateTime(QDate(2009, 3, 3));
    dm->TZuzycieRodzajPaliwa->setAsString("5");
    dm->TZuzycieIloscPaliwa->setAsFloat(30);
    dialogi.clear();
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    EXPECT_TRUE(dialogi.boxes().empty());
    EXPECT_EQ(dm->TZuzycie->TableName(), "Zuz20091.db");
    EXPECT_TRUE(dm->TZuzycie->IsEmpty());
    {
        kal::TTable wzor;
        wzor.setTableName(katalog.file("Zuzycie.DB"));
        wzor.Open();
        ASSERT_EQ(wzor.RecordCount(), 1);
        EXPECT_DOUBLE_EQ(wzor.FieldByName("IloscPaliwa")->AsFloat(), 30.0);
    }

    // A change whose post is refused: the switch is refused with the rule's
    // message (the row belongs to the first half-year, the period now
    // current is the second), the component stays on its file and the
    // typed value is still there.
    tankowanie(id, QDate(2009, 3, 3), 40);
    firmaIOkres(2009, 2);
    dm->TZuzycie->Edit();
    dm->TZuzycieIloscPaliwa->setAsFloat(45.5);
    dialogi.clear();
    EXPECT_FALSE(dm->UstawZbiorZuzycia());
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].kind, kal::test::DialogCall::Error);
    EXPECT_EQ(dialogi.boxes()[0].text, "Drugie półrocze dotyczy miesięcy od lipca do grudnia !!!");
    EXPECT_EQ(dm->TZuzycie->TableName(), "Zuz20091.db");
    EXPECT_EQ(dm->TZuzycie->State(), kal::dsEdit);
    EXPECT_DOUBLE_EQ(dm->TZuzycieIloscPaliwa->AsFloat(), 45.5);

    // Given up by the user, the switch goes on; the first half-year keeps
    // the stored value.
    dm->TZuzycie->Cancel();
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    EXPECT_EQ(dm->TZuzycie->TableName(), "Zuz20092.db");
    EXPECT_TRUE(dm->TZuzycie->IsEmpty());
    ASSERT_TRUE(dm->TOkres->Locate("Polrocze", QVariant(1)));
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    ASSERT_EQ(dm->TZuzycie->RecordCount(), 1);
    EXPECT_DOUBLE_EQ(dm->TZuzycieIloscPaliwa->AsFloat(), 40.0);
}

TEST_F(Dane, RateCarryOverFailingPartWayGivesTheLinkBack)
{
    firmaIOkres(2009, 1);
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    dm->TStawkiTabD->Edit();
    dm->TStawkiTabDBDEDesigner1a->setAsFloat(12.5);
    dm->TStawkiTabD->Post();
    firmaIOkres(2009, 2);
    const int okres2 = dm->TOkresIdentyfikatorOkresu->AsInteger();

    // The move to the last rate row raises once.
    int wywolania = 0;
    auto stary = dm->TStawkiTabD->BeforeScroll;
    dm->TStawkiTabD->BeforeScroll = [&](kal::TTable& t) {
        if (++wywolania == 1)
            throw kal::Exception(QStringLiteral("Odczyt stawek przerwany"));
        if (stary)
            stary(t);
    };
    dialogi.clear();
    EXPECT_FALSE(dm->OtworzZalacznikiPolrocza());
    EXPECT_GE(wywolania, 1);
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].text,
              "Nieznany błąd dopisu do stawek tabeli D !!!\nSpecyfikacja błędu\nOdczyt stawek przerwany");
    // The table is back on the period: it shows the new period's (no) rows,
    // not the first period's rates.
    EXPECT_EQ(dm->TStawkiTabD->MasterSource(), dm->DOkres);
    EXPECT_EQ(dm->TStawkiTabD->State(), kal::dsBrowse);
    EXPECT_TRUE(dm->TStawkiTabD->IsEmpty());
    EXPECT_EQ(dm->TStawkiTabC->RecordCount(), 1);

    // The next try carries the rates over into the new period's row.
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    ASSERT_EQ(dm->TStawkiTabD->RecordCount(), 1);
    EXPECT_EQ(dm->TStawkiTabDIdentyfikatorOkresu->AsInteger(), okres2);
    EXPECT_DOUBLE_EQ(dm->TStawkiTabDBDEDesigner1a->AsFloat(), 12.5);
    // Back on the first period, its own row is shown.
    ASSERT_TRUE(dm->TOkres->Locate("Polrocze", QVariant(1)));
    ASSERT_EQ(dm->TStawkiTabD->RecordCount(), 1);
    EXPECT_NE(dm->TStawkiTabDIdentyfikatorOkresu->AsInteger(), okres2);
    dm->TStawkiTabD->BeforeScroll = stary;

    // A window on the rates that raises once when the rows change under it:
    // the very cut of the link fails, and the link still comes back.
    struct OknoStawek final : kal::TDataLink {
        int doRzucenia = 0;
        void dataSetChanged() override
        {
            if (doRzucenia > 0 && --doRzucenia == 0)
                throw kal::Exception(QStringLiteral("Odświeżenie stawek przerwane"));
        }
    } okno;
    okno.setDataSource(dm->DStawkiTabD);
    firmaIOkres(2010, 1);
    okno.doRzucenia = 1;
    dialogi.clear();
    EXPECT_FALSE(dm->OtworzZalacznikiPolrocza());
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].text,
              "Nieznany błąd dopisu do stawek tabeli D !!!\nSpecyfikacja błędu\nOdświeżenie stawek przerwane");
    EXPECT_EQ(dm->TStawkiTabD->MasterSource(), dm->DOkres);
    EXPECT_TRUE(dm->TStawkiTabD->IsEmpty());
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    ASSERT_EQ(dm->TStawkiTabD->RecordCount(), 1);
    EXPECT_DOUBLE_EQ(dm->TStawkiTabDBDEDesigner1a->AsFloat(), 12.5);
    okno.setDataSource(nullptr);
}

TEST_F(Dane, PendingStatementRowIsPostedOrKept)
{
    firmaIOkres(2009, 1);
    // One row in each of the five tables for a new period.
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    for (kal::TTable* t : {dm->TTabelaC, dm->TTabelaD, dm->TZalacznik1, dm->TStawkiTabC, dm->TStawkiTabD})
        EXPECT_EQ(t->RecordCount(), 1) << t->Name().toStdString();

    // A new period whose table C row the user is typing: the typed row is
    // the period's row, not dropped for an empty one.
    firmaIOkres(2009, 2);
    dm->TTabelaC->Insert();
    dm->TTabelaCI2->setAsFloat(3.75);
    dialogi.clear();
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    EXPECT_TRUE(dialogi.boxes().empty());
    ASSERT_EQ(dm->TTabelaC->RecordCount(), 1);
    EXPECT_DOUBLE_EQ(dm->TTabelaCI2->AsFloat(), 3.75);
    EXPECT_EQ(dm->TTabelaD->RecordCount(), 1);

    // A pending edit whose post is refused: the save text with the reason,
    // the edit stays with its value, nothing later is visited.
    auto stary = dm->TTabelaD->BeforePost;
    dm->TTabelaD->BeforePost = [&](kal::TTable& t) {
        if (stary)
            stary(t);
        if (dm->TTabelaDBDEDesigner2a->AsFloat() > 100.0)
            throw kal::Exception(QStringLiteral("Za duża masa !!!"));
    };
    dm->TTabelaD->Edit();
    dm->TTabelaDBDEDesigner2a->setAsFloat(250.0);
    dialogi.clear();
    EXPECT_FALSE(dm->OtworzZalacznikiPolrocza());
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].text, "Nieudany zapis tabeli D !!!\nSpecyfikacja błędu\nZa duża masa !!!");
    EXPECT_EQ(dialogi.boxes()[0].caption, "Otwarcie załączników do półrocza.");
    EXPECT_EQ(dialogi.boxes()[0].icon, kal::MsgIcon::Stop);
    EXPECT_EQ(dm->TTabelaD->State(), kal::dsEdit);
    EXPECT_DOUBLE_EQ(dm->TTabelaDBDEDesigner2a->AsFloat(), 250.0);

    // Corrected, it is written and the call goes on.
    dm->TTabelaDBDEDesigner2a->setAsFloat(80.0);
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    EXPECT_EQ(dm->TTabelaD->State(), kal::dsBrowse);
    EXPECT_EQ(dm->TTabelaD->RecordCount(), 1);
    EXPECT_DOUBLE_EQ(dm->TTabelaDBDEDesigner2a->AsFloat(), 80.0);
    dm->TTabelaD->BeforePost = stary;
}

TEST_F(Dane, TypedValuesOfTheFeeTables)
{
    firmaIOkres();
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    int przeliczC = 0, przeliczD = 0;
    dm->PrzeliczTabeleC = [&] { ++przeliczC; };
    dm->PrzeliczTabeleD = [&] { ++przeliczD; };

    dm->TTabelaD->Edit();
    dm->TTabelaDBDEDesigner1a->setText("-5");
    EXPECT_EQ(dm->TTabelaDBDEDesigner1a->AsFloat(), 0.0);
    dm->TTabelaDBDEDesigner1a->setText("12,5");
    EXPECT_DOUBLE_EQ(dm->TTabelaDBDEDesigner1a->AsFloat(), 12.5);
    // Letters are refused: the value stays and nothing is recomputed.
    EXPECT_THROW(dm->TTabelaDBDEDesigner1a->setText("abc"), kal::Exception);
    EXPECT_DOUBLE_EQ(dm->TTabelaDBDEDesigner1a->AsFloat(), 12.5);
    dm->TTabelaDBDEDesigner1a->setText("");
    EXPECT_EQ(dm->TTabelaDBDEDesigner1a->AsFloat(), 0.0);
    EXPECT_FALSE(dm->TTabelaDBDEDesigner1a->IsNull());
    EXPECT_EQ(przeliczD, 3);
    EXPECT_EQ(przeliczC, 0);
    // A value that code writes recomputes nothing.
    dm->TTabelaDBDEDesigner1b->setAsFloat(-1);
    EXPECT_EQ(przeliczD, 3);
    dm->TTabelaD->Post();
    EXPECT_EQ(dm->TTabelaDBDEDesigner1b->AsFloat(), 0.0);

    dm->TTabelaC->Edit();
    dm->TTabelaCI1->setText("1 234,5");
    EXPECT_DOUBLE_EQ(dm->TTabelaCI1->AsFloat(), 1234.5);
    EXPECT_EQ(przeliczC, 1);
    dm->TStawkiTabD->Edit();
    dm->TStawkiTabDBDEDesigner4f->setText("3,25");
    EXPECT_EQ(przeliczD, 4);
    dm->TStawkiTabD->Post();

    // Counts: empty and negative give 0, a fraction or a letter is refused.
    dm->TTabelaCLKI1->setText("");
    EXPECT_EQ(dm->TTabelaCLKI1->AsInteger(), 0);
    EXPECT_FALSE(dm->TTabelaCLKI1->IsNull());
    dm->TTabelaCLKI1->setText("-3");
    EXPECT_EQ(dm->TTabelaCLKI1->AsInteger(), 0);
    dm->TTabelaCLKI1->setText("2");
    EXPECT_EQ(dm->TTabelaCLKI1->AsInteger(), 2);
    EXPECT_EQ(przeliczC, 4);
    EXPECT_THROW(dm->TTabelaCLKI1->setText("2,5"), kal::EConvertError);
    EXPECT_THROW(dm->TTabelaCLKI1->setText("x"), kal::EConvertError);
    EXPECT_THROW(dm->TTabelaCLKI1->setText("40000"), kal::EConvertError);
    EXPECT_EQ(dm->TTabelaCLKI1->AsInteger(), 2);
    EXPECT_EQ(przeliczC, 4);
    dm->TTabelaC->Post();

    // Register amounts are kept non-negative and recompute nothing.
    dm->TZuzycie->Insert();
    dm->TZuzycieIloscPaliwa->setText("-7");
    EXPECT_EQ(dm->TZuzycieIloscPaliwa->AsFloat(), 0.0);
    dm->TZuzycieIloscPaliwa->setText("7,5");
    EXPECT_DOUBLE_EQ(dm->TZuzycieIloscPaliwa->AsFloat(), 7.5);
    dm->TZuzycie->Cancel();
    EXPECT_EQ(przeliczC, 4);
    EXPECT_EQ(przeliczD, 4);
}

TEST_F(Dane, NewTableCRow)
{
    firmaIOkres();
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    EXPECT_EQ(dm->TTabelaCNazwaGminy->AsString(), "");
    for (const QString& n : Schemat::PolaIlosciTabeliC()) {
        EXPECT_FALSE(dm->TTabelaC->FieldByName(n)->IsNull()) << n.toStdString();
        EXPECT_EQ(dm->TTabelaC->FieldByName(n)->AsFloat(), 0.0);
    }
    for (const QString& n : Schemat::PolaLiczbTabeliC())
        EXPECT_TRUE(dm->TTabelaC->FieldByName(n)->IsNull()) << n.toStdString();

    // A second commune; an emptied quantity is stored as 0.
    dm->TTabelaC->Insert();
    dm->TTabelaCNazwaGminy->setAsString("Płock");
    dm->TTabelaCV3->Clear();
    dm->TTabelaCII2->setAsFloat(-2);
    dm->TTabelaC->Post();
    EXPECT_EQ(dm->TTabelaC->RecordCount(), 2);
    EXPECT_FALSE(dm->TTabelaCV3->IsNull());
    EXPECT_EQ(dm->TTabelaCII2->AsFloat(), 0.0);

    // The same commune twice in one period is refused with the table's own text.
    dm->TTabelaC->Insert();
    dm->TTabelaCNazwaGminy->setAsString("Płock");
    dialogi.clear();
    EXPECT_THROW(dm->TTabelaC->Post(), kal::EAbort);
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_TRUE(dialogi.boxes()[0].text.startsWith("Nazwa gminy w tabeli C dla okresu powtarza się !!!\n"));
    EXPECT_EQ(dialogi.boxes()[0].caption, "Błąd komponentu: TTabelaC");
    dm->TTabelaC->Cancel();
}

TEST_F(Dane, VehicleDefaultsTextsAndChecks)
{
    dm->TPojazdy->Insert();
    EXPECT_EQ(dm->TPojazdyRodzajPojazdu->DisplayText(), "1 -samochód osobowy z katalizatorem");
    EXPECT_EQ(dm->TPojazdyNormaEuro->DisplayText(), "0 - bez EURO");
    EXPECT_EQ(dm->TPojazdyFabrycznaInstalacjaGazu->DisplayText(), "Nie");
    EXPECT_EQ(dm->TPojazdyLadownosc->AsFloat(), 0.0);
    EXPECT_FALSE(dm->TPojazdyRokProdukcji->IsNull());
    EXPECT_EQ(komunikat([&] { dm->TPojazdy->Post(); }), "Numer rejestracyjny pojazdu musi być wprowadzony !!!");

    dm->TPojazdyNrRejestracyjny->setAsString("WA 12345");
    EXPECT_EQ(komunikat([&] { dm->TPojazdyRodzajPojazdu->setAsString("12"); }),
              "Rodzaj pojazdu jest z zakresu 1-11 !!!");
    EXPECT_EQ(komunikat([&] { dm->TPojazdyRodzajPojazdu->setAsString("x"); }),
              "Rodzaj pojazdu jest z zakresu 1-11 !!!");
    EXPECT_EQ(dm->TPojazdyRodzajPojazdu->AsString(), "1");
    dm->TPojazdyRodzajPojazdu->setAsString("10");
    EXPECT_EQ(dm->TPojazdyRodzajPojazdu->DisplayText(), "10- maszyny robocze");
    EXPECT_EQ(komunikat([&] { dm->TPojazdyNormaEuro->setAsString("6"); }),
              "Dopuszczalne rodzaje norm EURO: 0 - bez normy\n 1 - EURO 1, 2 - EURO 2\n 3 - EURO 3, 4 - EURO 4, 5 - EURO 5.");
    dm->TPojazdyNormaEuro->setAsString("3");
    EXPECT_EQ(dm->TPojazdyNormaEuro->DisplayText(), "3 - EURO 3/Etap IIIA");
    EXPECT_EQ(komunikat([&] { dm->TPojazdyFabrycznaInstalacjaGazu->setAsString(""); }),
              "Fabtyczna instalacja gazu: Tak, lub Nie !!!");
    dm->TPojazdyFabrycznaInstalacjaGazu->setAsString("T");
    EXPECT_EQ(dm->TPojazdyFabrycznaInstalacjaGazu->DisplayText(), "Tak");
    dm->TPojazdyRokProdukcji->setAsInteger(-5);
    dm->TPojazdyLadownosc->Clear();
    dm->TPojazdyNormaLetnia->setAsFloat(8.4);
    dm->TPojazdyNormaZimowa->setAsFloat(9.1);
    EXPECT_DOUBLE_EQ(dm->TPojazdyNormaSrednia->AsFloat(), 8.75);
    dm->TPojazdy->Post();
    EXPECT_EQ(dm->TPojazdyRokProdukcji->AsInteger(), 0);
    EXPECT_FALSE(dm->TPojazdyLadownosc->IsNull());
    EXPECT_EQ(komunikat([&] { dm->TPojazdy->Delete(); }), "Nie można kasować pojazdów !!!");

    // Average norm: a norm below 0.005 counts as missing, a negative average is 0.
    dm->TPojazdy->Edit();
    dm->TPojazdyNormaZimowa->Clear();
    EXPECT_DOUBLE_EQ(dm->TPojazdyNormaSrednia->AsFloat(), 8.4);
    dm->TPojazdyNormaLetnia->setAsFloat(0.004);
    dm->TPojazdyNormaZimowa->setAsFloat(9);
    EXPECT_DOUBLE_EQ(dm->TPojazdyNormaSrednia->AsFloat(), 9.0);
    dm->TPojazdyNormaLetnia->setAsFloat(-2);
    dm->TPojazdyNormaZimowa->Clear();
    EXPECT_EQ(dm->TPojazdyNormaSrednia->AsFloat(), 0.0);
    dm->TPojazdyNormaLetnia->setAsFloat(5);
    dm->TPojazdyNormaZimowa->setAsFloat(-1);
    EXPECT_DOUBLE_EQ(dm->TPojazdyNormaSrednia->AsFloat(), 5.0);

    // Euro class for table D: an empty class takes the one the kind names.
    dm->TPojazdyRodzajPojazdu->setAsString("5");
    dm->TPojazdyNormaEuro->setAsString("");
    EXPECT_EQ(dm->KlasaEuroPojazdu(), QLatin1Char('2'));
    EXPECT_EQ(dm->TPojazdyNormaEuro->DisplayText(), "0 - bez EURO");
    dm->TPojazdyRodzajPojazdu->setAsString("4");
    dm->TPojazdyNormaEuro->setAsString("0");
    EXPECT_EQ(dm->KlasaEuroPojazdu(), QLatin1Char('0'));
    dm->TPojazdy->Cancel();
}

TEST_F(Dane, FuelRecordRules)
{
    firmaIOkres(2009, 1);
    const int wa = pojazd("WA1", "3");

    dm->TZuzycie->Insert();
    EXPECT_EQ(dm->TZuzycieIloscPaliwa->AsFloat(), 0.0);
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), "Musisz wybrać pojazd !!!");
    dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(wa);
    // Choosing the vehicle copies its kind.
    EXPECT_EQ(dm->TZuzycieRodzajPojazdu->AsString(), "3");
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), "Data tankowania musi być dobrze określona !!!");
    EXPECT_EQ(komunikat([&] { dm->TZuzycieDataTankowania->setText("2009-02-30"); }),
              "Data tankowania musi być dobrze określona !!!");
    EXPECT_TRUE(dm->TZuzycieDataTankowania->IsNull());
    // A valid date outside the half-year is reported and stays in the field.
    EXPECT_EQ(komunikat([&] { dm->TZuzycieDataTankowania->setText("2009-07-01"); }),
              "Pierwsze pólrocze dotyczy miesięcy od stycznia do czerwca !!!");
    EXPECT_EQ(dm->TZuzycieDataTankowania->AsString(), "2009-07-01");
    EXPECT_EQ(komunikat([&] { dm->TZuzycieDataTankowania->setText("2008-03-01"); }),
              "Data tankowania musi dotyczyć roku: 2009 roku.");
    dm->TZuzycieDataTankowania->setText("2009-03-15");
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), "Musisz wybrać rodzaj paliwa !!!");
    EXPECT_EQ(komunikat([&] { dm->TZuzycieRodzajPaliwa->setAsString("7"); }), "Rodzaj paliwa jest niewłaściwy !!!");
    dm->TZuzycieRodzajPaliwa->setAsString("c");
    EXPECT_EQ(dm->TZuzycieRodzajPaliwa->DisplayText(), "c - sprężony gaz ziemny");
    dm->TZuzycieIloscPaliwa->setAsFloat(-3);
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), "Ilość paliwa musi być większa od zera !!!");
    EXPECT_EQ(dm->TZuzycieIloscPaliwa->AsFloat(), 0.0);
    dm->TZuzycieIloscPaliwa->setAsFloat(0.01);
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), "");
    EXPECT_EQ(dm->TZuzycieRodzajPojazdu->DisplayText(), "3 -samochód nieosobowy o masie poniżej 3,5 Mg");
    // The fuel record's vehicle becomes the current vehicle.
    pojazd("ZZ9", "8");
    tankowanie(wa, QDate(2009, 5, 5), 20);
    EXPECT_EQ(dm->TPojazdyNrRejestracyjny->AsString(), "WA1");

    // A vehicle id that belongs to no vehicle.
    dm->TZuzycie->Insert();
    dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(wa + 100);
    dm->TZuzycieDataTankowania->setAsDateTime(QDate(2009, 4, 1));
    dm->TZuzycieRodzajPaliwa->setAsString("5");
    dm->TZuzycieIloscPaliwa->setAsFloat(10);
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), "Niewłaściwe dane wybranego pojazdu !!!");
    EXPECT_TRUE(dm->TPojazdy->Eof());
    dm->TZuzycie->Cancel();

    // The second half-year takes July, not June.
    firmaIOkres(2009, 2);
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    dm->TZuzycie->Insert();
    EXPECT_EQ(komunikat([&] { dm->TZuzycieDataTankowania->setText("2009-06-30"); }),
              "Drugie półrocze dotyczy miesięcy od lipca do grudnia !!!");
    EXPECT_EQ(komunikat([&] { dm->TZuzycieDataTankowania->setText("2009-07-01"); }), "");
    dm->TZuzycie->Cancel();
}

TEST_F(Dane, PlacesDensitiesMileageAndInspections)
{
    dm->TMiejsceUz->Append();
    EXPECT_EQ(komunikat([&] { dm->TMiejsceUz->Post(); }), "Nazwa miejsca użytkowania nie może być pusta !!!");
    dm->TMiejsceUz->Cancel();
    dm->TMiejscTank->Append();
    EXPECT_EQ(komunikat([&] { dm->TMiejscTank->Post(); }), "Nazwa miejsca tankowania nie może być pusta !!!");
    dm->TMiejscTank->Cancel();

    EXPECT_EQ(komunikat([&] { dm->TTabelaGest->Append(); }), "Nie można dopisywać nowych rodzajów paliwa !!!");
    dm->TTabelaGest->First();
    EXPECT_EQ(komunikat([&] { dm->TTabelaGest->Delete(); }), "Nie można kasować rodzajów paliwa !!!");
    dm->TTabelaGest->Edit();
    dm->TTabelaGestGestosc->setAsFloat(0);
    EXPECT_EQ(komunikat([&] { dm->TTabelaGest->Post(); }), "Gęstość paliwa jest wielokością większą od zera !!!");
    dm->TTabelaGest->Cancel();
    EXPECT_EQ(dm->TTabelaGest->RecordCount(), 12);

    pojazd("KR1");
    dm->TPojazdy->Edit();
    EXPECT_EQ(komunikat([&] { dm->TPojazdyDataKonca->setText("2009-02-30"); }),
              "Data końca musi być dobrze określona !!!");
    EXPECT_TRUE(dm->TPojazdyDataKonca->IsNull());
    dm->TPojazdyDataKonca->setText("2010-01-31");
    EXPECT_EQ(dm->TPojazdyDataKonca->DisplayText(), "2010-01-31");
    EXPECT_EQ(komunikat([&] { dm->TPojazdyDataPierwszejRejestracji->setText("2009-02-30"); }),
              "Data pierwszej rejestracji musi być dobrze określona !!!");
    dm->TPojazdy->Post();

    dm->TPrzebieg->Insert();
    EXPECT_EQ(komunikat([&] { dm->TPrzebieg->Post(); }), "Data przebiegu musi być dobrze określona !!!");
    dm->TPrzebieg->Cancel();

    dm->TPrzegl->Insert();
    EXPECT_EQ(komunikat([&] { dm->TPrzegl->Post(); }), "Data przeglądu/naprawy musi być dobrze określona !!!");
    dm->TPrzeglData->setText("2009-05-05");
    dm->TPrzeglWartosc->setAsFloat(12.345);
    dm->TPrzeglIloscKm->setAsFloat(1000.125);
    dm->TPrzegl->Post();
    EXPECT_DOUBLE_EQ(dm->TPrzeglWartosc->AsFloat(), 12.35);
    EXPECT_DOUBLE_EQ(dm->TPrzeglIloscKm->AsFloat(), 1000.125);
    EXPECT_EQ(dm->TPrzeglWartosc->DisplayText(), "12,35");
}

namespace {

// Mileage entries of the file: "vehicle date km" lines in key order.
QStringList przebiegi()
{
    QStringList l;
    kal::TTable t;
    t.setTableName("Przebieg.db");
    t.setIndexFieldNames("IdentyfikatorPojazdu;Data");
    t.Open();
    for (t.First(); !t.Eof(); t.Next())
        l << QStringLiteral("%1 %2 %3")
                 .arg(t.FieldByName("IdentyfikatorPojazdu")->AsInteger())
                 .arg(t.FieldByName("Data")->AsString())
                 .arg(t.FieldByName("IloscKilometrow")->AsFloat());
    return l;
}

} // namespace

TEST_F(Dane, OdometerReadingsOfFuelRecordsGoToTheMileageRegister)
{
    firmaIOkres(2009, 1);
    const int a = pojazd("A1");
    const int b = pojazd("B1");
    const QString A = QString::number(a), B = QString::number(b);

    tankowanie(a, QDate(2009, 3, 15), 40, 12345);
    EXPECT_EQ(przebiegi(), QStringList({A + " 2009-03-15 12345"}));
    // No reading, or one below 1 km: nothing is written.
    tankowanie(a, QDate(2009, 3, 20), 40);
    tankowanie(a, QDate(2009, 3, 21), 40, 0.5);
    EXPECT_EQ(przebiegi().size(), 1);
    // A second purchase that day: the entry holds the reading saved last.
    tankowanie(a, QDate(2009, 3, 15), 10, 12400);
    EXPECT_EQ(przebiegi(), QStringList({A + " 2009-03-15 12400"}));

    // Moving the record to the 16th moves the entry.
    ASSERT_TRUE(dm->TZuzycie->Locate("IloscPaliwa", QVariant(10.0)));
    dm->TZuzycie->Edit();
    dm->TZuzycieDataTankowania->setAsDateTime(QDate(2009, 3, 16));
    dm->TZuzycie->Post();
    EXPECT_EQ(przebiegi(), QStringList({A + " 2009-03-16 12400"}));

    // An entry already on the new day takes the reading; the old one goes.
    tankowanie(a, QDate(2009, 3, 17), 5, 12500);
    ASSERT_TRUE(dm->TZuzycie->Locate("IloscPaliwa", QVariant(10.0)));
    dm->TZuzycie->Edit();
    dm->TZuzycieDataTankowania->setAsDateTime(QDate(2009, 3, 17));
    dm->TZuzycie->Post();
    EXPECT_EQ(przebiegi(), QStringList({A + " 2009-03-17 12400"}));

    // Another vehicle: the entry moves to it.
    ASSERT_TRUE(dm->TZuzycie->Locate("IloscPaliwa", QVariant(10.0)));
    dm->TZuzycie->Edit();
    dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(b);
    dm->TZuzycie->Post();
    EXPECT_EQ(przebiegi(), QStringList({B + " 2009-03-17 12400"}));

    // A reading added by an edit inserts the entry.
    ASSERT_TRUE(dm->TZuzycie->Locate("DataTankowania", QVariant(QDate(2009, 3, 20))));
    dm->TZuzycie->Edit();
    dm->TZuzycieIloscKm->setAsFloat(12450);
    dm->TZuzycie->Post();
    EXPECT_EQ(przebiegi(), QStringList({A + " 2009-03-20 12450", B + " 2009-03-17 12400"}));
    EXPECT_FALSE(dm->DopisanoWierszZuzycia);
    EXPECT_FALSE(dm->TPrzRob->Active());
}

TEST_F(Dane, BoilersAndTheTableCSummation)
{
    // Boiler rules.
    dm->TKotly->Append();
    EXPECT_EQ(dm->TKotlyIlosc->AsInteger(), 1);
    EXPECT_EQ(dm->TKotlyRodzajKotla->DisplayText(), "????");
    dm->TKotlyOpisKotla->setAsString("Kocioł");
    EXPECT_EQ(komunikat([&] { dm->TKotly->Post(); }), "Niewłaściwy rodzaj kotła !!!");
    EXPECT_EQ(komunikat([&] { dm->TKotlyRodzajKotla->setAsString("12"); }), "Niewłaściwy rodzaj kotła !!!");
    // The drop-down text cut to the field's width keeps the code.
    dm->TKotlyRodzajKotla->setAsString("111 Kotły opalane węglem kamiennym.");
    EXPECT_EQ(dm->TKotlyRodzajKotla->AsString(), "111 K");
    EXPECT_EQ(dm->TKotlyRodzajKotla->DisplayText(),
              "111 Kotły opalane węglem kamiennym. Kocioł z rusztem mechanicznym, z urządzeniem odpylającym, "
              "nominalna moc cieplna <=3 MW.");
    dm->TKotlyOpisKotla->Clear();
    EXPECT_EQ(komunikat([&] { dm->TKotly->Post(); }), "Musisz wprowadzić opis kotła !!!");
    dm->TKotlyOpisKotla->setAsString("Węglowy");
    dm->TKotlyIlosc->setAsInteger(-3);
    dm->TKotly->Post();
    EXPECT_EQ(dm->TKotlyIlosc->AsInteger(), 1);
    const int wegiel = dm->TKotlyIdentyfikator->AsInteger();
    auto kociol = [&](const char* rodzaj, const char* opis) {
        dm->TKotly->Append();
        dm->TKotlyRodzajKotla->setAsString(rodzaj);
        dm->TKotlyOpisKotla->setAsString(opis);
        dm->TKotly->Post();
        return dm->TKotlyIdentyfikator->AsInteger();
    };
    const int olej = kociol("410", "Olejowy");
    const int gaz = kociol("511", "Gazowy");
    const int gazZaazotowany = kociol("521", "Gaz zaazotowany");
    const int gazZaazotowany5 = kociol("522", "Gaz zaazotowany 5 MW");

    // A fuel-7 density of 0.85.
    ASSERT_TRUE(dm->TTabelaGest->Locate("IdentyfikatorPaliwa", QVariant("7")));
    dm->TTabelaGest->Edit();
    dm->TTabelaGestGestosc->setAsFloat(0.85);
    dm->TTabelaGest->Post();

    firmaIOkres(2009, 1);
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    ASSERT_TRUE(dm->UstawZbiorZuzyciaKotlow());
    EXPECT_EQ(dm->TZuzycieKotla->TableName(), "ZuzKot20091.db");

    auto zuzycie = [&](int kociolId, const char* data, double ilosc, bool naTony = false) {
        dm->TZuzycieKotla->Insert();
        dm->TZuzycieKotlaIdentyfikatorKotla->setAsInteger(kociolId);
        dm->TZuzycieKotlaDataZuzycia->setText(data);
        dm->TZuzycieKotlaIlosc->setAsFloat(ilosc);
        dm->TZuzycieKotlaIloscPrzNaTony->setAsBoolean(naTony);
        dm->TZuzycieKotla->Post();
    };
    dm->TZuzycieKotla->Insert();
    EXPECT_EQ(dm->TZuzycieKotlaIdentyfikatorTabC->AsInteger(), dm->TTabelaCIdentyfikator->AsInteger());
    EXPECT_EQ(komunikat([&] { dm->TZuzycieKotlaDataZuzycia->setText(" "); }),
              "Data zużycia kotła musi być dobrze określona !!!");
    EXPECT_EQ(komunikat([&] { dm->TZuzycieKotlaDataZuzycia->setText("2009-08-01"); }),
              "Pierwsze pólrocze dotyczy miesięcy od stycznia do czerwca !!!");
    dm->TZuzycieKotlaDataZuzycia->setText("2009-02-01");
    dm->TZuzycieKotlaIlosc->setAsFloat(0.0009);
    EXPECT_EQ(komunikat([&] { dm->TZuzycieKotla->Post(); }), "Ilość zużycia kotła musi być większa od zera !!!");
    dm->TZuzycieKotlaIlosc->setAsFloat(0.001);
    EXPECT_EQ(komunikat([&] { dm->TZuzycieKotla->Post(); }), "Musisz wybrać kotły do zużycia !!!");
    dm->TZuzycieKotla->Cancel();

    zuzycie(wegiel, "2009-02-01", 0.004);
    zuzycie(wegiel, "2009-02-02", 0.004);
    zuzycie(olej, "2009-03-01", 1000);
    zuzycie(olej, "2009-03-02", 2, true);
    zuzycie(gaz, "2009-04-01", 123.456, true);
    zuzycie(gaz, "2009-04-02", 0.5);
    zuzycie(gazZaazotowany, "2009-04-03", 0.0015);
    zuzycie(gazZaazotowany, "2009-04-04", 0.001);
    zuzycie(gazZaazotowany5, "2009-04-05", 0.0149004);
    zuzycie(gazZaazotowany5, "2009-04-06", 0.0010005);

    dm->TTabelaC->Edit();
    dm->TTabelaCV3->setAsFloat(77); // typed by hand; no boiler of kind 530
    dm->TTabelaC->Post();
    dm->PrzeliczTabeleCZKotlow();
    EXPECT_EQ(dm->TTabelaC->State(), kal::dsBrowse);
    EXPECT_DOUBLE_EQ(dm->TTabelaCI1->AsFloat(), 0.01);      // 0.008 rounded once
    EXPECT_DOUBLE_EQ(dm->TTabelaCIV1->AsFloat(), 2.85);     // 1000 l x 0.85 kg/l = 0.85 Mg, plus 2 Mg
    // Natural gas as entered, in millions of m³ to the whole m³: 123 456 + 500 000 m³,
    // 1 500 + 1 000 m³, and 14 900,4 + 1 000,5 m³ = 15 900,9 m³ rounded to 15 901 m³.
    EXPECT_DOUBLE_EQ(dm->TTabelaCV1a->AsFloat(), 123.956);
    EXPECT_DOUBLE_EQ(dm->TTabelaCV2a->AsFloat(), 0.0025);
    EXPECT_DOUBLE_EQ(dm->TTabelaCV2b->AsFloat(), 0.015901);
    EXPECT_EQ(dm->TTabelaCV3->AsFloat(), 0.0);
    EXPECT_EQ(dm->TTabelaCI2->AsFloat(), 0.0);
}

TEST_F(Dane, TableARules)
{
    firmaIOkres(2009, 1);

    dm->TGminy->Append();
    EXPECT_EQ(komunikat([&] { dm->TGminy->Post(); }), "Nazwa gminy nie może być pusta !!!");
    dm->TGminyNazwaGminy->setAsString("Płock");
    dm->TGminy->Post();

    dm->TSubsatncje->Append();
    dm->TSubsatncjeNazwaSubstancji->setAsString("Pył");
    EXPECT_EQ(komunikat([&] { dm->TSubsatncje->Post(); }), "Musisz wprowadzić kod substancji !!!");
    dm->TSubsatncjeKodSubstancji->setAsString("P1");
    EXPECT_EQ(komunikat([&] { dm->TSubsatncje->Post(); }), "Jednostkowa stawka opłaty jest obowiązkowa !!!");
    dm->TSubsatncjeJednostkowaStawka->setAsFloat(0.00009);
    EXPECT_EQ(komunikat([&] { dm->TSubsatncje->Post(); }), "Jednostkowa stawka opłaty musi być dodatnia !!!");
    dm->TSubsatncjeJednostkowaStawka->setAsFloat(0.0001);
    dm->TSubsatncje->Post();

    dm->TZrodla->Append();
    dm->TZrodlaRodzajInstalacji->setAsString("Lakiernia");
    EXPECT_EQ(komunikat([&] { dm->TZrodla->Post(); }),
              "Nr, data wydania oraz organ wydający pozwolenie są obowiązkowe !!!");
    dm->TZrodlaPozwoleniezData->setAsString("1/2009");
    EXPECT_EQ(komunikat([&] { dm->TZrodlaTerminObowiazywania->setText("2009-02-30"); }),
              "Termin obowiązywania musi być dobrze określony !!!");
    EXPECT_EQ(komunikat([&] { dm->TZrodla->Post(); }), "Termin obowiązywania jest obowiązkowy !!!");
    dm->TZrodlaTerminObowiazywania->setText("2015-12-31");
    dm->TZrodla->Post();

    dm->TTabelaAGmina->Insert();
    EXPECT_EQ(komunikat([&] { dm->TTabelaAGmina->Post(); }), "Musisz wybrać gminę !!!");
    dm->TTabelaAGminaIdentyfikatorGminy->setAsInteger(dm->TGminyIdentyfikatorGminy->AsInteger());
    EXPECT_EQ(komunikat([&] { dm->TTabelaAGmina->Post(); }), "Powiat musi być wprowadzony !!!");
    dm->TTabelaAGminaPowiat->setAsString("płocki");
    dm->TTabelaAGmina->Post();
    EXPECT_EQ(dm->TTabelaAGminaNazwaGminy->AsString(), "Płock");

    // No source row yet: neither fuels nor substances.
    EXPECT_EQ(komunikat([&] { dm->TTabelaAPaliwa->Insert(); }), "Najpierw załóż źródło !!!");
    EXPECT_EQ(komunikat([&] { dm->TTabelaASubstancje->Insert(); }), "Najpierw załóż źródło !!!");
    // Nor quantity items, which would be stored with no source to find them.
    EXPECT_EQ(komunikat([&] { dm->TTabAPozWart->Insert(); }), "Najpierw załóż źródło !!!");
    EXPECT_EQ(dm->TTabAPozWart->State(), kal::dsBrowse);

    dm->TTabelaAZrodla->Insert();
    dm->TTabelaAZrodlaIdentyfikatorZrodla->setAsInteger(dm->TZrodlaIdentyfikator->AsInteger());
    dm->TTabelaAZrodlaNazwaSurowcow->setAsString("farby");
    EXPECT_EQ(komunikat([&] { dm->TTabelaAZrodla->Post(); }),
              "Ilość zużytych surowców lub materiałów musi być określona !!!");
    dm->TTabelaAZrodlaIlosc->setAsFloat(12.5);
    EXPECT_EQ(komunikat([&] { dm->TTabelaASubstancje->Insert(); }), "Najpierw zapisz dane o źródłach !!!");
    EXPECT_EQ(komunikat([&] { dm->TTabAPozWart->Insert(); }), "Najpierw zapisz dane o źródłach !!!");
    dm->TTabelaAZrodla->Post();
    EXPECT_EQ(dm->TTabelaAZrodlaRodzajInstalacji->AsString(), "Lakiernia");

    // Emission and fee from the rounded emission.
    dm->TTabelaASubstancje->Insert();
    dm->TTabelaASubstancjeIdentyfikatorSubstancji->setAsInteger(dm->TSubsatncjeIdentyfikatorSubstancju->AsInteger());
    dm->TTabelaASubstancjeWskaznikEmisji->setAsFloat(0.333);
    EXPECT_TRUE(dm->TTabelaASubstancjeWielkoscEmisji->IsNull());
    EXPECT_TRUE(dm->TTabelaASubstancjeWysokoscOpaty->IsNull());
    EXPECT_EQ(komunikat([&] { dm->TTabelaAZrodla->Edit(); }), "Najpierw zapisz dane o substancjach !!!");
    dm->TTabelaASubstancjeJednostkowaStawka->setAsFloat(2.5);
    EXPECT_DOUBLE_EQ(dm->TTabelaASubstancjeWielkoscEmisji->AsFloat(), 4.16);
    EXPECT_DOUBLE_EQ(dm->TTabelaASubstancjeWysokoscOpaty->AsFloat(), 10.40);
    EXPECT_EQ(dm->TTabelaASubstancjeWysokoscOpaty->DisplayText(), "10,40");
    dm->TTabelaASubstancje->Post();
    EXPECT_EQ(dm->TTabelaASubstancjeKodSubstancji->AsString(), "P1");

    // Fuels hang from the period: their first index field holds the period's id.
    dm->TTabelaAPaliwa->Insert();
    EXPECT_EQ(dm->TTabelaAPaliwaIdentyfikatorGminyTabA->AsInteger(), dm->TOkresIdentyfikatorOkresu->AsInteger());
    EXPECT_EQ(komunikat([&] { dm->TTabelaAPaliwa->Post(); }), "Musisz wpisać rodzaj paliwa !!!");
    dm->TTabelaAPaliwaRodzajPaliwa->setAsString("węgiel");
    EXPECT_EQ(komunikat([&] { dm->TTabelaAPaliwa->Post(); }), "Zużycie paliwa jest obowiązkowe !!!");
    EXPECT_EQ(komunikat([&] { dm->TTabelaAZrodla->Delete(); }), "Najpierw zapisz dane o paliwach !!!");
    dm->TTabelaAPaliwaZuzycie->setAsFloat(3);
    dm->TTabelaAPaliwa->Post();

    // Quantity items.
    dm->TTabAPozWart->Insert();
    EXPECT_DOUBLE_EQ(dm->TTabAPozWartProcent->AsFloat(), 100.0);
    EXPECT_DOUBLE_EQ(dm->TTabAPozWartGestosc->AsFloat(), 1.0);
    EXPECT_EQ(komunikat([&] { dm->TTabAPozWart->Post(); }), "Data ilości źródła musi być dobrze określona !!!");
    EXPECT_EQ(komunikat([&] { dm->TTabAPozWartData->setText("2009-07-01"); }),
              "Pierwsze pólrocze dotyczy miesięcy od stycznia do czerwca !!!");
    EXPECT_EQ(komunikat([&] { dm->TTabAPozWartData->setText("2008-03-01"); }),
              "Data ilości źródła musi dotyczyć roku: 2009 roku.");
    dm->TTabAPozWartData->setText("2009-03-01");
    dm->TTabAPozWartProcent->Clear();
    dm->TTabAPozWartGestosc->Clear();
    EXPECT_EQ(komunikat([&] { dm->TTabAPozWart->Post(); }), "Ilość musi być dodatnia !!!");
    EXPECT_DOUBLE_EQ(dm->TTabAPozWartProcent->AsFloat(), 100.0);
    dm->TTabAPozWartIlosc->setAsFloat(200);
    dm->TTabAPozWartProcent->setAsFloat(50);
    dm->TTabAPozWartGestosc->setAsFloat(0.0009);
    EXPECT_EQ(komunikat([&] { dm->TTabAPozWart->Post(); }), "Gęstość musi być dodatnia !!!");
    dm->TTabAPozWartGestosc->setAsFloat(0.7);
    EXPECT_DOUBLE_EQ(dm->TTabAPozWartIloscKoncowa->AsFloat(), 70.0);
    dm->TTabAPozWart->Post();
    EXPECT_EQ(dm->TTabAPozWartIdentTabAZrodla->AsInteger(), dm->TTabelaAZrodlaIdTabAZrodla->AsInteger());
}
