// Numbers typed into the windows take the comma as their only decimal
// separator: "2.587" (two thousand five hundred eighty-seven litres as an
// invoice groups them) is refused, never stored as 2,587. A refused number
// keeps the keyboard in its edit, and a save that refuses it names the field.

#include "test_rejestr_wspolne.h"

#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"

#include <QLineEdit>

[[maybe_unused]] static void PrintTo(const QString& tekst, std::ostream* os) { *os << '"' << tekst.toStdString() << '"'; }

namespace rejestr_test {
namespace {

const QString kNieLiczba = QStringLiteral("Wprowadzona wartość nie jest liczbą !!!\n"
                                          "Część dziesiętną oddziela się przecinkiem (np. 2,5), nie kropką.");

// A text typed and what the field stores (nullptr: refused, nothing stored).
struct Wpisany {
    const char* tekst;
    const char* zapisany;
};
const Wpisany kWpisane[] = {{"2.587", nullptr}, {"2,587", "2,587"}, {"2 587", "2587"}, {"1e3", "1000"}};

class WpisaneLiczby : public Rejestry {
protected:
    void SetUp() override
    {
        Rejestry::SetUp();
        firmaIOkres();
        ASSERT_TRUE(dm->UstawZbiorZuzycia());
        tankowanie(pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star")), 15);
        dialogi.clear();
    }

    // Every key to the widget that has the keyboard, as a user types.
    static void pisz(const QString& tekst)
    {
        for (const QChar c : tekst)
            QTest::keyClicks(QApplication::focusWidget(), QString(c));
    }
};

// Each text typed in the fuel window over the quantity of the record (40 l)
// and "✔", then into the density of the first fuel in its grid and Enter,
// "✘" where it was refused, and "Zamknij". A refused text shows the error
// box and stores nothing; the others store the number, in both tables.
TEST_F(WpisaneLiczby, OnlyTheCommaSeparatesTheDecimalsOfAFuelQuantityAndADensity)
{
    const QStringList gestosciPrzed = zapisane(dm->TTabelaGest, dm->TTabelaGestGestosc);
    auto* ilosc = zuzycie->findChild<QLineEdit*>(QStringLiteral("DBEdit2"));
    ASSERT_NE(ilosc, nullptr);
    for (const Wpisany& w : kWpisane) {
        SCOPED_TRACE(w.tekst);
        const QString tekst = QString::fromUtf8(w.tekst);
        dialogi.clear();
        przyPokazie([&](QWidget* okno) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
            QTest::mouseClick(ilosc, Qt::LeftButton);
            ilosc->selectAll();
            QTest::keyClicks(ilosc, tekst);
            kliknij(zuzycie->DBNavigator1, kal::nbPost);
            if (!w.zapisany) {
                EXPECT_EQ(dm->TZuzycie->State(), kal::dsEdit);
                EXPECT_EQ(ilosc->text(), tekst);
                EXPECT_EQ(fokus(), ilosc);
                kliknij(zuzycie->DBNavigator1, kal::nbCancel);
            }
            zuzycie->BitBtn1->click();
        });
        zuzycie->Pokaz();
        przyPokazie([&](QWidget* okno) {
            QApplication::setActiveWindow(okno);
            ASSERT_TRUE(QTest::qWaitForWindowActive(okno));
            kal::TDBGrid* g = gestosci->DBGrid1;
            g->setCurrentIndex(g->model()->index(0, 2));
            g->setFocus();
            pisz(tekst);
            QTest::keyClick(fokus(), Qt::Key_Return);
            QCoreApplication::processEvents(); // the editor commits after the key
            if (!w.zapisany)
                kliknij(gestosci->DBNavigator1, kal::nbCancel);
            gestosci->BitBtn1->click();
        });
        gestosci->Pokaz();

        // The post names the edit whose text it refused; the grid's cell is
        // refused as it is left.
        const QStringList odmowy =
            w.zapisany ? QStringList() : QStringList{QStringLiteral("Pole \"Ilość paliwa\":\n") + kNieLiczba, kNieLiczba};
        EXPECT_EQ(dialogi.texts(), odmowy);
        for (const DialogCall& c : dialogi.boxes()) {
            EXPECT_EQ(c.kind, DialogCall::Error);
            EXPECT_EQ(c.caption, "System Kalmora.");
        }
        const QString zapisany = w.zapisany ? QString::fromUtf8(w.zapisany) : QString();
        EXPECT_EQ(zapisane(dm->TZuzycie, dm->TZuzycieIloscPaliwa), QStringList{w.zapisany ? zapisany : "40"});
        QStringList gestosciPo = gestosciPrzed;
        if (w.zapisany)
            gestosciPo[0] = zapisany;
        EXPECT_EQ(zapisane(dm->TTabelaGest, dm->TTabelaGestGestosc), gestosciPo);

        // Back to 40 l and the first density for the next text.
        dm->TZuzycie->First();
        dm->TZuzycie->Edit();
        dm->TZuzycieIloscPaliwa->setAsFloat(40.0);
        dm->TZuzycie->Post();
        dm->TTabelaGest->First();
        dm->TTabelaGest->Edit();
        dm->TTabelaGestGestosc->setAsString(gestosciPrzed[0]);
        dm->TTabelaGest->Post();
    }
}

// "Ewidencja pojazdów", "+", the make and the number typed, then "1,5t" into
// "dopuszczalna masa całkowita" and a click on "ładowność": the message
// shows and the keyboard stays in the mass with what was typed; a click on
// "Zamknij" does the same and closes nothing. "✔" refuses the text again,
// naming the field, and leaves the keyboard in it. Mended to 1,5, "✔" stores
// the vehicle with its mass.
TEST_F(WpisaneLiczby, ARefusedNumberKeepsTheKeyboardInItsEditAndTheSaveNamesTheField)
{
    auto* masa = pojazdy->findChild<QLineEdit*>(QStringLiteral("DBEdit5"));
    auto* ladownosc = pojazdy->findChild<QLineEdit*>(QStringLiteral("DBEdit6"));
    ASSERT_TRUE(masa && ladownosc);
    const auto wpisz = [](QLineEdit* e, const QString& tekst) {
        QTest::mouseClick(e, Qt::LeftButton);
        e->selectAll();
        QTest::keyClicks(e, tekst);
    };
    const QString nazwana = QStringLiteral("Pole \"dopuszczalna masa całkowita\":\n") + kNieLiczba;
    przyPokazie([&](QWidget* okno) {
        QApplication::setActiveWindow(okno);
        ASSERT_TRUE(QTest::qWaitForWindowActive(okno));
        kliknij(pojazdy->DBNavigator1, kal::nbInsert);
        wpisz(pojazdy->DBEdit1, QStringLiteral("Star"));
        wpisz(pojazdy->DBEdit2, QStringLiteral("PO 1"));
        wpisz(masa, QStringLiteral("1,5t"));
        QTest::mouseClick(ladownosc, Qt::LeftButton);
        EXPECT_EQ(dialogi.texts(), QStringList{kNieLiczba});
        EXPECT_EQ(fokus(), masa);
        EXPECT_EQ(masa->text(), "1,5t");
        QTest::mouseClick(pojazdy->BitBtn1, Qt::LeftButton);
        EXPECT_TRUE(okno->isVisible());
        EXPECT_EQ(fokus(), masa);
        kliknij(pojazdy->DBNavigator1, kal::nbPost);
        EXPECT_EQ(dialogi.texts(), (QStringList{kNieLiczba, kNieLiczba, nazwana}));
        EXPECT_EQ(fokus(), masa);
        EXPECT_EQ(dm->TPojazdy->State(), kal::dsInsert);
        masa->selectAll();
        QTest::keyClicks(masa, QStringLiteral("1,5"));
        kliknij(pojazdy->DBNavigator1, kal::nbPost);
        pojazdy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);
    EXPECT_EQ(dialogi.texts().size(), 3);
    for (const DialogCall& c : dialogi.boxes())
        EXPECT_EQ(c.caption, "System Kalmora.");
    ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("NrRejestracyjny"), QStringLiteral("PO 1")));
    EXPECT_EQ(dm->TPojazdyMarka->AsString(), "Star");
    EXPECT_EQ(dm->TPojazdyDMasaCalkowita->AsString(), "1,5");
}

} // namespace
} // namespace rejestr_test
