#pragma once
// A test fixture on a new data directory: the directory is the current
// directory, made with all its table files by the new-data-directory routine,
// the data module runs on it, TEMP points into a private temporary directory
// (where the module makes its work table), today is fixed and the dialog seam
// records every box. Helpers post a company, a period, a vehicle and a fuel
// record through the module.
//
// Only for test programs that link the records subsystem (kal_records or a
// library above it); the file is header-only for that reason.
//
// A derived fixture that needs more (windows, engine hooks) does
//     void SetUp() override { ASSERT_NO_FATAL_FAILURE(DataDir::SetUp()); ... }
//     void TearDown() override { ...; DataDir::TearDown(); }
// releasing its own objects before the module goes.

#include "Dane.h"
#include "Schemat.h"

#include "Clock.h"
#include "ScriptedDialogs.h"
#include "TestDir.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace kal::test {

class DataDir : public ::testing::Test {
public:
    // What SetUp makes besides TEMP, today and the dialog seam.
    enum class Start {
        Module,    // the data directory and the data module on it
        Directory, // the data directory only (the test makes the module)
        Nothing,   // an empty current directory
    };

    // The date that SetUp fixes as today: in the first half of 2009.
    static QDate Dzisiaj() { return QDate(2009, 6, 12); }
    // The company that the helpers post when no name is given.
    static QString NazwaFirmy() { return QStringLiteral("Ruvelkon sp. z o.o."); }

protected:
    explicit DataDir(Start start = Start::Module) : m_start(start) {}

    void SetUp() override
    {
        m_tempBylo = qEnvironmentVariableIsSet("TEMP");
        m_staryTemp = qgetenv("TEMP");
        qputenv("TEMP", temp.path().toLocal8Bit());
        SetTodayForTests(Dzisiaj());
        if (m_start == Start::Nothing)
            return;
        ASSERT_TRUE(temp.isValid());
        ASSERT_EQ(Schemat::UtworzKatalogDanych(katalog.path()), QString());
        if (m_start == Start::Module)
            otworzModul();
    }

    // The module first (it deletes its work table from TEMP), then the hooks
    // that tests may have set, the clock and TEMP. The members go after it:
    // the dialog seam, the temporary directory, and last the data directory,
    // the previous current directory coming back.
    void TearDown() override
    {
        dm.reset();
        TDM::NazwaTymczasowa = nullptr;
        SetTodayForTests(QDate());
        if (m_tempBylo)
            qputenv("TEMP", m_staryTemp);
        else
            qunsetenv("TEMP");
    }

    // Makes the data module on the current directory (again).
    void otworzModul()
    {
        dm.reset();
        dm = std::make_unique<TDM>();
    }

    // A posted company.
    void firma(const QString& nazwa = NazwaFirmy())
    {
        dm->TFirma->Insert();
        dm->TFirmaNazwa1->setAsString(nazwa);
        dm->TFirma->Post();
    }

    // A posted period of the current company.
    void okres(int rok = 2009, int polrocze = 1)
    {
        dm->TOkres->Insert();
        dm->TOkresRok->setAsInteger(rok);
        dm->TOkresPolrocze->setAsInteger(polrocze);
        dm->TOkres->Post();
    }

    // A period, and the company first when there is none yet.
    void firmaIOkres(int rok = 2009, int polrocze = 1)
    {
        if (dm->TFirma->IsEmpty())
            firma();
        okres(rok, polrocze);
    }

    // A posted vehicle; returns its id. An invalid date leaves the first
    // registration empty.
    int pojazd(const QString& nrRejestracyjny, const QString& rodzaj = QStringLiteral("1"),
               const QDate& pierwszaRejestracja = QDate())
    {
        dm->TPojazdy->Insert();
        dm->TPojazdyRodzajPojazdu->setAsString(rodzaj);
        dm->TPojazdyNrRejestracyjny->setAsString(nrRejestracyjny);
        if (pierwszaRejestracja.isValid())
            dm->TPojazdyDataPierwszejRejestracji->setAsDateTime(pierwszaRejestracja);
        dm->TPojazdy->Post();
        return dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    }

    // A posted fuel record of the current company; km < 0 leaves the
    // reading empty.
    void tankowanie(int idPojazdu, const QString& paliwo, const QDate& data, double litry, double km = -1)
    {
        dm->TZuzycie->Insert();
        dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(idPojazdu);
        dm->TZuzycieDataTankowania->setAsDateTime(data);
        dm->TZuzycieRodzajPaliwa->setAsString(paliwo);
        dm->TZuzycieIloscPaliwa->setAsFloat(litry);
        if (km >= 0)
            dm->TZuzycieIloscKm->setAsFloat(km);
        dm->TZuzycie->Post();
    }
    // The same with diesel oil ("5").
    void tankowanie(int idPojazdu, const QDate& data, double litry, double km = -1)
    {
        tankowanie(idPojazdu, QStringLiteral("5"), data, litry, km);
    }

    TestDir katalog;        // the data directory, current while the test runs
    QTemporaryDir temp;     // what TEMP names
    ScriptedDialogs dialogi;
    std::unique_ptr<TDM> dm;

private:
    Start m_start;
    bool m_tempBylo = false;
    QByteArray m_staryTemp;
};

} // namespace kal::test
