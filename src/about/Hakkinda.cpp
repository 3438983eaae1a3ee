#include "Hakkinda.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFrame>
#include <QMouseEvent>
#include <QUrl>
#include <QVBoxLayout>

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

QLabel *linkLabel(const QString &host, const QPoint &pos, QWidget *parent)
{
    auto *l = new QLabel(host, parent);
    l->setFont(ui::windowFontOfPixels(13));
    l->setCursor(Qt::PointingHandCursor);
    l->move(pos);
    l->adjustSize();
    l->setMouseTracking(true);
    setColor(l, TForm4::linkColor);
    return l;
}
}  // namespace

TForm4::TForm4(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Hakkında"));
    resize(329, 187);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(5);  // Panel3: the gap between the two panels

    auto *panel1 = new QFrame(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel1->setFixedHeight(65);
    QFont title(QStringLiteral("Arial Black"));
    title.setBold(true);
    title.setPixelSize(21);
    Label1 = new QLabel(QStringLiteral("Kalpiyon 1.0"), panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(title);
    Label1->move(43, 5);
    Label1->adjustSize();
    setColor(Label1, Qt::gray);
    Label2 = new QLabel(QStringLiteral("Kalpiyon 1.0"), panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(title);
    Label2->setAttribute(Qt::WA_TranslucentBackground);
    Label2->move(41, 3);
    Label2->adjustSize();
    Label3 = linkLabel(QStringLiteral("www.kalpiyon.com.tr"), {26, 41}, panel1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label4 = linkLabel(QStringLiteral("destek.kalpiyon.com.tr"), {192, 41}, panel1);
    Label4->setObjectName(QStringLiteral("Label4"));
    layout->addWidget(panel1);

    auto *panel2 = new QFrame(this);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *inner = new QVBoxLayout(panel2);
    Label6 = new QLabel(QStringLiteral(
        "Bu program ekokardiyografi muayenelerinin kaydı ve raporlanması içindir; raporların "
        "doğruluğundan onları imzalayan hekim sorumludur. Görüş ve önerilerinizi yukarıdaki "
        "adreslerden bize iletebilirsiniz."), panel2);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setWordWrap(true);
    Label6->setAlignment(Qt::AlignCenter);
    Label6->setToolTip(QStringLiteral("Kapat"));
    inner->addWidget(Label6);
    layout->addWidget(panel2, 1);

    for (QObject *o : {static_cast<QObject *>(Label3), static_cast<QObject *>(Label4),
                       static_cast<QObject *>(panel2), static_cast<QObject *>(Label6)})
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
