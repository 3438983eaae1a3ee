// The SR reader on the three independent samples and on files written here with dcmtk, one
// for each rule: units, repeats, sites, flow direction, private codes, missing values,
// character sets, refusals.
#include <QtTest>

#include "DeepReport.h"
#include "EchoFields.h"
#include "Error.h"
#include "Nesting.h"
#include "Schema.h"
#include "SrReader.h"
#include "SrWriter.h"

using namespace srtest;

namespace {

using Pairs = QList<QPair<QString, QString>>;

// Field/value pairs of a report, in its order.
Pairs valuesOf(const dicom::SrReport &r)
{
    Pairs p;
    for (const dicom::FieldValue &v : r.values)
        p.append({v.field, v.value});
    return p;
}

QString refusalOf(const QString &path)
{
    try {
        dicom::readSrFile(path);
    } catch (const Error &e) {
        return e.message();
    }
    return QString();
}

QString reasonsOf(const dicom::SrReport &r)
{
    QStringList s;
    for (const dicom::SkippedItem &k : r.skipped)
        s << k.item + QStringLiteral(" → ") + k.reason;
    return s.join(u'\n');
}

Item lvidd(const char *value, const char *unit, std::vector<Item> children = {})
{
    return num(kLvidd, value, unit, std::move(children));
}

}  // namespace

Q_DECLARE_METATYPE(srtest::Item)

class TestSrReader : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    void samples_data();
    void samples();
    void rules_data();
    void rules();
    void skippedItemsAreListed_data();
    void skippedItemsAreListed();
    void names_data();
    void names();
    void turkishNameInAFile();
    void ages_data();
    void ages();
    void refusals_data();
    void refusals();
    void tableFieldsAreMeasurementFields();
    void nesting_data();
    void nesting();
    void damagedFileIsTurkish_data();
    void damagedFileIsTurkish();
};

void TestSrReader::samples_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("TID 5200 Comprehensive") << "tid5200-comprehensive";
    QTest::newRow("TID 5300 Simplified") << "tid5300-simplified";
    QTest::newRow("Basic Text") << "basic-text-sr";
}

// Each sample gives exactly the rows of its .expected.tsv: the fields, in table order, with
// their stored text and the exact converted value; or a refusal.
void TestSrReader::samples()
{
    QFETCH(QString, name);
    QFile tsv(QStringLiteral(KALPIYON_TEST_FIXTURES "/%1.expected.tsv").arg(name));
    QVERIFY(tsv.open(QIODevice::ReadOnly));
    QList<QStringList> rows;
    for (const QByteArray &line : tsv.readAll().split('\n'))
        if (!line.isEmpty())
            rows << QString::fromUtf8(line).split(u'\t');
    QCOMPARE(rows.first().first(), QStringLiteral("field"));
    const QString file = QStringLiteral(KALPIYON_TEST_FIXTURES "/%1.dcm").arg(name);
    if (rows.at(1).at(1) == QLatin1String("refused")) {
        const QString message = refusalOf(file);
        QVERIFY2(message.contains(QStringLiteral("ekokardiyografi raporu değil")), qPrintable(message));
        QVERIFY(message.contains(QStringLiteral("Basic Text SR")));
        QVERIFY(message.contains(QStringLiteral("18748-4")));
        return;
    }
    QCOMPARE(rows.at(1).at(1), QStringLiteral("accepted"));
    const dicom::SrReport report = dicom::readSrFile(file);
    QStringList expected, actual;
    for (const QStringList &row : rows.mid(2))
        expected << row.at(0) + u'=' + row.at(1) + u'|' + row.value(2);
    for (const dicom::FieldValue &v : report.values)
        actual << v.field + u'=' + v.value + u'|' + v.exact;
    QCOMPARE(actual, expected);
}

void TestSrReader::rules_data()
{
    QTest::addColumn<Item>("root");
    QTest::addColumn<Pairs>("expected");  // measurement fields only; header fields aside

    const Code lvSite = {"SCT", "87878005", "Left ventricle"};
    QTest::newRow("mm to cm, half away from zero") << echo({section(lvSite, {lvidd("48.5", "mm")})}) << Pairs{{"kalp_lvd", "4,9"}};
    QTest::newRow("cm stays") << echo({section(lvSite, {lvidd("4.85", "cm")})}) << Pairs{{"kalp_lvd", "4,9"}};
    QTest::newRow("m to cm") << echo({section(lvSite, {lvidd("0.0485", "m")})}) << Pairs{{"kalp_lvd", "4,9"}};
    QTest::newRow("exponent and blanks") << echo({section(lvSite, {lvidd(" 5.12E-2", "m")})}) << Pairs{{"kalp_lvd", "5,1"}};
    QTest::newRow("trailing zero kept") << echo({section(lvSite, {lvidd("10", "mm")})}) << Pairs{{"kalp_lvd", "1,0"}};
    QTest::newRow("cm/s to m/s") << echo({num(kMvE, "82", "cm/s")}) << Pairs{{"E", "0,8"}};
    QTest::newRow("m/s stays") << echo({num(kMvE, "0.85", "m/s")}) << Pairs{{"E", "0,9"}};
    QTest::newRow("mm/s to m/s") << echo({num(kMvE, "950", "mm/s")}) << Pairs{{"E", "1,0"}};
    QTest::newRow("mm2 to cm2")
        << echo({section(kMitral, {num({"SCT", "399367004", "Cardiovascular Orifice Area"}, "415", "mm2")})})
        << Pairs{{"mitral_mka", "4,2"}};
    QTest::newRow("mmHg half up") << echo({section(kMitral, {num(kMeanGradient, "2.5", "mm[Hg]")})}) << Pairs{{"mitral_mkg_mean", "3"}};

    // Repeats: Selection Status, then a Mean derivation, then the mean before rounding.
    QTest::newRow("repeats: mean before rounding")
        << echo({section(lvSite, {lvidd("48.4", "mm"), lvidd("48.5", "mm"), lvidd("48.6", "mm"), lvidd("48.3", "mm")})})
        << Pairs{{"kalp_lvd", "4,8"}};  // 4.845 -> 4,8 (each rounded first would give 4,85)
    QTest::newRow("repeats: mean of three")
        << echo({section(lvSite, {lvidd("40", "mm"), lvidd("42", "mm"), lvidd("45", "mm")})}) << Pairs{{"kalp_lvd", "4,2"}};
    QTest::newRow("repeats: Selection Status wins, wherever it stands")
        << echo({section(lvSite, {lvidd("40", "mm"), lvidd("51", "mm", {srtest::property(kSelection, kUserChosen)}),
                                  lvidd("45", "mm", {modifier(kDerivation, kMean)})})})
        << Pairs{{"kalp_lvd", "5,1"}};
    QTest::newRow("repeats: Mean derivation, legacy code")
        << echo({section(lvSite, {lvidd("40", "mm"), lvidd("44", "mm", {modifier(kDerivation, {"SRT", "R-00317", "Mean"})}),
                                  lvidd("49", "mm")})})
        << Pairs{{"kalp_lvd", "4,4"}};
    QTest::newRow("different codes: first code of the row")
        << echo({num({"LN", "18049-7", "LVEF Teichholz MM"}, "70", "%"), num({"LN", "79991-6", "LVEF biplane"}, "58.4", "%")})
        << Pairs{{"EF", "58"}};

    // Sites: the section gives the valve, the item's own Finding Site overrides it.
    QTest::newRow("section gives the valve")
        << echo({section(kTricuspid, {num(kPeakGradient, "3.4", "mm[Hg]")})}) << Pairs{{"trik_mkg_peak", "3"}};
    QTest::newRow("finding-site override")
        << echo({section(kMitral, {num(kPeakGradient, "7.6", "mm[Hg]", {modifier(kSite, kTricuspid)}),
                                   num(kMeanGradient, "2.4", "mm[Hg]")})})
        << Pairs{{"mitral_mkg_mean", "2"}, {"trik_mkg_peak", "8"}};
    QTest::newRow("LVOT gradient is not the aortic gradient")
        << echo({section(kAortic, {num(kPeakGradient, "9", "mm[Hg]", {modifier(kSite, kLvot)}),
                                   num(kPeakGradient, "36.2", "mm[Hg]")})})
        << Pairs{{"aort_akg_peak", "36"}};
    QTest::newRow("generic gradient without a site fills nothing")
        << echo({num(kPeakGradient, "36.2", "mm[Hg]")}) << Pairs{};
    QTest::newRow("regurgitant flow is not the valve gradient")
        << echo({section(kTricuspid, {num(kPeakGradient, "26", "mm[Hg]", {modifier(kDirection, kRegurgitant)}),
                                      num(kPeakGradient, "3.1", "mm[Hg]", {modifier(kDirection, kAntegrade)})})})
        << Pairs{{"trik_mkg_peak", "3"}};
    QTest::newRow("legacy SNOMED-RT site and direction")
        << echo({container(kFindings, {modifier({"SRT", "G-C0E3", "Finding Site"}, {"SRT", "T-35300", "Mitral Valve"}),
                                       container(kGroup, {num(kPeakGradient, "7.4", "mm[Hg]",
                                                              {modifier({"SRT", "G-C048", "Direction of Flow"},
                                                                        {"SRT", "R-42047", "Antegrade Flow"})})})})})
        << Pairs{{"mitral_mkg_peak", "7"}};

    // Codes: scheme and code, never the meaning.
    QTest::newRow("private code with a standard meaning")
        << echo({num({"99ACME", "LVIDD", "Left Ventricle Internal End Diastolic Dimension"}, "48", "mm")}) << Pairs{};
    QTest::newRow("meaning text does not matter")
        << echo({num({"LN", "29436-3", "LVIDd (vendor text)"}, "48", "mm")}) << Pairs{{"kalp_lvd", "4,8"}};
    QTest::newRow("post-coordinated private code by property and site")
        << echo({container({"DCM", "125302", "Post-coordinated Measurements"},
                           {num({"99ACME", "PVMG", "Pulmonic valve mean gradient"}, "1.6", "mm[Hg]",
                                {modifier(kSite, kPulmonic), modifier({"DCM", "125307", "Measured Property"}, kMeanGradient)})})})
        << Pairs{{"pulm_pgk_mean", "2"}};
    QTest::newRow("indexed value is another measurement")
        << echo({num({"LN", "80009-4", "LVIDd / BSA"}, "2.5", "cm/m2")}) << Pairs{};
    QTest::newRow("no value, unconvertible unit")
        << echo({section(lvSite, {lvidd(nullptr, nullptr), lvidd("1.9", "[in_i]")})}) << Pairs{};
    QTest::newRow("ad hoc measurements fill nothing")
        << echo({container({"DCM", "125303", "Adhoc Measurements"}, {lvidd("48", "mm")})}) << Pairs{};
}

void TestSrReader::rules()
{
    QFETCH(Item, root);
    QFETCH(Pairs, expected);
    const QString file = path(QStringLiteral("rule.dcm"));
    write(file, root);
    const dicom::SrReport report = dicom::readSrFile(file);
    Pairs measured = valuesOf(report).mid(4);  // after Adi_Soyadi, Yas, Tarih, Prot_No
    QVERIFY2(measured == expected, qPrintable(reasonsOf(report)));
    QCOMPARE(valuesOf(report).mid(0, 4), (Pairs{{"Adi_Soyadi", "TEST HASTA"}, {"Yas", "50"}, {"Tarih", "2024-03-01"}, {"Prot_No", "A-1"}}));
}

void TestSrReader::skippedItemsAreListed_data()
{
    QTest::addColumn<Item>("item");
    QTest::addColumn<QString>("listed");
    QTest::newRow("no value") << lvidd(nullptr, nullptr) << "değer yok (Measurement failure)";
    QTest::newRow("unit") << lvidd("1.9", "[in_i]") << "birim '[in_i]' kalp_lvd alanının birimine çevrilemez";
    QTest::newRow("private code") << num({"99ACME", "LVIDD", "Left Ventricle Internal End Diastolic Dimension"}, "48", "mm")
                                  << "özel (üreticiye ait) kod";
    QTest::newRow("code without a field") << num({"LN", "18038-0", "Mitral Valve E to A Ratio"}, "1.28", "{ratio}")
                                          << "Kalpiyon'da karşılığı olan bir alan yok";
    QTest::newRow("regurgitant") << num(kPeakGradient, "26", "mm[Hg]", {modifier(kSite, kTricuspid), modifier(kDirection, kRegurgitant)})
                                 << "geri akım (yetersizlik jeti), trik_mkg_peak alanına alınmaz";
    QTest::newRow("number out of range") << lvidd("1E999", "cm") << "sayı okunamadı: '1E999'";
}

void TestSrReader::skippedItemsAreListed()
{
    QFETCH(Item, item);
    QFETCH(QString, listed);
    const QString file = path(QStringLiteral("skip.dcm"));
    write(file, echo({item}));
    const dicom::SrReport report = dicom::readSrFile(file);
    QCOMPARE(report.values.size(), 4);
    QCOMPARE(report.skipped.size(), 1);
    QVERIFY2(report.skipped.first().reason.startsWith(listed), qPrintable(report.skipped.first().reason));
    QVERIFY(report.skipped.first().item.startsWith(QLatin1String(item.concept_.scheme) + u':' + QLatin1String(item.concept_.value)));
}

void TestSrReader::names_data()
{
    QTest::addColumn<QByteArray>("pn");
    QTest::addColumn<QString>("charset");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ISO_IR 148") << QByteArray("\xDE" "EKER^AY\xDE" "E") << "ISO_IR 148" << QStringLiteral("ŞEKER AYŞE");
    QTest::newRow("ISO_IR 148 dotted and dotless i") << QByteArray("\xFD\xF0\x64\x69r^\xE7i\xE7" "ek") << "ISO_IR 148" << QStringLiteral("IĞDİR ÇİÇEK");
    QTest::newRow("ISO_IR 192") << QByteArray("Öztürk^İlker") << "ISO_IR 192" << QStringLiteral("ÖZTÜRK İLKER");
    QTest::newRow("ISO_IR 192 lower case") << QByteArray("güneş^ilknur") << "ISO_IR 192" << QStringLiteral("GÜNEŞ İLKNUR");
    QTest::newRow("ISO 2022 IR 148") << QByteArray("\x1b-M\xDE" "EN^AL\xDD") << "ISO 2022 IR 6\\ISO 2022 IR 148" << QStringLiteral("ŞEN ALİ");
    QTest::newRow("ASCII") << QByteArray("OZTURK^ALI") << "" << QStringLiteral("OZTURK ALI");
    QTest::newRow("ISO_IR 100") << QByteArray("M\xDCLLER^J\xD6RG") << "ISO_IR 100" << QStringLiteral("MÜLLER JÖRG");
    QTest::newRow("components") << QByteArray("KAYA^ZEYNEP^NUR^Dr.^MD") << "" << QStringLiteral("KAYA ZEYNEP NUR");
    QTest::newRow("empty components, blanks") << QByteArray(" KAYA ^^  ZEYNEP") << "" << QStringLiteral("KAYA ZEYNEP");
    QTest::newRow("first component group") << QByteArray("YILMAZ^MEHMET=Yilmaz^Mehmet=yilmaz") << "" << QStringLiteral("YILMAZ MEHMET");
    QTest::newRow("cut to 50") << QByteArray(60, 'A') << "" << QString(50, u'A');
}

void TestSrReader::names()
{
    QFETCH(QByteArray, pn);
    QFETCH(QString, charset);
    QFETCH(QString, expected);
    QCOMPARE(dicom::patientNameText(pn, charset), expected);
}

// The whole way: a file declaring ISO_IR 148 with a Latin-5 name.
void TestSrReader::turkishNameInAFile()
{
    const QString file = path(QStringLiteral("latin5.dcm"));
    Header h;
    h.patientName = "\xDE" "EKER^AY\xDE" "E";
    h.characterSet = "ISO_IR 148";
    write(file, echo({}), h);
    QCOMPARE(dicom::readSrFile(file).patientName, QStringLiteral("ŞEKER AYŞE"));
}

void TestSrReader::ages_data()
{
    QTest::addColumn<QString>("as");
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<QString>("expected");
    QTest::newRow("057Y") << "057Y" << QDate() << "57";
    QTest::newRow("100Y") << "100Y" << QDate() << "100";
    QTest::newRow("infant") << "006M" << QDate() << "0";
    QTest::newRow("birth date, birthday passed") << "" << QDate(1967, 3, 2) << "57";
    QTest::newRow("birth date, birthday to come") << "" << QDate(1967, 3, 16) << "56";
    QTest::newRow("nothing") << "" << QDate() << "";
}

void TestSrReader::ages()
{
    QFETCH(QString, as);
    QFETCH(QDate, birth);
    QFETCH(QString, expected);
    QCOMPARE(dicom::ageText(as, birth, QDate(2024, 3, 15)), expected);
}

void TestSrReader::refusals_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("other root concept") << "root" << "kök kavramı (18748-4, LN";
    QTest::newRow("other SOP class") << "basic" << "belge türü Basic Text SR";
    QTest::newRow("truncated") << "truncated" << "Dosya okunamadı";
    QTest::newRow("no content tree") << "damaged" << "yapılandırılmış rapor içeriği bozuk";
    QTest::newRow("text file") << "text" << "Dosya okunamadı";
    QTest::newRow("empty file") << "empty" << "Dosya okunamadı";
    QTest::newRow("missing file") << "missing" << "Dosya okunamadı";
}

void TestSrReader::refusals()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    const QString file = path(kind + QStringLiteral(".dcm"));
    const Item findings = section(kMitral, {num(kPeakGradient, "7.4", "mm[Hg]")});
    if (kind == QLatin1String("root")) {
        write(file, container({"LN", "18748-4", "Diagnostic Imaging Report"}, {findings}, DSRTypes::RT_isRoot));
    } else if (kind == QLatin1String("basic")) {
        QFile::copy(QStringLiteral(KALPIYON_TEST_FIXTURES "/basic-text-sr.dcm"), file);
    } else if (kind == QLatin1String("damaged")) {
        DcmFileFormat f;
        build(f, echo({findings}));
        f.getDataset()->findAndDeleteElement(DCM_ValueType);
        f.getDataset()->findAndDeleteElement(DCM_ContentSequence);
        QVERIFY(f.saveFile(file.toLocal8Bit().constData(), EXS_LittleEndianExplicit).good());
    } else if (kind == QLatin1String("truncated")) {
        write(file, echo({findings, findings, findings}));
        QFile f(file);
        QVERIFY(f.resize(f.size() - 40));
    } else if (kind == QLatin1String("text") || kind == QLatin1String("empty")) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (kind == QLatin1String("text"))
            f.write("Bu bir DICOM dosyası değil.\n");
    }
    const QString refused = refusalOf(file);
    QVERIFY2(refused.contains(message), qPrintable(refused));
}

// Every field of the table is a measurement field of `veriler` that holds its value.
void TestSrReader::tableFieldsAreMeasurementFields()
{
    QStringList order;
    for (const dicom::FieldRule &rule : dicom::echoFieldRules()) {
        const int i = records::fieldIndex(QLatin1String(rule.field));
        QVERIFY2(i >= 4, rule.field);
        QCOMPARE(records::kFields[i].size, 10);
        order << QString::number(i).rightJustified(2, u'0');
    }
    QStringList sorted = order;
    sorted.sort();
    QCOMPARE(order, sorted);  // the reader's output follows the table's order
}

void TestSrReader::nesting_data()
{
    QTest::addColumn<int>("levels");  // nested containers; their code sequences add one level
    QTest::addColumn<bool>("refused");
    QTest::newRow("7,000 levels") << 7000 << true;
    QTest::newRow("just above the limit") << dicom::kMaxNesting << true;
    QTest::newRow("at the limit") << dicom::kMaxNesting - 1 << false;
    QTest::newRow("a real report's depth") << 6 << false;
}

// A report nested deeper than the limit is refused before dcmtk's recursive reader sees it
// (7,000 levels overflowed the stack); one within the limit is read.
void TestSrReader::nesting()
{
    QFETCH(int, levels);
    QFETCH(bool, refused);
    const QString file = path(QStringLiteral("deep-%1.dcm").arg(levels));
    QVERIFY(deeptest::writeDeepReport(file, levels, "1.2.826.0.1.3680043.2.1143.9." + QByteArray::number(levels)));
    QString message;
    try {
        const dicom::SrReport report = dicom::readSrFile(file);
        QCOMPARE(report.patientName, QStringLiteral("DERIN RAPOR"));
    } catch (const Error &e) {
        message = e.message();
        QVERIFY2(e.details().contains(QLatin1String("nesting deeper")), qPrintable(e.details()));
    }
    QCOMPARE(!message.isEmpty(), refused);
    if (refused)
        QVERIFY2(message.contains(QStringLiteral("iç içe öğeler %1 düzeyi aşıyor").arg(dicom::kMaxNesting)), qPrintable(message));
}

void TestSrReader::damagedFileIsTurkish_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("sequences left open") << "open";
    QTest::newRow("truncated in a value") << "truncated";
    QTest::newRow("a sequence holding no items") << "broken";
}

// A damaged file is refused with a Turkish sentence; dcmtk's (English) text only as details.
void TestSrReader::damagedFileIsTurkish()
{
    QFETCH(QString, kind);
    const QString file = path(kind + QStringLiteral("-damaged.dcm"));
    if (kind == QLatin1String("open")) {
        QVERIFY(deeptest::writeDeepReport(file, 3, "1.2.826.0.1.3680043.2.1143.9.1", false));
    } else if (kind == QLatin1String("truncated")) {
        write(file, echo({section(kMitral, {num(kPeakGradient, "7.4", "mm[Hg]")})}));
        QFile f(file);
        QVERIFY(f.resize(f.size() - 40));
    } else {
        QByteArray bytes = deeptest::deepReport(2, "1.2.826.0.1.3680043.2.1143.9.2");
        const int items = bytes.lastIndexOf(QByteArray("\xfe\xff\x00\xe0", 4));
        bytes.replace(items, 4, QByteArray("\x08\x00\x16\x00", 4));  // an element where the item belongs
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    try {
        dicom::readSrFile(file);
        QFAIL("a damaged file was read");
    } catch (const Error &e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Dosya okunamadı: ")), qPrintable(e.message()));
        QVERIFY2(!e.details().isEmpty(), "dcmtk's text or the place of the fault as details");
        QVERIFY2(!e.message().contains(e.details()), qPrintable(e.message()));
        for (const char *english : {"stream", "Delimitation", "missing", "Item"})
            QVERIFY2(!e.message().contains(QLatin1String(english)), qPrintable(e.message()));
    }
}

QTEST_GUILESS_MAIN(TestSrReader)
#include "tst_srreader.moc"
