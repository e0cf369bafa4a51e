#include "Zrodla.h"

#include "Dane.h"

#include <QFormLayout>
#include <QLabel>

TFZrodla* FZrodla = nullptr;

TFZrodla::TFZrodla(QWidget* parent) : TOknoWyboru(parent)
{
    setObjectName(QStringLiteral("FZrodla"));
    setWindowTitle(QStringLiteral("Źródła powstawania substancji wprowadzanych do powietrza"));
    kal::TDataSource* z = DM ? DM->DZrodla : nullptr;
    QFormLayout* panel = ZbudujRejestr(
        z, false,
        {{"RodzajInstalacji", "Rodzaj instalacji/działalności"}, {"PozwoleniezData", "Pozwolenie"}}, true);
    DodajPola(panel, z,
              {{"Rodzaj instalacji/działalności:", "DBEdit1", "RodzajInstalacji"},
               {"Nr data wydania organ:", "DBEdit2", "PozwoleniezData"},
               {"Termin obowiązywania:", "DBEdit3", "TerminObowiazywania", 10},
               {"Nominalna moc cieplna:", "DBEdit4", "NominalnaMocCieplna"},
               {"Rodzaj urządzenia ochronnego:", "DBEdit5", "RodzajUrzadzeniaOchronneg"},
               {"Adres:", "DBEdit6", "Adres"}});
    panel->addRow(NowaEtykieta(QStringLiteral("Gdy pole puste, to będzie adres gminy lub firmy.")));
    if (DM)
        UstawZapytanieOZapis(
            QStringLiteral("Czy chcesz zmienić dane o żródle ?"), QStringLiteral("Czy chcesz dopisać nowe żródło ?"),
            QStringLiteral("Kontrola wprowadzania źródel powstania substancji wprowadzanych dośrodowiska."),
            DM->TZrodla);
    if (!FZrodla)
        FZrodla = this;
}

TFZrodla::~TFZrodla()
{
    if (FZrodla == this)
        FZrodla = nullptr;
}

int TFZrodla::Pokaz(int tryb)
{
    kal::TField* pole = tryb == 1 ? DM->TTabelaAZrodlaIdentyfikatorZrodla : nullptr;
    return PokazRejestr(tryb, {DM->TTabelaAZrodla, pole, DM->TZrodla, DM->TZrodlaIdentyfikator}, DM->DZrodla, true);
}

void TFZrodla::BitBtn2Click()
{
    Uzyj(DM->TZrodla, DM->TZrodlaIdentyfikator, QStringLiteral("Najpierw zapisz lub porzuć nowe dane o źródle !!!"));
}
