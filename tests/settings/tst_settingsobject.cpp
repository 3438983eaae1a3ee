// The settings object on real files: every key written into an empty file gives the bytes the
// README documents (Secenekler) or the old program wrote (Ayarlar, win.ini) and reads back
// unchanged; a file that is loaded and saved stays byte for byte as it was; the reading rules
// of each kind of key; and no other source file names a section or key of the table.
#include <QDirIterator>
#include <QRegularExpression>
#include <QtTest>

#include "Settings.h"

using settings::File;
using settings::Key;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The README's complete example of Secenekler: the ```ini block that holds every section of
// the file, with the CR LF lines the file has on disk.
QByteArray readmeSecenekler()
{
    const QString readme = QString::fromUtf8(readBytes(QStringLiteral(KALPIYON_SOURCE_DIR "/README.md")));
    static const QRegularExpression block(QStringLiteral("```ini\\n(.*?)```"), QRegularExpression::DotMatchesEverythingOption);
    for (auto it = block.globalMatch(readme); it.hasNext();) {
        const QString text = it.next().captured(1);
        if (text.contains(QLatin1String("[Sunucu]")) && text.contains(QLatin1String("[DICOM]")) && text.contains(QLatin1String("[Yedek]")))
            return text.toLatin1().replace("\n", "\r\n");
    }
    return QByteArray();
}

// One key's section and line of that example: "[Section]\r\nKey=value\r\n".
QByteArray readmeLine(const QByteArray &example, const settings::KeyRow &row, QString *value)
{
    QByteArray section;
    for (const QByteArray &line : example.split('\n')) {
        const QByteArray l = line.trimmed();
        if (l.startsWith('['))
            section = l;
        else if (section == "[" + QByteArray(row.section) + "]" && l.startsWith(QByteArray(row.name) + "=")) {
            *value = QString::fromLatin1(l.mid(qstrlen(row.name) + 1));
            return section + "\r\n" + l + "\r\n";
        }
    }
    return QByteArray();
}

}  // namespace

class TestSettingsObject : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("ayar.ini")); }

private slots:
    void init() { QFile::remove(path()); }

    void readmeDocumentsEverySeceneklerKey();
    void keyRoundTrip_data();
    void keyRoundTrip();
    void wholeSeceneklerIsTheReadmeExample();
    void loadAndSaveKeepsTheBytes_data();
    void loadAndSaveKeepsTheBytes();
    void saveWritesWhatChanged_data();
    void saveWritesWhatChanged();
    void readingRules_data();
    void readingRules();
    void noOtherSourceNamesAKey();
};

void TestSettingsObject::readmeDocumentsEverySeceneklerKey()
{
    const QByteArray example = readmeSecenekler();
    QVERIFY2(!example.isEmpty(), "README.md has no complete Secenekler example");
    for (const settings::KeyRow &row : settings::keyTable()) {
        QString value;
        if (row.file == File::Secenekler)
            QVERIFY2(!readmeLine(example, row, &value).isEmpty(), row.name);
    }
}

void TestSettingsObject::keyRoundTrip_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("bytes");

    // The old program's files: Windows-1254 and CR LF.
    QTest::newRow("Sabit 01") << int(Key::ProgramName) << "Kalpiyon Raporu" << QByteArray("[Sabit]\r\n01=Kalpiyon Raporu\r\n");
    QTest::newRow("Sabit 02 Turkish") << int(Key::Workplace) << "ŞİŞLİ ÇOCUK" << QByteArray("[Sabit]\r\n02=\xDE\xDD\xDEL\xDD \xC7OCUK\r\n");
    QTest::newRow("Sabit 03 blanks kept") << int(Key::Address) << " Şişli " << QByteArray("[Sabit]\r\n03= \xDE\x69\xFEli \r\n");
    QTest::newRow("Sabit 04") << int(Key::ReportTitle) << "EKO RAPORU" << QByteArray("[Sabit]\r\n04=EKO RAPORU\r\n");
    QTest::newRow("Sabit 05") << int(Key::ListTitle) << "LİSTE" << QByteArray("[Sabit]\r\n05=L\xDDSTE\r\n");
    QTest::newRow("Sabit 06") << int(Key::Doctor) << "UZM.DR. AYŞE" << QByteArray("[Sabit]\r\n06=UZM.DR. AY\xDE\x45\r\n");
    QTest::newRow("Sabit 07") << int(Key::DoctorTitle) << "KARDİYOLOG" << QByteArray("[Sabit]\r\n07=KARD\xDDYOLOG\r\n");
    QTest::newRow("Tercih Print") << int(Key::ShowPreview) << "0" << QByteArray("[Tercih]\r\nPrint=0\r\n");
    QTest::newRow("Tercih Alan") << int(Key::FillNewRecord) << "0" << QByteArray("[Tercih]\r\nAlan=0\r\n");
    QTest::newRow("win.ini Active") << int(Key::PasswordActive) << "1" << QByteArray("[Kalpiyon]\r\nActive=1\r\n");
    QTest::newRow("win.ini password") << int(Key::Password) << "gizli şifre" << QByteArray("[Kalpiyon]\r\nKalpiyonSifre=gizli \xFEifre\r\n");

    // Secenekler: each key as the README documents it.
    const QByteArray example = readmeSecenekler();
    for (const settings::KeyRow &row : settings::keyTable()) {
        if (row.file != File::Secenekler)
            continue;
        QString value;
        const QByteArray line = readmeLine(example, row, &value);
        QTest::newRow(QByteArray("Secenekler ").append(row.name).constData()) << int(row.key) << value << line;
    }
}

void TestSettingsObject::keyRoundTrip()
{
    QFETCH(int, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, bytes);
    QVERIFY(!bytes.isEmpty());
    const Key k = Key(key);
    settings::writeText(k, value, path());
    QCOMPARE(readBytes(path()), bytes);
    // Loaded and saved whole, the key stays as written.
    settings::Settings::load(settings::row(k).file, path()).save();
    QVERIFY(readBytes(path()).startsWith(bytes));
    QCOMPARE(settings::Settings::load(settings::row(k).file, path()).text(k), value.trimmed());
    QCOMPARE(settings::readText(k, path()), value.trimmed());
}

void TestSettingsObject::wholeSeceneklerIsTheReadmeExample()
{
    const QByteArray example = readmeSecenekler();
    settings::Settings s(File::Secenekler, path());
    for (const settings::KeyRow &row : settings::keyTable()) {
        QString value;
        if (row.file == File::Secenekler && !readmeLine(example, row, &value).isEmpty())
            s.setText(row.key, value);
    }
    s.save();
    QCOMPARE(readBytes(path()), example);
    // Read back and saved again: nothing changes.
    settings::Settings::load(File::Secenekler, path()).save();
    QCOMPARE(readBytes(path()), example);
}

void TestSettingsObject::loadAndSaveKeepsTheBytes_data()
{
    QTest::addColumn<int>("file");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("Ayarlar as the program writes it")
        << int(File::Ayarlar)
        << QByteArray("[Sabit]\r\n01=Kalpiyon Raporu\r\n02=\xDD\xDE YER\xDD\r\n03= \xDE\x69\xFEli \r\n04=KALP\xDDYON RAPORU\r\n"
                      "05=KAYIT L\xDDSTES\xDD\r\n06=UZM.DR. DR ADI\r\n07=DR. UNVANI\r\n[Tercih]\r\nPrint=0\r\nAlan=1\r\n");
    QTest::newRow("Ayarlar written by hand")
        << int(File::Ayarlar)
        << QByteArray("; Kalpiyon\r\n[tercih]\r\nprint = $1\r\nALAN=0x0\r\n\r\n[Sabit]\r\n01 = \"Kalp Raporu\" \r\n02='x'\r\n"
                      "03=\r\n04=A\r\n05=B\r\n06=C\r\n07=D\r\nBaska=kalsin\r\n[Diger]\r\nx=y\r\n");
    QTest::newRow("Ayarlar with LF lines") << int(File::Ayarlar)
                                           << QByteArray("[Sabit]\n01=a\n02=b\n03=c\n04=d\n05=e\n06=f\n07=g\n[Tercih]\nPrint=1\nAlan=1\n");
    QTest::newRow("win.ini") << int(File::WinIni) << QByteArray("[Kalpiyon]\r\nActive=1\r\nKalpiyonSifre= gizli \r\n");
    QTest::newRow("Secenekler, some keys") << int(File::Secenekler) << QByteArray("[DICOM]\r\nEtkin=1\r\n");
    QTest::newRow("Secenekler, odd values")
        << int(File::Secenekler)
        << QByteArray("[Yedek]\r\nKlasor=\r\n[DICOM]\r\nPort=0x2B68\r\nAETitle=\r\nEtkin=evet\r\n[Sunucu]\r\nBaglanti = \"host=a dbname=b\"\r\n");
    QTest::newRow("Secenekler, empty") << int(File::Secenekler) << QByteArray();
}

void TestSettingsObject::loadAndSaveKeepsTheBytes()
{
    QFETCH(int, file);
    QFETCH(QByteArray, bytes);
    writeBytes(path(), bytes);
    settings::Settings::load(File(file), path()).save();
    QCOMPARE(readBytes(path()), bytes);
}

void TestSettingsObject::saveWritesWhatChanged_data()
{
    QTest::addColumn<int>("file");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");  // after load, one change and save

    // Ayarlar gets every key, as the old program wrote them all on each save.
    QTest::newRow("Ayarlar: missing keys are added")
        << int(File::Ayarlar) << QByteArray("[Tercih]\r\nAlan=0\r\n")
        << QByteArray("[Tercih]\r\nAlan=0\r\nPrint=0\r\n[Sabit]\r\n01=Kalpiyon Raporu\r\n02=\xDD\xDE YER\xDD \x41\x44RES\xDD G\xDDR\xDDN - Sabit Bilgiler\r\n"
                      "03=Adres ve Tel. Girin. TEL:000 - 000 00 00\r\n04=KALP\xDDYON RAPORU\r\n05=KAYIT L\xDDSTES\xDD\r\n"
                      "06=UZM.DR. DR ADI\r\n07=DR. UNVANI\r\n");
    // Secenekler gets only what differs from the defaults, in place.
    QTest::newRow("Secenekler: one key changes")
        << int(File::Secenekler) << QByteArray("[DICOM]\r\nEtkin=1\r\n; yorum\r\nPort=104\r\n")
        << QByteArray("[DICOM]\r\nEtkin=1\r\n; yorum\r\nPort=104\r\n[Yedek]\r\nKlasor=/yedek\r\n");
}

void TestSettingsObject::saveWritesWhatChanged()
{
    QFETCH(int, file);
    QFETCH(QByteArray, before);
    writeBytes(path(), before);
    settings::Settings s = settings::Settings::load(File(file), path());
    if (File(file) == File::Ayarlar)
        s.setFlag(Key::ShowPreview, false);
    else
        s.setText(Key::BackupFolder, QStringLiteral("/yedek"));
    s.save();
    QTEST(readBytes(path()), "after");
}

void TestSettingsObject::readingRules_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("absent port") << QByteArray() << int(Key::DicomPort) << "11112";
    QTest::newRow("port") << QByteArray("[DICOM]\r\nPort=104\r\n") << int(Key::DicomPort) << "104";
    QTest::newRow("hex port") << QByteArray("[dicom]\r\nport=0x2B67\r\n") << int(Key::DicomPort) << "11111";
    QTest::newRow("port 0") << QByteArray("[DICOM]\r\nPort=0\r\n") << int(Key::DicomPort) << "11112";
    QTest::newRow("port too large") << QByteArray("[DICOM]\r\nPort=65536\r\n") << int(Key::DicomPort) << "11112";
    QTest::newRow("port word") << QByteArray("[DICOM]\r\nPort=on bir\r\n") << int(Key::DicomPort) << "11112";
    QTest::newRow("on") << QByteArray("[DICOM]\r\nEtkin=1\r\n") << int(Key::DicomEnabled) << "1";
    QTest::newRow("on, any non-zero") << QByteArray("[DICOM]\r\nEtkin=7\r\n") << int(Key::DicomEnabled) << "1";
    QTest::newRow("word is off") << QByteArray("[DICOM]\r\nEtkin=evet\r\n") << int(Key::DicomEnabled) << "0";
    QTest::newRow("empty AE title") << QByteArray("[DICOM]\r\nAETitle=\r\n") << int(Key::DicomAeTitle) << "KALPIYON";
    QTest::newRow("empty backup folder") << QByteArray("[Yedek]\r\nKlasor=  \r\n") << int(Key::BackupFolder) << "Yedekler";
    QTest::newRow("quoted server") << QByteArray("[Sunucu]\r\nBaglanti=\"host=a\"\r\n") << int(Key::ServerAddress) << "host=a";
    QTest::newRow("empty Sabit stays empty") << QByteArray("[Sabit]\r\n02=\r\n") << int(Key::Workplace) << "";
    QTest::newRow("absent Sabit") << QByteArray() << int(Key::Workplace) << "İŞ YERİ ADRESİ GİRİN - Sabit Bilgiler";
    QTest::newRow("password off by default") << QByteArray() << int(Key::PasswordActive) << "0";
    QTest::newRow("preview on by default") << QByteArray("[Tercih]\r\nPrint=x\r\n") << int(Key::ShowPreview) << "1";
}

void TestSettingsObject::readingRules()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, key);
    writeBytes(path(), bytes);
    QTEST(settings::readText(Key(key), path()), "expected");
    QTEST(settings::Settings::load(settings::row(Key(key)).file, path()).text(Key(key)), "expected");
}

// Any source that spells a section or key of the table as a literal reads or writes a file
// past the object. The words that are also the program's name or a folder name are checked
// in their settings form only ("[Kalpiyon]" would be, "Kalpiyon" the title is not).
void TestSettingsObject::noOtherSourceNamesAKey()
{
    const QStringList shared = {QStringLiteral("Kalpiyon"), QStringLiteral("Yedek"), QStringLiteral("DICOM")};
    QSet<QString> names = {QStringLiteral("Secenekler"), QStringLiteral("win.ini")};
    for (const settings::KeyRow &row : settings::keyTable()) {
        for (const char *name : {row.section, row.name})
            if (!shared.contains(QLatin1String(name)) && qstrlen(name) > 2)
                names << QLatin1String(name);
    }
    QStringList found;
    for (const char *folder : {"src", "tools"}) {
        QDirIterator it(QStringLiteral(KALPIYON_SOURCE_DIR "/") + QLatin1String(folder), {"*.cpp", "*.h"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (file.endsWith(QLatin1String("/settings/Settings.cpp")))
                continue;
            const QString text = QString::fromUtf8(readBytes(file));
            for (const QString &name : std::as_const(names))
                if (text.contains(QLatin1Char('"') + name + QLatin1Char('"')))
                    found << QStringLiteral("%1: \"%2\"").arg(file.mid(qstrlen(KALPIYON_SOURCE_DIR) + 1), name);
        }
    }
    QCOMPARE(found, QStringList());
}

QTEST_GUILESS_MAIN(TestSettingsObject)
#include "tst_settingsobject.moc"
