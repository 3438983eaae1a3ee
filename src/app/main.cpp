// Kalpiyon: start-up, the password gate, the message loop.
#include <QTimer>

#include "Application.h"
#include "Ayar.h"
#include "Dialogs.h"
#include "FirstStart.h"
#include "Unit1.h"

int main(int argc, char **argv)
{
    KalpiyonApplication app(argc, argv);
    if (!startUp())
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    else
        app::announceNewDatabase();
    Form1->show();
    const int status = app.exec();
    try {
        AyarFrm->programEnding();
    } catch (const std::exception &) {
        // The program is ending; the protection flag keeps its earlier value.
    }
    destroyWindows();
    return status;
}
