#include "Hakkinda.h"

#include <QDesktopServices>
#include <QEvent>
#include <QMouseEvent>
#include <QUrl>

#include "Fonts.h"

TForm4 *Form4 = nullptr;
const QColor TForm4::linkColor = Qt::blue;
const QColor TForm4::hoverColor = Qt::red;

namespace {
void setColor(QLabel *label, const QColor &color)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, color);
    label->setPalette(p);
}

// Links are drawn in 13-pixel type (a size a .ui file cannot state) and the link colour.
void styleLink(QLabel *l)
{
    l->setFont(ui::windowFontOfPixels(13));
    l->adjustSize();
    setColor(l, TForm4::linkColor);
}
}  // namespace

TForm4::TForm4(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setupUi(this);
    // The title is drawn twice, grey under black, in 21-pixel Arial Black.
    QFont title(QStringLiteral("Arial Black"));
    title.setBold(true);
    title.setPixelSize(21);
    for (QLabel *l : {Label1, Label2}) {
        l->setFont(title);
        l->adjustSize();
    }
    Label2->setAttribute(Qt::WA_TranslucentBackground);
    styleLink(Label3);
    styleLink(Label4);

    for (QObject *o : {static_cast<QObject *>(Label3), static_cast<QObject *>(Label4),
                       static_cast<QObject *>(Panel2), static_cast<QObject *>(Label6)})
        o->installEventFilter(this);
}

void TForm4::openAddress(const QLabel *link)
{
    // Whether a browser opens is not examined: nothing is reported when none does.
    QDesktopServices::openUrl(QUrl(QStringLiteral("http://") + link->text()));
}

bool TForm4::eventFilter(QObject *watched, QEvent *event)
{
    auto *link = (watched == Label3 || watched == Label4) ? static_cast<QLabel *>(watched) : nullptr;
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::Enter:
        if (link)
            setColor(link, hoverColor);
        break;
    case QEvent::Leave:
        if (link)
            setColor(link, linkColor);
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
            break;
        if (link)
            openAddress(link);
        else
            accept();  // a click on the notice area closes the window
        return true;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
