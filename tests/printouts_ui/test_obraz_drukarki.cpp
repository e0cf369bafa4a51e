// Every "Drukuj" button shows a printer, never a diskette: the image store's,
// the preview window's and a list's parameter window's, with or without the
// store.

#include "Obsluga.h"
#include "PrzyciskiWydruku.h"
#include "Reportviewer.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QStyle>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QImage Obraz(const QIcon& ikona)
{
    return ikona.pixmap(20).toImage().convertToFormat(QImage::Format_ARGB32);
}

const QImage& Drukarka()
{
    static const QImage obraz = Obraz(ObrazDrukarki());
    return obraz;
}

const QImage& Dyskietka()
{
    static const QImage obraz = Obraz(QApplication::style()->standardIcon(QStyle::SP_DialogSaveButton));
    return obraz;
}

} // namespace

TEST(ObrazDrukarki, IsNotTheDiskette)
{
    EXPECT_FALSE(Drukarka().isNull());
    EXPECT_NE(Drukarka(), Dyskietka());
}

TEST(ObrazDrukarki, TheImageStoresPrintButtonShowsIt)
{
    TFormObslugi magazyn;
    EXPECT_EQ(Obraz(magazyn.Drukuj->icon()), Drukarka());
    EXPECT_EQ(magazyn.Drukuj->text(), QStringLiteral("Drukuj"));
}

TEST(ObrazDrukarki, ThePreviewsPrintButtonShowsIt)
{
    TQuickReportViewer podglad;
    EXPECT_EQ(Obraz(podglad.Print->icon()), Drukarka());
}

TEST(ObrazDrukarki, AParameterWindowShowsItWithAndWithoutTheStore)
{
    for (bool zMagazynem : {false, true}) {
        std::unique_ptr<TFormObslugi> magazyn;
        if (zMagazynem)
            magazyn = std::make_unique<TFormObslugi>();
        QDialog okno;
        auto* uklad = new QHBoxLayout(&okno);
        const PrzyciskiWydruku p = UtworzPrzyciski(&okno, uklad, QStringLiteral("BitBtn9"), QStringLiteral("BitBtn10"),
                                                   QStringLiteral("Drukuj"), QStringLiteral("BitBtn1"));
        UstawObrazy(p);
        EXPECT_EQ(Obraz(p.drukuj->icon()), Drukarka()) << zMagazynem;
    }
}
