// The parameter windows of the lists: what they show, and that their
// choices reach the printed list.

#include "../printouts/ModulTestowy.h"

#include "DBGrid.h"
#include "Obsluga.h"
#include "PageFiles.h"
#include "PrintProgress.h"
#include "OknaWydrukow.h"
#include "ParWNaprPrz.h"
#include "ParWydrPojazdow.h"
#include "ParZuzMiejscTank.h"

#include <QLabel>
#include <QLayout>
#include "SamDoPrzegl.h"
#include "WydrukSamDoPrzegl.h"
#include "WydrukZuzyciaPaliwa.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QListWidget>
#include <QSpinBox>

using namespace kal::report;

namespace {

class Podglad final : public IPreviewer {
public:
    Podglad() { SetPreviewer(this); }
    ~Podglad() override { SetPreviewer(nullptr); }
    void showPreview(Report& r) override
    {
        tytuly << r.title;
        strony.push_back(testy::WszystkieTeksty(*r.prepare()));
    }
    QStringList tytuly;
    std::vector<QStringList> strony;
};

struct Okna : testy::ModulTestowy {
    Podglad podglad;
    void SetUp() override
    {
        testy::ModulTestowy::SetUp();
        UtworzOknaWydrukow(*dm);
    }
    void TearDown() override
    {
        ZwolnijOknaWydrukow();
        testy::ModulTestowy::TearDown();
    }
    int Pojazd(const QString& marka, const QString& nr)
    {
        dm->TPojazdy->Insert();
        dm->TPojazdyRodzajPojazdu->setAsString(QStringLiteral("1"));
        dm->TPojazdyMarka->setAsString(marka);
        dm->TPojazdyNrRejestracyjny->setAsString(nr);
        dm->TPojazdyDataPierwszejRejestracji->setAsDateTime(QDate(2006, 5, 1));
        dm->TPojazdy->Post();
        return dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    }
    QStringList Druk() const
    {
        return drukarka.wydruki.empty() ? QStringList() : testy::WszystkieTeksty(drukarka.wydruki.back());
    }
    // `ile` purchases of one vehicle, the fuel window's table on the first.
    void Zakupy(int ile)
    {
        ASSERT_TRUE(dm->UstawZbiorZuzycia());
        const int opel = Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 1"));
        for (int i = 0; i < ile; ++i) {
            dm->TZuzycie->Insert();
            dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(opel);
            dm->TZuzycieDataTankowania->setAsDateTime(QDate(2009, 1, 1).addDays(i % 180));
            dm->TZuzycieRodzajPaliwa->setAsString(QStringLiteral("5"));
            dm->TZuzycieIloscPaliwa->setAsFloat(10);
            dm->TZuzycieCenaPaliwa->setAsFloat(4);
            dm->TZuzycieNumerFaktury->setAsString(QStringLiteral("FV %1").arg(i));
            dm->TZuzycie->Post();
        }
        dm->TZuzycie->First();
    }
};

} // namespace

TEST_F(Okna, TheVehicleListWindowTicksEveryColumnOnlyOnItsFirstShow)
{
    Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 1"));
    TFParWydrPoj& o = *FParWydrPoj;
    EXPECT_EQ(o.windowTitle(), QStringLiteral("Parametry wydruku pojazdów"));
    ASSERT_EQ(o.CheckListBox1->count(), 16);
    EXPECT_EQ(o.CheckListBox1->item(11)->text(), QStringLiteral("Obwód drogowy"));
    EXPECT_EQ(o.ChBMiejsceUzytkowania->text(), QStringLiteral("Wybrane miejsce użytkowania."));
    bool zwiazany = false;
    dialogi.onModal = [&](QWidget*) {
        zwiazany = o.DBGrid1->DataSource() == dm->DMiejsceUz;
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(o.CheckListBox1->item(i)->checkState(), Qt::Checked) << i;
        // Keep the make and the registration number only, and print.
        for (int i = 0; i < 16; ++i)
            o.CheckListBox1->item(i)->setCheckState(i == 1 || i == 2 ? Qt::Checked : Qt::Unchecked);
        dialogi.answerPrinter(true);
        o.Przyciski.drukuj->click();
        return int(QDialog::Rejected);
    };
    EXPECT_EQ(o.Pokaz(), int(QDialog::Rejected));
    EXPECT_TRUE(zwiazany);
    EXPECT_EQ(o.DBGrid1->DataSource(), nullptr);
    ASSERT_EQ(drukarka.zadania.size(), 1u);
    EXPECT_EQ(Druk(), QStringList({"Wydruk wszystkich pojazdów", "Marka", "Nr rejestrac.", "Opel", "PO 1"}));

    // The second show keeps the ticks; a preview shows the same list.
    dialogi.onModal = [&](QWidget*) {
        EXPECT_EQ(o.CheckListBox1->item(0)->checkState(), Qt::Unchecked);
        o.Przyciski.podglad->click();
        return 0;
    };
    o.Pokaz();
    ASSERT_EQ(podglad.tytuly.size(), 1);
    EXPECT_EQ(podglad.tytuly[0], QStringLiteral("Wydruk pojazdów."));
    EXPECT_EQ(podglad.strony[0], Druk());
}

TEST_F(Okna, TheFuelUseWindowTakesItsMonthsFromTheHalfYear)
{
    TFParWydrZuzMiejTank& o = *FParWydrZuzMiejTank;
    EXPECT_EQ(o.windowTitle(), QStringLiteral("Parametry wydruku miejsc tankowania"));
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    dialogi.onModal = [&](QWidget*) {
        EXPECT_EQ(o.CSEOd->value(), 1);
        EXPECT_EQ(o.CSEDo->value(), 6);
        EXPECT_EQ(o.DBGrid1->DataSource(), dm->DMiejscTank);
        EXPECT_EQ(o.DBGrid2->DataSource(), dm->DMiejsceUz);
        o.ChBWszystkieMiejscaTankowania->setChecked(true);
        o.ChBWszystkieMiejscaUzytkowania->setChecked(true);
        o.EdNumerRejestracyjny->setText(QStringLiteral(" PO 1 "));
        o.CSEOd->setValue(2);
        dialogi.answerPrinter(true);
        o.Przyciski.drukuj->click();
        return 0;
    };
    o.Pokaz();
    EXPECT_EQ(o.DBGrid1->DataSource(), nullptr);
    const QStringList t = Druk();
    ASSERT_GE(t.size(), 4);
    EXPECT_EQ(t.mid(1, 3), QStringList({"Wszystkie miejsca tankowania.",
                                        "Zestawienie zużycia paliwa za miesiące 2 - 6 2009 roku.",
                                        "Wszystkie miejsca użytkowania.   Wybrano numer rejestarcyjny: PO 1."}));

    // The second half-year: July to December.
    dm->TOkres->Edit();
    dm->TOkresPolrocze->setAsInteger(2);
    dm->TOkres->Post();
    dialogi.onModal = [&](QWidget*) {
        EXPECT_EQ(o.CSEOd->value(), 7);
        EXPECT_EQ(o.CSEDo->value(), 12);
        return 0;
    };
    o.Pokaz();
}

TEST_F(Okna, TheFuelUseWindowShowsEachMonthBoxAfterItsCaption)
{
    TFParWydrZuzMiejTank& o = *FParWydrZuzMiejTank;
    o.layout()->activate();
    const QLabel* od = nullptr;
    const QLabel* doMiesiaca = nullptr;
    for (const QLabel* l : o.findChildren<QLabel*>()) {
        if (l->text() == QStringLiteral("Miesiąc od:"))
            od = l;
        if (l->text() == QStringLiteral("do:"))
            doMiesiaca = l;
    }
    ASSERT_TRUE(od && doMiesiaca);
    EXPECT_EQ(od->buddy(), o.CSEOd);
    EXPECT_EQ(doMiesiaca->buddy(), o.CSEDo);
    // Left to right: "Miesiąc od:", the first month, "do:", the last month.
    EXPECT_LT(od->geometry().right(), o.CSEOd->geometry().left());
    EXPECT_LT(o.CSEOd->geometry().right(), doMiesiaca->geometry().left());
    EXPECT_LT(doMiesiaca->geometry().right(), o.CSEDo->geometry().left());
}

TEST_F(Okna, TheRepairsWindowRunsTheChosenReportAndKeepsTheVehicle)
{
    const int opel = Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 1"));
    Pojazd(QStringLiteral("Fiat"), QStringLiteral("PO 2"));
    ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("IdentyfikatorPojazdu"), opel));
    TFParWydrNaprawiPrzegl& o = *FParWydrNaprawiPrzegl;
    EXPECT_EQ(o.windowTitle(), QStringLiteral("Parametry wydruku napraw i przeglądów."));
    EXPECT_EQ(o.CheckBox1->text(), QStringLiteral("Dane do przeglądów"));
    dialogi.onModal = [&](QWidget*) {
        EXPECT_EQ(o.CSRok->value(), 2009);
        EXPECT_EQ(o.CSMcOd->value(), 6);
        EXPECT_EQ(o.CSMcDo->value(), 6);
        o.CSMcOd->setValue(1);
        dialogi.answerPrinter(true);
        o.Przyciski.drukuj->click();
        o.CheckBox1->setChecked(true);
        dialogi.answerPrinter(true);
        o.Przyciski.drukuj->click();
        return 0;
    };
    o.Pokaz();
    ASSERT_EQ(drukarka.zadania.size(), 2u);
    EXPECT_EQ(drukarka.zadania[0].title, QStringLiteral("Wydruk napraw i przeglądów."));
    EXPECT_EQ(testy::WszystkieTeksty(drukarka.wydruki[0]).first(),
              QStringLiteral("Naprawy i przeglądy za miesiące: 1 - 6 .2009."));
    EXPECT_EQ(drukarka.zadania[1].title, QStringLiteral("Wydruk przeglądów pojazdów."));
    EXPECT_EQ(dm->TPojazdyIdentyfikatorPojazdu->AsInteger(), opel);
}

TEST_F(Okna, TheDueForInspectionWindowPassesDaysKilometresAndAll)
{
    TFSamochodyDoPrzegladu& o = *FSamochodyDoPrzegladu;
    EXPECT_EQ(o.windowTitle(), QStringLiteral("Samochody do przeglądu."));
    EXPECT_EQ(o.CSDni->value(), 30);
    EXPECT_EQ(o.CSKm->value(), 1000);
    EXPECT_EQ(o.CSDni->minimum(), 1);
    EXPECT_EQ(o.CSDni->maximum(), 100);
    EXPECT_EQ(o.CSKm->minimum(), 100);
    EXPECT_EQ(o.CSKm->maximum(), 10000);
    EXPECT_EQ(o.CSKm->singleStep(), 100);
    EXPECT_FALSE(o.ChBWszystkie->isChecked());
    EXPECT_EQ(o.Przyciski.drukuj->text(), QStringLiteral("Wydruk"));
    dialogi.onModal = [&](QWidget*) {
        o.CSDni->setValue(45);
        o.CSKm->setValue(2500);
        o.ChBWszystkie->setChecked(true);
        o.Przyciski.podglad->click();
        return 0;
    };
    o.Pokaz();
    EXPECT_EQ(QRSamochodyDoPrzegladu->Dni, 45);
    EXPECT_EQ(QRSamochodyDoPrzegladu->Km, 2500);
    EXPECT_TRUE(QRSamochodyDoPrzegladu->Wszystkie);
    ASSERT_EQ(podglad.tytuly.size(), 1);
    EXPECT_EQ(podglad.tytuly[0], QStringLiteral("Wydruk samochodów dp przeglądu."));
    EXPECT_EQ(podglad.strony[0].first(), QStringLiteral("Wydruk samochodów do przeglądu w dniu: 12 czerwca 2009 roku."));
    // The values stay for the next show.
    dialogi.onModal = [&](QWidget*) {
        EXPECT_EQ(o.CSDni->value(), 45);
        return 0;
    };
    o.Pokaz();
}

TEST_F(Okna, TheButtonsTakeTheImagesOfTheImageStore)
{
    auto* magazyn = new TFormObslugi;
    dialogi.onModal = [](QWidget*) { return 0; };
    FSamochodyDoPrzegladu->Pokaz();
    EXPECT_EQ(FSamochodyDoPrzegladu->Przyciski.zamknij->icon().cacheKey(), magazyn->Zamknij->icon().cacheKey());
    EXPECT_EQ(FSamochodyDoPrzegladu->Przyciski.podglad->icon().cacheKey(), magazyn->Monitor->icon().cacheKey());
    EXPECT_EQ(FSamochodyDoPrzegladu->Przyciski.drukuj->icon().cacheKey(), magazyn->Drukuj->icon().cacheKey());
    delete magazyn;
}

namespace {

// Paint events that reach a widget.
struct LicznikMalowania final : QObject {
    int malowan = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        malowan += e->type() == QEvent::Paint;
        return false;
    }
};

// The program's progress window, each record of a walk slowed down so that a
// long list is imitated; what the window shows is written down at each step.
struct WolnyPostep final : IPrintProgress {
    kal::PrintProgressWindow okno;
    std::function<void()> przyKroku;
    bool pokazane = false, modalne = false;
    QString tytul, tekst;
    int wartosc = -1, maksimum = -1;
    void begin(const QString& t, const QString& f, const QString& p, int pages) override { okno.begin(t, f, p, pages); }
    void advance(int done) override { okno.advance(done); }
    void end() override { okno.end(); }
    void beginBuild(const QString& t) override { okno.beginBuild(t); }
    void advanceBuild(int done, int records, int pages) override
    {
        QThread::msleep(4);
        if (przyKroku)
            przyKroku();
        okno.advanceBuild(done, records, pages);
        QProgressDialog* w = okno.window();
        if (w && w->isVisible()) {
            pokazane = true;
            modalne = w->windowModality() == Qt::ApplicationModal;
            tytul = w->windowTitle();
            tekst = w->labelText();
            wartosc = w->value();
            maksimum = w->maximum();
        }
    }
    void endBuild() override { okno.endBuild(); }
};

} // namespace

// A long list shows how far it has got while its pages are made; meanwhile
// the grid of the fuel records, bound to the table the list walks, is neither
// painted nor runs its timers; it catches up afterwards.
TEST_F(Okna, ALongListShowsItsProgressWhileTheGridOfItsTableWaits)
{
    Zakupy(250);
    kal::TDBGrid siatka;
    siatka.setDataSource(dm->DZuzycie);
    siatka.resize(600, 300);
    siatka.show();
    QApplication::processEvents();
    LicznikMalowania malowanie;
    siatka.viewport()->installEventFilter(&malowanie);
    int tykniecia = 0;
    QTimer zegar(&siatka);
    QObject::connect(&zegar, &QTimer::timeout, [&tykniecia] { ++tykniecia; });
    zegar.start(10);

    WolnyPostep postep;
    int malowanWBiegu = -1, tyknieciWBiegu = -1;
    int krok = 0;
    postep.przyKroku = [&] {
        // Something asks for the grid to be painted again during the walk.
        siatka.viewport()->update();
        if (++krok == 1) {
            malowanie.malowan = 0;
            tykniecia = 0;
        }
        malowanWBiegu = malowanie.malowan;
        tyknieciWBiegu = tykniecia;
    };
    SetPrintProgress(&postep);
    QRZyzyciePaliwa->WszystkieMiejscaTankowania = true;
    QRZyzyciePaliwa->WszystkieMiejscaUzytkowania = true;
    QRZyzyciePaliwa->NumerRejestracyjnyFiltru.clear();
    QRZyzyciePaliwa->McOd = 1;
    QRZyzyciePaliwa->McDo = 6;
    QRZyzyciePaliwa->PrzygotujIDrukuj(true);
    SetPrintProgress(nullptr);

    ASSERT_EQ(podglad.strony.size(), 1u);
    EXPECT_TRUE(postep.pokazane);
    EXPECT_TRUE(postep.modalne);
    EXPECT_EQ(postep.tytul, QStringLiteral("Wydruk zużycia paliwa."));
    EXPECT_TRUE(postep.tekst.startsWith(QStringLiteral("Przygotowywanie wydruku\nStrona "))) << postep.tekst.toStdString();
    EXPECT_EQ(postep.maksimum, 250);
    EXPECT_GT(postep.wartosc, 100);
    EXPECT_EQ(malowanWBiegu, 0);
    EXPECT_EQ(tyknieciWBiegu, 0);
    EXPECT_EQ(postep.okno.window(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Afterwards the grid is painted and its timer runs again.
    QElapsedTimer czas;
    czas.start();
    while ((malowanie.malowan == 0 || tykniecia == 0) && czas.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GT(malowanie.malowan, 0);
    EXPECT_GT(tykniecia, 0);

    siatka.viewport()->removeEventFilter(&malowanie);
}

// The pages of a long list go to a file in the temporary directory: where it
// cannot take them, the preview and the print stop with the cause in the
// error box, no shortened list is shown or printed, and the fuel window
// stays on its purchase.
TEST_F(Okna, AListWhosePagesTheTemporaryDirectoryCannotTakeSaysWhy)
{
    Zakupy(120);
    ASSERT_TRUE(dm->TZuzycie->Locate(QStringLiteral("NumerFaktury"), QStringLiteral("FV 50")));
    const QString pelny = QDir::current().filePath(QStringLiteral("pelny")), brak = QDir::current().filePath(QStringLiteral("brak"));
    ASSERT_TRUE(QDir().mkdir(pelny));
    const struct {
        QString katalog;
        qint64 miejsce;
        QString tekst;
    } przypadki[] = {
        {pelny, 3000,
         QStringLiteral("Brak miejsca na dysku: nie można zapisać stron wydruku w katalogu plików tymczasowych %1. Wydruk "
                        "przerwano; zwolnij miejsce na dysku i uruchom go ponownie.").arg(pelny)},
        {brak, -1,
         QStringLiteral("Nie można zapisać stron wydruku w katalogu plików tymczasowych %1: katalog nie istnieje. Wydruk "
                        "przerwano.").arg(brak)},
    };
    for (const auto& p : przypadki) {
        const kal::test::PageFiles strony(0, p.katalog, p.miejsce);
        dialogi.clear();
        dialogi.onModal = [&](QWidget*) {
            FParWydrZuzMiejTank->ChBWszystkieMiejscaTankowania->setChecked(true);
            FParWydrZuzMiejTank->ChBWszystkieMiejscaUzytkowania->setChecked(true);
            FParWydrZuzMiejTank->Przyciski.podglad->click();
            dialogi.answerPrinter(true);
            FParWydrZuzMiejTank->Przyciski.drukuj->click();
            return 0;
        };
        FParWydrZuzMiejTank->Pokaz();
        const auto bledy = dialogi.boxes();
        ASSERT_EQ(bledy.size(), 2u);
        for (const auto& b : bledy) {
            EXPECT_EQ(b.kind, kal::test::DialogCall::Error);
            EXPECT_EQ(b.text, p.tekst);
        }
        EXPECT_TRUE(podglad.strony.empty());
        EXPECT_TRUE(drukarka.zadania.empty());
        EXPECT_TRUE(QDir(pelny).isEmpty());
        EXPECT_EQ(dm->TZuzycieNumerFaktury->AsString(), QStringLiteral("FV 50"));
    }
}

TEST(PrintProgressWindow, TellsThePagesMadeWhileAReportIsPrepared)
{
    EXPECT_EQ(kal::PrintProgressWindow::BuildText(12), QStringLiteral("Przygotowywanie wydruku\nStrona 12"));
}
