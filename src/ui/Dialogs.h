#pragma once
// Every modal question, message and file dialog of the program goes through here, so that
// tests can answer them: queue the answers before the action (TestSeam), and a box that
// appears with no queued answer fails the test instead of blocking it. The dialogs are points
// of the program's one test seam (TestSeam.h): "dialog:box", "dialog:file", "dialog:window".

#include <QString>
#include <QStringList>
#include <functional>

class Error;
class QDialog;
class QWidget;

namespace ui {

enum class Kind { Warning, Error, Information, Confirmation, Custom };  // "Dikkat !", "Hata", "Bilgi", "Onay"

enum Button {
    Yes = 0x1, No = 0x2, Ok = 0x4, Cancel = 0x8, Abort = 0x10, Retry = 0x20, Ignore = 0x40,
    All = 0x80, NoToAll = 0x100, YesToAll = 0x200, Help = 0x400
};
using Buttons = int;

enum class Icon { None, Information, Warning, Critical, Question };

// The application title "Kalpiyon": the title of plain message boxes and error boxes.
QString applicationTitle();

// Message dialog of a kind: the kind's title and icon, Turkish button captions; default button
// OK, else Yes, else Retry; Esc answers Cancel, else No, else OK. Returns the button pressed.
// Technical `details` (a server's own words) are shown only when the user asks for them.
Button messageDlg(const QString &text, Kind kind, Buttons buttons, QWidget *parent = nullptr,
                  const QString &details = {});

// Platform message box with the given title (empty title: the application title "Kalpiyon").
Button messageBox(const QString &text, const QString &title, Buttons buttons, Icon icon,
                  QWidget *parent = nullptr);

// The application's error display: title "Kalpiyon", stop icon, one OK button, and a full
// stop appended when the message's last character sorts after "." (see withFullStop).
void showException(const QString &message, QWidget *parent = nullptr, const QString &details = {});
// The same for an Error: its message, and its details under the details button.
void showException(const Error &error, QWidget *parent = nullptr);
QString withFullStop(const QString &message);

// File dialogs. Return the chosen path, or an empty string when cancelled. A save dialog asks
// before an existing file is chosen, unless the caller replaces it without a question.
enum class Overwrite { Ask, Replace };
QString getSaveFileName(QWidget *parent, const QString &title, const QString &dir, const QString &filter,
                        Overwrite overwrite = Overwrite::Ask);
QString getOpenFileName(QWidget *parent, const QString &title, const QString &dir, const QString &filter);
// A folder; under the seam the next queued file name is the answer.
QString getExistingDirectory(QWidget *parent, const QString &title, const QString &dir);

// Shows a modal window of the program and returns its result (QDialog::Accepted ...).
// Under the test seam the next queued handler works the window instead of a user.
int execDialog(QDialog &dialog);

// The dialogs' side of the test seam. While the seam is installed no dialog is shown: each
// call takes the next queued answer (a Button for message boxes, a path for file dialogs) and
// records what was asked.
namespace TestSeam {
struct Asked {
    QString text;
    QString title;
    QString details;
    Buttons buttons = 0;
    bool confirmOverwrite = false;  // a save dialog that would ask before replacing a file
};
void install();                 // installs the whole seam (seam::install): a clean one
void uninstall();
void queueAnswer(Button b);
void queueFileName(const QString &path);
// Works the next modal window: typing, clicking; the window's result is returned.
void queueDialogHandler(std::function<void(QDialog &)> handler);
QList<Asked> asked();           // everything asked since install(), in order
void clearAsked();
int pendingAnswers();
}  // namespace TestSeam

}  // namespace ui
