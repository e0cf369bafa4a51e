#pragma once
// The report forms of the statement, created once on the data module's
// tables and reused for every printout: QRTabelaD, QRTabelaC, QRZalacznik1,
// QRZestTabC, QRWydrukTabeliA, QRRozliczPolrocze, and the vehicle lists QRPojazdy,
// QRNaprawyiPrzegl, QRPrzegladyPojazdow, QRSamochodyDoPrzegladu and the fuel-use
// list QRZyzyciePaliwa.

class TDM;

// Creates the four forms (again, when they exist) reading the tables of `dm`.
void UtworzWydrukiZestawienia(TDM& dm);
// Frees them; the global pointers become null.
void ZwolnijWydrukiZestawienia();
