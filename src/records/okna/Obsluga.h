#pragma once
// The image store: a hidden window, never shown, whose named buttons carry
// the images that other windows copy onto their own buttons at show time
// ("Zamknij", "Uzyj", "Kartoteka", "Edytor", "Drukuj", "Monitor"). It also
// measures text widths for the reports.

#include <QWidget>

class QFont;
class QIcon;
class QPushButton;

class TFormObslugi : public QWidget {
    Q_OBJECT
public:
    explicit TFormObslugi(QWidget* parent = nullptr);
    ~TFormObslugi() override;

    QPushButton* Zamknij = nullptr;
    QPushButton* Uzyj = nullptr;
    QPushButton* Kartoteka = nullptr;
    QPushButton* Edytor = nullptr;
    QPushButton* Drukuj = nullptr;
    QPushButton* Monitor = nullptr;
};

extern TFormObslugi* FormObslugi;

// The printer image of every "Drukuj" button (the store's "Drukuj" and the
// preview window's print button): a printer with a sheet in and a sheet out.
QIcon ObrazDrukarki();

// The width in pixels of `tekst` written in `czcionka` on the window `okno`
// (always called with FormObslugi).
int SzerokoscTekstu(TFormObslugi* okno, const QFont& czcionka, const QString& tekst);
