// The engine with data of its own kind, linked without the records: field types, value texts
// and the DATE/TIME texts are whatever the data says, never the record schema's.
#include <QtTest>

#include "Engine.h"

using namespace reports;

namespace {

// One row with one field; its type and every text are chosen by the test.
class OwnData : public ReportData {
public:
    OwnData(QString field, QVariant value, FieldKind kind) : field_(std::move(field)), value_(std::move(value)), kind_(kind) {}
    bool bound() const override { return true; }
    void first() override { done_ = false; }
    void next() override { done_ = true; }
    bool eof() const override { return done_; }
    bool hasField(const QString &field) const override { return field == field_; }
    QVariant value(const QString &) const override { return value_; }
    FieldKind fieldKind(const QString &) const override { return kind_; }
    QString displayText(const QVariant &value) const override
    {
        return QStringLiteral("<%1>").arg(value.isNull() ? QStringLiteral("boş") : value.toString());
    }
    QString dateText(const QDate &date) const override { return QStringLiteral("gün ") + date.toString(Qt::ISODate); }
    QString timeText(const QTime &time) const override { return QStringLiteral("saat ") + time.toString(Qt::ISODate); }

private:
    QString field_;
    QVariant value_;
    FieldKind kind_;
    bool done_ = false;
};

// A title band with one memo showing `memo`, or the field `dataField` when that is given.
ReportTemplate oneMemo(const QString &memo, const QString &dataField)
{
    ReportObject o;
    o.name = QStringLiteral("Memo1");
    o.width = 300;
    o.height = 20;
    setMemoText(o, memo);
    if (!dataField.isEmpty()) {
        o.dataSet = QStringLiteral("frxDBDataset1");
        o.dataField = dataField;
    }
    Band band;
    band.kind = BandKind::ReportTitle;
    band.height = 20;
    band.objects.push_back(o);
    ReportTemplate t;
    t.bands.push_back(band);
    t.layOut();
    return t;
}

}  // namespace

class TestEngineData : public QObject {
    Q_OBJECT
private slots:
    void textsComeFromTheData_data();
    void textsComeFromTheData();
};

void TestEngineData::textsComeFromTheData_data()
{
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QString>("dataField");
    QTest::addColumn<QString>("field");  // the data's only field
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("date");      // the data calls the field a date
    QTest::addColumn<QString>("text");
    const QString ref = QStringLiteral("[frxDBDataset1.\"%1\"]");
    const QString pulse = QStringLiteral("Nabız"), tarih = QStringLiteral("Tarih");
    const QDateTime afternoon(QDate(2010, 8, 16), QTime(14, 30));
    QTest::newRow("a value through an expression") << ref.arg(pulse) << "" << pulse << QVariant(QStringLiteral("72")) << false << "<72>";
    QTest::newRow("a value in a field memo") << "" << pulse << pulse << QVariant(QStringLiteral("72")) << false << "<72>";
    QTest::newRow("a null in a field memo") << "" << pulse << pulse << QVariant() << true << "<boş>";
    QTest::newRow("a null date through an expression is 0") << ref.arg(pulse) << "" << pulse << QVariant() << true << "0";
    // The record's date field, null, which this data does not call a date.
    QTest::newRow("the data, not the schema, tells a date") << ref.arg(tarih) << "" << tarih << QVariant() << false << "<boş>";
    QTest::newRow("a date value as the data writes it")
        << ref.arg(tarih) << "" << tarih << QVariant(afternoon) << true << "<" + QVariant(afternoon).toString() + ">";
    QTest::newRow("DATE") << "[DATE]" << "" << pulse << QVariant() << false << "gün 2024-05-06";
    QTest::newRow("TIME") << "[TIME]" << "" << pulse << QVariant() << false << "saat 10:15:00";
}

void TestEngineData::textsComeFromTheData()
{
    QFETCH(QString, memo);
    QFETCH(QString, dataField);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(bool, date);
    ReportTemplate t = oneMemo(memo, dataField);
    OwnData data(field, value, date ? FieldKind::DateTime : FieldKind::Other);
    PreparedReport r;
    BuildOptions options;
    options.now = QDateTime(QDate(2024, 5, 6), QTime(10, 15));
    QStringList errors;
    QVERIFY2(BuildPages(t, &data, r, &errors, options), qPrintable(errors.join(u'\n')));
    QCOMPARE(r.pageCount(), 1);
    QCOMPARE(r.pages[0].bands.size(), size_t(1));
    QTEST(r.pages[0].bands[0].texts.value(0), "text");
}

QTEST_MAIN(TestEngineData)
#include "tst_enginedata.moc"
