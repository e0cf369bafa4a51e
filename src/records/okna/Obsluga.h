#pragma once
// The image store: a hidden window, never shown, whose named buttons carry
// the images that other windows copy onto their own buttons at show time
// ("Zamknij", "Uzyj", "Kartoteka", "Edytor", "Drukuj", "Monitor"). It also
// measures text widths for the reports.

#include <QWidget>

class QFont;
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

// The width in pixels of `tekst` written in `czcionka` on the window `okno`
// (always called with FormObslugi).
int SzerokoscTekstu(TFormObslugi* okno, const QFont& czcionka, const QString& tekst);
