#pragma once
// The application object: title "Kalpiyon", Turkish platform texts, and the error display
// that shows every exception a handler lets through and lets the program go on.

#include <QApplication>

class KalpiyonApplication : public QApplication {
    Q_OBJECT
public:
    KalpiyonApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// The eight windows, created once in their fixed order; the globals name them.
void createWindows();
void destroyWindows();
// Creation, the database error if any, and the password gate; false when the gate refused.
bool startUp();
// The whole run: start-up, the gate, the main window and the message loop; the exit status.
int runProgram(KalpiyonApplication &app);
