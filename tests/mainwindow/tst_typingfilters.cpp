// The two typing filters as tables of (typed, text before, caret) -> what enters the box.
#include <QtTest>

#include "TypingFilters.h"

using namespace mainwindow;

class TestTypingFilters : public QObject {
    Q_OBJECT
private slots:
    void fieldFilter_data();
    void fieldFilter();
    void phraseFilter_data();
    void phraseFilter();
};

void TestTypingFilters::fieldFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("şeker") << "şeker" << "ŞEKER";
    QTest::newRow("iyi") << "iyi" << "İYİ";
    QTest::newRow("ırmak") << "ırmak" << "IRMAK";
    QTest::newRow("çğöşü") << "çğöşü" << "ÇĞÖŞÜ";
    QTest::newRow("q and w stay") << "qwx" << "qwX";
    QTest::newRow("capitals unchanged") << "ABÇ" << "ABÇ";
    QTest::newRow("digits and comma") << "3,5 cm" << "3,5 CM";
    QTest::newRow("other letters") << "éß" << "éß";
}

void TestTypingFilters::fieldFilter()
{
    QFETCH(QString, typed);
    QString result;
    for (const QChar c : typed)
        result += fieldKeyFilter(QString(c));
    QTEST(result, "expected");
}

void TestTypingFilters::phraseFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("words capitalised") << "ekg bulgusu yok" << "Ekg Bulgusu Yok";
    QTest::newRow("after full stop") << "a.b" << "A.B";
    QTest::newRow("not after comma") << "a,b" << "A,b";
    QTest::newRow("Turkish i") << "iyi ıslak" << "İyi Islak";
    QTest::newRow("q and w capitalised here") << "q w" << "Q W";
}

void TestTypingFilters::phraseFilter()
{
    QFETCH(QString, typed);
    QString text;
    for (const QChar c : typed)
        text += phraseKeyFilter(QString(c), text, int(text.size()));
    QTEST(text, "expected");
}

QTEST_GUILESS_MAIN(TestTypingFilters)
#include "tst_typingfilters.moc"
