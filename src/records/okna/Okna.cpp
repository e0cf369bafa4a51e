#include "Okna.h"

#include "platform/core/Dialogs.h"
#include "platform/ui/DBGrid.h"

#include <QApplication>
#include <QWidget>

#include <map>
#include <utility>

const QString TekstOknoNiedostepne = QStringLiteral("To okno nie jest jeszcze dostępne.");

namespace {

std::map<QString, PokazOknaFn>& okna()
{
    static std::map<QString, PokazOknaFn> rejestr;
    return rejestr;
}

std::map<QString, DrukFormularzaFn>& wydruki()
{
    static std::map<QString, DrukFormularzaFn> rejestr;
    return rejestr;
}

void pokazNiedostepne()
{
    kal::Dialogs().messageBox(TekstOknoNiedostepne, kal::ApplicationTitle(), kal::MbOk, kal::MsgIcon::Information);
}

// The hidden windows whose grids are unbound at the first activation.
struct SiatkiOkna {
    const char* okno;
    const char* siatki[3];
};
const SiatkiOkna kSiatkiDoOdlaczenia[] = {
    {"FEwidencjaPojazdow", {"DBGrid1"}},
    {"FZuzycie", {"DBGrid1"}},
    {"FGestoscPakiw", {"DBGrid1"}},
    {"FMiejscaUzutk", {"DBGrid1"}},
    {"FMiejscaTankowania", {"DBGrid1"}},
    {"FParWydrPoj", {"DBGrid1"}},
    {"FParWydrZuzMiejTank", {"DBGrid1", "DBGrid2"}},
    {"FNaprPrzegl", {"DBGrid1"}},
    {"FZuzycieKotla", {"DBGrid1"}},
    {"FKotly", {"DBGrid1"}},
    {"FGminy", {"DBGrid1"}},
    {"FSubstancje", {"DBGrid1"}},
    {"FTabelaAGmina", {"DBGrid1"}},
    {"FZrodla", {"DBGrid1"}},
    {"FWprowadzanieTabeliA", {"DBGrid1", "DBGrid2", "DBGrid3"}},
    {"FPozycjeIlosci", {"DBGrid1"}},
};

} // namespace

void ZarejestrujOkno(const QString& okno, PokazOknaFn pokaz)
{
    okna()[okno] = std::move(pokaz);
}

void ZarejestrujWydruk(const QString& formularz, DrukFormularzaFn drukuj)
{
    wydruki()[formularz] = std::move(drukuj);
}

bool OknoZarejestrowane(const QString& okno)
{
    const auto it = okna().find(okno);
    return it != okna().end() && it->second;
}

bool WydrukZarejestrowany(const QString& formularz)
{
    const auto it = wydruki().find(formularz);
    return it != wydruki().end() && it->second;
}

void WyczyscRejestrOkien()
{
    okna().clear();
    wydruki().clear();
}

int PokazOkno(const QString& okno, int tryb)
{
    if (!OknoZarejestrowane(okno)) {
        pokazNiedostepne();
        return 0;
    }
    // A copy: the show may run a nested loop that registers or forgets windows.
    const PokazOknaFn pokaz = okna()[okno];
    return pokaz(tryb);
}

void DrukujFormularz(const QString& formularz, bool podglad, const QString& tytul)
{
    if (!WydrukZarejestrowany(formularz)) {
        pokazNiedostepne();
        return;
    }
    const DrukFormularzaFn drukuj = wydruki()[formularz];
    drukuj(podglad, tytul);
}

QWidget* ZnajdzOkno(const QString& okno)
{
    const auto okienka = QApplication::topLevelWidgets();
    for (QWidget* w : okienka) {
        if (w->objectName() == okno)
            return w;
    }
    return nullptr;
}

void OdlaczZrodlaDanych()
{
    for (const SiatkiOkna& pozycja : kSiatkiDoOdlaczenia) {
        QWidget* okno = ZnajdzOkno(QString::fromLatin1(pozycja.okno));
        if (!okno)
            continue;
        for (const char* nazwa : pozycja.siatki) {
            if (!nazwa)
                break;
            if (auto* siatka = okno->findChild<kal::TDBGrid*>(QString::fromLatin1(nazwa)))
                siatka->setDataSource(nullptr);
        }
    }
}
