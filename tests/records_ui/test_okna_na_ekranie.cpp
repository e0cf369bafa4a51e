// Every window of the program fits a 1024x768 screen, the frame of its
// window manager counted: none needs more room than the screen has, and the
// main window, 1040 pixels wide as laid out, is narrowed into it.

#include "DataDir.h"
#include "Glowny.h"
#include "Start.h"

#include "platform/ui/Application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

namespace {

// A frame as window managers draw them: a border at the sides and the
// bottom, a title bar at the top.
const QMargins kRamka(4, 24, 4, 4);
const QRect kEkran(0, 0, 1024, 768);

class OknaNaEkranie : public kal::test::DataDir {
protected:
    OknaNaEkranie() : DataDir(Start::Directory) {}
    void TearDown() override
    {
        obiekty.Zwolnij();
        DataDir::TearDown();
    }
    ObiektyProgramu obiekty;
};

TEST_F(OknaNaEkranie, EveryWindowFitsA1024x768Screen)
{
    ASSERT_TRUE(kal::RunGuarded([this] { obiekty.Utworz(); }));
    const QSize miejsce = kEkran.size().shrunkBy(kRamka);
    int okien = 0;
    QStringList sprawdzone;
    for (QWidget* okno : QApplication::topLevelWidgets()) {
        if (okno->objectName().isEmpty() || okno->windowType() == Qt::Popup || okno->windowType() == Qt::ToolTip)
            continue;
        ++okien;
        sprawdzone << okno->objectName();
        const QSize potrzebne = okno->minimumSizeHint().expandedTo(okno->minimumSize());
        EXPECT_LE(potrzebne.width(), miejsce.width()) << okno->objectName().toStdString();
        EXPECT_LE(potrzebne.height(), miejsce.height()) << okno->objectName().toStdString();
    }
    EXPECT_GE(okien, 25); // the main window, the registers, the statements, the preview ...
    // The error-log editor too, with its tool bar.
    EXPECT_TRUE(sprawdzone.contains(QStringLiteral("FormRichEdit")));

    // The main window as laid out, centred on the screen: narrowed and moved
    // so that its frame stands whole on the screen.
    ASSERT_NE(FGlowny, nullptr);
    QRect glowne(QPoint(0, 0), FGlowny->size());
    glowne.moveCenter(kEkran.center());
    const QRect dopasowane = kal::FitIntoArea(glowne, kRamka, kEkran, FGlowny->minimumSizeHint());
    EXPECT_TRUE(kEkran.contains(dopasowane.marginsAdded(kRamka)));
    EXPECT_EQ(dopasowane.height(), FGlowny->height());
}

} // namespace
