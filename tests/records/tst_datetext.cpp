// Dates typed and shown in the user's short date format (tests run in Turkish: d.MM.yyyy).
#include <QtTest>

#include "DateText.h"

class TestDateText : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void display_data();
    void display();
};

void TestDateText::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("iso");  // empty: refused
    QTest::newRow("short format") << "5.08.2010" << "2010-08-05T00:00:00";
    QTest::newRow("two-digit day and month") << "05.08.2010" << "2010-08-05T00:00:00";
    QTest::newRow("one-digit month") << "5.8.2010" << "2010-08-05T00:00:00";
    QTest::newRow("two-digit year") << "5.8.10" << "2010-08-05T00:00:00";
    QTest::newRow("blanks around") << "  5.08.2010 " << "2010-08-05T00:00:00";
    QTest::newRow("with time") << "5.08.2010 14:30:00" << "2010-08-05T14:30:00";
    QTest::newRow("with short time") << "5.08.2010 14:30" << "2010-08-05T14:30:00";
    QTest::newRow("leap day") << "29.02.2012" << "2012-02-29T00:00:00";
    QTest::newRow("no leap day") << "29.02.2011" << "";
    QTest::newRow("month 13") << "1.13.2010" << "";
    QTest::newRow("words") << "dün" << "";
    QTest::newRow("bad time") << "5.08.2010 25:00" << "";
    QTest::newRow("three-digit year") << "5.08.201" << "";
    QTest::newRow("trailing junk") << "5.08.2010x" << "";
}

void TestDateText::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, iso);
    const auto parsed = records::parseDateTime(text);
    QCOMPARE(parsed.has_value(), !iso.isEmpty());
    if (parsed)
        QCOMPARE(parsed->toString(Qt::ISODate).left(19), iso);
}

void TestDateText::display_data()
{
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("midnight: date only") << QDateTime(QDate(2010, 8, 5), QTime(0, 0), Qt::UTC) << "5.08.2010";
    QTest::newRow("time of day") << QDateTime(QDate(2010, 8, 5), QTime(14, 30), Qt::UTC) << "5.08.2010 14:30:00";
    QTest::newRow("one second past midnight") << QDateTime(QDate(2010, 8, 5), QTime(0, 0, 1), Qt::UTC) << "5.08.2010 00:00:01";
    QTest::newRow("null") << QDateTime() << "";
}

void TestDateText::display()
{
    QFETCH(QDateTime, value);
    QTEST(records::formatDateTime(value), "text");
}

QTEST_GUILESS_MAIN(TestDateText)
#include "tst_datetext.moc"
