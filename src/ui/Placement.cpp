#include "Placement.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QScreen>

namespace ui {

void centreOn(QWidget *window, const QRect &area)
{
    const QSize size = window->size();
    const QPoint topLeft(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
    window->setGeometry(QRect(topLeft, size));
}

void centreOnScreen(QWidget *window)
{
    if (QScreen *screen = QGuiApplication::primaryScreen())
        centreOn(window, screen->geometry());
}

namespace {

// Marks a dialog that this filter placed, so that a later showing is centred anew while a
// dialog that the program placed itself keeps its place.
const char *const kCentred = "ui_centredOnParent";

class DialogCentring : public QObject {
public:
    using QObject::QObject;

protected:
    // Runs before QDialog::showEvent, which would place the dialog by its own estimate of the
    // frame unless the dialog counts as moved; and before the window is mapped.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show || !watched->isWidgetType())
            return false;
        auto *dialog = qobject_cast<QDialog *>(watched);
        if (!dialog || !dialog->isWindow() || !dialog->parentWidget()
            || (dialog->testAttribute(Qt::WA_Moved) && !dialog->property(kCentred).toBool())
            || (dialog->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            return false;
        centreOn(dialog, dialog->parentWidget()->window()->geometry());
        dialog->setProperty(kCentred, true);
        return false;
    }
};

}  // namespace

void centreDialogsOnParents(QApplication &app)
{
    app.installEventFilter(new DialogCentring(&app));
}

}  // namespace ui
