#pragma once
// The parameter windows of the lists, created hidden at start-up and reused:
// FParWydrPoj, FParWydrZuzMiejTank, FParWydrNaprawiPrzegl and
// FSamochodyDoPrzegladu. The report forms (UtworzWydrukiZestawienia) are
// created first.

class QWidget;
class TDM;

// Creates the four windows (again, when they exist).
void UtworzOknaWydrukow(TDM& dm, QWidget* parent = nullptr);
// Frees them; the global pointers become null.
void ZwolnijOknaWydrukow();
