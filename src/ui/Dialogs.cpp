#include "Dialogs.h"

#include <QApplication>
#include <QPointer>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QQueue>
#include <QVariant>
#include <stdexcept>

#include "Error.h"

namespace ui {

namespace {

struct ButtonInfo {
    Button button;
    const char *caption;
    QMessageBox::ButtonRole role;
};

// Order of the buttons in a box, with their Turkish captions.
const ButtonInfo kButtons[] = {
    {Yes, "Evet", QMessageBox::YesRole},
    {No, "Hayır", QMessageBox::NoRole},
    {Ok, "Tamam", QMessageBox::AcceptRole},
    {Cancel, "İptal", QMessageBox::RejectRole},
    {Abort, "Başarısız", QMessageBox::RejectRole},
    {Retry, "Tekrar", QMessageBox::AcceptRole},
    {Ignore, "Bitir", QMessageBox::AcceptRole},
    {All, "Tümü", QMessageBox::YesRole},
    {NoToAll, "Tümüne Hayır", QMessageBox::NoRole},
    {YesToAll, "Tümüne Evet", QMessageBox::YesRole},
    {Help, "Yardım", QMessageBox::HelpRole},
};

struct KindInfo {
    const char *title;
    QMessageBox::Icon icon;
};

KindInfo kindInfo(Kind kind)
{
    switch (kind) {
    case Kind::Warning: return {"Dikkat !", QMessageBox::Warning};
    case Kind::Error: return {"Hata", QMessageBox::Critical};
    case Kind::Information: return {"Bilgi", QMessageBox::Information};
    case Kind::Confirmation: return {"Onay", QMessageBox::Question};
    case Kind::Custom: break;
    }
    return {nullptr, QMessageBox::NoIcon};
}

QMessageBox::Icon toIcon(Icon icon)
{
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

Button defaultButton(Buttons buttons)
{
    for (Button b : {Ok, Yes, Retry})
        if (buttons & b)
            return b;
    return Button(0);
}

Button escapeButton(Buttons buttons)
{
    for (Button b : {Cancel, No, Ok})
        if (buttons & b)
            return b;
    return Button(0);
}

// --- the test seam -----------------------------------------------------------
struct Seam {
    bool installed = false;
    QQueue<Button> answers;
    QQueue<QString> fileNames;
    QQueue<std::function<void(QDialog &)>> dialogHandlers;
    QList<TestSeam::Asked> asked;
};

Seam &seam()
{
    static Seam s;
    return s;
}

[[noreturn]] void unexpected(const QString &what)
{
    qFatal("Unexpected dialog with no queued answer: %s", qPrintable(what));
}

Button answerFromSeam(const QString &text, const QString &title, Buttons buttons, const QString &details)
{
    seam().asked.append({text, title, details, buttons});
    if (seam().answers.isEmpty())
        unexpected(title + QStringLiteral(": ") + text);
    return seam().answers.dequeue();
}

QString fileFromSeam(const QString &title, bool confirmOverwrite = false)
{
    seam().asked.append({QString(), title, QString(), 0, confirmOverwrite});
    if (seam().fileNames.isEmpty())
        unexpected(title);
    return seam().fileNames.dequeue();
}

Button show(const QString &text, const QString &title, Buttons buttons, QMessageBox::Icon icon, QWidget *parent,
           const QString &details = {})
{
    if (seam().installed)
        return answerFromSeam(text, title, buttons, details);
    QMessageBox box(icon, title, text, QMessageBox::NoButton, parent ? parent : QApplication::activeWindow());
    box.setDetailedText(details);
    QHash<QAbstractButton *, Button> map;
    for (const ButtonInfo &info : kButtons) {
        if (!(buttons & info.button))
            continue;
        QPushButton *b = box.addButton(QString::fromUtf8(info.caption), info.role);
        b->setObjectName(QString::fromUtf8(info.caption));
        map.insert(b, info.button);
        if (info.button == defaultButton(buttons))
            box.setDefaultButton(b);
        if (info.button == escapeButton(buttons))
            box.setEscapeButton(b);
    }
    box.exec();
    return map.value(box.clickedButton(), escapeButton(buttons));
}

}  // namespace

QString applicationTitle()
{
    return QStringLiteral("Kalpiyon");
}

Button messageDlg(const QString &text, Kind kind, Buttons buttons, QWidget *parent, const QString &details)
{
    const KindInfo info = kindInfo(kind);
    const QString title = info.title ? QString::fromUtf8(info.title) : applicationTitle();
    return show(text, title, buttons, info.icon, parent, details);
}

Button messageBox(const QString &text, const QString &title, Buttons buttons, Icon icon, QWidget *parent)
{
    return show(text, title.isEmpty() ? applicationTitle() : title, buttons, toIcon(icon), parent);
}

QString withFullStop(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void showException(const QString &message, QWidget *parent, const QString &details)
{
    show(withFullStop(message), applicationTitle(), Ok, QMessageBox::Critical, parent, details);
}

void showException(const Error &error, QWidget *parent)
{
    showException(error.message(), parent, error.details());
}

QString getSaveFileName(QWidget *parent, const QString &title, const QString &dir, const QString &filter, Overwrite overwrite)
{
    // Our own dialog, not the platform's: it must never change the current directory.
    QFileDialog::Options options = QFileDialog::DontUseNativeDialog;
    if (overwrite == Overwrite::Replace)
        options |= QFileDialog::DontConfirmOverwrite;
    if (seam().installed)
        return fileFromSeam(title, !options.testFlag(QFileDialog::DontConfirmOverwrite));
    return QFileDialog::getSaveFileName(parent, title, dir, filter, nullptr, options);
}

QString getOpenFileName(QWidget *parent, const QString &title, const QString &dir, const QString &filter)
{
    if (seam().installed)
        return fileFromSeam(title);
    return QFileDialog::getOpenFileName(parent, title, dir, filter, nullptr, QFileDialog::DontUseNativeDialog);
}

QString getExistingDirectory(QWidget *parent, const QString &title, const QString &dir)
{
    if (seam().installed)
        return fileFromSeam(title);
    return QFileDialog::getExistingDirectory(parent, title, dir, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

int execDialog(QDialog &dialog)
{
    if (!seam().installed)
        return dialog.exec();
    seam().asked.append({QString(), dialog.windowTitle(), QString(), 0});
    if (seam().dialogHandlers.isEmpty())
        unexpected(dialog.windowTitle());
    const auto handler = seam().dialogHandlers.dequeue();
    const QPointer<QWidget> before = QApplication::activeWindow();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    dialog.activateWindow();
    QApplication::setActiveWindow(&dialog);
    QCoreApplication::processEvents();
    handler(dialog);
    dialog.hide();
    if (before)  // as when a modal window closes, the window below is active again
        QApplication::setActiveWindow(before);
    return dialog.result();
}

namespace TestSeam {
void queueDialogHandler(std::function<void(QDialog &)> handler) { seam().dialogHandlers.enqueue(std::move(handler)); }
void install()
{
    seam() = Seam();
    seam().installed = true;
}
void uninstall() { seam() = Seam(); }
void queueAnswer(Button b) { seam().answers.enqueue(b); }
void queueFileName(const QString &path) { seam().fileNames.enqueue(path); }
QList<Asked> asked() { return seam().asked; }
void clearAsked() { seam().asked.clear(); }
int pendingAnswers() { return int(seam().answers.size() + seam().fileNames.size() + seam().dialogHandlers.size()); }
}  // namespace TestSeam

}  // namespace ui
