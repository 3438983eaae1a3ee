// The real main window driven as a user would: typing, completion, record commands, search,
// status bar, print-button states, closing, row colours and a start without a database.
#include <QAbstractButton>
#include <QtTest>

#include "AppFixture.h"
#include "Ayar.h"
#include "DateText.h"
#include "Unit2.h"

using fixture::Program;
using fixture::type;

namespace {
const int kName = records::fieldIndex(QStringLiteral("Adi_Soyadi"));
const int kYas = records::fieldIndex(QStringLiteral("Yas"));

QString stored(const Program &p, const QString &sql)
{
    QProcess q;
    q.start(QStringLiteral("sqlite3"), {p.file(QStringLiteral("Data.mdb")), sql});
    q.waitForFinished();
    return QString::fromUtf8(q.readAllStandardOutput()).trimmed();
}

void click(QAbstractButton *b)
{
    QTest::mouseClick(b, Qt::LeftButton);
}

QString panel(int i)
{
    return Form1->statusPanels[i]->text();
}
}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void typingIntoEditors();
    void completionFromPhraseList();
    void newRecord_data();
    void newRecord();
    void movingStoresChangesWithoutAQuestion();
    void deleteNewAndStoredRecords();
    void todayThenCancel();
    void search();
    void printButtonsFollowEditing();
    void closing_data();
    void closing();
    void closingWhenAyarlarCannotBeWritten();
    void hintsReachTheStatusBar();
    void tabsLookRight();
    void rowColours();
    void startWithoutDatabase();
    void badDateKeepsRecordAndFocus();
};

void TestMainWindow::typingIntoEditors()
{
    Program p({QStringLiteral("ARI")});
    p.show();
    auto *ad = Form1->dbEdit(QStringLiteral("EditAd"));
    ad->setFocus();
    ad->selectAll();
    type(ad, QStringLiteral("şeker iyi ırmak qw"));
    QCOMPARE(ad->text(), QStringLiteral("ŞEKER İYİ IRMAK qw"));
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Edit);
    auto *line = Form1->editor(QStringLiteral("CB5"));
    line->setFocus();  // the name is written into the field when its box loses the focus
    QCOMPARE(Form1->Query1->displayText(kName), QStringLiteral("ŞEKER İYİ IRMAK qw"));
    click(Form1->RzBitBtn6);
    QCOMPARE(stored(p, QStringLiteral("SELECT Adi_Soyadi FROM veriler")), QStringLiteral("ŞEKER İYİ IRMAK qw"));
    QCOMPARE(ad->maxLength(), 50);  // an edit box takes no more than its field holds

    // A result line capitalises words; a letter after a comma stays.
    auto *result = Form1->dbCombo(QStringLiteral("RzDBComboBox11"));
    result->setFocus();
    type(result, QStringLiteral("ekg bulgusu yok,x.y"));
    QCOMPARE(result->currentText(), QStringLiteral("Ekg Bulgusu Yok,x.Y"));
}

void TestMainWindow::completionFromPhraseList()
{
    Program p({QStringLiteral("ARI")});
    p.show();
    auto *box = Form1->dbCombo(QStringLiteral("CBox1"));
    box->setFocus();
    box->lineEdit()->clear();
    type(box, QStringLiteral("N"));
    QCOMPARE(box->currentText(), QStringLiteral("Network Chiari Cisimciği"));
    QCOMPARE(box->lineEdit()->selectedText(), QStringLiteral("etwork Chiari Cisimciği"));
    QCOMPARE(box->lineEdit()->cursorPosition(), 1);
    type(box, QStringLiteral("o"));
    QCOMPARE(box->currentText(), QStringLiteral("Normal Kalpiyonk Bulgular saptanmıştır"));
    type(box, QStringLiteral("rmal s"));
    QCOMPARE(box->currentText(), QStringLiteral("Normal sol ventrikül sistolik fonksiyonu"));
    QCOMPARE(box->lineEdit()->cursorPosition(), 8);

    // Valve boxes complete too, after upper-casing.
    auto *valve = Form1->dbCombo(QStringLiteral("RzDBComboBox30"));
    valve->setFocus();
    type(valve, QStringLiteral("orta-i"));
    QCOMPARE(valve->currentText(), QStringLiteral("ORTA-İLERİ"));
}

void TestMainWindow::newRecord_data()
{
    QTest::addColumn<bool>("autoFill");
    QTest::newRow("with default findings") << true;
    QTest::newRow("without") << false;
}

void TestMainWindow::newRecord()
{
    QFETCH(bool, autoFill);
    Program p({QStringLiteral("ARI"), QStringLiteral("BAL")});
    p.show();
    AyarFrm->ChkAlan->setChecked(autoFill);
    click(Form1->BtnYeni);
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Insert);
    QCOMPARE(QApplication::focusWidget(), Form1->editor(QStringLiteral("EditAd")));
    QCOMPARE(panel(0), QStringLiteral("  Toplam Kayıt: 2 / -1"));
    const QString today = records::formatDateTime(records::today());
    QCOMPARE(Form1->dbEdit(QStringLiteral("EditEF"))->text(), autoFill ? QStringLiteral("65") : QString());
    QCOMPARE(Form1->dbEdit(QStringLiteral("EditTarih"))->text(), autoFill ? today : QString());
    QCOMPARE(Form1->dbCombo(QStringLiteral("CB3"))->currentIndex(), autoFill ? 6 : 0);  // shown as selected (the empty first entry when empty)
    QCOMPARE(Form1->dbCombo(QStringLiteral("CBox2"))->currentText(),
             autoFill ? QStringLiteral("Sol Ventrikül Diastolik Disfonksiyonu") : QString());

    click(Form1->BtnYeni);  // the first new record is stored only when it holds something
    QCOMPARE(Form1->Query1->recordCount(), autoFill ? 3 : 2);
    QCOMPARE(stored(p, QStringLiteral("SELECT count(*) FROM veriler")), autoFill ? QStringLiteral("3") : QStringLiteral("2"));
    if (autoFill) {
        QCOMPARE(stored(p, QStringLiteral("SELECT EF || '|' || Sonuc1 || '|' || Yorum7 || '|' || Tarih FROM veriler WHERE Adi_Soyadi IS NULL")),
                 QStringLiteral("65|Normal sol ventrikül sistolik fonksiyonu|Kitle, trombüs, vejetasyon izlenmemiştir.|") +
                     QDate::currentDate().toString(Qt::ISODate));
    }
}

void TestMainWindow::movingStoresChangesWithoutAQuestion()
{
    Program p({QStringLiteral("ARI"), QStringLiteral("BAL"), QStringLiteral("CAN")});
    p.show();
    auto *yas = Form1->dbEdit(QStringLiteral("EditYas"));
    yas->setFocus();
    type(yas, QStringLiteral("42"));
    const QRect second = Form1->StripedDBGrid1->visualRect(Form1->StripedDBGrid1->model()->index(1, 0));
    QTest::mouseClick(Form1->StripedDBGrid1->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(Form1->Query1->recNo(), 2);
    QCOMPARE(stored(p, QStringLiteral("SELECT Yas FROM veriler WHERE Adi_Soyadi='ARI'")), QStringLiteral("42"));
    QVERIFY(ui::TestSeam::asked().isEmpty());
    QCOMPARE(panel(0), QStringLiteral("  Toplam Kayıt: 3 / 2"));
    QCOMPARE(panel(1), QStringLiteral("BAL"));
    QCOMPARE(panel(2), QStringLiteral("2"));
    QCOMPARE(yas->text(), QString());

    // The navigator and the wheel move (and settle) too.
    QTest::mouseClick(Form1->findChild<QAbstractButton *>(QStringLiteral("RzDBNavigator1Last")), Qt::LeftButton);
    QCOMPARE(Form1->Query1->recNo(), 3);
    QWheelEvent up(QPointF(10, 10), QPointF(), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Form1->StripedDBGrid1->viewport(), &up);
    QCOMPARE(Form1->Query1->recNo(), 2);
}

void TestMainWindow::deleteNewAndStoredRecords()
{
    Program p({QStringLiteral("O'NEIL"), QStringLiteral("ZEKİ")});
    p.show();
    click(Form1->BtnYeni);
    ui::TestSeam::queueAnswer(ui::Yes);
    click(Form1->BtnSil);
    QCOMPARE(fixture::askedTexts().last(), QStringLiteral("'' adlı hastaya ait kayıtlar silinsin mi?"));
    QCOMPARE(Form1->Query1->recordCount(), 2);  // only the new record went
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Browse);

    Form1->Query1->first();
    ui::TestSeam::queueAnswer(ui::No);
    click(Form1->BtnSil);
    QCOMPARE(fixture::askedTexts().last(), QStringLiteral("'O''NEIL' adlı hastaya ait kayıtlar silinsin mi?"));
    QCOMPARE(ui::TestSeam::asked().last().title, QStringLiteral("Dikkat !"));
    QCOMPARE(Form1->Query1->recordCount(), 2);
    ui::TestSeam::queueAnswer(ui::Yes);
    click(Form1->BtnSil);
    QCOMPARE(stored(p, QStringLiteral("SELECT group_concat(Adi_Soyadi) FROM veriler")), QStringLiteral("ZEKİ"));

    // Ctrl+Delete in the list asks its own question.
    ui::TestSeam::queueAnswer(ui::Ok);
    QTest::keyClick(Form1->StripedDBGrid1, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(ui::TestSeam::asked().last().text, QStringLiteral("Delete record?"));
    QCOMPARE(ui::TestSeam::asked().last().title, QStringLiteral("Onay"));
    QCOMPARE(Form1->Query1->recordCount(), 0);
    QCOMPARE(panel(0), QStringLiteral("  Toplam Kayıt: 0 / -1"));
    QCOMPARE(panel(1), QString());

    // On an empty list "Evet" meets the dataset's error.
    ui::TestSeam::queueAnswer(ui::Yes);
    ui::TestSeam::queueAnswer(ui::Ok);
    click(Form1->BtnSil);
    QCOMPARE(fixture::askedTexts().last(), QStringLiteral("Query1: Cannot perform this operation on an empty dataset."));
}

void TestMainWindow::todayThenCancel()
{
    Program p({QStringLiteral("ARI")});
    p.show();
    Form1->Query1->edit();
    Form1->Query1->setText(records::fieldIndex(QStringLiteral("Tarih")), QStringLiteral("1.02.2003"));
    Form1->Query1->post();
    click(Form1->SpeedButton1);
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Edit);
    QCOMPARE(Form1->dbEdit(QStringLiteral("EditTarih"))->text(), records::formatDateTime(records::today()));
    click(Form1->BtnIptal);
    QCOMPARE(Form1->dbEdit(QStringLiteral("EditTarih"))->text(), QStringLiteral("1.02.2003"));
    QCOMPARE(stored(p, QStringLiteral("SELECT Tarih FROM veriler")), QStringLiteral("2003-02-01"));
}

void TestMainWindow::search()
{
    Program p({QStringLiteral("AYŞE"), QStringLiteral("ALİ"), QStringLiteral("AHMET"), QStringLiteral("O'NEIL"),
               QStringLiteral("ZEKİ")});
    p.show();
    Form1->Query1->last();
    Form1->Edit8->setFocus();
    const struct {
        const char *typed;
        const char *current;
    } steps[] = {{"a", "AHMET"}, {"l", "ALİ"}, {"x", "ALİ"}};
    for (const auto &s : steps) {
        type(Form1->Edit8, QString::fromUtf8(s.typed));
        QCOMPARE(Form1->Query1->displayText(kName), QString::fromUtf8(s.current));
    }
    QCOMPARE(Form1->Edit8->text(), QStringLiteral("ALX"));
    QCOMPARE(panel(1), QStringLiteral("ALİ"));
    click(Form1->SpeedButton2);  // clearing does not move
    QCOMPARE(Form1->Edit8->text(), QString());
    QCOMPARE(Form1->Query1->displayText(kName), QStringLiteral("ALİ"));
    type(Form1->Edit8, QStringLiteral("o'"));
    QCOMPARE(Form1->Query1->displayText(kName), QStringLiteral("O'NEIL"));

    // A search settles a pending edit first, hit or not.
    Form1->Edit8->clear();
    auto *yas = Form1->dbEdit(QStringLiteral("EditYas"));
    yas->setFocus();
    type(yas, QStringLiteral("7"));
    Form1->Edit8->setFocus();
    type(Form1->Edit8, QStringLiteral("q"));
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Browse);
    QCOMPARE(stored(p, QStringLiteral("SELECT Yas FROM veriler WHERE Adi_Soyadi='O''NEIL'")), QStringLiteral("7"));
}

void TestMainWindow::printButtonsFollowEditing()
{
    Program p({QStringLiteral("ARI")});
    p.show();
    QVERIFY(Form1->BtnYazdir1->isEnabled() && Form1->BtnYazdir2->isEnabled());
    QVERIFY(!Form1->RzBitBtn6->isEnabled() && !Form1->BtnIptal->isEnabled());
    auto *yas = Form1->dbEdit(QStringLiteral("EditYas"));
    yas->setFocus();
    type(yas, QStringLiteral("5"));
    QVERIFY(!Form1->BtnYazdir1->isEnabled() && !Form1->BtnYazdir2->isEnabled());
    QVERIFY(Form1->RzBitBtn6->isEnabled() && Form1->BtnIptal->isEnabled());
    click(Form1->RzBitBtn6);
    QVERIFY(Form1->BtnYazdir1->isEnabled() && Form1->BtnYazdir2->isEnabled());
    QVERIFY(!Form1->RzBitBtn6->isEnabled());
}

void TestMainWindow::closing_data()
{
    QTest::addColumn<bool>("pending");
    QTest::addColumn<int>("saveAnswer");
    QTest::addColumn<int>("exitAnswer");
    QTest::addColumn<QString>("storedAge");
    QTest::addColumn<bool>("closed");
    QTest::newRow("nothing pending, stay") << false << 0 << int(ui::No) << "" << false;
    QTest::newRow("nothing pending, leave") << false << 0 << int(ui::Yes) << "" << true;
    QTest::newRow("pending, No and No") << true << int(ui::No) << int(ui::No) << "" << false;
    QTest::newRow("pending, Yes and Yes") << true << int(ui::Yes) << int(ui::Yes) << "33" << true;
}

void TestMainWindow::closing()
{
    QFETCH(bool, pending);
    QFETCH(int, saveAnswer);
    QFETCH(int, exitAnswer);
    Program p({QStringLiteral("ARI")});
    p.show();
    if (pending) {
        auto *yas = Form1->dbEdit(QStringLiteral("EditYas"));
        yas->setFocus();
        type(yas, QStringLiteral("33"));
        ui::TestSeam::queueAnswer(ui::Button(saveAnswer));
    }
    ui::TestSeam::queueAnswer(ui::Button(exitAnswer));
    Form1->close();
    QStringList expected;
    if (pending)
        expected << QStringLiteral("Değişiklikleri kaydetmek istiyor musunuz?");
    expected << QStringLiteral("Programdan çıkmak istiyor musunuz?");
    QCOMPARE(fixture::askedTexts(), expected);
    QCOMPARE(ui::TestSeam::asked().last().title, QStringLiteral(" Kalpiyon"));
    QTEST(stored(p, QStringLiteral("SELECT ifnull(Yas,'') FROM veriler")), "storedAge");
    QTEST(!Form1->isVisible(), "closed");
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Browse);
    // Ayarlar is written whatever the answer.
    QVERIFY(QFile::exists(p.file(QStringLiteral("Ayarlar"))));
}

void TestMainWindow::tabsLookRight()
{
    Program p({QStringLiteral("ŞEKER AYŞE"), QStringLiteral("İNCE MEHMET"), QStringLiteral("ÇAĞLAR GÜL")});
    p.show();
    Form1->Query1->edit();
    Form1->Query1->setText(records::fieldIndex(QStringLiteral("mitral_mka")), QStringLiteral("4,2"));
    Form1->Query1->post();
    for (int tab = 0; tab < Form1->findingsPages->count(); ++tab) {
        Form1->findingsPages->setCurrentIndex(tab);
        const QImage shot = Form1->grab().toImage();
        QVERIFY(!shot.isNull());
        if (!qEnvironmentVariableIsEmpty("KALPIYON_SHOTS"))
            shot.save(qEnvironmentVariable("KALPIYON_SHOTS") + QStringLiteral("/main-tab%1.png").arg(tab));
        // Every editor of the tab in front is visible and inside the window.
        for (QWidget *w : Form1->findingsPages->currentWidget()->findChildren<QWidget *>())
            if (qobject_cast<ui::DBEdit *>(w) || qobject_cast<ui::DBComboBox *>(w))
                QVERIFY2(w->isVisible() && Form1->rect().contains(w->mapTo(Form1, QPoint(0, 0))), qPrintable(w->objectName()));
    }
}

void TestMainWindow::closingWhenAyarlarCannotBeWritten()
{
    Program p({QStringLiteral("ARI")});
    p.show();
    QFile blocker(p.file(QStringLiteral("dosya")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    seam::setFolder(seam::Folder::Settings, p.file(QStringLiteral("dosya")));  // a folder that cannot exist
    ui::TestSeam::queueAnswer(ui::Yes);
    ui::TestSeam::queueAnswer(ui::Ok);
    Form1->close();
    QCOMPARE(fixture::askedTexts().last(),
             QStringLiteral("Unable to write to %1.").arg(p.file(QStringLiteral("dosya/Ayarlar"))));
    QVERIFY(!Form1->isVisible());  // the confirmed exit still ends the program
}

void TestMainWindow::hintsReachTheStatusBar()
{
    Program p({QStringLiteral("ARI")});
    p.show();
    QCOMPARE(panel(3), QLatin1Char(' ') + TForm1::webAddress());
    const struct {
        QWidget *widget;
        const char *shown;
    } cases[] = {
        {Form1->BtnYeni, " Yeni kayıt ekle..."},
        {Form1->SpeedButton1, " Bugünün tarihini gir..."},  // the long part after "|"
        {Form1->editor(QStringLiteral("EditYas")), " "},    // no hint: just a blank
        {Form1->StripedDBGrid1->viewport(), " Kayıtlar..."},  // the nearest parent's hint
    };
    for (const auto &c : cases) {
        QCursor::setPos(c.widget->mapToGlobal(c.widget->rect().center()));
        if (QApplication::widgetAt(QCursor::pos()) != c.widget)
            QSKIP("this platform cannot place the mouse pointer");
        QEvent enter(QEvent::Enter);  // what the window system's pointer motion brings
        QApplication::sendEvent(c.widget, &enter);
        QCoreApplication::processEvents();
        QCOMPARE(panel(3), QString::fromUtf8(c.shown));
    }
}

void TestMainWindow::rowColours()
{
    Program p({QStringLiteral("ARI"), QStringLiteral("BAL"), QStringLiteral("CAN")});
    p.show();
    auto *grid = Form1->StripedDBGrid1;
    const QImage image = grid->viewport()->grab().toImage();
    auto colourOfRow = [&](int row) {
        const QRect r = grid->visualRect(grid->model()->index(row, 0));
        return QColor(image.pixel(r.right() - 3, r.center().y()));
    };
    QCOMPARE(colourOfRow(0), QColor(Qt::black));          // current record
    QCOMPARE(colourOfRow(1), QColor(Qt::white));          // even row
    QCOMPARE(colourOfRow(2), QColor(244, 242, 242));      // odd row
    Form1->Query1->last();
    const QImage after = grid->viewport()->grab().toImage();
    const QRect first = grid->visualRect(grid->model()->index(0, 0));
    QCOMPARE(QColor(after.pixel(first.right() - 3, first.center().y())), QColor(244, 242, 242));
    // The current row's text is lime.
    bool lime = false;
    const QRect last = grid->visualRect(grid->model()->index(2, 0));
    for (int x = last.left(); x < last.right() && !lime; ++x)
        lime = QColor(after.pixel(x, last.center().y())).green() > 200 && QColor(after.pixel(x, last.center().y())).red() < 80;
    QVERIFY(lime);
}

void TestMainWindow::startWithoutDatabase()
{
    Program p({}, false);
    QCOMPARE(Form1->openErrors.size(), 2);  // the connection, then the dataset once more
    QVERIFY(Form1->openErrors.first().message().contains(QStringLiteral("Could not find file")));
    p.show();
    QVERIFY(!Form1->Query1->active());
    QCOMPARE(Form1->StripedDBGrid1->model()->rowCount(), 0);
    QCOMPARE(Form1->dbEdit(QStringLiteral("EditAd"))->text(), QString());
    QCOMPARE(panel(0), QString());
    ui::TestSeam::queueAnswer(ui::Ok);
    click(Form1->BtnYeni);
    QCOMPARE(fixture::askedTexts().last(), QStringLiteral("Query1: Cannot perform this operation on a closed dataset."));
    QCOMPARE(ui::TestSeam::asked().last().title, QStringLiteral("Kalpiyon"));
    // Closing asks only the exit question.
    ui::TestSeam::queueAnswer(ui::Yes);
    Form1->close();
    QCOMPARE(fixture::askedTexts().last(), QStringLiteral("Programdan çıkmak istiyor musunuz?"));
}

void TestMainWindow::badDateKeepsRecordAndFocus()
{
    Program p({QStringLiteral("ARI"), QStringLiteral("BAL")});
    p.show();
    auto *date = Form1->dbEdit(QStringLiteral("EditTarih"));
    date->setFocus();
    type(date, QStringLiteral("31.02.2010"));
    ui::TestSeam::queueAnswer(ui::Ok);
    QTest::keyClick(Form1->StripedDBGrid1, Qt::Key_Down);  // a move settles: the date is refused
    QCOMPARE(fixture::askedTexts().last(), QStringLiteral("'31.02.2010' geçersiz tarih ve zaman girdiniz."));
    QCOMPARE(Form1->Query1->recNo(), 1);
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Edit);
    QCOMPARE(date->text(), QStringLiteral("31.02.2010"));
    QCOMPARE(QApplication::focusWidget(), date);
    QCOMPARE(date->selectedText(), QStringLiteral("31.02.2010"));
    QCOMPARE(ui::TestSeam::pendingAnswers(), 0);
    // Corrected, the record saves.
    date->selectAll();
    type(date, QStringLiteral("28.02.2010"));
    click(Form1->RzBitBtn6);
    QCOMPARE(stored(p, QStringLiteral("SELECT Tarih FROM veriler WHERE Adi_Soyadi='ARI'")), QStringLiteral("2010-02-28"));
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Browse);
}

KALPIYON_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
