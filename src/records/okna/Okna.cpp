#include "Okna.h"

#include "platform/core/Dialogs.h"
#include "platform/ui/DBGrid.h"

#include <QApplication>
#include <QWidget>

#include <map>
#include <utility>

const QString TekstOknoNiedostepne = QStringLiteral("To okno nie jest jeszcze dostępne.");

namespace {

// One registry per kind of entry: the windows' show operations and the
// forms' print routines.
template <class Fn> std::map<QString, Fn>& rejestr()
{
    static std::map<QString, Fn> wpisy;
    return wpisy;
}
std::map<QString, PokazOknaFn>& okna() { return rejestr<PokazOknaFn>(); }
std::map<QString, DrukFormularzaFn>& wydruki() { return rejestr<DrukFormularzaFn>(); }

template <class Fn> bool zarejestrowany(const std::map<QString, Fn>& wpisy, const QString& nazwa)
{
    const auto it = wpisy.find(nazwa);
    return it != wpisy.end() && it->second;
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
    return zarejestrowany(okna(), okno);
}

bool WydrukZarejestrowany(const QString& formularz)
{
    return zarejestrowany(wydruki(), formularz);
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
