#include "Zalacznik1.h"

#include "Dane.h"
#include "WydrukZalacznik1.h"

#include "platform/ui/DBControls.h"
#include "platform/ui/DBEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

TFZalacznik1* FZalacznik1 = nullptr;

namespace {

// One line of the annex: a section heading (no field), or a field with its
// statutory label. A label of several lines is shown in a read-only memo.
struct PozycjaZalacznika {
    const char* pole;            // nullptr: section heading
    QStringList opis;            // the label, line by line
    const char* drugiOpis;       // a second label under the edit, or nullptr
};

const std::vector<PozycjaZalacznika>& Pozycje()
{
    static const std::vector<PozycjaZalacznika> p = {
        {nullptr, {QStringLiteral("1. Wprowadzanie gazów lub pyłów do powietrza")}, nullptr},
        {"P11", {QStringLiteral("1.1. Źródła powstawania substancji wprowadzanych do powietrza")}, nullptr},
        {"P12", {QStringLiteral("1.2. Przeładunek benzyn silnikowych")}, nullptr},
        {"P13",
         {QStringLiteral("1.3. Kotły o nominalnej mocy cieplnej do 5 MW opalane węglem kamiennym, "),
          QStringLiteral("koksem, drewnem, olejem lub paliwem gazowym, dla których nie jest wymagane "),
          QStringLiteral("pozwolenie na wprowadzanie gazów lub pyłów do powietrza albo pozwolenie "),
          QStringLiteral("zintegrowane")},
         nullptr},
        {"P14", {QStringLiteral("1.4. Silniki spalinowe")}, nullptr},
        {"P15", {QStringLiteral("1.5. Chów lub hodowla drobiu")}, nullptr},
        {nullptr, {QStringLiteral("2. Pobór wód")}, nullptr},
        {"P21", {QStringLiteral("2.1. Woda podziemna")}, nullptr},
        {"P22", {QStringLiteral("2.2. Woda powierzchniowa śródlądowa")}, nullptr},
        {"P23", {QStringLiteral("2.3. Morskie wody wewnętrzne")}, nullptr},
        {nullptr, {QStringLiteral("3. Wprowadzanie ścieków do wód lub do ziemi")}, nullptr},
        {"P311", {QStringLiteral("3.1.1. Ścieki o kodzie a")}, nullptr},
        {"P312", {QStringLiteral("3.1.2. Ścieki o kodzie b")}, nullptr},
        {"P313", {QStringLiteral("3.1.3. Ścieki o kodzie c")}, nullptr},
        {"P314", {QStringLiteral("3.1.4. Ścieki o kodzie d")}, nullptr},
        {"P315", {QStringLiteral("3.1.5. Ścieki rolniczo wykorzystane")}, nullptr},
        {"Rezerwa1",
         {QStringLiteral("3.1.6. Wody wykorzystywane, odprowadzone z obiektów chowu  lub hodowli ryb łososiowatych")},
         nullptr},
        {"P32", {QStringLiteral("3.2 . Wody chłodnicze")}, nullptr},
        {"P33",
         {QStringLiteral("3.3. Wody odpadowe lub roztopowe pochodzące z powierzchni "),
          QStringLiteral("zanieczyszczonych o trwałej nawierzchni, ujęte w otwarte lub zamknięte "),
          QStringLiteral("systemy kanalizacyjne, z wyjątkiem kanalizacji ogólnospławnej")},
         nullptr},
        {"P34", {QStringLiteral("3.4. Wody zasolone")}, nullptr},
        {"P35", {QStringLiteral("3.5.Wody wykorzystane, odprowadzane z obiektów chowu lub chodowli ryb innych")},
         "niż łososiowate lub innych organizmów wodnych"},
        {nullptr, {QStringLiteral("4. Składowanie odpadów")}, nullptr},
        {"P41", {QStringLiteral("4.1. Odpady składowane selektywnie")}, nullptr},
        {"P42", {QStringLiteral("4.2. Odpady składowane nieselektywnie")}, nullptr},
    };
    return p;
}

struct SumaZalacznika {
    const char* pole;
    const char* opis;
};

const SumaZalacznika kSumy[] = {
    {"PI", "I Wysokość opłaty za wprowadzanie gazów lub pyłów do powietrza ogółem"},
    {"PII", "II Wysokość opłaty za pobór wód ogółem"},
    {"PIII", "III Wysokość opłaty za wprowadzanie ścieków do wód lub do ziemi ogółem"},
    {"PIV", "IV Wysokość opłaty za składowanie odpadów ogółem"},
};

} // namespace

TFZalacznik1::TFZalacznik1(QWidget* parent) : TOknoZestawienia(parent)
{
    setObjectName(QStringLiteral("FZalacznik1"));
    setWindowTitle(QStringLiteral("Załącznik nr 1"));
    kal::TDataSource* z = DM ? DM->DZalacznik1 : nullptr;

    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    BitBDrukPrzMonitor = NowyPrzycisk("BitBDrukPrzMonitor", QStringLiteral("Podgląd"));
    BitBDrukPrzDrukarka = NowyPrzycisk("BitBDrukPrzDrukarka", QStringLiteral("Drukuj"));
    WczytajObrazy();

    auto* tresc = new QWidget;
    auto* siatka = new QGridLayout(tresc);
    int wiersz = 0;
    auto* naglowek = new QLabel(QStringLiteral("Wysokość opłaty [zł]"), tresc);
    naglowek->setObjectName(QStringLiteral("LabelNaglowek"));
    siatka->addWidget(naglowek, wiersz++, 1);
    int numer = 0;
    for (const PozycjaZalacznika& p : Pozycje()) {
        if (!p.pole) {
            auto* sekcja = new QLabel(p.opis.front(), tresc);
            QFont f = sekcja->font();
            f.setBold(true);
            sekcja->setFont(f);
            siatka->addWidget(sekcja, wiersz++, 0, 1, 2);
            continue;
        }
        const QString pole = QString::fromLatin1(p.pole);
        if (p.opis.size() > 1) {
            auto* memo = new QPlainTextEdit(p.opis.join(QLatin1Char('\n')), tresc);
            memo->setObjectName(QStringLiteral("Memo") + pole);
            memo->setReadOnly(true);
            memo->setFocusPolicy(Qt::NoFocus);
            // Each line whole: as wide as the longest line, as high as all of
            // them, with no scroll bars of its own.
            memo->setLineWrapMode(QPlainTextEdit::NoWrap);
            memo->setFrameShape(QFrame::NoFrame);
            QPalette paleta = memo->palette();
            paleta.setColor(QPalette::Base, paleta.color(QPalette::Window));
            memo->setPalette(paleta);
            memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            const QFontMetrics fm = memo->fontMetrics();
            int najdluzsza = 0;
            for (const QString& linia : p.opis)
                najdluzsza = std::max(najdluzsza, fm.horizontalAdvance(linia));
            const int brzeg = 2 * (memo->frameWidth() + int(memo->document()->documentMargin())) + 8;
            memo->setMinimumWidth(najdluzsza + brzeg);
            memo->setFixedHeight(fm.lineSpacing() * int(p.opis.size()) + brzeg);
            siatka->addWidget(memo, wiersz, 0);
        } else {
            auto* l = new QLabel(p.opis.front(), tresc);
            l->setObjectName(QStringLiteral("Label") + pole);
            siatka->addWidget(l, wiersz, 0);
        }
        const QByteArray nazwa = "DBEdit" + QByteArray::number(++numer);
        kal::TDBEdit* e = NowePole(nazwa.constData(), z, pole);
        e->setParent(tresc);
        e->setProperty("pole", pole);
        e->setAlignment(Qt::AlignRight);
        siatka->addWidget(e, wiersz++, 1);
        if (numer == 1)
            DBEdit1 = e;
        if (p.drugiOpis)
            siatka->addWidget(new QLabel(QString::fromUtf8(p.drugiOpis), tresc), wiersz++, 0);
    }
    for (const SumaZalacznika& s : kSumy) {
        siatka->addWidget(new QLabel(QString::fromUtf8(s.opis), tresc), wiersz, 0);
        auto* t = new kal::TDBText(tresc);
        t->setObjectName(QString::fromLatin1(s.pole));
        t->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        t->setDataSource(z);
        t->setDataField(QString::fromLatin1(s.pole));
        siatka->addWidget(t, wiersz++, 1);
    }
    siatka->setColumnStretch(0, 1);
    siatka->setRowStretch(wiersz, 1);

    m_przewijanie = new QScrollArea(this);
    m_przewijanie->setObjectName(QStringLiteral("ScrollBox1"));
    m_przewijanie->setWidgetResizable(true);
    m_przewijanie->setWidget(tresc);

    auto* gora = new QHBoxLayout;
    gora->addStretch(1);
    gora->addWidget(BitBDrukPrzMonitor);
    gora->addWidget(BitBDrukPrzDrukarka);
    gora->addWidget(BitBtn1);
    auto* uklad = new QVBoxLayout(this);
    uklad->addLayout(gora);
    uklad->addWidget(m_przewijanie, 1);

    Podlacz(BitBtn1, [this] { ZamknijZWynikiem(mrCancel); });
    Podlacz(BitBDrukPrzMonitor, [this] { Drukuj(BitBDrukPrzMonitor); });
    Podlacz(BitBDrukPrzDrukarka, [this] { Drukuj(BitBDrukPrzDrukarka); });
    if (DM)
        UstawZbioryDoZapisu({DM->TZalacznik1});
    if (!FZalacznik1)
        FZalacznik1 = this;
}

TFZalacznik1::~TFZalacznik1()
{
    if (FZalacznik1 == this)
        FZalacznik1 = nullptr;
}

void TFZalacznik1::WczytajObrazy()
{
    // The store may be created after this window: each show tries again.
    if (BitBtn1->icon().isNull())
        KopiujObraz(BitBtn1, QStringLiteral("Zamknij"));
    if (BitBDrukPrzMonitor->icon().isNull())
        KopiujObraz(BitBDrukPrzMonitor, QStringLiteral("Monitor"));
    if (BitBDrukPrzDrukarka->icon().isNull())
        KopiujObraz(BitBDrukPrzDrukarka, QStringLiteral("Drukuj"));
}

kal::TDBEdit* TFZalacznik1::Edycja(const QString& pole) const
{
    for (kal::TDBEdit* e : findChildren<kal::TDBEdit*>())
        if (e->DataField() == pole)
            return e;
    return nullptr;
}

kal::TDBText* TFZalacznik1::Suma(const QString& pole) const
{
    return findChild<kal::TDBText*>(pole);
}

int TFZalacznik1::Pokaz()
{
    if (!DM->OtworzZalacznikiPolrocza())
        return -100;
    setWindowTitle(QStringLiteral("Załącznik nr 1 za półrocze: ") + TekstOkresu());
    WczytajObrazy();
    NaCalyEkran();
    m_przewijanie->verticalScrollBar()->setValue(0);
    const int wynik = PokazModalnie();
    ZapiszOczekujace();
    return wynik;
}

void TFZalacznik1::Drukuj(QAbstractButton* Sender)
{
    DrukujZestawienie(QRZalacznik1, Sender == BitBDrukPrzMonitor,
                      QStringLiteral("Wydruk załącznika nr 1 za półrocze: "));
}

void TFZalacznik1::PoPrzejsciuEnterem()
{
    if (focusWidget() == DBEdit1)
        m_przewijanie->verticalScrollBar()->setValue(0);
}
