// The preview window on its own: toolbar and context menu of both templates, preparing and
// idle states, zoom rules, keys, going to a page, find, full screen, side panels, save and open.
#include <QScrollBar>
#include <QTreeWidget>
#include <QtTest>

#include "Dialogs.h"
#include "Error.h"
#include "Preview.h"
#include "ReportRows.h"
#include "SearchDialog.h"
#include "Shots.h"

using namespace reports;

namespace {
// A preview of the record list whose pages are prepared from the form's timer.
struct Previewed {
    explicit Previewed(int pages, bool navigator = true, const QString &names = QStringLiteral("HASTA %1"))
        : list(pages, names)
    {
        source = list.report.pages;  // pages to hand out again while "preparing"
        form = std::make_unique<TfrxPreviewForm>(list.report, navigator, [this] { prepare(); });
        form->resize(1000, 800);
        form->show();
        QApplication::setActiveWindow(form.get());  // the window's keys need it active
        QTRY_VERIFY(prepared);
    }
    // Hands the pages out one by one as a preparation would, letting input through.
    void prepare()
    {
        list.report.pages.clear();
        for (const PreparedPage &page : source) {
            if (form->stopRequested())
                break;
            list.report.pages.push_back(page);
            form->pageArrived();
            if (duringPreparation)
                duringPreparation();
            QCoreApplication::processEvents();
        }
        prepared = true;
    }
    ListReport list;
    std::vector<PreparedPage> source;
    std::function<void()> duringPreparation;
    std::unique_ptr<TfrxPreviewForm> form;
    bool prepared = false;
};

QStringList visibleTips(QWidget *toolbar)
{
    QStringList tips;
    QList<QWidget *> widgets = toolbar->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    std::sort(widgets.begin(), widgets.end(), [](QWidget *a, QWidget *b) { return a->x() < b->x(); });
    for (QWidget *w : widgets)
        if (w->isVisible())
            tips << (qobject_cast<QFrame *>(w) && !w->inherits("QLabel") ? QStringLiteral("|")
                     : w->toolTip().isEmpty()                             ? w->property("text").toString()
                                                                          : w->toolTip());
    return tips;
}

void key(QWidget *w, int k, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QTest::keyClick(w, Qt::Key(k), m);
}
}  // namespace

class TestPreview : public QObject {
    Q_OBJECT
private slots:
    void init() { ui::TestSeam::install(); }
    void cleanup()
    {
        QCOMPARE(ui::TestSeam::pendingAnswers(), 0);
        ui::TestSeam::uninstall();
    }
    void toolbarAndContextMenu_data();
    void toolbarAndContextMenu();
    void cancelStopsPreparation();
    void zoomRules();
    void pageWidthAndWholePage();
    void keysAndPages();
    void pageBoxErrors();
    void find();
    void findEndsOnRelayout();
    void fullScreen();
    void sidePanels();
    void saveAndOpen();
};

void TestPreview::toolbarAndContextMenu_data()
{
    QTest::addColumn<bool>("navigator");
    QTest::addColumn<QStringList>("tips");
    const QStringList common{"Yazdır", "Aç", "Kaydet", "Bul", "|", "Yakşaş", "Yakınlaştır", "Uzaklaş", "Tam ekran",
                             "Dışhat rapor", "Küçük resimler"};
    QTest::newRow("echocardiography report") << false << (common + QStringList{"Kapat"});
    QTest::newRow("record list") << true
                                 << (common + QStringList{"|", "İlk Sayfa", "Önceki Sayfa", "Sayfa Numarası", "Sonraki Sayfa",
                                                          "Son Sayfa", "Kapat"});
}

void TestPreview::toolbarAndContextMenu()
{
    QFETCH(bool, navigator);
    QFETCH(QStringList, tips);
    Previewed p(2, navigator);
    TfrxPreviewForm &f = *p.form;
    QCOMPARE(f.windowTitle(), QStringLiteral("Önizleme"));
    QCOMPARE(visibleTips(f.toolbar), tips);
    saveShot(&f, navigator ? QStringLiteral("preview-list") : QStringLiteral("preview-report"));
    QCOMPARE(f.CancelB->width(), 68);
    QStringList menu;
    for (QAction *a : f.contextMenu()->actions())
        menu << (a->isSeparator() ? QStringLiteral("|") : a->text());
    QCOMPARE(menu, (QStringList{"Yazdır", "Aç", "Kaydet", "Bul", "|", "Yakşaş", "Uzaklaş", "Tam ekran"}));
    QStringList zoomItems;
    for (int i = 0; i < f.ZoomCB->count(); ++i)
        zoomItems << f.ZoomCB->itemText(i);
    QCOMPARE(zoomItems, (QStringList{"25%", "50%", "75%", "100%", "150%", "200%", "Sayfa genişliği", "Tüm sayfa"}));
    QCOMPARE(f.ZoomCB->currentText(), QStringLiteral("100%"));
    QVERIFY(!f.sidePanel->isVisible() && !f.OutlineB->isChecked() && !f.ThumbB->isChecked());
    // Nothing to export, mail, set up or edit, anywhere.
    for (QWidget *w : f.findChildren<QWidget *>())
        for (const char *gone : {"Veri Ver", "PDF", "E-Posta", "Kenar Boşlukları", "Sayfa Düzenle"})
            QVERIFY(!w->toolTip().contains(QLatin1String(gone)));
    // Idle with pages: the document commands are offered, the second panel is empty.
    QCOMPARE(f.CancelB->text(), QStringLiteral("Kapat"));
    QVERIFY(f.PrintB->isEnabled() && f.OpenB->isEnabled() && f.SaveB->isEnabled() && f.FindB->isEnabled());
    QVERIFY(f.status2->text().isEmpty());
    QCOMPARE(f.status->width(), 200);
    QCOMPARE(f.status2->width(), 50);
    // The page keys work for both templates, also without navigation buttons.
    QTest::keyClick(f.pages(), Qt::Key_End);
    QCOMPARE(f.status->text(), QStringLiteral("Sayfa 2 / 2"));
    QTest::keyClick(f.pages(), Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(f.pages()->currentPage(), 0);
    // Menu entries are enabled exactly as their buttons.
    emit f.contextMenu()->aboutToShow();
    for (QAction *a : f.contextMenu()->actions())
        QVERIFY(a->isSeparator() || a->isEnabled());
}

void TestPreview::cancelStopsPreparation()
{
    int pagesWhenStopped = 0;
    ListReport big(6);
    std::vector<PreparedPage> source = big.report.pages;
    bool done = false;
    QStringList captions;
    TfrxPreviewForm *form = nullptr;
    TfrxPreviewForm f(big.report, true, [&] {
        big.report.pages.clear();
        for (const PreparedPage &page : source) {
            if (form->stopRequested())
                break;
            big.report.pages.push_back(page);
            form->pageArrived();
            captions << form->CancelB->text();
            QVERIFY(!form->PrintB->isEnabled() && !form->OpenB->isEnabled() && !form->SaveB->isEnabled() &&
                    !form->FindB->isEnabled());
            QVERIFY(!form->close());  // closing is refused while preparing
            emit form->contextMenu()->aboutToShow();
            QVERIFY(!form->contextMenu()->actions().first()->isEnabled());
            if (big.report.pages.size() == 2)
                form->CancelB->click();  // "Vazgeç"
        }
        pagesWhenStopped = int(big.report.pages.size());
        done = true;
    });
    form = &f;
    f.show();
    QTRY_VERIFY(done);
    QCOMPARE(captions, (QStringList{"Vazgeç", "Vazgeç"}));
    QCOMPARE(pagesWhenStopped, 2);
    QVERIFY(f.isVisible());  // stopping does not close the window
    QCOMPARE(f.CancelB->text(), QStringLiteral("Kapat"));
    QCOMPARE(f.status->text(), QStringLiteral("Sayfa 1 / 2"));
    QVERIFY(f.PrintB->isEnabled());
    f.CancelB->click();
    QVERIFY(!f.isVisible());
}

void TestPreview::zoomRules()
{
    Previewed p(2);
    TfrxPreviewForm &f = *p.form;
    PageArea *a = f.pages();
    f.ZoomPlusB->click();
    QCOMPARE(a->zoom(), 1.25);
    QCOMPARE(f.ZoomCB->currentText(), QStringLiteral("125%"));
    struct Typed {
        const char *text;
        double zoom;
    };
    for (const Typed &t : {Typed{"150 %", 1.5}, Typed{"12,5", 0.25}, Typed{"62.5%", 0.625}, Typed{"1000", 10.0}}) {
        f.ZoomCB->setEditText(QString::fromUtf8(t.text));
        emit f.ZoomCB->lineEdit()->returnPressed();
        QCOMPARE(a->zoom(), t.zoom);
    }
    QCOMPARE(f.ZoomCB->currentText(), QStringLiteral("1000%"));  // no upper limit
    f.ZoomCB->setEditText(QStringLiteral("çok"));
    try {
        emit f.ZoomCB->lineEdit()->returnPressed();
        QFAIL("a word was taken as a zoom");
    } catch (const Error &e) {
        QCOMPARE(e.message(), QStringLiteral("'çok' is not a valid floating point value"));
    }
    QCOMPARE(a->zoom(), 10.0);  // the zoom stays
    f.ZoomCB->setEditText(QStringLiteral("50%"));
    emit f.ZoomCB->lineEdit()->returnPressed();
    f.ZoomMinusB->click();
    f.ZoomMinusB->click();
    QCOMPARE(a->zoom(), 0.25);  // zooming out from 25 % keeps 25 %
    QWheelEvent up(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                   Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(a->viewport(), &up);
    QVERIFY(qAbs(a->zoom() - 0.35) < 1e-9);
    QWheelEvent down(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -240), Qt::NoButton, Qt::ControlModifier,
                     Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(a->viewport(), &down);
    QCOMPARE(a->zoom(), 0.3);  // Ctrl + wheel stops at 30 %
    QCOMPARE(f.ZoomCB->currentText(), QStringLiteral("30%"));
    // A wheel step without Ctrl scrolls 20 pixels.
    f.ZoomCB->setEditText(QStringLiteral("100%"));
    emit f.ZoomCB->lineEdit()->returnPressed();
    const int y = a->verticalScrollBar()->value();
    QWheelEvent step(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(a->viewport(), &step);
    QCOMPARE(a->verticalScrollBar()->value(), y + 20);
}

void TestPreview::pageWidthAndWholePage()
{
    Previewed p(3);
    TfrxPreviewForm &f = *p.form;
    PageArea *a = f.pages();
    const QSizeF sheet = sheetSize(*p.list.report.tmpl);
    f.ZoomCB->setCurrentIndex(6);
    emit f.ZoomCB->activated(6);
    const int bar = a->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QVERIFY(qAbs(a->zoom() - (a->width() - bar - 26) / sheet.width()) < 1e-9);
    QCOMPARE(f.ZoomCB->currentText(), QStringLiteral("%1%").arg(qRound(a->zoom() * 100)));
    // Worked out again when the window changes size.
    f.resize(700, 800);
    QTRY_VERIFY(qAbs(a->zoom() - (a->width() - bar - 26) / sheet.width()) < 1e-9);
    f.ZoomCB->setCurrentIndex(7);
    emit f.ZoomCB->activated(7);
    QVERIFY(qAbs(a->zoom() - (a->height() - 26) / sheet.height()) < 1e-9);
    key(a, Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(a->pageRect(1).top() - a->verticalScrollBar()->value(), 10);  // top edge 10 pixels below the top
    // Rows of pages: at a small zoom several pages share a row, with 10-pixel gaps.
    f.ZoomCB->setEditText(QStringLiteral("25%"));
    emit f.ZoomCB->lineEdit()->returnPressed();
    QCOMPARE(a->pageRect(1).top(), a->pageRect(0).top());
    QCOMPARE(a->pageRect(1).left() - a->pageRect(0).right() - 1, 10);
    QCOMPARE(a->pageRect(0).top(), 10);
}

void TestPreview::keysAndPages()
{
    Previewed p(4);
    TfrxPreviewForm &f = *p.form;
    PageArea *a = f.pages();
    a->setFocus();
    QScrollBar *v = a->verticalScrollBar(), *h = a->horizontalScrollBar();
    struct Scroll {
        int key, dx, dy;
    };
    f.ZoomCB->setEditText(QStringLiteral("200%"));  // wide enough to scroll sideways
    emit f.ZoomCB->lineEdit()->returnPressed();
    a->setFocus();
    for (const Scroll &s : {Scroll{Qt::Key_Down, 0, 8}, Scroll{Qt::Key_Up, 0, -8}, Scroll{Qt::Key_PageDown, 0, 300},
                            Scroll{Qt::Key_PageUp, 0, -300}, Scroll{Qt::Key_Right, 8, 0}, Scroll{Qt::Key_Left, -8, 0}}) {
        v->setValue(1000);
        h->setValue(100);
        key(a, s.key);
        QCOMPARE(QPoint(h->value(), v->value()), QPoint(100 + s.dx, 1000 + s.dy));
    }
    struct Move {
        int key;
        Qt::KeyboardModifiers mods;
        int page;  // 1-based, after the key
    };
    key(a, Qt::Key_Home);
    for (const Move &m : {Move{Qt::Key_End, Qt::NoModifier, 4}, Move{Qt::Key_PageUp, Qt::ControlModifier, 3},
                          Move{Qt::Key_Home, Qt::NoModifier, 1}, Move{Qt::Key_PageDown, Qt::ControlModifier, 2}}) {
        key(a, m.key, m.mods);
        QCOMPARE(a->currentPage() + 1, m.page);
        QCOMPARE(f.status->text(), QStringLiteral("Sayfa %1 / 4").arg(m.page));
        QCOMPARE(f.PageE->text(), QString::number(m.page));
    }
    // Navigation buttons and the page box.
    f.LastB->click();
    QCOMPARE(a->currentPage(), 3);
    f.PriorB->click();
    f.FirstB->click();
    f.NextB->click();
    QCOMPARE(a->currentPage(), 1);
    for (const auto &[typed, page] : {std::pair{"99", 4}, std::pair{"0", 1}, std::pair{"3", 3}}) {
        f.PageE->setText(QString::fromUtf8(typed));
        emit f.PageE->returnPressed();
        QCOMPARE(a->currentPage() + 1, page);
    }
    // A click on a page makes it current.
    f.ZoomCB->setEditText(QStringLiteral("25%"));
    emit f.ZoomCB->lineEdit()->returnPressed();
    QTest::mouseClick(a->viewport(), Qt::LeftButton, {}, a->pageRect(1).center() - QPoint(h->value(), v->value()));
    QCOMPARE(a->currentPage(), 1);
    // Escape is "Kapat".
    key(a, Qt::Key_Escape);
    QVERIFY(!f.isVisible());
}

void TestPreview::pageBoxErrors()
{
    Previewed p(2);
    TfrxPreviewForm &f = *p.form;
    f.LastB->click();
    QTest::keyClicks(f.PageE, "x");  // digits only
    QCOMPARE(f.PageE->text(), QStringLiteral("2"));
    f.PageE->clear();
    try {
        emit f.PageE->returnPressed();
        QFAIL("an empty page box was taken");
    } catch (const Error &e) {
        QCOMPARE(e.message(), QStringLiteral("'' sayısal ifade girmediniz"));
    }
    QCOMPARE(f.pages()->currentPage(), 1);  // the page stays
}

void TestPreview::find()
{
    Previewed p(3, true, QStringLiteral("İBRAHİM %1"));
    TfrxPreviewForm &f = *p.form;
    auto search = [&](const QString &text, bool fromTop, bool caseSensitive) {
        ui::TestSeam::queueDialogHandler([=](QDialog &d) {
            auto &s = static_cast<TfrxSearchDialog &>(d);
            QCOMPARE(s.windowTitle(), QStringLiteral("Bul"));
            saveShot(&s, QStringLiteral("find-dialog"));
            QVERIFY(!s.TopCB->isChecked() && !s.CaseCB->isChecked());  // unchecked on every opening
            QCOMPARE(s.TopCB->text(), QStringLiteral("Baştan ara"));
            QCOMPARE(s.CaseCB->text(), QStringLiteral("Büyük/küçük harf duyarlı"));
            s.TextE->setText(text);
            s.TopCB->setChecked(fromTop);
            s.CaseCB->setChecked(caseSensitive);
            s.OkB->click();
        });
        key(f.pages(), Qt::Key_F, Qt::ControlModifier);
    };
    // Turkish upper-casing: "ibrahim 50" finds "İBRAHİM 50" (second page).
    search(QStringLiteral("ibrahim 50"), false, false);
    QCOMPARE(f.lastHit().page, 1);
    QCOMPARE(pageTexts(p.list.report, 1)[size_t(f.lastHit().piece)].text, QStringLiteral("İBRAHİM 50"));
    saveShot(&f, QStringLiteral("preview-found"));
    QVERIFY(f.pages()->pageRect(1).isValid());
    // F3 goes on: later pieces of the page, then later pages; no further match shows nothing.
    search(QStringLiteral("İBRAHİM 5"), true, true);
    const FindHit first = f.lastHit();
    QCOMPARE(first.page, 0);
    QStringList found;
    for (int i = 0; i < 20; ++i) {
        found << pageTexts(p.list.report, f.lastHit().page)[size_t(f.lastHit().piece)].text;
        key(f.pages(), Qt::Key_F3);
    }
    QCOMPARE(found.mid(0, 3), (QStringList{"İBRAHİM 5", "İBRAHİM 50", "İBRAHİM 51"}));
    QCOMPARE(found.mid(10, 2), (QStringList{"İBRAHİM 59", "İBRAHİM 59"}));  // stays on the last match
    QCOMPARE(f.lastHit().page, 1);
    // The search text is kept for the next opening; starting at the current page.
    ui::TestSeam::queueDialogHandler([](QDialog &d) {
        auto &s = static_cast<TfrxSearchDialog &>(d);
        QCOMPARE(s.TextE->text(), QStringLiteral("İBRAHİM 5"));
        QCOMPARE(s.TextE->selectedText(), QStringLiteral("İBRAHİM 5"));
        s.TextE->setText(QStringLiteral("ibrahim 1"));
        s.CaseCB->setChecked(true);  // case-sensitive: no match
        s.OkB->click();
    });
    f.FindB->click();
    QVERIFY(!f.lastHit().found());
    QVERIFY(ui::TestSeam::asked().size() >= 3);
}

void TestPreview::findEndsOnRelayout()
{
    Previewed p(2);
    TfrxPreviewForm &f = *p.form;
    ui::TestSeam::queueDialogHandler([](QDialog &d) {
        static_cast<TfrxSearchDialog &>(d).TextE->setText(QStringLiteral("HASTA"));
        static_cast<TfrxSearchDialog &>(d).OkB->click();
    });
    f.FindB->click();
    QVERIFY(f.lastHit().found());
    // The match is drawn inverted.
    const QImage before = f.pages()->viewport()->grab().toImage();
    f.ZoomPlusB->click();
    f.ZoomMinusB->click();
    QVERIFY(!f.lastHit().found());
    QVERIFY(f.pages()->viewport()->grab().toImage() != before);
    key(f.pages(), Qt::Key_F3);  // nothing until Find is used again
    QVERIFY(!f.lastHit().found());
}

void TestPreview::fullScreen()
{
    Previewed p(1, false);
    TfrxPreviewForm &f = *p.form;
    f.hide();
    const Qt::WindowFlags flags = f.windowFlags();
    const Qt::WindowStates opened = f.windowState();
    // The preview runs modal, as from the report commands. Each step runs from the modal loop
    // of the one before, so a step that ended the loop leaves the later steps unrun.
    struct Seen {
        bool full = false, back = false, button = false, doubleClick = false;
    } seen;
    auto inFullScreen = [&] {
        return f.fullScreen() && f.isVisible() && (f.windowState() & Qt::WindowFullScreen) && !f.toolbar->isVisible()
            && !f.statusBar->isVisible() && f.windowFlags() == flags;
    };
    auto restored = [&] {
        return !f.fullScreen() && f.isVisible() && f.windowState() == opened && f.toolbar->isVisible()
            && f.statusBar->isVisible() && f.windowFlags() == flags;
    };
    auto step = [&f](auto &&action) { QTimer::singleShot(20, &f, action); };
    step([&] {
        QApplication::setActiveWindow(&f);
        key(f.pages(), Qt::Key_F11);
        step([&] {
            seen.full = inFullScreen();
            key(f.pages(), Qt::Key_F11);
            step([&] {
                seen.back = restored();
                f.FullScreenBtn->click();
                step([&] {
                    seen.button = inFullScreen();
                    QTest::mouseDClick(f.pages()->viewport(), Qt::LeftButton);  // also leaves full screen
                    step([&] {
                        seen.doubleClick = restored();
                        f.done(QDialog::Accepted);
                    });
                });
            });
        });
    });
    QCOMPARE(f.exec(), int(QDialog::Accepted));
    QVERIFY(seen.full);
    QVERIFY(seen.back);
    QVERIFY(seen.button);
    QVERIFY(seen.doubleClick);
}

void TestPreview::sidePanels()
{
    Previewed p(3);
    TfrxPreviewForm &f = *p.form;
    f.OutlineB->click();
    QVERIFY(f.sidePanel->isVisible() && f.OutlineTree->isVisible());
    QCOMPARE(f.sidePanel->width(), 120);
    QCOMPARE(f.OutlineTree->topLevelItemCount(), 0);  // neither template has outline entries
    QStringList actions;
    for (QAction *a : f.OutlineTree->actions())
        actions << a->text();
    QCOMPARE(actions, (QStringList{"Tümünü kapat", "Tümünü aç"}));
    f.ThumbB->click();  // one panel at a time
    QVERIFY(f.thumbnails()->isVisible() && !f.OutlineTree->isVisible());
    QVERIFY(!f.OutlineB->isChecked() && f.ThumbB->isChecked());
    QVERIFY(qAbs(f.thumbnails()->zoom() - 0.1) < 1e-9);
    saveShot(&f, QStringLiteral("preview-thumbnails"));
    PageArea *t = f.thumbnails();
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->pageRect(2).center() - t->scrollPosition());
    QCOMPARE(f.pages()->currentPage(), 2);
    QCOMPARE(f.status->text(), QStringLiteral("Sayfa 3 / 3"));
    f.ThumbB->click();
    QVERIFY(!f.sidePanel->isVisible());
}

void TestPreview::saveAndOpen()
{
    Previewed p(3);
    TfrxPreviewForm &f = *p.form;
    const QTemporaryDir dir;
    ui::TestSeam::queueFileName(dir.filePath(QStringLiteral("liste.txt")));
    key(f.pages(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("liste.fp3"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("liste.txt"))));
    // A smaller report is shown; opening the file brings the three pages back, page 1 current.
    Previewed other(1);
    other.form->LastB->click();
    ui::TestSeam::queueFileName(dir.filePath(QStringLiteral("liste.fp3")));
    key(other.form->pages(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(other.list.report.pageCount(), 3);
    QCOMPARE(other.form->status->text(), QStringLiteral("Sayfa 1 / 3"));
    QCOMPARE(pageTexts(other.list.report, 2).back().text, pageTexts(p.list.report, 2).back().text);
    // A file that does not exist loads nothing.
    ui::TestSeam::queueFileName(dir.filePath(QStringLiteral("yok.fp3")));
    other.form->OpenB->click();
    QCOMPARE(other.list.report.pageCount(), 3);
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
