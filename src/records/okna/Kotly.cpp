#include "Kotly.h"

#include "Dane.h"

#include "platform/ui/DBComboBox.h"

#include <QFormLayout>

TFKotly* FKotly = nullptr;

QStringList ListaRodzajowKotlow()
{
    return {
        QStringLiteral("111 Kotły opalane węglem kamiennym. Kocioł z rusztem mechanicznym, z urządzeniem odpylającym, "
                       "nominalna moc cieplna <=3 MW."),
        QStringLiteral("112 Kotły opalane węglem kamiennym. Kocioł z rusztem mechanicznym, z urządzeniem odpylającym, "
                       "nominalna moc cieplna > 3MW i <=5 MW"),
        QStringLiteral("120 Kotły opalane węglem kamiennym. Kocioł z rusztem mechanicznym, bez urządzenia "
                       "odpylającego, nominalnej mocy cieplnej <=5 MW"),
        QStringLiteral("130 Kotły opalane węglem kamiennym. Kocioł z rusztem stałym, ciągiem naturalnym, o normalnej "
                       "mocy cieplnej <=5 MW"),
        QStringLiteral("140 Kotły opalane węglem kamiennym. Kocioł z rusztem stałym, z ciągiem sztucznym, z "
                       "urządzeniem odpylającym <= 5 MW"),
        QStringLiteral("150 Kotły opalane węglem kamiennym. Kocioł z rusztem stałym, z ciągiem sztucznym, bez "
                       "urządzenia odpylającego <= 5MW"),
        QStringLiteral("210 Kotły o nominalnej mocy cieplnej <=5 MW opalane koksem. Kocioł z rusztem stałym, ciągiem "
                       "naturalnym."),
        QStringLiteral("220 Kotły o nominalnej mocy cieplnej <=5 MW opalane koksem. Kocioł z rusztem stałym, z "
                       "ciągiem sztucznym, z urządzeniem odpylającym."),
        QStringLiteral("230 Kotły o nominalnej mocy cieplnej <=5 MW opalane koksem. Kocioł z rusztem stałym, z "
                       "ciągiem sztucznym, bez urządzenia odpylającego."),
        QStringLiteral("300 Kotły o nominalnej mocy cieplnej <=5 MW opalane drewnem"),
        QStringLiteral("410 Kotły o nominalnej mocy cieplnej <= 5 MW. Olej lekki (zawartość siarki nie większa niż "
                       "0,5 %)."),
        QStringLiteral("420 Kotły o nominalnej mocy cieplnej <= 5 MW. Olej opałowy (zawartość siarki nie większa niż "
                       "1%)."),
        QStringLiteral("430 Kotły o nominalnej mocy cieplnej <= 5 MW. Olej opałowy (zawartość siarki od 1% do 5 %)."),
        QStringLiteral("440 Kotły o nominalnej mocy cieplnej <= 5 MW. Olej napędowy"),
        QStringLiteral("511 Kotły opalane paliwem gazowym. Gaz ziemny wysokometanowy. Nominalna moc cieplna <= 1,4 MW"),
        QStringLiteral("512 Kotły opalane paliwem gazowym. Gaz ziemny wysokometanowy. Nominalna moc cieplna > 1,4 MW "
                       "i <= 5MW"),
        QStringLiteral("521 Kotły opalane paliwem gazowym. Gaz ziemny zaazotowany. Nominalna moc cieplna <= 1,4 MW"),
        QStringLiteral("522 Kotły opalane paliwem gazowym. Gaz ziemny zaazotowany. Nominalna moc cieplna > 1,4 MW i "
                       "<= 5MW"),
        QStringLiteral("530 Kotły opalane paliwem gazowym. Gaz ziemny propan-butan. Nominalna moc cieplna <= 5MW"),
    };
}

TFKotly::TFKotly(QWidget* parent) : TOknoWyboru(parent)
{
    setObjectName(QStringLiteral("FKotly"));
    setWindowTitle(QStringLiteral("Wprowadzanie kotłów zainstalowanych w firmie."));
    kal::TDataSource* z = DM ? DM->DKotly : nullptr;
    QFormLayout* panel =
        ZbudujRejestr(z, false,
                      {{"RodzajKotla", "Rodzaj kotła"}, {"Ilosc", "Ilość"}, {"OpisKotla", "Opis kotła"}}, true);
    DBComboBox1 = new kal::TDBComboBox(this);
    DBComboBox1->setObjectName(QStringLiteral("DBComboBox1"));
    DBComboBox1->setItems(ListaRodzajowKotlow());
    DBComboBox1->setValueLength(5);
    DBComboBox1->setDropDownCount(20);
    DBComboBox1->setDataSource(z);
    DBComboBox1->setDataField(QStringLiteral("RodzajKotla"));
    panel->addRow(QStringLiteral("Rodzaj kotła:"), DBComboBox1);
    DodajPola(panel, z, {{"Ilość kotłów:", "DBEdit1", "Ilosc"}, {"Opis kotła", "DBEdit2", "OpisKotla"}});
    if (DM)
        UstawZapytanieOZapis(QStringLiteral("Czy chcesz zmienić dane o kotle ?"),
                             QStringLiteral("Czy chcesz dopisać nowy kocioł ?"),
                             QStringLiteral("Kontrola wprowadzania kotłów."), DM->TKotly);
    if (!FKotly)
        FKotly = this;
}

TFKotly::~TFKotly()
{
    if (FKotly == this)
        FKotly = nullptr;
}

int TFKotly::Pokaz(int tryb)
{
    Maksymalizuj();
    kal::TField* pole = tryb == 1 ? DM->TZuzycieKotlaIdentyfikatorKotla : nullptr;
    return PokazRejestr(tryb, {DM->TZuzycieKotla, pole, DM->TKotly, DM->TKotlyIdentyfikator}, DM->DKotly, true);
}

void TFKotly::BitBtn2Click()
{
    Uzyj(DM->TKotly, DM->TKotlyIdentyfikator, QStringLiteral("Najpierw zapisz lub porzuć nowe dane o kotłach !!!"));
}
