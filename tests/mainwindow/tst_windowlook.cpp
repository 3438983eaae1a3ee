// What a user sees of the main window, the About window and the password dialog: where the
// status bar and the left column lie, how high the tabs are, whether every caption shows
// whole in its control, and which pictures the today button and the key show.
#include <QAbstractButton>
#include <QPushButton>
#include <QSizeGrip>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QStyleOptionToolButton>
#include <QTabBar>
#include <QToolButton>
#include <QtTest>

#include "AppFixture.h"
#include "GETPASU.h"
#include "Hakkinda.h"
#include "Icons.h"

using fixture::Program;

namespace {

// Where a label draws its text, in its parent's coordinates.
QRect textRectOfLabel(const QLabel *l)
{
    const int textWidth = l->sizeHint().width() - 2 * l->margin();
    const QRect c = l->contentsRect();
    int left = c.left();
    if (l->alignment() & Qt::AlignRight)
        left = c.right() + 1 - textWidth;
    else if (l->alignment() & Qt::AlignHCenter)
        left = c.left() + (c.width() - textWidth) / 2;
    return QRect(l->mapToParent(QPoint(left, c.top())), QSize(textWidth, c.height()));
}

// The space the parent leaves for its children to draw in.
QRect drawingArea(const QWidget *parent)
{
    if (auto *frame = qobject_cast<const QFrame *>(parent))
        return frame->contentsRect();
    return parent->rect();
}

// A caption that does not show whole, as a message; empty when it fits.
QString clippedCaption(QWidget *w)
{
    const QString name = w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName();
    const QFontMetrics fm(w->font());
    if (auto *b = qobject_cast<QPushButton *>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        opt.icon = b->icon();
        opt.iconSize = b->iconSize();
        if (b->autoDefault())
            opt.features |= QStyleOptionButton::AutoDefaultButton;
        const QRect space = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
        const int iconWidth = b->icon().isNull() ? 0 : b->iconSize().width() + 4;  // the style's icon spacing
        const int needed = fm.horizontalAdvance(b->text()) + iconWidth;
        if (needed > space.width())
            return QStringLiteral("%1 \"%2\": needs %3, has %4").arg(name, b->text()).arg(needed).arg(space.width());
    } else if (auto *t = qobject_cast<QToolButton *>(w)) {
        if (t->toolButtonStyle() == Qt::ToolButtonIconOnly || t->text().isEmpty())
            return {};
        const int frame = t->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, t);
        const QRect space = t->rect().adjusted(frame, frame, -frame, -frame);
        const int neededWidth = fm.horizontalAdvance(t->text());
        const int neededHeight = t->iconSize().height() + 4 + fm.height();
        if (neededWidth > space.width() || neededHeight > space.height())
            return QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
                .arg(name, t->text())
                .arg(neededWidth).arg(neededHeight).arg(space.width()).arg(space.height());
    } else if (auto *l = qobject_cast<QLabel *>(w)) {
        if (l->text().isEmpty() || l->wordWrap())
            return {};
        if (l->sizeHint().width() > l->width())
            return QStringLiteral("%1 \"%2\": needs %3, has %4").arg(name, l->text()).arg(l->sizeHint().width()).arg(l->width());
        const QRect text = textRectOfLabel(l);
        const QRect area = drawingArea(l->parentWidget());
        if (text.left() < area.left() || text.right() > area.right())
            return QStringLiteral("%1 \"%2\": drawn from %3 to %4, its panel from %5 to %6")
                .arg(name, l->text())
                .arg(text.left()).arg(text.right()).arg(area.left()).arg(area.right());
    }
    return {};
}

// The pixels of an icon at one size, for comparing pictures.
QImage pictureOf(const QIcon &icon, int size)
{
    return icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

class TestWindowLook : public QObject {
    Q_OBJECT
private slots:
    void mainWindowFrame();
    void tabHeights();
    void captionsShowWhole_data();
    void captionsShowWhole();
    void pictures_data();
    void pictures();
};

void TestWindowLook::mainWindowFrame()
{
    Program p({QStringLiteral("ARI")});
    p.show();
    // The status bar lies inside the 5-pixel border, with a 5-pixel gap above it.
    auto *bar = Form1->findChild<QStatusBar *>(QStringLiteral("StatusBar1"));
    QVERIFY(bar);
    const QRect barRect(bar->mapTo(Form1, QPoint(0, 0)), bar->size());
    const int menuHeight = Form1->centralWidget()->mapTo(Form1, QPoint(0, 0)).y();
    QCOMPARE(barRect, QRect(5, 680 - 5 - 19, 950, 19));
    // The left column fills the height above the gap and the bar.
    QWidget *column = Form1->StripedDBGrid1->parentWidget();
    const QRect columnRect(column->mapTo(Form1, QPoint(0, 0)), column->size());
    QCOMPARE(columnRect, QRect(5, menuHeight + 5, 193, barRect.top() - 5 - (menuHeight + 5)));
    // The menu bar draws in the platform's menu font, not the narrower window font, so it keeps
    // the platform's 18 pixels and the column its 628.
    QCOMPARE(menuHeight, 18);
    QCOMPARE(columnRect.height(), 628);
    // The four status panels keep their widths, left to right; the last one reaches the size grip.
    const int widths[] = {140, 150, 100};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(Form1->statusPanels[i]->width(), widths[i]);
        QVERIFY(Form1->statusPanels[i]->geometry().right() < Form1->statusPanels[i + 1]->x());
    }
    QVERIFY(Form1->statusPanels[0]->x() <= 2);
    auto *grip = bar->findChild<QSizeGrip *>();
    QVERIFY(grip && grip->isVisible());
    QVERIFY(grip->x() - Form1->statusPanels[3]->geometry().right() <= 8);
    // Growing the window lengthens the list and keeps the bar inside the border.
    Form1->resize(1100, 760);
    QTRY_COMPARE(bar->mapTo(Form1, QPoint(0, 0)), QPoint(5, 760 - 5 - 19));
    QCOMPARE(bar->width(), 1100 - 10);
    QCOMPARE(column->height(), 760 - 5 - 19 - 5 - (menuHeight + 5));
}

void TestWindowLook::tabHeights()
{
    Program p({QStringLiteral("ARI")});
    p.show();
    int tabs = 0;
    for (QTabWidget *pages : {Form1->personalPages, Form1->findingsPages}) {
        QTabBar *bar = pages->tabBar();
        for (int i = 0; i < bar->count(); ++i, ++tabs) {
            QCOMPARE(bar->tabRect(i).height(), 19);
            // The caption shows whole in its tab.
            QVERIFY2(bar->fontMetrics().horizontalAdvance(bar->tabText(i)) < bar->tabRect(i).width(), qPrintable(bar->tabText(i)));
        }
        QCOMPARE(bar->height(), 19);
        // The page starts under the tabs.
        QCOMPARE(pages->currentWidget()->mapTo(pages, QPoint(0, 0)).y() >= 19, true);
    }
    QCOMPARE(tabs, 4);
}

void TestWindowLook::captionsShowWhole_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("main window") << QStringLiteral("Form1");
    QTest::newRow("About window") << QStringLiteral("Form4");
    QTest::newRow("password dialog") << QStringLiteral("GetPassWdFrm");
}

void TestWindowLook::captionsShowWhole()
{
    QFETCH(QString, window);
    Program p({QStringLiteral("ARI")});
    p.show();
    TGetPassWdFrm password(Form1);
    QWidget *w = window == QLatin1String("Form1") ? static_cast<QWidget *>(Form1)
                 : window == QLatin1String("Form4") ? static_cast<QWidget *>(Form4)
                                                    : static_cast<QWidget *>(&password);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QStringList clipped;
    int captions = 0;
    auto check = [&] {
        for (QWidget *c : w->findChildren<QWidget *>()) {
            if (!c->isVisibleTo(w) || !(qobject_cast<QAbstractButton *>(c) || qobject_cast<QLabel *>(c)))
                continue;
            ++captions;
            const QString fault = clippedCaption(c);
            if (!fault.isEmpty() && !clipped.contains(fault))
                clipped << fault;
        }
    };
    check();
    // Every page of the findings: each tab's captions.
    if (w == Form1)
        for (int tab = 1; tab < Form1->findingsPages->count(); ++tab) {
            Form1->findingsPages->setCurrentIndex(tab);
            check();
        }
    QVERIFY(captions > 3);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
    w->hide();
}

void TestWindowLook::pictures_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("picture");   // the bundled file (offscreen there is no icon theme)
    QTest::addColumn<int>("misleading");    // the style's picture it must not be
    QTest::newRow("today button") << QStringLiteral("SpeedButton1") << QStringLiteral("today") << int(QStyle::SP_FileDialogInfoView);
    QTest::newRow("key of the password dialog") << QStringLiteral("keyPicture") << QStringLiteral("key") << int(QStyle::SP_MessageBoxQuestion);
}

void TestWindowLook::pictures()
{
    QFETCH(QString, control);
    QFETCH(QString, picture);
    QFETCH(int, misleading);
    Program p({QStringLiteral("ARI")});
    TGetPassWdFrm password(Form1);
    QImage shown;
    if (auto *button = Form1->findChild<QToolButton *>(control))
        shown = pictureOf(button->icon(), button->iconSize().width());
    else if (auto *label = password.findChild<QLabel *>(control))
        shown = label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!shown.isNull(), qPrintable(control));
    const int size = shown.width();
    QCOMPARE(size, control == QLatin1String("keyPicture") ? 32 : 16);
    const QString file = QStringLiteral(":/icons/%1/%2.png").arg(size).arg(picture);
    QVERIFY2(QFile::exists(file), qPrintable(file));
    QCOMPARE(shown, QPixmap(file).toImage().convertToFormat(QImage::Format_ARGB32));  // through a pixmap, as shown
    QVERIFY(shown != pictureOf(QApplication::style()->standardIcon(QStyle::StandardPixmap(misleading)), size));
}

KALPIYON_TEST_MAIN(TestWindowLook)
#include "tst_windowlook.moc"
