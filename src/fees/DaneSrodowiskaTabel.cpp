#include "DaneSrodowiskaTabel.h"

#include "Table.h"

namespace {

// The values of the current record of `t` for the fields `pola`, in their
// order; an empty field reads as 0.
template <size_t N>
std::array<double, N> Wartosci(kal::TTable& t, const std::array<QString, N>& pola)
{
    std::array<double, N> w{};
    for (size_t i = 0; i < N; ++i) {
        const kal::TField* f = t.FieldByName(pola[i]);
        w[i] = f->IsNull() ? 0.0 : f->AsFloat();
    }
    return w;
}

} // namespace

std::vector<WierszGestosci> DaneSrodowiskaTabel::WierszeGestosci()
{
    kal::TTable& t = *m_t.TTabelaGest;
    kal::TControlsDisabled bez(t);
    kal::TField* kod = t.FieldByName(QStringLiteral("IdentyfikatorPaliwa"));
    kal::TField* gestosc = t.FieldByName(QStringLiteral("Gestosc"));
    std::vector<WierszGestosci> wiersze;
    for (t.First(); !t.Eof(); t.Next())
        wiersze.push_back({kod->AsString(), gestosc->IsNull() ? 0.0 : gestosc->AsFloat()});
    return wiersze;
}

bool DaneSrodowiskaTabel::UstawZbiorZuzycia()
{
    return m_t.UstawZbiorZuzycia && m_t.UstawZbiorZuzycia();
}

QString DaneSrodowiskaTabel::PrzyczynaBleduZbioruZuzycia()
{
    return m_t.PrzyczynaBleduZbioruZuzycia ? m_t.PrzyczynaBleduZbioruZuzycia() : QString();
}

void DaneSrodowiskaTabel::Pojazdy(const std::function<void(int, const DanePojazdu&)>& wez)
{
    kal::TTable& t = *m_t.TPojazdy;
    kal::TControlsDisabled bez(t);
    const kal::TTable::TBookmark znak = t.IsEmpty() ? 0 : t.GetBookmark();
    kal::TField* id = t.FieldByName(QStringLiteral("IdentyfikatorPojazdu"));
    kal::TField* rodzaj = t.FieldByName(QStringLiteral("RodzajPojazdu"));
    kal::TField* euro = t.FieldByName(QStringLiteral("NormaEuro"));
    kal::TField* rejestracja = t.FieldByName(QStringLiteral("DataPierwszejRejestracji"));
    kal::TField* rok = t.FieldByName(QStringLiteral("RokProdukcji"));
    kal::TField* gaz = t.FieldByName(QStringLiteral("FabrycznaInstalacjaGazu"));
    for (t.First(); !t.Eof(); t.Next()) {
        DanePojazdu v;
        v.rodzajPojazdu = rodzaj->AsString();
        v.normaEuro = euro->AsString();
        v.dataPierwszejRejestracji = rejestracja->AsDateTime();
        if (!rok->IsNull())
            v.rokProdukcji = rok->AsInteger();
        v.fabrycznaInstalacjaGazu = gaz->AsString();
        wez(id->AsInteger(), v);
    }
    if (znak != 0 && t.BookmarkValid(znak))
        t.GotoBookmark(znak);
}

void DaneSrodowiskaTabel::ZapisyZuzycia(const std::function<void(const ZapisZuzycia&)>& wez)
{
    kal::TTable& t = *m_t.TZuzycie;
    kal::TControlsDisabled bez(t);
    kal::TField* id = t.FieldByName(QStringLiteral("IdentyfikatorPojazdu"));
    kal::TField* paliwo = t.FieldByName(QStringLiteral("RodzajPaliwa"));
    kal::TField* ilosc = t.FieldByName(QStringLiteral("IloscPaliwa"));
    ZapisZuzycia z;
    for (t.First(); !t.Eof(); t.Next()) {
        z.idPojazdu = id->AsInteger();
        z.rodzajPaliwa = paliwo->AsString();
        z.iloscPaliwa = ilosc->IsNull() ? 0.0 : ilosc->AsFloat();
        wez(z);
    }
}

void DaneSrodowiskaTabel::ZapiszTabeleD(const WartosciTabeliD& wartosci)
{
    kal::TTable& t = *m_t.TTabelaD;
    if (t.State() != kal::dsEdit && t.State() != kal::dsInsert)
        t.Edit();
    const auto& pola = PolaTabeliD();
    for (size_t i = 0; i < pola.size(); ++i)
        t.FieldByName(pola[i])->setAsFloat(wartosci[i]);
}

int DaneSrodowiskaTabel::TagTabeliC()
{
    return m_t.TTabelaC->Tag();
}

int DaneSrodowiskaTabel::TagTabeliD()
{
    return m_t.TTabelaD->Tag();
}

WartosciTabeliC DaneSrodowiskaTabel::IlosciTabeliC()
{
    return Wartosci(*m_t.TTabelaC, PolaTabeliC());
}

WartosciTabeliC DaneSrodowiskaTabel::StawkiTabeliC()
{
    return Wartosci(*m_t.TStawkiTabC, PolaTabeliC());
}

WartosciTabeliD DaneSrodowiskaTabel::IlosciTabeliD()
{
    return Wartosci(*m_t.TTabelaD, PolaTabeliD());
}

WartosciTabeliD DaneSrodowiskaTabel::StawkiTabeliD()
{
    return Wartosci(*m_t.TStawkiTabD, PolaTabeliD());
}
