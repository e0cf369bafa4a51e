#pragma once
// The data module: owns every table component, field component and data
// source of the program, and the dataset and field event handlers wired to
// them. One instance, the global `DM`, lives from start-up to the end.
//
// The components are built from the one table description (Schemat.h): the
// lists below name the public members that other units use (`DM->TZuzycie`,
// `DM->TOkresRok`, `DM->DOkres`); the constructor creates each component from
// its description and refuses to start when a list and the description
// disagree.

#include "Funkcjedatyiczasu.h"
#include "Schemat.h"

#include "platform/core/Exceptions.h"
#include "platform/db/Table.h"

#include <QDate>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

// Table components, data sources, handlers by event kind, field components.
#define KAL_TDM_TABELE(X) \
    X(TFirma) X(TOkres) X(TPojazdy) X(TZuzycie) X(TPrzebieg) X(TPrzRob) X(TPrzegl) X(TMiejsceUz) \
    X(TMiejscTank) X(TTabelaGest) X(TKotly) X(TGminy) X(TSubsatncje) X(TZrodla) X(TPolaExcel) X(TRoboczy) \
    X(TZalacznik1) X(TTabelaD) X(TStawkiTabD) X(TTabelaC) X(TStawkiTabC) X(TZuzycieKotla) X(TTabelaAGmina) \
    X(TTabelaAZrodla) X(TTabelaASubstancje) X(TTabelaAPaliwa) X(TTabAPozWart)

#define KAL_TDM_ZRODLA(X) \
    X(DFirma) X(DOkres) X(DPojazdy) X(DZuzycie) X(DPrzebieg) X(DPrzegl) X(DMiejsceUz) X(DMiejscTank) \
    X(DTabelaGest) X(DKotly) X(DGminy) X(DSubstancje) X(DZrodla) X(DPolaExcel) X(DZalacznik1) X(DTabelaD) \
    X(DStawkiTabD) X(DTabelaC) X(DStawkiTabC) X(DZuzycieKotla) X(DTabelaAGmina) X(DTabelaAZrodla) \
    X(DTabelaASubstancje) X(DTabelaAPaliwa) X(DTabAPozWart)

#define KAL_TDM_ZDARZENIA_ZBIORU(X) \
    X(AAANieWolno) X(AAAZrzucBufory) X(PrzedDopisemWierszTabA) X(PrzedEdycjaWierszaTabA) \
    X(PrzedKasowaniemWierszaTabA) X(TFirmaAfterDelete) X(TFirmaAfterPost) X(TFirmaBeforeDelete) \
    X(TGminyBeforePost) X(TKotlyAfterInsert) X(TKotlyBeforePost) X(TMiejscTankBeforePost) \
    X(TMiejsceUzBeforePost) X(TOkresBeforeEdit) X(TOkresBeforeInsert) X(TOkresBeforePost) X(TOkresCalcFields) \
    X(TPojazdyAfterCancel) X(TPojazdyAfterEdit) X(TPojazdyAfterInsert) X(TPojazdyBeforeDelete) \
    X(TPojazdyBeforePost) X(TPojazdyCalcFields) X(TPrzebiegBeforePost) X(TPrzeglBeforePost) \
    X(TStawkiTabCAfterInsert) X(TStawkiTabCBeforePost) X(TStawkiTabDAfterInsert) X(TStawkiTabDBeforePost) \
    X(TSubsatncjeBeforePost) X(TTabAPozWartAfterInsert) X(TTabAPozWartBeforePost) X(TTabAPozWartCalcFields) \
    X(TTabelaAGminaBeforePost) X(TTabelaAPaliwaBeforePost) X(TTabelaASubstancjeBeforePost) \
    X(TTabelaASubstancjeCalcFields) X(TTabelaAZrodlaBeforePost) X(TTabelaCAfterInsert) X(TTabelaCBeforePost) \
    X(TTabelaDAfterInsert) X(TTabelaDBeforePost) X(TTabelaDCalcFields) X(TTabelaGestBeforeDelete) \
    X(TTabelaGestBeforeInsert) X(TTabelaGestBeforePost) X(TZalacznik1AfterInsert) X(TZalacznik1CalcFields) \
    X(TZrodlaBeforePost) X(TZuzycieAfterInsert) X(TZuzycieBeforePost) X(TZuzycieKotlaAfterInsert) \
    X(TZuzycieKotlaBeforePost)

#define KAL_TDM_USTAW_TEKST(X) \
    X(StandartowaKontrolaDaty) X(TPojazdyDataPierwszejRejestracjiSetText) \
    X(TPojazdyDataSkresleniaZEwidencjiSetText) X(TPrzebiegDataSetText) X(TPrzeglDataSetText) \
    X(TTabAPozWartDataSetText) X(TZrodlaTerminObowiazywaniaSetText) X(TZuzycieDataTankowaniaSetText) \
    X(TZuzycieKotlaDataZuzyciaSetText) X(UstalNieujemna) X(UstalNieujemnaCalk)

#define KAL_TDM_POBIERZ_TEKST(X) \
    X(TKotlyRodzajKotlaGetText) X(TPojazdyFabrycznaInstalacjaGazuGetText) X(TPojazdyNormaEuroGetText) \
    X(TPojazdyRodzajPojazduGetText) X(TZuzycieRodzajPaliwaGetText)

#define KAL_TDM_SPRAWDZ(X) \
    X(TKotlyRodzajKotlaValidate) X(TPojazdyFabrycznaInstalacjaGazuValidate) X(TPojazdyNormaEuroValidate) \
    X(TPojazdyRodzajPojazduValidate) X(TZuzycieIdentyfikatorPojazduValidate) X(TZuzycieRodzajPaliwaValidate)

#define KAL_TDM_POLA(X) \
    /* TFirma */ \
    X(TFirmaNazwa1) X(TFirmaNazwa2) X(TFirmaAdres1) X(TFirmaAdres2) X(TFirmaREGON) X(TFirmaTelefon) \
    X(TFirmaIdentyfikator) X(TFirmaNIP) \
    /* TOkres */ \
    X(TOkresIdentyfikatorFirmy) X(TOkresRok) X(TOkresPolrocze) X(TOkresKwartal) X(TOkresTydzien) X(TOkresDzien) \
    X(TOkresIdentyfikatorOkresu) X(TOkresNazwaKwartalu) \
    /* TPojazdy */ \
    X(TPojazdyRodzajPojazdu) X(TPojazdyMarka) X(TPojazdyNrRejestracyjny) X(TPojazdyUwagi) X(TPojazdyDataKonca) \
    X(TPojazdyIdentyfikatorPojazdu) X(TPojazdyDataPierwszejRejestracji) X(TPojazdyDMasaCalkowita) \
    X(TPojazdyNrNadwozia) X(TPojazdyNrSilnika) X(TPojazdyLadownosc) X(TPojazdyIloscMiejsc) \
    X(TPojazdyPojemnoscSilnika) X(TPojazdyRokProdukcji) X(TPojazdyNumerInwentarzowy) \
    X(TPojazdyWartoscEwidencyjna) X(TPojazdyNormaLetnia) X(TPojazdyNormaZimowa) X(TPojazdyMiejsceUzytkowania) \
    X(TPojazdyDataSkresleniaZEwidencji) X(TPojazdyNazwaMiejscaUzytkowania) X(TPojazdyIloscKmMiedzyPrzegl) \
    X(TPojazdyNormaSrednia) X(TPojazdyNormaEuro) X(TPojazdyFabrycznaInstalacjaGazu) \
    /* TZuzycie */ \
    X(TZuzycieIdentyfikatorFirmy) X(TZuzycieIdentyfikatorPojazdu) X(TZuzycieDataTankowania) \
    X(TZuzycieIdentyfikator) X(TZuzycieIloscPaliwa) X(TZuzycieCenaPaliwa) X(TZuzycieRodzajPaliwa) \
    X(TZuzycieRodzajPojazdu) X(TZuzycieMarka) X(TZuzycieNumerRejestracyjny) X(TZuzycieDataPierwszejRejestracji) \
    X(TZuzycieMiejsceTankowania) X(TZuzycieNazwaMiejscaTankowania) X(TZuzycieNumerFaktury) \
    X(TZuzycieMiejsceUzytkowania) X(TZuzycieNazwaMiejscaUzytkowania) X(TZuzycieIdMiejscaUzytkowaniaPojazdu) \
    X(TZuzycieIloscKm) \
    /* TPrzebieg */ \
    X(TPrzebiegIdentyfikatorPojazdu) X(TPrzebiegData) X(TPrzebiegIloscKilometrow) \
    /* TPrzRob */ \
    X(TPrzRobIdentyfikatorPojazdu) X(TPrzRobData) X(TPrzRobIloscKilometrow) \
    /* TPrzegl */ \
    X(TPrzeglIdentyfikatorPojazdu) X(TPrzeglData) X(TPrzeglNrFaktury) X(TPrzeglZakresRobot) \
    X(TPrzeglZakupioneCzesci) X(TPrzeglWartosc) X(TPrzeglDataNastepnegoPrzegladu) X(TPrzeglOpis) \
    X(TPrzeglIloscKm) \
    /* TMiejsceUz */ \
    X(TMiejsceUzNazwa) X(TMiejsceUzIdentyfiklator) \
    /* TMiejscTank */ \
    X(TMiejscTankNazwa) X(TMiejscTankIdentyfikator) \
    /* TTabelaGest */ \
    X(TTabelaGestIdentyfikatorPaliwa) X(TTabelaGestNazwaPaliwa) X(TTabelaGestGestosc) \
    /* TKotly */ \
    X(TKotlyOpisKotla) X(TKotlyIdentyfikator) X(TKotlyRodzajKotla) X(TKotlyIlosc) X(TKotlyZuzycie) \
    X(TKotlyRokProdukcji) X(TKotlyData1) X(TKotlyData2) X(TKotlyLogiczny) X(TKotlyTekst) X(TKotlyNumeryk) \
    X(TKotlyDataLikwidacji) \
    /* TGminy */ \
    X(TGminyNazwaGminy) X(TGminyKodGminy) X(TGminyIdentyfikatorGminy) \
    /* TSubsatncje */ \
    X(TSubsatncjeNazwaSubstancji) X(TSubsatncjeKodSubstancji) X(TSubsatncjeJednostkowaStawka) \
    X(TSubsatncjeIdentyfikatorSubstancju) \
    /* TZrodla */ \
    X(TZrodlaRodzajInstalacji) X(TZrodlaAdres) X(TZrodlaIdentyfikator) X(TZrodlaNominalnaMocCieplna) \
    X(TZrodlaRodzajUrzadzeniaOchronneg) X(TZrodlaPozwoleniezData) X(TZrodlaTerminObowiazywania) \
    /* TPolaExcel */ \
    X(TPolaExcelIdentyfikator) X(TPolaExcelNumerRejestracyjny) X(TPolaExcelRodzajPojazdu) \
    X(TPolaExcelNumerFaktury) X(TPolaExcelDataRealizacji) X(TPolaExcelIloscLitrow) X(TPolaExcelCena) \
    X(TPolaExcelGrupaProduktu) \
    /* TZalacznik1 */ \
    X(TZalacznik1IdentyfikatorOkresu) X(TZalacznik1IdDodatkowy) X(TZalacznik1P11) X(TZalacznik1P12) \
    X(TZalacznik1P13) X(TZalacznik1P14) X(TZalacznik1P15) X(TZalacznik1P21) X(TZalacznik1P22) X(TZalacznik1P23) \
    X(TZalacznik1P311) X(TZalacznik1P312) X(TZalacznik1P313) X(TZalacznik1P314) X(TZalacznik1P315) \
    X(TZalacznik1P32) X(TZalacznik1P33) X(TZalacznik1P34) X(TZalacznik1P35) X(TZalacznik1P41) X(TZalacznik1P42) \
    X(TZalacznik1Rezerwa1P316) X(TZalacznik1Rezerwa2) X(TZalacznik1Rezerwa3) X(TZalacznik1Rezerwa4) \
    X(TZalacznik1Rezerwa5) X(TZalacznik1PI) X(TZalacznik1PII) X(TZalacznik1PIII) X(TZalacznik1PIV) \
    X(TZalacznik1POgolem) \
    /* TTabelaD */ \
    X(TTabelaDIdentyfikatorOkresu) X(TTabelaDIdentyfikatorJednMiary) X(TTabelaDBDEDesigner1a) \
    X(TTabelaDBDEDesigner1b) X(TTabelaDBDEDesigner1c) X(TTabelaDBDEDesigner1d) X(TTabelaDBDEDesigner2a) \
    X(TTabelaDBDEDesigner2b) X(TTabelaDBDEDesigner2c) X(TTabelaDBDEDesigner2d) X(TTabelaDBDEDesigner3a) \
    X(TTabelaDBDEDesigner3b) X(TTabelaDBDEDesigner3c) X(TTabelaDBDEDesigner3d) X(TTabelaDBDEDesigner4a) \
    X(TTabelaDBDEDesigner4b) X(TTabelaDBDEDesigner4c) X(TTabelaDBDEDesigner4d) X(TTabelaDBDEDesigner4e) \
    X(TTabelaDBDEDesigner4f) X(TTabelaDBDEDesigner5) X(TTabelaDBDEDesigner5b) X(TTabelaDBDEDesigner5c) \
    X(TTabelaDBDEDesigner5d) X(TTabelaDBDEDesigner5e) X(TTabelaDBDEDesigner5f) X(TTabelaDBDEDesigner6) \
    X(TTabelaDBDEDesigner6b) X(TTabelaDBDEDesigner6c) X(TTabelaDBDEDesigner6d) X(TTabelaDBDEDesigner6e) \
    X(TTabelaDBDEDesigner6f) X(TTabelaDBDEDesigner7) X(TTabelaDBDEDesigner7b) X(TTabelaDBDEDesigner7c) \
    X(TTabelaDBDEDesigner7d) X(TTabelaDBDEDesigner8a) X(TTabelaDBDEDesigner8b) X(TTabelaDBDEDesigner8c) \
    X(TTabelaDBDEDesigner8d) X(TTabelaDBDEDesigner9) X(TTabelaDBDEDesigner9b) X(TTabelaDBDEDesigner9c) \
    X(TTabelaDBDEDesigner9d) X(TTabelaDBDEDesigner10) X(TTabelaDBDEDesigner10b) X(TTabelaDBDEDesigner10c) \
    X(TTabelaDBDEDesigner10d) X(TTabelaDBDEDesigner10e) X(TTabelaDBDEDesigner10f) X(TTabelaDBDEDesigner11a) \
    X(TTabelaDBDEDesigner11b) X(TTabelaDBDEDesigner11c) X(TTabelaDBDEDesigner11d) X(TTabelaDBDEDesigner11e) \
    X(TTabelaDBDEDesigner11f) X(TTabelaDBDEDesigner12) X(TTabelaDBDEDesigner12b) X(TTabelaDBDEDesigner12c) \
    X(TTabelaDBDEDesigner12d) X(TTabelaDBDEDesigner12e) X(TTabelaDBDEDesigner12f) X(TTabelaDBDEDesigner13a) \
    X(TTabelaDBDEDesigner13b) X(TTabelaDBDEDesigner13c) X(TTabelaDBDEDesigner14a) X(TTabelaDBDEDesigner14b) \
    X(TTabelaDBDEDesigner15a) X(TTabelaDBDEDesigner15b) X(TTabelaDBDEDesigner15c) X(TTabelaDBDEDesigner16a) \
    X(TTabelaDBDEDesigner16b) X(TTabelaDBDEDesigner16c) X(TTabelaDBDEDesigner17a) X(TTabelaDBDEDesigner17b) \
    X(TTabelaDBDEDesigner17c) X(TTabelaDBDEDesigner17d) X(TTabelaDBDEDesigner18a) X(TTabelaDBDEDesigner18b) \
    X(TTabelaDBDEDesigner18c) X(TTabelaDBDEDesigner18d) X(TTabelaDBDEDesigner19a) X(TTabelaDBDEDesigner19b) \
    X(TTabelaDBDEDesigner19c) X(TTabelaDBDEDesigner19d) X(TTabelaDBDEDesigner20a) X(TTabelaDBDEDesigner20b) \
    X(TTabelaDBDEDesigner21a) X(TTabelaDBDEDesigner21b) X(TTabelaDBDEDesigner22a) X(TTabelaDBDEDesigner22b) \
    X(TTabelaDBDEDesigner23a) X(TTabelaDBDEDesigner23b) X(TTabelaDBDEDesigner24a) X(TTabelaDBDEDesigner24b) \
    X(TTabelaDBDEDesigner24c) X(TTabelaDBDEDesigner24d) X(TTabelaDBDEDesigner25a) X(TTabelaDBDEDesigner25b) \
    X(TTabelaDBDEDesigner25c) X(TTabelaDBDEDesigner25d) X(TTabelaDBDEDesigner26a) X(TTabelaDBDEDesigner26b) \
    X(TTabelaDBDEDesigner26c) X(TTabelaDBDEDesigner26d) X(TTabelaDBDEDesigner27a) X(TTabelaDBDEDesigner27b) \
    X(TTabelaDBDEDesigner28a) X(TTabelaDBDEDesigner28b) X(TTabelaDBDEDesigner29a) X(TTabelaDBDEDesigner29b) \
    X(TTabelaDBDEDesigner30a) X(TTabelaDBDEDesigner30b) X(TTabelaDBDEDesigner31a) X(TTabelaDBDEDesigner31b) \
    X(TTabelaDBDEDesigner32a) X(TTabelaDBDEDesigner32b) X(TTabelaDBDEDesigner32c) X(TTabelaDBDEDesigner32d) \
    X(TTabelaDRezerwa1) X(TTabelaDRezerwa2) X(TTabelaDRezerwa3) X(TTabelaDRezerwa4) X(TTabelaDRezerwa5) \
    X(TTabelaDRazem) \
    /* TStawkiTabD */ \
    X(TStawkiTabDIdentyfikatorOkresu) X(TStawkiTabDIdentyfikatorJednMiary) X(TStawkiTabDBDEDesigner1a) \
    X(TStawkiTabDBDEDesigner1b) X(TStawkiTabDBDEDesigner1c) X(TStawkiTabDBDEDesigner2a) \
    X(TStawkiTabDBDEDesigner2b) X(TStawkiTabDBDEDesigner2c) X(TStawkiTabDBDEDesigner3a) \
    X(TStawkiTabDBDEDesigner3b) X(TStawkiTabDBDEDesigner3c) X(TStawkiTabDBDEDesigner4a) \
    X(TStawkiTabDBDEDesigner4b) X(TStawkiTabDBDEDesigner4c) X(TStawkiTabDBDEDesigner5) \
    X(TStawkiTabDBDEDesigner6) X(TStawkiTabDBDEDesigner7) X(TStawkiTabDBDEDesigner8a) \
    X(TStawkiTabDBDEDesigner8b) X(TStawkiTabDBDEDesigner9) X(TStawkiTabDBDEDesigner10) \
    X(TStawkiTabDBDEDesigner11a) X(TStawkiTabDBDEDesigner11b) X(TStawkiTabDBDEDesigner12) X(TStawkiTabDRezerwa1) \
    X(TStawkiTabDRezerwa2) X(TStawkiTabDRezerwa3) X(TStawkiTabDRezerwa4) X(TStawkiTabDRezerwa5) \
    X(TStawkiTabDBDEDesigner1d) X(TStawkiTabDBDEDesigner2d) X(TStawkiTabDBDEDesigner3d) \
    X(TStawkiTabDBDEDesigner4d) X(TStawkiTabDBDEDesigner4e) X(TStawkiTabDBDEDesigner4f) \
    X(TStawkiTabDBDEDesigner5b) X(TStawkiTabDBDEDesigner5c) X(TStawkiTabDBDEDesigner5d) \
    X(TStawkiTabDBDEDesigner5e) X(TStawkiTabDBDEDesigner5f) X(TStawkiTabDBDEDesigner6b) \
    X(TStawkiTabDBDEDesigner6c) X(TStawkiTabDBDEDesigner6d) X(TStawkiTabDBDEDesigner6e) \
    X(TStawkiTabDBDEDesigner6f) X(TStawkiTabDBDEDesigner7b) X(TStawkiTabDBDEDesigner7c) \
    X(TStawkiTabDBDEDesigner7d) X(TStawkiTabDBDEDesigner8c) X(TStawkiTabDBDEDesigner8d) \
    X(TStawkiTabDBDEDesigner9b) X(TStawkiTabDBDEDesigner9c) X(TStawkiTabDBDEDesigner9d) \
    X(TStawkiTabDBDEDesigner10b) X(TStawkiTabDBDEDesigner10c) X(TStawkiTabDBDEDesigner10d) \
    X(TStawkiTabDBDEDesigner10e) X(TStawkiTabDBDEDesigner10f) X(TStawkiTabDBDEDesigner11c) \
    X(TStawkiTabDBDEDesigner11d) X(TStawkiTabDBDEDesigner11e) X(TStawkiTabDBDEDesigner11f) \
    X(TStawkiTabDBDEDesigner12b) X(TStawkiTabDBDEDesigner12c) X(TStawkiTabDBDEDesigner12d) \
    X(TStawkiTabDBDEDesigner12e) X(TStawkiTabDBDEDesigner12f) X(TStawkiTabDBDEDesigner13a) \
    X(TStawkiTabDBDEDesigner13b) X(TStawkiTabDBDEDesigner13c) X(TStawkiTabDBDEDesigner14a) \
    X(TStawkiTabDBDEDesigner14b) X(TStawkiTabDBDEDesigner15a) X(TStawkiTabDBDEDesigner15b) \
    X(TStawkiTabDBDEDesigner15c) X(TStawkiTabDBDEDesigner16a) X(TStawkiTabDBDEDesigner16b) \
    X(TStawkiTabDBDEDesigner16c) X(TStawkiTabDBDEDesigner17a) X(TStawkiTabDBDEDesigner17b) \
    X(TStawkiTabDBDEDesigner17c) X(TStawkiTabDBDEDesigner17d) X(TStawkiTabDBDEDesigner18a) \
    X(TStawkiTabDBDEDesigner18b) X(TStawkiTabDBDEDesigner18c) X(TStawkiTabDBDEDesigner18d) \
    X(TStawkiTabDBDEDesigner19a) X(TStawkiTabDBDEDesigner19b) X(TStawkiTabDBDEDesigner19c) \
    X(TStawkiTabDBDEDesigner19d) X(TStawkiTabDBDEDesigner20a) X(TStawkiTabDBDEDesigner20b) \
    X(TStawkiTabDBDEDesigner21a) X(TStawkiTabDBDEDesigner21b) X(TStawkiTabDBDEDesigner22a) \
    X(TStawkiTabDBDEDesigner22b) X(TStawkiTabDBDEDesigner23a) X(TStawkiTabDBDEDesigner23b) \
    X(TStawkiTabDBDEDesigner24a) X(TStawkiTabDBDEDesigner24b) X(TStawkiTabDBDEDesigner24c) \
    X(TStawkiTabDBDEDesigner24d) X(TStawkiTabDBDEDesigner25a) X(TStawkiTabDBDEDesigner25b) \
    X(TStawkiTabDBDEDesigner25c) X(TStawkiTabDBDEDesigner25d) X(TStawkiTabDBDEDesigner26a) \
    X(TStawkiTabDBDEDesigner26b) X(TStawkiTabDBDEDesigner26c) X(TStawkiTabDBDEDesigner26d) \
    X(TStawkiTabDBDEDesigner27a) X(TStawkiTabDBDEDesigner27b) X(TStawkiTabDBDEDesigner28a) \
    X(TStawkiTabDBDEDesigner28b) X(TStawkiTabDBDEDesigner29a) X(TStawkiTabDBDEDesigner29b) \
    X(TStawkiTabDBDEDesigner30a) X(TStawkiTabDBDEDesigner30b) X(TStawkiTabDBDEDesigner31a) \
    X(TStawkiTabDBDEDesigner31b) X(TStawkiTabDBDEDesigner32a) X(TStawkiTabDBDEDesigner32b) \
    X(TStawkiTabDBDEDesigner32c) X(TStawkiTabDBDEDesigner32d) \
    /* TTabelaC */ \
    X(TTabelaCIdentyfikatorOkresu) X(TTabelaCNazwaGminy) X(TTabelaCIdentyfikatorJednMiary) X(TTabelaCI1) \
    X(TTabelaCI1a) X(TTabelaCI2) X(TTabelaCI3) X(TTabelaCI4) X(TTabelaCI5) X(TTabelaCLKI1) X(TTabelaCLKI1a) \
    X(TTabelaCLKI2) X(TTabelaCLKI3) X(TTabelaCLKI4) X(TTabelaCLKI5) X(TTabelaCII1) X(TTabelaCLKII1) \
    X(TTabelaCII2) X(TTabelaCLKII2) X(TTabelaCII3) X(TTabelaCLKII3) X(TTabelaCIII) X(TTabelaCLKIII) \
    X(TTabelaCIV1) X(TTabelaCLKIV1) X(TTabelaCIV2) X(TTabelaCLKIV2) X(TTabelaCIV3) X(TTabelaCLKIV3) \
    X(TTabelaCIV4) X(TTabelaCLKIV4) X(TTabelaCV1a) X(TTabelaCLKV1a) X(TTabelaCV1b) X(TTabelaCLKV1b) \
    X(TTabelaCV2a) X(TTabelaCLKV2a) X(TTabelaCV2b) X(TTabelaCLKV2b) X(TTabelaCV3) X(TTabelaCLKV3) \
    X(TTabelaCRezerwa1) X(TTabelaCRezerwa2) X(TTabelaCRezerwa3) X(TTabelaCRezerwa4) X(TTabelaCRezerwa5) \
    X(TTabelaCCalk5) X(TTabelaCCalk4) X(TTabelaCCalk3) X(TTabelaCCalk2) X(TTabelaCCalk1) \
    X(TTabelaCIdentyfikator) \
    /* TStawkiTabC */ \
    X(TStawkiTabCIdentyfikatorOkresu) X(TStawkiTabCIdentyfikatorJednMiary) X(TStawkiTabCI1) X(TStawkiTabCI1a) \
    X(TStawkiTabCI2) X(TStawkiTabCI3) X(TStawkiTabCI4) X(TStawkiTabCI5) X(TStawkiTabCII1) X(TStawkiTabCII2) \
    X(TStawkiTabCII3) X(TStawkiTabCIII) X(TStawkiTabCIV1) X(TStawkiTabCIV2) X(TStawkiTabCIV3) X(TStawkiTabCIV4) \
    X(TStawkiTabCV1a) X(TStawkiTabCV1b) X(TStawkiTabCV2a) X(TStawkiTabCV2b) X(TStawkiTabCV3) \
    X(TStawkiTabCRezerwa1) X(TStawkiTabCRezerwa2) X(TStawkiTabCRezerwa3) X(TStawkiTabCRezerwa4) \
    X(TStawkiTabCRezerwa5) \
    /* TZuzycieKotla */ \
    X(TZuzycieKotlaIdentyfikatorTabC) X(TZuzycieKotlaDataZuzycia) X(TZuzycieKotlaIdentyfikatorKotla) \
    X(TZuzycieKotlaIlosc) X(TZuzycieKotlaUwagi) X(TZuzycieKotlaOpisKotla) X(TZuzycieKotlaIloscKotl) \
    X(TZuzycieKotlaSymbolJednostkiMiary) X(TZuzycieKotlaPrzelicznik) X(TZuzycieKotlaRezerwa) \
    X(TZuzycieKotlaIloscPrzNaTony) X(TZuzycieKotlaRodzajKotla) \
    /* TTabelaAGmina */ \
    X(TTabelaAGminaIdentyfikatorOkresu) X(TTabelaAGminaIdentyfikatorGminy) X(TTabelaAGminaAdres) \
    X(TTabelaAGminaPowiat) X(TTabelaAGminaNazwaGminy) X(TTabelaAGminaIdentyfikator) \
    /* TTabelaAZrodla */ \
    X(TTabelaAZrodlaIdentyfikatorGminyTabA) X(TTabelaAZrodlaIdentyfikatorZrodla) X(TTabelaAZrodlaNazwaSurowcow) \
    X(TTabelaAZrodlaIlosc) X(TTabelaAZrodlaRodzajInstalacji) X(TTabelaAZrodlaIdTabAZrodla) \
    X(TTabelaAZrodlaAdres) \
    /* TTabelaASubstancje */ \
    X(TTabelaASubstancjeIdentyfTabAZrodla) X(TTabelaASubstancjeIdentyfikatorSubstancji) \
    X(TTabelaASubstancjeSkutUrzOchronnego) X(TTabelaASubstancjeWskaznikEmisji) \
    X(TTabelaASubstancjeJednostkowaStawka) X(TTabelaASubstancjeNazwaSubstancji) \
    X(TTabelaASubstancjeWielkoscEmisji) X(TTabelaASubstancjeWysokoscOpaty) X(TTabelaASubstancjeKodSubstancji) \
    /* TTabelaAPaliwa */ \
    X(TTabelaAPaliwaIdentyfikatorGminyTabA) X(TTabelaAPaliwaRodzajPaliwa) X(TTabelaAPaliwaIdentyfikatorZrodla) \
    X(TTabelaAPaliwaZuzycie) X(TTabelaAPaliwaWartoscOpalowa) X(TTabelaAPaliwaZawartoscPopiolu) \
    X(TTabelaAPaliwaZawartoscSiarki) \
    /* TTabAPozWart */ \
    X(TTabAPozWartIdentTabAZrodla) X(TTabAPozWartData) X(TTabAPozWartIlosc) X(TTabAPozWartProcent) \
    X(TTabAPozWartGestosc) X(TTabAPozWartIloscKoncowa) X(TTabAPozWartOpis)

// What the data module asks of the vehicle register window. The window
// registers itself in `TDM::OknoPojazdow` while it exists; nothing is asked
// while none is registered.
class IOknoPojazdow {
public:
    virtual ~IOknoPojazdow() = default;
    // Puts the focus on the make edit of a new vehicle.
    virtual void UstawFokusNaMarke() = 0;
    // Enables or disables the search edit and the search button.
    virtual void WlaczWyszukiwanie(bool wlaczone) = 0;
};

class TDM {
public:
    // Builds every component from the description, opens the 25 table files
    // of the current directory, sets the module's state, then runs the
    // OnCreate handler (the work table). A table file that is missing or
    // cannot be opened raises the engine's error out of the constructor.
    TDM();
    // A number of its own for every module made during the run (1, 2, ...),
    // so that code holding on to a module's tables can tell a new module from
    // the one it met before, even at the same address.
    const quint64 Numer;
    // Runs the OnDestroy handler (closes and deletes the work table), then
    // frees every component.
    ~TDM();
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    // ---- components ------------------------------------------------------
#define KAL_TDM_DEKLARUJ_TABELE(k) kal::TTable* k = nullptr;
    KAL_TDM_TABELE(KAL_TDM_DEKLARUJ_TABELE)
#undef KAL_TDM_DEKLARUJ_TABELE
#define KAL_TDM_DEKLARUJ_ZRODLO(k) kal::TDataSource* k = nullptr;
    KAL_TDM_ZRODLA(KAL_TDM_DEKLARUJ_ZRODLO)
#undef KAL_TDM_DEKLARUJ_ZRODLO
#define KAL_TDM_DEKLARUJ_POLE(k) kal::TField* k = nullptr;
    KAL_TDM_POLA(KAL_TDM_DEKLARUJ_POLE)
#undef KAL_TDM_DEKLARUJ_POLE

    // ---- state of the module, in this order ------------------------------
    // `DataTankowania` of the fuel row whose edit began last.
    DataKalendarzowa ZapamietanaDataTankowania;
    // `IdentyfikatorPojazdu` of that row.
    int ZapamietanyPojazd = 0;
    // True while the fuel row being posted is a new row.
    bool DopisanoWierszZuzycia = false;
    // Table C and table D rates carried over to a new rate row.
    double ZapamietaneStawkiC[24] = {};
    double ZapamietaneStawkiD[200] = {};

    // ---- handlers ----------------------------------------------------------
    void DataModuleCreate();
    void DataModuleDestroy();
#define KAL_TDM_DEKLARUJ_ZBIOR(h) void h(kal::TDataSet& DataSet);
    KAL_TDM_ZDARZENIA_ZBIORU(KAL_TDM_DEKLARUJ_ZBIOR)
#undef KAL_TDM_DEKLARUJ_ZBIOR
    void TFirmaPostError(kal::TDataSet& DataSet, kal::EDatabaseError& E, kal::TDataAction& Action);
#define KAL_TDM_DEKLARUJ_USTAW(h) void h(kal::TField& Sender, const QString& Text);
    KAL_TDM_USTAW_TEKST(KAL_TDM_DEKLARUJ_USTAW)
#undef KAL_TDM_DEKLARUJ_USTAW
#define KAL_TDM_DEKLARUJ_POBIERZ(h) void h(kal::TField& Sender, QString& Text, bool DisplayText);
    KAL_TDM_POBIERZ_TEKST(KAL_TDM_DEKLARUJ_POBIERZ)
#undef KAL_TDM_DEKLARUJ_POBIERZ
#define KAL_TDM_DEKLARUJ_SPRAWDZ(h) void h(kal::TField& Sender);
    KAL_TDM_SPRAWDZ(KAL_TDM_DEKLARUJ_SPRAWDZ)
#undef KAL_TDM_DEKLARUJ_SPRAWDZ

    // ---- period rows and rate carry-over ------------------------------------
    // True when all five statement tables have their row for the current
    // period; false after the first failure, which has been reported.
    bool OtworzZalacznikiPolrocza();
    // Adds the period's row to `tabela` when it has none. A change pending in
    // `tabela` is posted first; when that post is refused the save text is
    // shown and false returned with the change still pending.
    bool DopiszWierszOkresu(kal::TDataSet& tabela, const QString& tekstBledu, const QString& tekstZapisu);
    void ZapamietajStawkiTabC();
    void ZapamietajStawkiTabD();
    // Stores 0 in the field when it is empty (with the flag) or not above 0.
    void ZerujGdyUjemna(kal::TField& pole, bool pustyToZero);
    // Stores 0 in the field when it is empty (with the flag) or below 1.
    void ZerujGdyUjemnaCalk(kal::TField& pole, bool pustyToZero);

    // ---- per-half-year files of fuel and boiler use -------------------------
    // Switch `TZuzycie` / `TZuzycieKotla` to the current period's file
    // ("Zuz" / "ZuzKot" + year + half-year + ".db"), creating it with the
    // template's structure the first time; false when there is no period, the
    // period cannot be saved, or the file cannot be made. A period or a
    // pending fuel/boiler change whose post is refused is reported with the
    // rule's message (the error box), and the component stays on its file
    // with the change intact.
    bool UstawZbiorZuzycia();
    bool UstawZbiorZuzyciaKotlow();
    bool OtworzZbiorZuzycia(int rok, int polrocze);
    bool OtworzZbiorZuzyciaKotlow(int rok, int polrocze);
    // The box text of a fuel half-year file that cannot be opened: "Bład
    // otwarcia zbioru półrocznego na zużycie paliwa !!!" and, on the next line
    // when there is one, the cause as the engine tells it, naming the file.
    static QString TekstBleduZbioruZuzycia(const QString& przyczyna);
    // The same with the cause of the last switch that failed on its file
    // (none when the period or a pending change stood in the way: their own
    // message has been shown).
    QString KomunikatBleduZbioruZuzycia() const;
    const QString& PrzyczynaBleduZbioruZuzycia() const { return m_przyczynaBleduZbioru; }

    // ---- recompute of the fee objects ----------------------------------------
    // Called after a value typed into a table C (or table D) quantity or rate
    // has been stored. The fee engine installs them; each recomputes only
    // while its statement window is open. Empty: nothing happens.
    std::function<void()> PrzeliczTabeleC;
    std::function<void()> PrzeliczTabeleD;

    // ---- vehicle, fuel, place, mileage and inspection rules -----------------
    IOknoPojazdow* OknoPojazdow = nullptr;
    // Adds or updates the current vehicle in the registration-number index
    // after a vehicle is saved; installed by the fee engine.
    std::function<void()> DodajPojazdDoIndeksu;
    // The period date rule for the fuel date and the boiler-use date: raises
    // the rule's message when the date is not in the current period's half-year.
    void KontrolaDatyTankowania();
    void KontrolaDatyZuzyciaKotla();
    // Writes the odometer reading of the current fuel record into the mileage
    // register (after each post of a fuel record).
    void AktualizujPrzebiegZTankowania();
    // Raises the Euro class message unless the text is empty or "0".."5".
    void KontrolaNormyEuro(const QString& tekst);
    // The Euro class of the current vehicle for table D: its `NormaEuro`, or
    // when that is empty the class its kind names (4 -> "1", 5 -> "2", 6 -> "3", else "0").
    QChar KlasaEuroPojazdu();

    // ---- boilers and the table C boiler summation ----------------------------
    // The density of a fuel (index 1..12) for the boiler summation; installed
    // by the fee engine's density cache. When empty, the density row of
    // `TTabelaGest` is read directly (0 for a fuel without a row).
    std::function<double(int indeksPaliwa)> GestoscPaliwa;
    // The code of a boiler kind field: the first 3 characters of the stored
    // text as a whole number (0 when that is not a number).
    int KodRodzajuKotla(const kal::TField& pole);
    bool PoprawnyRodzajKotla(const kal::TField& pole);
    // Sums the current commune's boiler use of one kind into `pole`
    // (fuel index 100: quantities as entered; else litres times density, in Mg).
    void SumujZuzycieKotlow(kal::TField& pole, int kodRodzaju, int indeksPaliwa);
    // Fills the 19 positions of the current table C row from the boiler use
    // and posts it; false (nothing changed) when the boiler-use file of the
    // period cannot be switched to. A refused post raises.
    bool PrzeliczTabeleCZKotlow();

    // ---- table A ----------------------------------------------------------------
    // The guard that keeps a table A child table from changing while a sibling
    // has unsaved changes, and a quantity item from being added without a
    // saved source.
    void KontrolaWierszaTabA(kal::TDataSet& tabela);

    // ---- lookups by name -----------------------------------------------------
    // The table component, data source or field component of that name, or
    // nullptr.
    kal::TTable* Tabela(const QString& komponent) const;
    kal::TDataSource* Zrodlo(const QString& komponent) const;
    kal::TField* Pole(const QString& komponent) const;

    // The temporary-name routine used for the work table; when empty, the
    // shared routine `NazwaZbioruTymczasowego`. Tests replace it.
    static std::function<QString(const QString& prefiks, const QString& rozszerzenie)> NazwaTymczasowa;

private:
    void zbudujSkladniki();
    void powiazZdarzenia();
    void zwolnijSkladniki();
    // The value fields of a statement table, in the order of its family.
    std::vector<kal::TField*> polaWartosci(const kal::TTable* tabela) const;
    bool otworzZbiorPolrocza(kal::TTable& tabela, const QString& plik, const QString& szablon, bool komunikat);
    bool ustawZbiorPolrocza(bool kotly);
    void przeliczDla(const kal::TField& pole);
    bool znajdzPojazd(int id);
    std::vector<std::unique_ptr<kal::TTable>> m_tabele;
    std::vector<std::unique_ptr<kal::TDataSource>> m_zrodla;
    std::vector<kal::TField*> m_wartosciD;          // 117 columns in column order, then the reserves
    std::vector<kal::TField*> m_wartosciStawekD;    // the same names on the rates
    std::vector<kal::TField*> m_wartosciStawekC;    // I1 .. V3, Rezerwa1 .. Rezerwa5
    std::vector<kal::TField*> m_wartosciC;          // the same names on the quantities
    std::vector<kal::TField*> m_wartosciZalacznika; // P11 .. P42, Rezerwa1 .. Rezerwa5
    QString m_przyczynaBleduZbioru; // why the last half-year switch failed on its file
};

// The one instance. The constructor sets it, the destructor clears it.
extern TDM* DM;
