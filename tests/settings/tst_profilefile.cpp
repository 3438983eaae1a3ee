// The profile-file value rules, on real files: reading as a table of (file content, call,
// expected), then writing: order of first writes, CR LF, Windows-1254, refusals, atomicity.
#include <QtTest>

#include "Error.h"
#include "ProfileFile.h"

using settings::ProfileFile;

class TestProfileFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("Ayarlar")); }
    void write(const QByteArray &content)
    {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    QByteArray content() const
    {
        QFile f(path());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

private slots:
    void init() { QFile::remove(path()); }
    void readText_data();
    void readText();
    void readBool_data();
    void readBool();
    void writesInOrderOfFirstWrite();
    void writeReplacesInPlaceAndKeepsTheRest();
    void turkishTextRoundTrip();
    void refusedWrite();
};

void TestProfileFile::readText_data()
{
    QTest::addColumn<QByteArray>("file");  // "-" for no file
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");  // default is "öndeğer"

    QTest::newRow("no file") << QByteArray("-") << "Sabit" << "01" << "öndeğer";
    QTest::newRow("plain") << QByteArray("[Sabit]\r\n01=Kalp\r\n") << "Sabit" << "01" << "Kalp";
    QTest::newRow("no section") << QByteArray("[Tercih]\r\n01=Kalp\r\n") << "Sabit" << "01" << "öndeğer";
    QTest::newRow("no key") << QByteArray("[Sabit]\r\n02=Kalp\r\n") << "Sabit" << "01" << "öndeğer";
    QTest::newRow("empty value is not the default") << QByteArray("[Sabit]\r\n01=\r\n") << "Sabit" << "01" << "";
    QTest::newRow("blanks dropped") << QByteArray("[Sabit]\r\n01=   Kalp Raporu  \r\n") << "Sabit" << "01" << "Kalp Raporu";
    QTest::newRow("single quotes dropped") << QByteArray("[Sabit]\r\n01='Kalp'\r\n") << "Sabit" << "01" << "Kalp";
    QTest::newRow("double quotes dropped") << QByteArray("[Sabit]\r\n01=\" Kalp \"\r\n") << "Sabit" << "01" << " Kalp ";
    QTest::newRow("only one pair") << QByteArray("[Sabit]\r\n01=''Kalp''\r\n") << "Sabit" << "01" << "'Kalp'";
    QTest::newRow("unmatched quote kept") << QByteArray("[Sabit]\r\n01='Kalp\"\r\n") << "Sabit" << "01" << "'Kalp\"";
    QTest::newRow("lone quote kept") << QByteArray("[Sabit]\r\n01='\r\n") << "Sabit" << "01" << "'";
    QTest::newRow("section case") << QByteArray("[SABIT]\r\n01=Kalp\r\n") << "sAbIt" << "01" << "Kalp";
    QTest::newRow("key case") << QByteArray("[Tercih]\r\nPRINT=0\r\n") << "Tercih" << "print" << "0";
    QTest::newRow("blanks around key") << QByteArray("[Sabit]\r\n  01 =Kalp\r\n") << "Sabit" << "01" << "Kalp";
    QTest::newRow("LF lines") << QByteArray("[Sabit]\n01=Kalp\n") << "Sabit" << "01" << "Kalp";
    QTest::newRow("key of another section") << QByteArray("[A]\r\n01=x\r\n[Sabit]\r\n02=y\r\n") << "Sabit" << "01" << "öndeğer";
    QTest::newRow("equals in value") << QByteArray("[Sabit]\r\n01=a=b\r\n") << "Sabit" << "01" << "a=b";
    QTest::newRow("windows-1254") << QByteArray("[Sabit]\r\n02=\xDD\xDE YER\xDD \xD0\xFD\r\n") << "Sabit" << "02" << "İŞ YERİ Ğı";
    QTest::newRow("damaged: binary garbage") << QByteArray("\x00\x01[[[=\xff\xfe\r\n==\r\n[Sabit\r\n", 22) << "Sabit" << "01" << "öndeğer";
    QTest::newRow("cut to 2047") << QByteArray("[Sabit]\r\n01=") + QByteArray(3000, 'x') + "\r\n" << "Sabit" << "01" << QString(2047, QLatin1Char('x'));
}

void TestProfileFile::readText()
{
    QFETCH(QByteArray, file);
    if (file != "-")
        write(file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QTEST(ProfileFile(path()).readText(section, key, QStringLiteral("öndeğer")), "expected");
}

void TestProfileFile::readBool_data()
{
    QTest::addColumn<QByteArray>("value");  // "-" for an absent key
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");
    QTest::newRow("absent, default yes") << QByteArray("-") << true << true;
    QTest::newRow("absent, default no") << QByteArray("-") << false << false;
    QTest::newRow("1") << QByteArray("1") << false << true;
    QTest::newRow("0") << QByteArray("0") << true << false;
    QTest::newRow("2") << QByteArray("2") << false << true;
    QTest::newRow("-1") << QByteArray("-1") << false << true;
    QTest::newRow("0x1") << QByteArray("0x1") << false << true;
    QTest::newRow("$1") << QByteArray("$1") << false << true;
    QTest::newRow("0x0") << QByteArray("0x0") << true << false;
    QTest::newRow("blanks and quotes") << QByteArray(" '1' ") << false << true;
    QTest::newRow("word keeps default yes") << QByteArray("evet") << true << true;
    QTest::newRow("word keeps default no") << QByteArray("evet") << false << false;
    QTest::newRow("empty keeps default") << QByteArray("") << true << true;
    QTest::newRow("decimal keeps default") << QByteArray("1.5") << false << false;
    QTest::newRow("hex without digits") << QByteArray("0x") << true << true;
}

void TestProfileFile::readBool()
{
    QFETCH(QByteArray, value);
    write(value == "-" ? QByteArray("[Tercih]\r\nBaska=1\r\n") : QByteArray("[Tercih]\r\nPrint=") + value + "\r\n");
    QFETCH(bool, defaultValue);
    QTEST(ProfileFile(path()).readBool(QStringLiteral("Tercih"), QStringLiteral("Print"), defaultValue), "expected");
}

void TestProfileFile::writesInOrderOfFirstWrite()
{
    const ProfileFile ini(path());
    ini.writeText(QStringLiteral("Sabit"), QStringLiteral("01"), QStringLiteral("A"));
    QCOMPARE(content(), QByteArray("[Sabit]\r\n01=A\r\n"));  // a new file: one section, one key
    QCOMPARE(QFile::permissions(path()) & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());
    ini.writeBool(QStringLiteral("Tercih"), QStringLiteral("Print"), true);
    ini.writeText(QStringLiteral("Sabit"), QStringLiteral("02"), QStringLiteral(" B "));
    ini.writeBool(QStringLiteral("Tercih"), QStringLiteral("Alan"), false);
    QCOMPARE(content(), QByteArray("[Sabit]\r\n01=A\r\n02= B \r\n[Tercih]\r\nPrint=1\r\nAlan=0\r\n"));
    QCOMPARE(ini.readText(QStringLiteral("sabit"), QStringLiteral("02"), QString()), QStringLiteral("B"));
}

void TestProfileFile::writeReplacesInPlaceAndKeepsTheRest()
{
    write("; yorum\r\n[SABIT]\r\n01=eski\r\n\r\n[Diger]\r\nx=1\r\n");
    ProfileFile(path()).writeText(QStringLiteral("Sabit"), QStringLiteral("01"), QStringLiteral("yeni"));
    ProfileFile(path()).writeText(QStringLiteral("Sabit"), QStringLiteral("07"), QStringLiteral("son"));
    QCOMPARE(content(), QByteArray("; yorum\r\n[SABIT]\r\n01=yeni\r\n07=son\r\n\r\n[Diger]\r\nx=1\r\n"));
}

void TestProfileFile::turkishTextRoundTrip()
{
    const QString text = QStringLiteral("ÇAĞLAR İŞ YERİ - Şişli/İstanbul ğüöçıİ");
    ProfileFile(path()).writeText(QStringLiteral("Sabit"), QStringLiteral("02"), text);
    QVERIFY(content().contains("\xC7\x41\xD0LAR \xDD\xDE"));  // single-byte Turkish code page on disk
    QCOMPARE(ProfileFile(path()).readText(QStringLiteral("Sabit"), QStringLiteral("02"), QString()), text);
}

void TestProfileFile::refusedWrite()
{
    // A path whose folder is a file cannot be written, whoever runs the test.
    write("[Sabit]\r\n01=A\r\n");
    const QString impossible = path() + QStringLiteral("/win.ini");
    try {
        ProfileFile(impossible).writeText(QStringLiteral("Kalpiyon"), QStringLiteral("Active"), QStringLiteral("1"));
        QFAIL("write did not fail");
    } catch (const Error &e) {
        QCOMPARE(e.message(), QStringLiteral("Unable to write to %1").arg(impossible));
    }
    QCOMPARE(content(), QByteArray("[Sabit]\r\n01=A\r\n"));
    // No temporary file is left behind in the folder.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Ayarlar")});
}

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
