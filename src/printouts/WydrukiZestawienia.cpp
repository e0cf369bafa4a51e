#include "WydrukiZestawienia.h"

#include "Dane.h"
#include "RozliczPolrocze.h"
#include "WydrukTabelaC.h"
#include "WydrukTabelaD.h"
#include "WydrukZalacznik1.h"
#include "WydrukZestTabC.h"
#include "WydrukTabeliA.h"
#include "WydrukPojazdow.h"
#include "WydrukNaprawPrz.h"
#include "WydrukPrzeglPoj.h"
#include "WydrukSamDoPrzegl.h"
#include "WydrukZuzyciaPaliwa.h"

void UtworzWydrukiZestawienia(TDM& dm)
{
    ZwolnijWydrukiZestawienia();
    QRTabelaD = new TQRTabelaD(dm.TTabelaD, dm.TStawkiTabD);
    QRTabelaC = new TQRTabelaC(dm.TTabelaC, dm.TStawkiTabC);
    QRZalacznik1 = new TQRZalacznik1(dm.TFirma, dm.TOkres, dm.TZalacznik1);
    QRZestTabC = new TQRZestTabC(dm.TTabelaC);
    QRWydrukTabeliA = new TQRWydrukTabeliA(dm);
    QRRozliczPolrocze = new TQRRozliczPolrocze(dm, QRWydrukTabeliA);
    QRPojazdy = new TQRPojazdy(dm);
    QRNaprawyiPrzegl = new TQRNaprawyiPrzegl(dm);
    QRPrzegladyPojazdow = new TQRPrzegladyPojazdow(dm);
    QRSamochodyDoPrzegladu = new TQRSamochodyDoPrzegladu(dm);
    QRZyzyciePaliwa = new TQRZyzyciePaliwa(dm);
}

void ZwolnijWydrukiZestawienia()
{
    delete QRTabelaD;
    QRTabelaD = nullptr;
    delete QRTabelaC;
    QRTabelaC = nullptr;
    delete QRZalacznik1;
    QRZalacznik1 = nullptr;
    delete QRZestTabC;
    QRZestTabC = nullptr;
    delete QRRozliczPolrocze;
    QRRozliczPolrocze = nullptr;
    delete QRWydrukTabeliA;
    QRWydrukTabeliA = nullptr;
    delete QRPojazdy;
    QRPojazdy = nullptr;
    delete QRNaprawyiPrzegl;
    QRNaprawyiPrzegl = nullptr;
    delete QRPrzegladyPojazdow;
    QRPrzegladyPojazdow = nullptr;
    delete QRSamochodyDoPrzegladu;
    QRSamochodyDoPrzegladu = nullptr;
    delete QRZyzyciePaliwa;
    QRZyzyciePaliwa = nullptr;
}
