#include "ImportFloty.h"

#include "Dane.h"
#include "Edytor.h"
#include "EwidencjaPojazdow.h"

#include "platform/core/Dialogs.h"
#include "platform/ui/DBEdit.h"
#include "platform/workbook/Workbook.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFImportFloty* FImportFloty = nullptr;

QStringList KolumnySiatkiFloty()
{
    return {QStringLiteral("Nr faktury"),         QStringLiteral("Data realizacji"),
            QStringLiteral("Nazwa produktu"),     QStringLiteral("Ilość litrów"),
            QStringLiteral("Cena za litr"),       QStringLiteral("Miejscowość"),
            QStringLiteral("Grupa prod"),         QStringLiteral("Nr rejestracyjny"),
            QStringLiteral("Wartość brutto - stacja"), QStringLiteral("Wartość netto fak"),
            QStringLiteral("Wartość vat fak"),    QStringLiteral("Rodzaj pojazdu")};
}

// The open sheet as the grid shows it: the twelve named columns (a column
// the sheet lacks stays blank), a row per data row.
class TModelArkuszaFloty : public QAbstractTableModel {
public:
    explicit TModelArkuszaFloty(QObject* parent) : QAbstractTableModel(parent), m_kolumny(KolumnySiatkiFloty()) {}

    void ustaw(const kal::Sheet* arkusz)
    {
        beginResetModel();
        m_arkusz = arkusz;
        m_indeksy.clear();
        for (const QString& k : m_kolumny)
            m_indeksy.push_back(arkusz ? arkusz->columnIndex(k) : -1);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() || !m_arkusz ? 0 : m_arkusz->rowCount();
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_kolumny.size());
    }
    QVariant data(const QModelIndex& i, int role) const override
    {
        if (role != Qt::DisplayRole || !m_arkusz || !i.isValid())
            return {};
        const int k = m_indeksy[size_t(i.column())];
        return k < 0 ? QString() : m_arkusz->cell(i.row(), k).toText();
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        if (o == Qt::Horizontal)
            return m_kolumny.value(section);
        return QVariant();
    }

private:
    QStringList m_kolumny;
    std::vector<int> m_indeksy;
    const kal::Sheet* m_arkusz = nullptr;
};

TFImportFloty::TFImportFloty(QWidget* parent) : TOknoRejestru(parent)
{
    setObjectName(QStringLiteral("FImportFloty"));
    setWindowTitle(QStringLiteral("Import floty."));
    resize(900, 600);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    m_model = new TModelArkuszaFloty(this);
    DBGrid1->setModel(m_model);

    kal::TDataSource* z = DM ? DM->DPolaExcel : nullptr;
    Naglowek = new QLabel(QStringLiteral("Nazwy kolumn w pliku FLOTY."), this);
    auto* kolumny = new QFormLayout;
    kolumny->addRow(QStringLiteral("Numer rejestracyjny:"),
                    NowePole("DBEdit1", z, QStringLiteral("NumerRejestracyjny"), 50));
    kolumny->addRow(QStringLiteral("Rodzaj pojazdu"), NowePole("DBEdit2", z, QStringLiteral("RodzajPojazdu"), 50));
    kolumny->addRow(QStringLiteral("Numer faktury:"), NowePole("DBEdit3", z, QStringLiteral("NumerFaktury"), 50));
    kolumny->addRow(QStringLiteral("Data zakupu:"), NowePole("DBEdit4", z, QStringLiteral("DataRealizacji"), 50));
    kolumny->addRow(QStringLiteral("Ilość litrów:"), NowePole("DBEdit5", z, QStringLiteral("IloscLitrow"), 50));
    kolumny->addRow(QStringLiteral("Cena paliwa:"), NowePole("DBEdit6", z, QStringLiteral("Cena"), 50));
    kolumny->addRow(QStringLiteral("Grupa produktu:"), NowePole("DBEdit7", z, QStringLiteral("GrupaProduktu"), 50));

    ChBBuforPamieci =
        new QCheckBox(QStringLiteral("Korzystaj z bufora pamięci (zalecane przy dużej ilości pojazdów)"), this);
    ChBBuforPamieci->setObjectName(QStringLiteral("ChBBuforPamieci"));
    ChBBuforPamieci->setChecked(false);
    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("Otwórz plik FLOTY"));
    BitBtn2 = NowyPrzycisk("BitBtn2", QStringLiteral("Importuj dane"));
    BitBtn3 = NowyPrzycisk("BitBtn3", QStringLiteral("&Zamknij"));

    auto* prawy = new QVBoxLayout;
    prawy->addWidget(Naglowek);
    prawy->addLayout(kolumny);
    prawy->addWidget(ChBBuforPamieci);
    prawy->addStretch(1);
    prawy->addWidget(BitBtn1);
    prawy->addWidget(BitBtn2);
    prawy->addWidget(BitBtn3);
    auto* uklad = new QHBoxLayout(this);
    uklad->addWidget(DBGrid1, 1);
    uklad->addLayout(prawy);

    Podlacz(BitBtn1, [this] { BitBtn1Click(); });
    Podlacz(BitBtn2, [this] { BitBtn2Click(); });
    Podlacz(BitBtn3, [this] { BitBtn3Click(); });

    Logika.UzupelnijPojazd = [] {
        if (FEwidencjaPojazdow)
            FEwidencjaPojazdow->Pokaz(2);
    };
    Logika.OnWyczyscLog = [] {
        if (FormRichEdit)
            FormRichEdit->WyczyscLinie();
    };
    Logika.OnDopiszDoLogu = [](const QString& linia) {
        if (FormRichEdit)
            FormRichEdit->DopiszLinie(linia);
    };
    if (!FImportFloty)
        FImportFloty = this;
}

TFImportFloty::~TFImportFloty()
{
    if (FImportFloty == this)
        FImportFloty = nullptr;
}

void TFImportFloty::odswiezSiatke()
{
    m_model->ustaw(Logika.Arkusz());
}

int TFImportFloty::Pokaz()
{
    KopiujObraz(BitBtn3, QStringLiteral("Zamknij"));
    const int wynik = PokazModalnie();
    kal::TTable* kolumny = DM->TPolaExcel;
    try {
        if (kolumny->State() == kal::dsEdit || kolumny->State() == kal::dsInsert)
            kolumny->Post();
    } catch (...) {
        Logika.Zamknij();
        odswiezSiatke();
        throw;
    }
    Logika.Zamknij();
    odswiezSiatke();
    return wynik;
}

void TFImportFloty::BitBtn1Click()
{
    Logika.Zamknij();
    odswiezSiatke();
    kal::FileDialogRequest r;
    r.filter = QStringLiteral("Pliki FLOTY (*.xls)");
    const QString plik = kal::Dialogs().openFileName(r);
    if (plik.isEmpty())
        return;
    Logika.Otworz(plik);
    odswiezSiatke();
}

void TFImportFloty::BitBtn2Click()
{
    if (!Logika.SprawdzArkusz())
        return;
    Logika.BuforPamieci = ChBBuforPamieci->isChecked();
    try {
        Logika.Importuj();
    } catch (...) {
        odswiezSiatke();
        throw;
    }
    odswiezSiatke();
    if (Logika.SaBledy && FormRichEdit)
        FormRichEdit->Pokaz(false);
}

void TFImportFloty::BitBtn3Click()
{
    ZamknijZWynikiem(mrCancel);
}
