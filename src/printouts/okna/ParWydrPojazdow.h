#pragma once
// The parameters of the vehicle list: the columns to print and, when wanted,
// the one place of use whose vehicles are printed.

#include "OknoParametrowWydruku.h"

class QCheckBox;
class QListWidget;

class TFParWydrPoj final : public TOknoParametrowWydruku {
    Q_OBJECT
public:
    // `dm` null: the program's data module. The first window made becomes
    // `FParWydrPoj`.
    explicit TFParWydrPoj(TDM* dm = nullptr, QWidget* parent = nullptr);
    ~TFParWydrPoj() override;

    // On the first show ticks every column; binds the places grid, shows the
    // window modally and unbinds it. Returns the modal result.
    int Pokaz();
    // Prints (or previews) the list with the window's choices.
    void Drukuj(bool podglad) override;

    QListWidget* CheckListBox1 = nullptr;
    QCheckBox* ChBMiejsceUzytkowania = nullptr;
    kal::TDBGrid* DBGrid1 = nullptr;
    bool PierwszePokazanie = true;
};

extern TFParWydrPoj* FParWydrPoj;
