#include "Dialogs.h"

#include <QApplication>
#include <QPointer>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QVariant>
#include <stdexcept>

#include "Error.h"
#include "TestSeam.h"

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

// --- the test seam: the points of the program's one seam that stand for dialogs -----------
const char *const kBoxPoint = "dialog:box";        // a message box: text, title, details, buttons
const char *const kFilePoint = "dialog:file";      // a file dialog: title, asks before replacing
const char *const kWindowPoint = "dialog:window";  // a modal window: title, the window

QString fileFromSeam(const QString &title, bool confirmOverwrite = false)
{
    QVariant answer;
    seam::intercept(kFilePoint, &answer, title, title, confirmOverwrite);
    return answer.toString();
}

Button show(const QString &text, const QString &title, Buttons buttons, QMessageBox::Icon icon, QWidget *parent,
           const QString &details = {})
{
    if (QVariant answer; seam::intercept(kBoxPoint, &answer, title + QStringLiteral(": ") + text, text, title, details, buttons))
        return Button(answer.toInt());
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
    if (seam::installed())
        return fileFromSeam(title, !options.testFlag(QFileDialog::DontConfirmOverwrite));
    return QFileDialog::getSaveFileName(parent, title, dir, filter, nullptr, options);
}

QString getOpenFileName(QWidget *parent, const QString &title, const QString &dir, const QString &filter)
{
    if (seam::installed())
        return fileFromSeam(title);
    return QFileDialog::getOpenFileName(parent, title, dir, filter, nullptr, QFileDialog::DontUseNativeDialog);
}

QString getExistingDirectory(QWidget *parent, const QString &title, const QString &dir)
{
    if (seam::installed())
        return fileFromSeam(title);
    return QFileDialog::getExistingDirectory(parent, title, dir, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

int execDialog(QDialog &dialog)
{
    QVariant result;
    if (seam::intercept(kWindowPoint, &result, dialog.windowTitle(), dialog.windowTitle(), static_cast<QObject *>(&dialog)))
        return result.toInt();
    return dialog.exec();
}

namespace TestSeam {
void queueDialogHandler(std::function<void(QDialog &)> handler)
{
    seam::queue(QString::fromLatin1(kWindowPoint), [handler = std::move(handler)](const QVariantList &args) {
        QDialog &dialog = *qobject_cast<QDialog *>(args.value(1).value<QObject *>());
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
        return QVariant(dialog.result());
    });
}
void install() { seam::install(); }
void uninstall() { seam::uninstall(); }
void queueAnswer(Button b) { seam::queueAnswer(QString::fromLatin1(kBoxPoint), int(b)); }
void queueFileName(const QString &path) { seam::queueAnswer(QString::fromLatin1(kFilePoint), path); }

QList<Asked> asked()
{
    QList<Asked> list;
    for (const seam::Call &c : seam::calls()) {
        const QVariantList &a = c.args;
        if (c.point == QLatin1String(kBoxPoint))
            list.append({a[0].toString(), a[1].toString(), a[2].toString(), a[3].toInt()});
        else if (c.point == QLatin1String(kFilePoint))
            list.append({QString(), a[0].toString(), QString(), 0, a[1].toBool()});
        else if (c.point == QLatin1String(kWindowPoint))
            list.append({QString(), a[0].toString(), QString(), 0});
    }
    return list;
}

void clearAsked() { seam::clearCalls(QStringLiteral("dialog:")); }

int pendingAnswers()
{
    int n = 0;
    for (const char *point : {kBoxPoint, kFilePoint, kWindowPoint})
        n += seam::pending(QString::fromLatin1(point));
    return n;
}
}  // namespace TestSeam

}  // namespace ui
