// The company window as it is typed into: each edit hands its text to the
// company record as soon as the focus moves on, so the company list of the
// main window shows the new company while it is still being entered.

#include "test_rejestr_wspolne.h"

#include "platform/ui/DBEdit.h"

#include <QTest>

namespace rejestr_test {
namespace {

class WpisywanieFirmy : public Rejestry {
protected:
    // Types `tekst` key by key, Polish letters included.
    static void wpisz(QWidget* w, const QString& tekst)
    {
        for (const QChar c : tekst) {
            QKeyEvent wcisniety(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &wcisniety);
            QKeyEvent puszczony(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &puszczony);
        }
    }
};

TEST_F(WpisywanieFirmy, EveryTypedTextReachesTheNewCompanyWhenTheFocusMovesOn)
{
    ASSERT_TRUE(dm->TFirma->IsEmpty());
    struct Pole {
        kal::TDBEdit* edycja;
        kal::TField* pole;
        QString tekst;
    };
    QStringList przedZapisem;
    bool dopisywana = false;
    bool aktywne = false;
    przyPokazie([&](QWidget* okno) {
        okno->activateWindow();
        QApplication::setActiveWindow(okno);
        aktywne = QTest::qWaitForWindowActive(okno);
        const std::vector<Pole> pola = {
            {firma->DBEdit1, dm->TFirmaNazwa1, QStringLiteral("Ruvelkon Sp. z o.o.")},
            {firma->DBEdit2, dm->TFirmaNazwa2, QStringLiteral("Oddział w Łodzi")},
            {firma->DBEdit3, dm->TFirmaAdres1, QStringLiteral("ul. Długa 5")},
            {firma->DBEdit4, dm->TFirmaAdres2, QStringLiteral("90-001 Łódź")},
            {firma->DBEdit5, dm->TFirmaNIP, QStringLiteral("123-456-78-90")},
            {firma->DBEdit6, dm->TFirmaREGON, QStringLiteral("987654321")},
            {firma->DBEdit7, dm->TFirmaTelefon, QStringLiteral("42 123 45 67")},
        };
        for (const Pole& p : pola) {
            p.edycja->setFocus(Qt::TabFocusReason);
            wpisz(p.edycja, p.tekst);
        }
        // Away from the last edit, as a Tab to the buttons does.
        firma->BitBtn1->setFocus(Qt::TabFocusReason);
        dopisywana = dm->TFirma->State() == kal::dsInsert;
        for (const Pole& p : pola)
            przedZapisem << p.pole->AsString();
        firma->BitBtn1->click();
    });
    EXPECT_EQ(firma->Pokaz(0), TOknoRejestru::mrOk);

    ASSERT_TRUE(aktywne);
    EXPECT_TRUE(dopisywana);
    EXPECT_EQ(przedZapisem, (QStringList{"Ruvelkon Sp. z o.o.", "Oddział w Łodzi", "ul. Długa 5", "90-001 Łódź",
                                         "123-456-78-90", "987654321", "42 123 45 67"}));
    ASSERT_EQ(dm->TFirma->RecordCount(), 1);
    EXPECT_EQ(dm->TFirmaNazwa1->AsString(), "Ruvelkon Sp. z o.o.");
    EXPECT_EQ(dm->TFirmaTelefon->AsString(), "42 123 45 67");
}

} // namespace
} // namespace rejestr_test
