// What the handlers of all table families share: the post-error box, the
// flush after a post or delete, the refused delete, zero for a negative
// amount, and the typed values of the statement and rate tables.

#include "Dane.h"
#include "DaneWspolne.h"

#include "Funkcje.h"
#include "platform/core/Dialogs.h"
#include "platform/core/NumberText.h"

#include <QDate>
#include <QHash>

#include <optional>

// ============================================================ shared helpers

namespace dane {

bool edytowana(const kal::TTable* t)
{
    return t->State() == kal::dsEdit || t->State() == kal::dsInsert;
}

namespace {

bool niespelniony(kal::TField& pole, const Kontrola& k)
{
    switch (k.rodzaj) {
    case Kontrola::Rodzaj::Pusty: return pole.AsString().isEmpty();
    case Kontrola::Rodzaj::PustyBezSpacji: return pole.AsString().trimmed().isEmpty();
    case Kontrola::Rodzaj::BezWartosci: return pole.IsNull();
    case Kontrola::Rodzaj::Ponizej: return pole.AsFloat() < k.od;
    case Kontrola::Rodzaj::TekstPonizej: return PoleNaLiczbe(&pole) < k.od;
    case Kontrola::Rodzaj::PozaZakresem:
        if (pole.IsNull())
            return false;
        return pole.AsInteger() < k.od || pole.AsInteger() > k.doWlacznie;
    }
    return false;
}

} // namespace

void sprawdzWymogi(std::initializer_list<Wymog> wymogi)
{
    for (const Wymog& w : wymogi)
        if (niespelniony(*w.pole, w.kontrola))
            throw kal::Exception(QString::fromUtf8(w.komunikat));
}

void wpiszDate(kal::TField& pole, const QString& tekst, const QString& komunikat, PustaData pusta)
{
    if (CzyPoprawnaData(tekst)) {
        pole.setAsString(tekst.trimmed());
        return;
    }
    if (pusta == PustaData::Czysci && tekst.trimmed().isEmpty()) {
        pole.Clear();
        return;
    }
    throw kal::Exception(komunikat);
}

void kontrolaDatyOkresu(const kal::TField* data, const kal::TField* rok, const kal::TField* polrocze,
                        const QString& zlaData, const QString& prefiksRoku)
{
    if (!zlaData.isEmpty() && !CzyPoprawnaData(data->AsString()))
        throw kal::Exception(zlaData);
    const QDate d = data->AsDateTime();
    if (d.year() != rok->AsInteger())
        throw kal::Exception(prefiksRoku + rok->AsString() + QStringLiteral(" roku."));
    if (polrocze->AsInteger() == 1) {
        if (d.month() > 6)
            throw kal::Exception(QStringLiteral("Pierwsze pólrocze dotyczy miesięcy od stycznia do czerwca !!!"));
    } else if (d.month() < 7) {
        throw kal::Exception(QStringLiteral("Drugie półrocze dotyczy miesięcy od lipca do grudnia !!!"));
    }
}

} // namespace dane

// ============================================================ post errors and buffers

namespace {

// The text of a post refused for a key the table holds already, by table
// (the post-error box).
QString tekstPowtorzonegoKlucza(const QString& tabela)
{
    static const QHash<QString, QString> teksty = {
        {QStringLiteral("TFirma"), QStringLiteral("Dane firmy powtarzają się !!!")},
        {QStringLiteral("TOkres"), QStringLiteral("Dane okresu powtarzają się !!!")},
        {QStringLiteral("TPojazdy"), QStringLiteral("Dane pojazdu powtarzają się !!!")},
        {QStringLiteral("TTabelaC"), QStringLiteral("Nazwa gminy w tabeli C dla okresu powtarza się !!!")},
        {QStringLiteral("TMiejsceUz"), QStringLiteral("Nazwa miejsca użytkowania powtarza się !!!")},
        {QStringLiteral("TMiejscTank"), QStringLiteral("Nazwa miejsca tankowania powtarza się !!!")},
        {QStringLiteral("TPrzebieg"), QStringLiteral("Data przebiegu powtarza się !!!")},
        {QStringLiteral("TZuzycie"), QStringLiteral("Dane zużycia powtarzają się !!!")},
        {QStringLiteral("TZuzycieKotla"), QStringLiteral("Dane zużycia kotła powtarzają się !!!")},
        {QStringLiteral("TGminy"), QStringLiteral("Dane Gminy powtarzają się !!!")},
        {QStringLiteral("TSubsatncje"), QStringLiteral("Dane o substancji powtarzają się!!!")},
        {QStringLiteral("TTabelaAGmina"), QStringLiteral("Dane gminy do Tabeli A w okresie powtarzają się !!!")},
        {QStringLiteral("TTabelaAZrodla"), QStringLiteral("Zródło i surowiec w gminie powtarza się !!!")},
        {QStringLiteral("TTabelaASubstancje"), QStringLiteral("Dane substancji powtarzają się !!!")},
        {QStringLiteral("TTabelaAPaliwa"), QStringLiteral("Dane o paliwach powtarzają się !!!")},
        {QStringLiteral("TTabAPozWart"), QStringLiteral("Data wartości źródła powtarza się !!!")},
    };
    return teksty.value(tabela, QStringLiteral("Nieznany błąd danych !!!"));
}

} // namespace

void TDM::TFirmaPostError(kal::TDataSet& DataSet, kal::EDatabaseError& E, kal::TDataAction& Action)
{
    Action = kal::daAbort;
    // The table's text names a repeated key: any other cause (a full disk, a
    // file that cannot be written) is told as a record not saved.
    const QString tekst = E.kind() == kal::EDatabaseError::Kind::KeyViolation
        ? tekstPowtorzonegoKlucza(DataSet.Name())
        : QStringLiteral("Dane nie zostały zapisane !!!");
    kal::Dialogs().messageBox(tekst + QStringLiteral("\nDokładna specyfikacja błędu:\n") + E.message(),
                              QStringLiteral("Błąd komponentu: ") + DataSet.Name(), kal::MbOk, kal::MsgIcon::Stop);
}

void TDM::AAANieWolno(kal::TDataSet& DataSet)
{
    const QString tekst = &DataSet == TKotly ? QStringLiteral("Nie wolno kasować kotłów !!!")
                                             : QStringLiteral("Nie wolno kasować tych danych !!!");
    kal::Dialogs().messageBox(tekst, QStringLiteral("Kontrola kasowania danych."), kal::MbOk, kal::MsgIcon::Stop);
    kal::Abort();
}

void TDM::AAAZrzucBufory(kal::TDataSet& DataSet)
{
    DataSet.FlushBuffers();
}

void TDM::TFirmaAfterDelete(kal::TDataSet& DataSet)
{
    DataSet.FlushBuffers();
}

void TDM::TFirmaAfterPost(kal::TDataSet& DataSet)
{
    DataSet.FlushBuffers();
    if (&DataSet == TPojazdy) {
        if (OknoPojazdow)
            OknoPojazdow->WlaczWyszukiwanie(true);
        if (DodajPojazdDoIndeksu)
            DodajPojazdDoIndeksu();
    } else if (&DataSet == TZuzycie) {
        AktualizujPrzebiegZTankowania();
    }
}

void TDM::ZerujGdyUjemna(kal::TField& pole, bool pustyToZero)
{
    if (pustyToZero && pole.IsNull()) {
        pole.setAsFloat(0.0);
        return;
    }
    const double x = PoleNaLiczbe(&pole);
    if (!(x > 0.0))
        pole.setAsFloat(0.0);
}

void TDM::ZerujGdyUjemnaCalk(kal::TField& pole, bool pustyToZero)
{
    if (pustyToZero && pole.IsNull()) {
        pole.setAsInteger(0);
        return;
    }
    if (pole.AsInteger() < 1)
        pole.setAsInteger(0);
}

// ============================================================ typed values of the fee tables

void TDM::przeliczDla(const kal::TField& pole)
{
    const kal::TTable* t = pole.DataSet();
    if ((t == TTabelaC || t == TStawkiTabC) && PrzeliczTabeleC)
        PrzeliczTabeleC();
    else if ((t == TTabelaD || t == TStawkiTabD) && PrzeliczTabeleD)
        PrzeliczTabeleD();
}

void TDM::UstalNieujemna(kal::TField& Sender, const QString& Text)
{
    // An empty text is 0; any other text must be a number with its decimals
    // after a comma, else it is refused and the field keeps its value.
    double x = 0.0;
    if (!Text.trimmed().isEmpty()) {
        const std::optional<double> liczba = kal::ParseTypedDecimal(Text);
        if (!liczba)
            throw kal::Exception(kal::NotANumberMessage());
        x = *liczba;
    }
    if (!(x >= 0.0))
        x = 0.0;
    Sender.setAsFloat(x);
    przeliczDla(Sender);
}

void TDM::UstalNieujemnaCalk(kal::TField& Sender, const QString& Text)
{
    // A count is a 16-bit field: a larger number is refused, never wrapped.
    qint64 n = 0;
    if (!Text.isEmpty()) {
        bool ok = false;
        n = Text.toLongLong(&ok);
        if (!ok)
            throw kal::EConvertError(QStringLiteral("'%1' nie jest poprawną liczbą całkowitą.").arg(Text));
        if (n > 32767)
            throw kal::EConvertError(
                QStringLiteral("'%1' przekracza największą dozwoloną wartość 32767.").arg(Text));
    }
    if (n < 0)
        n = 0;
    Sender.setAsInteger(int(n));
    przeliczDla(Sender);
}
