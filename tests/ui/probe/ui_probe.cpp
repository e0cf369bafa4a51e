// A small program that the UI tests start as a child process:
//   ui_probe instance [hold]  - tries the single-instance lock and prints
//                               "acquired" or "already running"; with "hold"
//                               it keeps the lock until its input closes.
//   ui_probe guard <kind>     - runs kal::Application, clicks a button whose
//                               slot throws <kind> (rule, abort, std, other),
//                               prints every message box that appears as
//                               "BOX|caption|text|icon|buttons" and closes it,
//                               then prints "END".
#include "Application.h"
#include "Exceptions.h"
#include "SingleInstance.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

void Print(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int Instance(bool hold)
{
    if (!kal::AcquireSingleInstance()) {
        Print(QStringLiteral("already running"));
        return 0;
    }
    Print(QStringLiteral("acquired"));
    if (hold)
        while (std::getchar() != EOF) {
        }
    return 0;
}

int Guard(int& argc, char** argv, const QString& kind)
{
    kal::Application app(argc, argv);
    QPushButton button(QStringLiteral("Wylicz"));
    QObject::connect(&button, &QPushButton::clicked, [&kind] {
        if (kind == QLatin1String("rule"))
            throw kal::Exception(QStringLiteral("Zły rok okresu"));
        if (kind == QLatin1String("abort"))
            kal::Abort();
        if (kind == QLatin1String("std"))
            throw std::runtime_error("internal failure");
        throw 42;
    });
    bool started = false;
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            QStringList buttons;
            for (QAbstractButton* b : box->buttons())
                buttons << b->text();
            Print(QStringLiteral("BOX|%1|%2|%3|%4")
                      .arg(box->windowTitle(), box->text())
                      .arg(int(box->icon()))
                      .arg(buttons.join(u',')));
            box->buttons().value(0)->click();
            return;
        }
        if (started && !modal)
            QCoreApplication::quit();
    });
    watcher.start();
    QTimer::singleShot(0, &button, [&] {
        started = true;
        button.click();
    });
    app.exec();
    Print(QStringLiteral("END"));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "instance") == 0)
        return Instance(argc >= 3 && std::strcmp(argv[2], "hold") == 0);
    if (argc >= 3 && std::strcmp(argv[1], "guard") == 0)
        return Guard(argc, argv, QString::fromUtf8(argv[2]));
    return 2;
}
