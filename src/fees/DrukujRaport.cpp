#include "DrukujRaport.h"

#include "Report.h"

void DrukujRaport(kal::report::Report* raport, bool podglad, const QString& tytul, unsigned tryb)
{
    if (!raport)
        return;
    raport->title = tytul;
    const bool zDialogiem = (tryb == 1 && !podglad) || tryb == 2;
    if (zDialogiem) {
        // The dialog keeps the choice in the report and answers through Tag:
        // 0 confirmed, 1 cancelled.
        raport->printerSetup();
        if (raport->tag != 0)
            return;
    }
    if (podglad)
        raport->preview(); // the preview window captions itself with the title
    else
        raport->print();
}
