#include "Glowny.h"

#include "Dane.h"
#include "Funkcje.h"
#include "Okna.h"

#include "platform/core/Dialogs.h"
#include "platform/ui/Application.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Hints.h"
#include "platform/ui/InputHook.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

TFGlowny* FGlowny = nullptr;

namespace {

const QString kKontrolaDanych = QStringLiteral("Kontrola danych.");
const QString kPodpowiedzWyjscia = QStringLiteral("Kończy pracę z systemem|Zakończenie pracy z systemem.");

// The launchers: button, the window it opens and the mode it passes.
struct Wyrzutnia {
    QPushButton* TFGlowny::*przycisk;
    const char* okno;
    int tryb;
};
const Wyrzutnia kWyrzutnie[] = {
    {&TFGlowny::BitBtn1, "FZalacznik1", 0},
    {&TFGlowny::BitBtn2, "FTabelaD", 0},
    {&TFGlowny::BitBtn3, "FGminaDoTabeliC", 0},
    {&TFGlowny::BitBtn4, "FEwidencjaPojazdow", 0},
    {&TFGlowny::BitBtn5, "FZuzycie", 0},
    {&TFGlowny::BitBtn6, "FGestoscPakiw", 0},
    {&TFGlowny::BitBtn11, "FTabelaAGmina", 0},
};

bool wTrakcieZmian(const kal::TTable* tabela)
{
    return tabela && (tabela->State() == kal::dsEdit || tabela->State() == kal::dsInsert);
}

// A table counts as holding a record while a new one is being typed into it.
bool maRekord(const kal::TTable* tabela)
{
    return tabela && tabela->Active() && (tabela->State() == kal::dsInsert || !tabela->IsEmpty());
}

void komunikatKontroli(const QString& tekst)
{
    kal::Dialogs().messageBox(tekst, kKontrolaDanych, kal::MbOk, kal::MsgIcon::Stop);
}

// Simple pictures for the printout buttons, used while the annex window that
// holds the program's own pictures is not there.
QIcon narysujIkone(bool drukarka)
{
    QPixmap obraz(20, 20);
    obraz.fill(Qt::transparent);
    QPainter p(&obraz);
    p.setRenderHint(QPainter::Antialiasing);
    if (drukarka) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 1.5, 9, 7));     // paper in
        p.setBrush(QColor(160, 160, 160));
        p.drawRect(QRectF(1.5, 7.5, 17, 7));    // body
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 12.5, 11, 6));   // paper out
        p.setBrush(QColor(0, 160, 0));
        p.drawEllipse(QRectF(14.5, 9, 2, 2));   // lamp
    } else {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 1.5, 12, 16));   // page
        p.setPen(QPen(QColor(120, 120, 120), 1));
        for (int y = 5; y <= 14; y += 3)
            p.drawLine(QPointF(3.5, y + 0.5), QPointF(11.5, y + 0.5));
        p.setPen(QPen(Qt::darkBlue, 2));
        p.setBrush(QColor(200, 230, 255, 200));
        p.drawEllipse(QRectF(8, 8, 7, 7));      // lens
        p.drawLine(QPointF(14, 14), QPointF(18.5, 18.5));
    }
    return QIcon(obraz);
}

// The picture of a button of another window, when that window is there.
QIcon obrazPrzycisku(const QString& okno, const QString& przycisk)
{
    if (QWidget* w = ZnajdzOkno(okno)) {
        if (auto* b = w->findChild<QAbstractButton*>(przycisk))
            return b->icon();
    }
    return {};
}

QFrame* panel(QWidget* rodzic, const QString& nazwa)
{
    auto* p = new QFrame(rodzic);
    p->setObjectName(nazwa);
    p->setFrameShape(QFrame::StyledPanel);
    p->setFrameShadow(QFrame::Raised);
    return p;
}

QPushButton* przycisk(QWidget* rodzic, const QString& nazwa, const QString& napis)
{
    auto* b = new QPushButton(napis, rodzic);
    b->setObjectName(nazwa);
    b->setIconSize(QSize(20, 20));
    return b;
}

} // namespace

TFGlowny::TFGlowny(QWidget* parent) : QWidget(parent)
{
    zbuduj();
    // 1. first activation pending; 2. glyph copies
    m_pierwszaAktywacja = true;
    BitBtn3->setIcon(BitBtn2->icon());
    BitBtn6->setIcon(BitBtn2->icon());
    BitBtn11->setIcon(BitBtn2->icon());
    // 3. the zero tolerance of the fee objects and reports
    ProgZera = 1e-07;
    // 4. Enter as Tab, the wheel on grids and combo boxes
    kal::InstallInputHook();
}

TFGlowny::~TFGlowny()
{
    if (FGlowny == this)
        FGlowny = nullptr;
}

void TFGlowny::zbuduj()
{
    setObjectName(QStringLiteral("FGlowny"));
    setWindowTitle(QStringLiteral("Kalmora wersja 2.0 - 2009"));
    // system menu and minimise box, no maximise box
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    resize(1040, 640);

    auto* uklad = new QVBoxLayout(this);
    uklad->setContentsMargins(6, 6, 6, 6);
    uklad->setSpacing(6);

    // ---- top panel: the prompt and the exit button
    Panel1 = panel(this, QStringLiteral("Panel1"));
    auto* gora = new QHBoxLayout(Panel1);
    gora->setContentsMargins(10, 6, 10, 6);
    Label1 = new QLabel(QStringLiteral("Wybierz firmę i okres rozliczeniowy."), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont duza = Label1->font();
    duza.setPointSizeF(duza.pointSizeF() * 1.5);
    duza.setBold(true);
    Label1->setFont(duza);
    gora->addWidget(Label1, 1);
    // The exit button lies over its picture: a click on either ends the program.
    Image3 = new QLabel(Panel1);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setFixedSize(40, 40);
    Image3->setAlignment(Qt::AlignCenter);
    Image3->setPixmap(style()->standardIcon(QStyle::SP_BrowserStop).pixmap(32, 32));
    Image3->setCursor(Qt::PointingHandCursor);
    Image3->installEventFilter(this);
    kal::SetHint(Image3, kPodpowiedzWyjscia);
    SpeedButton3 = new QToolButton(Image3);
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton3"));
    SpeedButton3->setGeometry(Image3->rect());
    SpeedButton3->setAutoRaise(true);
    SpeedButton3->setFocusPolicy(Qt::NoFocus);
    kal::SetHint(SpeedButton3, kPodpowiedzWyjscia);
    gora->addWidget(Image3);
    uklad->addWidget(Panel1);

    auto* srodek = new QHBoxLayout;
    srodek->setSpacing(8);
    uklad->addLayout(srodek, 1);

    // ---- companies and periods
    auto* dane = new QVBoxLayout;
    srodek->addLayout(dane, 1);
    DBGrid1 = new kal::TDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setReadOnly(true);
    DBGrid1->setOptions(kal::dgTitles | kal::dgIndicator | kal::dgRowSelect);
    DBGrid1->addColumn(QStringLiteral("Nazwa1"), QStringLiteral("Nazwa")).setWidth(160);
    DBGrid1->addColumn(QStringLiteral("Nazwa2"), QStringLiteral("Nazwa cd.")).setWidth(95);
    DBGrid1->addColumn(QStringLiteral("Adres1"), QStringLiteral("Adres")).setWidth(130);
    DBGrid1->addColumn(QStringLiteral("Adres2"), QStringLiteral("Adres cd")).setWidth(90);
    DBGrid1->addColumn(QStringLiteral("REGON"), QStringLiteral("REGON")).setWidth(80);
    DBGrid1->addColumn(QStringLiteral("Telefon"), QStringLiteral("Telefon")).setWidth(80);
    DBGrid1->addColumn(QStringLiteral("Identyfikator"), QStringLiteral("Identyfikator")).setWidth(90);
    DBGrid1->columnsChanged();
    DBGrid1->OnDblClick = [this](kal::TDBGrid&) { kal::RunGuarded([this] { DBGrid1DblClick(); }); };
    dane->addWidget(DBGrid1, 3);

    // The periods of the current company: their grid, and beside it the
    // navigator and the edits of the current period.
    auto* okresy = new QHBoxLayout;
    dane->addLayout(okresy, 2);
    DBGrid2 = new kal::TDBGrid(this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setReadOnly(true);
    DBGrid2->setOptions(kal::dgTitles | kal::dgIndicator | kal::dgRowSelect);
    DBGrid2->addColumn(QStringLiteral("Rok"), QStringLiteral("Rok")).setAlignment(kal::taCenter).setWidth(80);
    DBGrid2->addColumn(QStringLiteral("Polrocze"), QStringLiteral("Półrocze")).setAlignment(kal::taCenter).setWidth(80);
    DBGrid2->columnsChanged();
    DBGrid2->setFixedWidth(220);
    okresy->addWidget(DBGrid2);
    auto* prawaOkresu = new QVBoxLayout;
    okresy->addLayout(prawaOkresu, 1);
    DBNavigator1 = new kal::TDBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(kal::kAllNavButtons & ~kal::NavButton(kal::nbDelete));
    prawaOkresu->addWidget(DBNavigator1, 0, Qt::AlignLeft);
    auto* pola = new QFormLayout;
    pola->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    DBEdit1 = new kal::TDBEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setDataField(QStringLiteral("Rok"));
    DBEdit1->setFixedWidth(80);
    DBEdit2 = new kal::TDBEdit(this);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->setDataField(QStringLiteral("Polrocze"));
    DBEdit2->setFixedWidth(80);
    pola->addRow(QStringLiteral("Rok:"), DBEdit1);
    pola->addRow(QStringLiteral("Półrocze:"), DBEdit2);
    prawaOkresu->addLayout(pola);
    prawaOkresu->addStretch(1);

    // ---- launchers and printouts
    auto* prawa = new QVBoxLayout;
    prawa->setSpacing(4);
    srodek->addLayout(prawa);
    BitBtn1 = przycisk(this, QStringLiteral("BitBtn1"), QStringLiteral("&Załącznik nr 1"));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    BitBtn2 = przycisk(this, QStringLiteral("BitBtn2"), QStringLiteral("TABELA &D"));
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    BitBtn3 = przycisk(this, QStringLiteral("BitBtn3"), QStringLiteral("TABELA &C"));
    BitBtn11 = przycisk(this, QStringLiteral("BitBtn11"), QStringLiteral("TABELA &A"));
    BitBtn4 = przycisk(this, QStringLiteral("BitBtn4"), QStringLiteral("&Ewidencja pojazdów"));
    BitBtn4->setIcon(style()->standardIcon(QStyle::SP_DirIcon));
    BitBtn5 = przycisk(this, QStringLiteral("BitBtn5"), QStringLiteral("Zużycie &paliwa"));
    BitBtn5->setIcon(style()->standardIcon(QStyle::SP_DriveHDIcon));
    BitBtn6 = przycisk(this, QStringLiteral("BitBtn6"), QStringLiteral("Tabela gęstości paliw"));
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3, BitBtn11, BitBtn4, BitBtn5, BitBtn6}) {
        b->setMinimumWidth(220);
        prawa->addWidget(b);
    }
    prawa->addSpacing(8);

    auto para = [this, prawa](QFrame*& p, QLabel*& etykieta, QPushButton*& podglad, QPushButton*& druk,
                              const QString& nazwaPanelu, const QString& nazwaEtykiety, const QString& tekst,
                              const QString& nazwaPodgladu, const QString& nazwaDruku) {
        p = panel(this, nazwaPanelu);
        auto* v = new QVBoxLayout(p);
        v->setContentsMargins(6, 4, 6, 6);
        etykieta = new QLabel(tekst, p);
        etykieta->setObjectName(nazwaEtykiety);
        etykieta->setAlignment(Qt::AlignCenter);
        QFont f = etykieta->font();
        f.setBold(true);
        etykieta->setFont(f);
        v->addWidget(etykieta);
        auto* h = new QHBoxLayout;
        podglad = przycisk(p, nazwaPodgladu, QStringLiteral("Podgląd"));
        druk = przycisk(p, nazwaDruku, QStringLiteral("Drukuj"));
        h->addWidget(podglad);
        h->addWidget(druk);
        v->addLayout(h);
        prawa->addWidget(p);
    };
    para(Panel5, Label2, BitBtn7, BitBtn8, QStringLiteral("Panel5"), QStringLiteral("Label2"),
         QStringLiteral("Zestawienie opłat"), QStringLiteral("BitBtn7"), QStringLiteral("BitBtn8"));
    para(Panel6, Label3, BitBtn9, BitBtn10, QStringLiteral("Panel6"), QStringLiteral("Label3"),
         QStringLiteral("Zestawienie zbiorcze tabela C"), QStringLiteral("BitBtn9"), QStringLiteral("BitBtn10"));
    // Pictures until the first activation gives them the annex window's own.
    for (QPushButton* b : {BitBtn7, BitBtn9})
        b->setIcon(narysujIkone(false));
    for (QPushButton* b : {BitBtn8, BitBtn10})
        b->setIcon(narysujIkone(true));
    prawa->addStretch(1);
    BitBtn12 = przycisk(this, QStringLiteral("BitBtn12"), QStringLiteral("Samochody do przeglądu"));
    BitBtn12->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
    BitBtn12->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    prawa->addWidget(BitBtn12);

    // ---- handlers, each under the exception guard
    auto wiaz = [this](QAbstractButton* b, auto obsluga) {
        connect(b, &QAbstractButton::clicked, this, [this, b, obsluga] {
            kal::RunGuarded([this, b, obsluga] { (this->*obsluga)(b); });
        });
    };
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3, BitBtn4, BitBtn5, BitBtn6, BitBtn11})
        wiaz(b, &TFGlowny::BitBtn1Click);
    for (QPushButton* b : {BitBtn7, BitBtn8, BitBtn9, BitBtn10})
        wiaz(b, &TFGlowny::RozliczenieOplatPolrocza);
    connect(BitBtn12, &QAbstractButton::clicked, this, [this] { kal::RunGuarded([this] { BitBtn12Click(); }); });
    connect(SpeedButton3, &QAbstractButton::clicked, this, [this] { kal::RunGuarded([this] { Image3Click(); }); });

    setTabOrder(DBGrid1, DBGrid2);
    setTabOrder(DBGrid2, DBEdit1);
    setTabOrder(DBEdit1, DBEdit2);
    setTabOrder(DBEdit2, BitBtn1);
}

void TFGlowny::PowiazZrodla()
{
    if (!DM)
        return;
    DBGrid1->setDataSource(DM->DFirma);
    DBNavigator1->setDataSource(DM->DOkres);
    DBGrid2->setDataSource(DM->DOkres);
    DBEdit1->setDataSource(DM->DOkres);
    DBEdit2->setDataSource(DM->DOkres);
}

bool TFGlowny::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        kal::RunGuarded([this] { FormActivate(); });
    return QWidget::event(e);
}

bool TFGlowny::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == Image3 && e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        kal::RunGuarded([this] { Image3Click(); });
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

void TFGlowny::showEvent(QShowEvent* e)
{
    if (DM && !DBGrid1->DataSource())
        PowiazZrodla();
    if (!m_wysrodkowane) {
        m_wysrodkowane = true;
        // The first show takes the focus, so that the first activation comes
        // also where no window manager gives it.
        activateWindow();
        if (QScreen* ekran = screen()) {
            QRect r = frameGeometry();
            r.moveCenter(ekran->availableGeometry().center());
            move(r.topLeft());
        }
    }
    QWidget::showEvent(e);
}

void TFGlowny::closeEvent(QCloseEvent* e)
{
    e->ignore();
    bool moznaZamknac = false;
    kal::RunGuarded([this, &moznaZamknac] { moznaZamknac = FormCloseQuery(); });
    if (moznaZamknac) {
        e->accept();
        emit zamkniete();
    }
}

// ---------------------------------------------------------------- handlers

void TFGlowny::FormActivate()
{
    if (!m_pierwszaAktywacja)
        return;
    OdlaczZrodlaDanych();
    m_pierwszaAktywacja = false;
    // The preview and printer pictures of the annex window's buttons.
    const QIcon podglad = obrazPrzycisku(QStringLiteral("FZalacznik1"), QStringLiteral("BitBDrukPrzMonitor"));
    if (!podglad.isNull()) {
        BitBtn7->setIcon(podglad);
        BitBtn9->setIcon(podglad);
    }
    const QIcon drukarka = obrazPrzycisku(QStringLiteral("FZalacznik1"), QStringLiteral("BitBDrukPrzDrukarka"));
    if (!drukarka.isNull()) {
        BitBtn8->setIcon(drukarka);
        BitBtn10->setIcon(drukarka);
    }
}

void TFGlowny::zapiszFirmeIOkres()
{
    if (!DM)
        return;
    if (wTrakcieZmian(DM->TFirma))
        DM->TFirma->Post();
    if (wTrakcieZmian(DM->TOkres))
        DM->TOkres->Post();
}

bool TFGlowny::firmaIOkresZapisane() const
{
    return DM && !wTrakcieZmian(DM->TFirma) && !wTrakcieZmian(DM->TOkres);
}

bool TFGlowny::FormCloseQuery()
{
    // Another window of the program over this one: a modal window is open.
    // Nothing is posted then; the user finishes that window first.
    QWidget* modalne = QApplication::activeModalWidget();
    if (modalne && modalne != this) {
        kal::ShowErrorBox(QStringLiteral("Najpierw zamknij poprawnie program \"Obsługa programu Kalmora\"."));
        return false;
    }
    zapiszFirmeIOkres();
    return kal::Dialogs().messageBox(QStringLiteral("Czy chcesz zakończyć pracę z programem ?"),
                                     QStringLiteral("Zakończenie programu \"Kalmora\"."), kal::MbYes | kal::MbNo,
                                     kal::MsgIcon::Question) == kal::MbYes;
}

void TFGlowny::DBGrid1DblClick()
{
    if (DM && wTrakcieZmian(DM->TOkres)) {
        komunikatKontroli(QStringLiteral("Najpierw zapisz dane o okresach !!!"));
        return;
    }
    PokazOkno(QStringLiteral("FDaneFirmy"), 0);
}

void TFGlowny::Image3Click()
{
    close();
}

void TFGlowny::BitBtn1Click(QObject* Sender)
{
    if (!DM)
        return;
    if (!maRekord(DM->TFirma)) {
        komunikatKontroli(QStringLiteral("Brak danych firmy !!!"));
        return;
    }
    if (!maRekord(DM->TOkres)) {
        komunikatKontroli(QStringLiteral("Brak okresów !!!"));
        return;
    }
    zapiszFirmeIOkres();
    if (!firmaIOkresZapisane())
        return;
    for (const Wyrzutnia& w : kWyrzutnie) {
        if (this->*(w.przycisk) == Sender) {
            PokazOkno(QString::fromLatin1(w.okno), w.tryb);
            return;
        }
    }
}

void TFGlowny::RozliczenieOplatPolrocza(QObject* Sender)
{
    if (!DM)
        return;
    // The pending company and period changes are saved first, as the
    // launchers do: the statement rows belong to the saved period.
    zapiszFirmeIOkres();
    if (!firmaIOkresZapisane())
        return;
    if (!DM->OtworzZalacznikiPolrocza())
        return;
    const QString okres = DM->TOkresPolrocze->AsString() + QStringLiteral(" ") + DM->TOkresRok->AsString() +
                          QStringLiteral(" roku.");
    if (Sender == BitBtn7 || Sender == BitBtn8) {
        DrukujFormularz(QStringLiteral("QRRozliczPolrocze"), Sender == BitBtn7,
                        QStringLiteral("Rozliczenie opłat za półrocze: ") + okres);
    } else if (Sender == BitBtn9 || Sender == BitBtn10) {
        DrukujFormularz(QStringLiteral("QRZestTabC"), Sender == BitBtn9,
                        QStringLiteral("Rozliczenie zbiorcze tablic c za półrocze: ") + okres);
    }
}

void TFGlowny::BitBtn12Click()
{
    PokazOkno(QStringLiteral("FSamochodyDoPrzegladu"), 0);
}
