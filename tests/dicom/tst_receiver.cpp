// The DICOM receiver with real associations: dcmtk's storescu sends to it on a loopback port.
#include <QtTest>
#include <mutex>
#include <thread>

#include "Error.h"
#include "Inbox.h"
#include "Locations.h"
#include "ProfileFile.h"
#include "Receiver.h"
#include "SrReader.h"
#include "SrWriter.h"
#include "TestSeam.h"

using namespace srtest;

namespace {
struct Sent {
    int status;
    QString output;
};

QString fixture(const QString &name)
{
    return QStringLiteral(KALPIYON_TEST_FIXTURES "/") + name;
}

// A CT image header: a storage class the receiver does not take.
void writeCtObject(const QString &path)
{
    DcmFileFormat file;
    DcmDataset &ds = *file.getDataset();
    char uid[100];
    ds.putAndInsertString(DCM_SOPClassUID, UID_CTImageStorage);
    ds.putAndInsertString(DCM_SOPInstanceUID, dcmGenerateUniqueIdentifier(uid, SITE_INSTANCE_UID_ROOT));
    ds.putAndInsertString(DCM_PatientName, "TEST^CT");
    ds.putAndInsertString(DCM_Modality, "CT");
    QVERIFY(file.saveFile(path.toLocal8Bit().constData(), EXS_LittleEndianExplicit).good());
}
}  // namespace

class TestReceiver : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<dicom::Receiver> receiver;
    std::thread thread;
    std::mutex mutex;
    QList<dicom::Reception> receptions;
    int port = 0;

    Sent send(const QString &file, const QStringList &extra = {})
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        QStringList args{QStringLiteral("-v"), QStringLiteral("-aet"), QStringLiteral("ECHO1")};
        if (!extra.contains(QStringLiteral("-aec")))
            args << QStringLiteral("-aec") << QStringLiteral("KALPIYON");
        p.start(QStringLiteral("storescu"), args + extra + QStringList{QStringLiteral("127.0.0.1"), QString::number(port), file});
        p.waitForFinished(30000);
        return {p.exitCode(), QString::fromLocal8Bit(p.readAll())};
    }
    QList<dicom::Reception> taken()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return std::exchange(receptions, {});
    }
    QStringList inboxFiles() const
    {
        return QDir(dir.filePath(QStringLiteral("Gelen"))).entryList(QDir::Files);
    }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void deliversAReport_data();
    void deliversAReport();
    void refuses_data();
    void refuses();
    void survivesGarbage();
    void busyPortIsAClearError();
    void options();
};

void TestReceiver::initTestCase()
{
    QVERIFY(dir.isValid());
    // A free loopback port: try a few from a random start.
    for (int attempt = 0; attempt < 20 && !receiver; ++attempt) {
        dicom::ReceiverOptions o;
        o.port = 20000 + int(QRandomGenerator::global()->bounded(40000));
        o.dataFolder = dir.path();
        auto r = std::make_unique<dicom::Receiver>(o);
        try {
            r->open();
            receiver = std::move(r);
            port = o.port;
        } catch (const Error &) {
        }
    }
    QVERIFY(receiver);
    receiver->onReception = [this](const dicom::Reception &r) {
        std::lock_guard<std::mutex> lock(mutex);
        receptions.append(r);
    };
    thread = std::thread([this] { receiver->run(); });
}

void TestReceiver::cleanupTestCase()
{
    if (!receiver)
        return;
    QElapsedTimer t;
    t.start();
    receiver->stop();
    thread.join();
    QVERIFY2(t.elapsed() < 3000, "the receiver stops within a few seconds");
}

void TestReceiver::deliversAReport_data()
{
    QTest::addColumn<QString>("sample");
    QTest::newRow("Comprehensive SR") << "tid5200-comprehensive";
    QTest::newRow("Simplified Adult Echo SR") << "tid5300-simplified";
}

// The stored object is owner-only in Gelen/ and reads exactly as the file that was sent.
void TestReceiver::deliversAReport()
{
    QFETCH(QString, sample);
    const Sent s = send(fixture(sample + QStringLiteral(".dcm")), {QStringLiteral("-R")});
    QVERIFY2(s.status == 0 && s.output.contains(QStringLiteral("Received Store Response (Success)")), qPrintable(s.output));
    const QList<dicom::Reception> got = taken();
    QCOMPARE(got.size(), 1);
    QVERIFY(got.first().stored);
    QCOMPARE(got.first().status, 0u);
    const QString path = got.first().path;
    QCOMPARE(QFileInfo(path).dir().absolutePath(), QDir(dir.filePath(QStringLiteral("Gelen"))).absolutePath());
    QCOMPARE(QFileInfo(path).permissions() & 0x0777, QFileDevice::ReadUser | QFileDevice::WriteUser);
    QCOMPARE(QFileInfo(QFileInfo(path).absolutePath()).permissions() & 0x0777,
             QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
    const dicom::SrReport sent = dicom::readSrFile(fixture(sample + QStringLiteral(".dcm")));
    const dicom::SrReport stored = dicom::readSrFile(path);
    QCOMPARE(stored.values.size(), sent.values.size());
    for (int i = 0; i < sent.values.size(); ++i)
        QCOMPARE(stored.values[i].field + u'=' + stored.values[i].value, sent.values[i].field + u'=' + sent.values[i].value);
    // The program offers it by patient name.
    bool offered = false;
    for (const dicom::WaitingReport &w : dicom::waitingReports(dir.path()))
        offered = offered || (w.path == path && w.patientName == sent.patientName);
    QVERIFY(offered);
}

void TestReceiver::refuses_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("answer");    // what storescu reports
    QTest::addColumn<int>("status");        // DICOM status given; -1: refused before any object
    QTest::newRow("CT image: no presentation context") << "ct" << "No presentation context" << -1;
    QTest::newRow("Basic Text SR: no presentation context") << "basic" << "No presentation context" << -1;
    QTest::newRow("SR that is not an echo report") << "root" << "Error: CannotUnderstand" << 0xC000;
    QTest::newRow("SR without a content tree") << "damaged" << "Error: CannotUnderstand" << 0xC000;
    QTest::newRow("wrong called AE title") << "ae" << "Called AE Title Not Recognized" << -1;
}

// Refused objects get their DICOM answer, leave nothing behind and do not stop the receiver.
void TestReceiver::refuses()
{
    QFETCH(QString, kind);
    QFETCH(QString, answer);
    QFETCH(int, status);
    const QStringList before = inboxFiles();
    QString file = dir.filePath(kind + QStringLiteral(".dcm"));
    QStringList extra;
    if (kind == QLatin1String("ct")) {
        writeCtObject(file);
    } else if (kind == QLatin1String("basic")) {
        file = fixture(QStringLiteral("basic-text-sr.dcm"));
    } else if (kind == QLatin1String("root")) {
        write(file, container({"LN", "18748-4", "Diagnostic Imaging Report"}, {}, DSRTypes::RT_isRoot));
    } else if (kind == QLatin1String("damaged")) {
        DcmFileFormat f;
        build(f, echo({section(kMitral, {num(kPeakGradient, "7.4", "mm[Hg]")})}));
        f.getDataset()->findAndDeleteElement(DCM_ContentSequence);
        f.getDataset()->findAndDeleteElement(DCM_ValueType);
        QVERIFY(f.saveFile(file.toLocal8Bit().constData(), EXS_LittleEndianExplicit).good());
    } else if (kind == QLatin1String("ae")) {
        file = fixture(QStringLiteral("tid5200-comprehensive.dcm"));
        extra = {QStringLiteral("-aec"), QStringLiteral("ANDERE")};
    }
    const Sent s = send(file, extra);
    QVERIFY2(s.output.contains(answer), qPrintable(s.output));
    const QList<dicom::Reception> got = taken();
    if (status < 0) {
        QVERIFY(got.isEmpty());
    } else {
        QCOMPARE(got.size(), 1);
        QCOMPARE(got.first().status, unsigned(status));
        QVERIFY(!got.first().stored);
        QVERIFY2(!got.first().message.isEmpty(), "a Turkish reason");
    }
    QCOMPARE(inboxFiles(), before);
    // Still serving.
    QCOMPARE(send(fixture(QStringLiteral("tid5200-comprehensive.dcm"))).status, 0);
    QCOMPARE(taken().size(), 1);
}

void TestReceiver::survivesGarbage()
{
    QProcess p;
    p.start(QStringLiteral("bash"), {QStringLiteral("-c"), QStringLiteral("head -c 4000 /dev/urandom > /dev/tcp/127.0.0.1/%1").arg(port)});
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(send(fixture(QStringLiteral("tid5200-comprehensive.dcm"))).status, 0);
    QCOMPARE(taken().size(), 1);
}

void TestReceiver::busyPortIsAClearError()
{
    dicom::ReceiverOptions o;
    o.port = port;
    o.dataFolder = dir.path();
    dicom::Receiver second(o);
    QString message;
    try {
        second.open();
    } catch (const Error &e) {
        message = e.message();
    }
    QVERIFY2(message.startsWith(QStringLiteral("DICOM alıcısı %1 numaralı kapıyı açamadı").arg(port)), qPrintable(message));
}

// Section "DICOM" of Secenekler, with its defaults.
void TestReceiver::options()
{
    QTemporaryDir settingsDir;
    seam::install();
    seam::setFolder(seam::Folder::Settings, settingsDir.path());
    dicom::ReceiverOptions o = dicom::ReceiverOptions::fromSettings(QStringLiteral("/data"));
    QCOMPARE(o.enabled, false);
    QCOMPARE(o.port, 11112);
    QCOMPARE(o.aeTitle, QStringLiteral("KALPIYON"));
    QCOMPARE(o.dataFolder, QStringLiteral("/data"));
    const settings::ProfileFile file(settings::seceneklerPath());
    file.writeText(QStringLiteral("DICOM"), QStringLiteral("Etkin"), QStringLiteral("1"));
    file.writeText(QStringLiteral("DICOM"), QStringLiteral("Port"), QStringLiteral("4242"));
    file.writeText(QStringLiteral("DICOM"), QStringLiteral("AETitle"), QStringLiteral("EKOLAB"));
    o = dicom::ReceiverOptions::fromSettings(QStringLiteral("/data"));
    QCOMPARE(o.enabled, true);
    QCOMPARE(o.port, 4242);
    QCOMPARE(o.aeTitle, QStringLiteral("EKOLAB"));
    file.writeText(QStringLiteral("DICOM"), QStringLiteral("Port"), QStringLiteral("99999"));
    QCOMPARE(dicom::ReceiverOptions::fromSettings(QString()).port, 11112);
    seam::uninstall();
}

QTEST_GUILESS_MAIN(TestReceiver)
#include "tst_receiver.moc"
