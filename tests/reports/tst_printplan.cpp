// The page range text and the visiting plan of a print job, as tables.
#include <QtTest>

#include "Error.h"
#include "PrintPlan.h"

using namespace reports;
using Steps = std::vector<PrintStep>;
Q_DECLARE_METATYPE(Steps)

class TestPrintPlan : public QObject {
    Q_OBJECT
private slots:
    void range_data();
    void range();
    void plan_data();
    void plan();
};

void TestPrintPlan::range_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("pages");  // sorted; {-1} for all pages
    QTest::addColumn<QString>("error");
    QTest::newRow("empty: all") << "" << QList<int>{-1} << "";
    QTest::newRow("blanks only: all") << "   " << QList<int>{-1} << "";
    QTest::newRow("list and range") << "1,3,5-7" << QList<int>{1, 3, 5, 6, 7} << "";
    QTest::newRow("blanks removed") << " 1 , 2 - 3 " << QList<int>{1, 2, 3} << "";
    QTest::newRow("open range") << "2-" << QList<int>{2, 3} << "";
    QTest::newRow("reverse range: nothing") << "3-1" << QList<int>{} << "";
    QTest::newRow("beyond the last page") << "9" << QList<int>{9} << "";
    QTest::newRow("two commas") << "1,,2" << QList<int>{} << "'' sayısal ifade girmediniz";
    QTest::newRow("a letter") << "1,a" << QList<int>{} << "'a' sayısal ifade girmediniz";
    QTest::newRow("letter in range") << "1-b" << QList<int>{} << "'b' sayısal ifade girmediniz";
}

void TestPrintPlan::range()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, pages);
    QFETCH(QString, error);
    bool all = false;
    try {
        const QSet<int> set = parsePageRange(text, 3, &all);
        QVERIFY(error.isEmpty());
        if (pages == QList<int>{-1}) {
            QVERIFY(all);
            return;
        }
        QList<int> got = set.values();
        std::sort(got.begin(), got.end());
        QCOMPARE(got, pages);
    } catch (const Error &e) {
        QCOMPARE(e.message(), error);
    }
}

void TestPrintPlan::plan_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("range");
    QTest::addColumn<int>("parity");
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<bool>("duplex");
    QTest::addColumn<Steps>("steps");
    QTest::newRow("all pages") << 3 << "" << 0 << false << 1 << true << false << Steps{{1, 1}, {2, 1}, {3, 1}};
    QTest::newRow("2- of 3") << 3 << "2-" << 0 << false << 1 << true << false << Steps{{2, 1}, {3, 1}};
    QTest::newRow("odd, reverse, 5 pages") << 5 << "" << 1 << true << 1 << true << false << Steps{{5, 1}, {3, 1}, {1, 1}};
    QTest::newRow("even") << 5 << "" << 2 << false << 1 << true << false << Steps{{2, 1}, {4, 1}};
    QTest::newRow("2 copies collated") << 2 << "" << 0 << false << 2 << true << false << Steps{{1, 1}, {2, 1}, {1, 1}, {2, 1}};
    QTest::newRow("2 copies uncollated") << 2 << "" << 0 << false << 2 << false << false << Steps{{1, 2}, {2, 2}};
    QTest::newRow("duplex, odd count: empty page") << 3 << "" << 0 << false << 2 << true << true
                                                   << Steps{{1, 1}, {2, 1}, {3, 1}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {0, 1}};
    QTest::newRow("copies below 1 count as 1") << 1 << "" << 0 << false << 0 << true << false << Steps{{1, 1}};
    QTest::newRow("page beyond the last: nothing") << 3 << "9" << 0 << false << 1 << true << false << Steps{};
}

void TestPrintPlan::plan()
{
    PrintRequest r;
    QFETCH(int, pages);
    QFETCH(QString, range);
    QFETCH(int, parity);
    QFETCH(bool, reverse);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(bool, duplex);
    r.pageCount = pages;
    r.range = range;
    r.parity = PageParity(parity);
    r.reverse = reverse;
    r.copies = copies;
    r.collate = collate;
    r.duplex = duplex;
    QFETCH(Steps, steps);
    QVERIFY(planPrint(r) == steps);
}

QTEST_GUILESS_MAIN(TestPrintPlan)
#include "tst_printplan.moc"
