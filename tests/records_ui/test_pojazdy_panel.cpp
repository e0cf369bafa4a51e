// The vehicle register's edit panel: its fields in three columns in the
// order of the record, all of them in view at once on a 1280x1024 screen
// beside a grid that keeps room for the vehicles; on a smaller screen the
// panel scrolls with the wheel, and a closed list under the wheel keeps its
// value.

#include "test_rejestr_wspolne.h"

#include "platform/ui/DBComboBox.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/InputHook.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

namespace rejestr_test {
namespace {

class PanelPojazdow : public Rejestry {
protected:
    void SetUp() override
    {
        Rejestry::SetUp();
        firmaIOkres();
        pojazd(QStringLiteral("PO 12345"), QStringLiteral("Star"), QStringLiteral("4"));
        dialogi.clear();
        // The wheel and Enter as the program has them.
        kal::InstallInputHook();
    }

    // The window as it stands on a screen whose free area is `szerokosc` x
    // `wysokosc`, less a title bar of 24 pixels and a border of 4 pixels.
    static void naEkranie(QWidget* okno, int szerokosc, int wysokosc)
    {
        okno->setWindowState(Qt::WindowNoState);
        okno->resize(szerokosc - 8, wysokosc - 28);
        QApplication::processEvents();
    }

    // The panel's controls that take the focus by Tab, in their tab order.
    std::vector<QWidget*> pola() const
    {
        QWidget* panel = pojazdy->ScrollBox1->widget();
        std::vector<QWidget*> w;
        QWidget* pierwszy = pojazdy->DBComboBox1;
        QWidget* p = pierwszy;
        do {
            if (panel->isAncestorOf(p) && (p->focusPolicy() & Qt::TabFocus) && p->isVisibleTo(panel))
                w.push_back(p);
            p = p->nextInFocusChain();
        } while (p != pierwszy);
        return w;
    }

    // True when the whole of `w` lies in the panel's visible part.
    bool widoczne(const QWidget* w) const
    {
        const QWidget* okienko = pojazdy->ScrollBox1->viewport();
        return okienko->rect().contains(QRect(w->mapTo(okienko, QPoint(0, 0)), w->size()));
    }

    static void kolko(QWidget* cel)
    {
        const QPointF pos(cel->width() / 2.0, cel->height() / 2.0);
        QWheelEvent e(pos, cel->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(cel, &e);
    }

    QLabel* etykieta(const QString& tekst) const
    {
        for (QLabel* l : pojazdy->ScrollBox1->widget()->findChildren<QLabel*>())
            if (l->text() == tekst)
                return l;
        ADD_FAILURE() << "no label " << tekst.toStdString();
        return nullptr;
    }
};

TEST_F(PanelPojazdow, On1280x1024EveryFieldShowsBesideARoomyGrid)
{
    przyPokazie([&](QWidget* okno) {
        naEkranie(okno, 1280, 1024);
        EXPECT_EQ(pojazdy->ScrollBox1->verticalScrollBar()->maximum(), 0);
        EXPECT_EQ(pojazdy->ScrollBox1->horizontalScrollBar()->maximum(), 0);
        const auto wszystkie = pola();
        EXPECT_EQ(wszystkie.size(), 22u);
        for (QWidget* w : wszystkie)
            EXPECT_TRUE(widoczne(w)) << w->objectName().toStdString();
        // Room for twenty vehicles and more.
        EXPECT_GT(pojazdy->DBGrid1->height(), 20 * pojazdy->DBGrid1->verticalHeader()->defaultSectionSize());
        // Also on 1024x768 nothing needs a sideways scroll.
        naEkranie(okno, 1024, 768);
        EXPECT_EQ(pojazdy->ScrollBox1->horizontalScrollBar()->maximum(), 0);
        pojazdy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);
}

TEST_F(PanelPojazdow, ThreeColumnsInTheRecordsOrderAndTabGoesDownEachColumn)
{
    przyPokazie([&](QWidget* okno) {
        naEkranie(okno, 1280, 1024);
        // The tops of the three columns stand side by side.
        QLabel* rodzaj = etykieta(QStringLiteral("Rodzaj pojazdu:"));
        QLabel* miejsc = etykieta(QStringLiteral("Ilość miejsc:"));
        QLabel* letnia = etykieta(QStringLiteral("Norma letnia:"));
        ASSERT_TRUE(rodzaj && miejsc && letnia);
        EXPECT_EQ(rodzaj->y(), miejsc->y());
        EXPECT_EQ(miejsc->y(), letnia->y());
        EXPECT_LT(rodzaj->x(), miejsc->x());
        EXPECT_LT(miejsc->x(), letnia->x());
        QStringList kolejnosc;
        for (QWidget* w : pola())
            kolejnosc << w->objectName();
        EXPECT_EQ(kolejnosc, (QStringList{"DBComboBox1", "DBEdit1", "DBEdit2", "DBEdit3", "DBEdit4", "DBEdit5",
                                           "DBEdit6", "DBEdit7", "DBEdit8", "DBEdit9", "DBEdit10", "DBEdit11",
                                           "DBEdit12", "DBEdit13", "DBEdit14", "DBEdit15", "DBEdit16",
                                           "DBLookupComboBox1", "Button1", "DBEdit17", "DBComboBox2",
                                           "DBComboBox3"}));
        pojazdy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);
}

// A low screen: the user types in the panel and turns the wheel over it,
// also over the closed lists and with a list focused. The panel scrolls and
// the vehicle keeps its Euro class and gas installation.
TEST_F(PanelPojazdow, OnALowScreenTheWheelScrollsThePanelAndNoListChanges)
{
    const QString euroZapisane = dm->TPojazdy->FieldByName(QStringLiteral("NormaEuro"))->AsString();
    const QString gazZapisany = dm->TPojazdy->FieldByName(QStringLiteral("FabrycznaInstalacjaGazu"))->AsString();
    przyPokazie([&](QWidget* okno) {
        naEkranie(okno, 1280, 400);
        QScrollBar* pasek = pojazdy->ScrollBox1->verticalScrollBar();
        ASSERT_GT(pasek->maximum(), 0);
        const QString euro = pojazdy->DBComboBox2->currentText();
        const QString gaz = pojazdy->DBComboBox3->currentText();

        pojazdy->DBEdit1->setFocus();
        kolko(pojazdy->ScrollBox1->viewport());
        EXPECT_GT(pasek->value(), 0);
        pasek->setValue(0);
        kolko(pojazdy->DBComboBox2);
        EXPECT_GT(pasek->value(), 0);
        pasek->setValue(0);
        pojazdy->DBComboBox3->setFocus();
        kolko(pojazdy->ScrollBox1->viewport());
        EXPECT_GT(pasek->value(), 0);
        kolko(pojazdy->DBComboBox3);

        EXPECT_EQ(pojazdy->DBComboBox2->currentText(), euro);
        EXPECT_EQ(pojazdy->DBComboBox3->currentText(), gaz);
        EXPECT_EQ(dm->TPojazdy->State(), kal::dsBrowse);
        pojazdy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);
    EXPECT_EQ(dm->TPojazdy->FieldByName(QStringLiteral("NormaEuro"))->AsString(), euroZapisane);
    EXPECT_EQ(dm->TPojazdy->FieldByName(QStringLiteral("FabrycznaInstalacjaGazu"))->AsString(), gazZapisany);
}

} // namespace
} // namespace rejestr_test
