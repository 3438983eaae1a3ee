// The DICOM receiver with real associations: dcmtk's storescu sends to it on a loopback port.
#include <QtTest>
#include <mutex>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DeepReport.h"
#include "Error.h"
#include "Inbox.h"
#include "Locations.h"
#include "ProfileFile.h"
#include "Receiver.h"
#include "SrReader.h"
#include "SrWriter.h"
#include "TestSeam.h"
#include "../support/FreePortReceiver.h"

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

// An echo report whose content tree is bytes that are no sequence: kept as UN in the file,
// it reaches the receiver as a Content Sequence to parse when sent in implicit VR.
void writeGarbledReport(const QString &path)
{
    DcmFileFormat f;
    build(f, echo({section(kMitral, {num(kPeakGradient, "7.4", "mm[Hg]")})}));
    DcmDataset &ds = *f.getDataset();
    ds.findAndDeleteElement(DCM_ContentSequence);
    auto *garbage = new DcmOtherByteOtherWord(DcmTag(DCM_ContentSequence, EVR_UN));
    const Uint8 bytes[] = {0x01, 0x02, 0x03, 0x04, 0x10, 0x00, 0x00, 0x00, 'b', 'o', 'z', 'u', 'k', ' ', 'v', 'e', 'r', 'i', 0, 0};
    garbage->putUint8Array(bytes, sizeof bytes);
    QVERIFY(ds.insert(garbage, true).good());
    QVERIFY(f.saveFile(path.toLocal8Bit().constData(), EXS_LittleEndianExplicit).good());
}

// A report of `count` measurements in one group: a large object (20,000 make ~25 MB).
void writeLargeReport(const QString &path, int count)
{
    std::vector<Item> items;
    for (int i = 0; i < count; ++i)
        items.push_back(num(kPeakGradient, i % 2 ? "7.4" : "7.6", "mm[Hg]"));
    write(path, echo({section(kMitral, std::move(items))}));
}

// A TCP connection to the receiver made by hand, for peers that dcmtk's tools cannot play.
class RawPeer {
public:
    explicit RawPeer(int port)
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(quint16(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd_, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~RawPeer()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool connected() const { return fd_ >= 0; }
    bool send(const QByteArray &bytes) { return ::send(fd_, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size(); }
    // The type of the PDU the receiver answers with (0x02: association accepted).
    int answerType()
    {
        timeval t{20, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &t, sizeof t);
        unsigned char type = 0;
        return ::recv(fd_, &type, 1, 0) == 1 ? type : -1;
    }

private:
    int fd_ = -1;
};

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

// An A-ASSOCIATE-RQ for the Verification class, as a machine sends it.
QByteArray associateRequest(const QByteArray &called)
{
    const auto u16 = [](int v) { return bytesOf({v >> 8, v & 0xFF}); };
    const auto u32 = [](quint32 v) { return bytesOf({int(v >> 24), int(v >> 16 & 0xFF), int(v >> 8 & 0xFF), int(v & 0xFF)}); };
    const auto item = [&](int type, const QByteArray &body) { return bytesOf({type, 0}) + u16(int(body.size())) + body; };
    const QByteArray context = bytesOf({1, 0, 0, 0}) + item(0x30, "1.2.840.10008.1.1") + item(0x40, "1.2.840.10008.1.2");
    const QByteArray user = item(0x51, u32(16384)) + item(0x52, "1.2.826.0.1.3680043.2.1143.107.104");
    QByteArray body = u16(1) + u16(0) + called.leftJustified(16, ' ') + QByteArray("IDLE").leftJustified(16, ' ')
                      + QByteArray(32, '\0');
    body += item(0x10, "1.2.840.10008.3.1.1.1") + item(0x20, context) + item(0x50, user);
    return bytesOf({1, 0}) + u32(quint32(body.size())) + body;
}

qint64 residentKb(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
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

    Sent send(const QString &file, const QStringList &extra = {}, const QStringList &moreFiles = {})
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        QStringList args{QStringLiteral("-v"), QStringLiteral("-aet"), QStringLiteral("ECHO1")};
        if (!extra.contains(QStringLiteral("-aec")))
            args << QStringLiteral("-aec") << QStringLiteral("KALPIYON");
        // storescu reads and writes a deeply nested file recursively: give it the stack.
        p.start(QStringLiteral("sh"), QStringList{QStringLiteral("-c"), QStringLiteral("ulimit -s unlimited; exec storescu \"$@\""),
                                                  QStringLiteral("sh")}
                                          + args + extra + QStringList{QStringLiteral("127.0.0.1"), QString::number(port), file} + moreFiles);
        p.waitForFinished(300000);  // a 7,000-level file costs dcmtk's reader and writer half a minute
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAll())};
    }
    // C-ECHO, with dcmtk's own bounds on every wait (a receiver that does not answer fails it).
    Sent verify(int toPort = 0)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("echoscu"), {QStringLiteral("-v"), QStringLiteral("-to"), QStringLiteral("15"), QStringLiteral("-ta"),
                                            QStringLiteral("15"), QStringLiteral("-td"), QStringLiteral("15"), QStringLiteral("-aec"),
                                            QStringLiteral("KALPIYON"), QStringLiteral("127.0.0.1"), QString::number(toPort ? toPort : port)});
        p.waitForFinished(60000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAll())};
    }
    QList<dicom::Reception> taken()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return std::exchange(receptions, {});
    }
    // Sends a sample whose earlier copy is taken out of the inbox first: a copy still waiting
    // there would be kept and the repeat answered without a new reception.
    Sent sendFresh(const QString &sample, const QStringList &extra = {})
    {
        QFile::remove(QDir(dir.filePath(QStringLiteral("Gelen"))).filePath(dicom::inboxFileName(dicom::sopInstanceUidOf(sample))));
        return send(sample, extra);
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
    void repeatKeepsTheFirstCopy();
    void silentPeerBlocksNoOne();
    void idlePeerBlocksNoOne();
    void memoryIsGivenBack();
    void unwritableInboxIsAnswered();
    void busyPortIsAClearError();
    void options();
};

void TestReceiver::initTestCase()
{
    QVERIFY(dir.isValid());
    receiver = testdicom::receiverOnFreePort(dir.path(), &port);
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
    // Sent as a machine sends it, proposing only its own class: accepted, then answered.
    QTest::newRow("Basic Text SR") << "basic" << "Error: CannotUnderstand" << 0xC000;
    QTest::newRow("SR that is not an echo report") << "root" << "Error: CannotUnderstand" << 0xC000;
    QTest::newRow("SR without a content tree") << "damaged" << "Error: CannotUnderstand" << 0xC000;
    // The object cannot be parsed: it was answered with an abort.
    QTest::newRow("SR whose content tree is garbled") << "garbled" << "Error: CannotUnderstand" << 0xC000;
    // 7,000 nested levels overflowed the receiving thread's stack and killed the process.
    QTest::newRow("SR nested 7,000 levels deep") << "deep" << "Error: CannotUnderstand" << 0xC000;
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
    } else if (kind == QLatin1String("garbled")) {
        writeGarbledReport(file);
        extra = {QStringLiteral("-xi")};
    } else if (kind == QLatin1String("deep")) {
        QVERIFY(deeptest::writeDeepReport(file, 7000, "1.2.826.0.1.3680043.2.1143.9.7000"));
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
    const Sent echoed = verify();
    QVERIFY2(echoed.status == 0, qPrintable(echoed.output));
    QCOMPARE(sendFresh(fixture(QStringLiteral("tid5200-comprehensive.dcm"))).status, 0);
    QCOMPARE(taken().size(), 1);
}

void TestReceiver::survivesGarbage()
{
    QProcess p;
    p.start(QStringLiteral("bash"), {QStringLiteral("-c"), QStringLiteral("head -c 4000 /dev/urandom > /dev/tcp/127.0.0.1/%1").arg(port)});
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(sendFresh(fixture(QStringLiteral("tid5200-comprehensive.dcm"))).status, 0);
    QCOMPARE(taken().size(), 1);
}

// A peer that sends the first bytes of an association request and goes silent held up every
// other sender until it gave up (149 s).
// An object sent again while its first copy still waits is answered as stored and read past:
// the waiting file is the first one, untouched (a copy renamed over it would be a new file).
void TestReceiver::repeatKeepsTheFirstCopy()
{
    const QString sample = fixture(QStringLiteral("tid5200-comprehensive.dcm"));
    const QString waiting = QDir(dir.filePath(QStringLiteral("Gelen"))).filePath(dicom::inboxFileName(dicom::sopInstanceUidOf(sample)));
    Sent s = send(sample);
    QVERIFY2(s.status == 0 && s.output.contains(QStringLiteral("Received Store Response (Success)")), qPrintable(s.output));
    taken();
    QVERIFY(QFileInfo::exists(waiting));
    struct stat first {};
    QCOMPARE(::stat(QFile::encodeName(waiting).constData(), &first), 0);
    const QStringList before = inboxFiles();
    for (int i = 0; i < 2; ++i) {
        s = send(sample);
        QVERIFY2(s.status == 0 && s.output.contains(QStringLiteral("Received Store Response (Success)")), qPrintable(s.output));
    }
    QVERIFY(taken().isEmpty());  // nothing new to offer
    struct stat now {};
    QCOMPARE(::stat(QFile::encodeName(waiting).constData(), &now), 0);
    QCOMPARE(now.st_ino, first.st_ino);
    QCOMPARE(now.st_mtim.tv_nsec, first.st_mtim.tv_nsec);
    QCOMPARE(inboxFiles(), before);  // no part file left behind either
}

void TestReceiver::silentPeerBlocksNoOne()
{
    RawPeer silent(port);
    QVERIFY(silent.connected());
    QVERIFY(silent.send(associateRequest("KALPIYON").left(6)));
    const Sent echoed = verify();
    QVERIFY2(echoed.status == 0, qPrintable(echoed.output));
    const Sent s = sendFresh(fixture(QStringLiteral("tid5300-simplified.dcm")), {QStringLiteral("-R"), QStringLiteral("-ta"), QStringLiteral("15")});
    QVERIFY2(s.status == 0, qPrintable(s.output));
    QCOMPARE(taken().size(), 1);
}

// While one association sits idle, eight machines send three reports each at once: every
// association is served beside the others (they were served one after another).
void TestReceiver::idlePeerBlocksNoOne()
{
    RawPeer idle(port);
    QVERIFY(idle.connected());
    QVERIFY(idle.send(associateRequest("KALPIYON")));
    QCOMPARE(idle.answerType(), 0x02);  // accepted, then nothing more is sent
    // 24 different objects (a new SOP Instance UID each): a repeat would be kept once only.
    QTemporaryDir copies;
    QStringList reports;
    for (int i = 0; i < 24; ++i) {
        const QString copy = copies.filePath(QStringLiteral("r%1.dcm").arg(i));
        QVERIFY(QFile::copy(fixture(QStringLiteral("tid5200-comprehensive.dcm")), copy));
        QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(QProcess::execute(QStringLiteral("dcmodify"), {QStringLiteral("-nb"), QStringLiteral("-gin"), copy}) == 0);
        reports << copy;
    }
    std::vector<std::unique_ptr<QProcess>> senders;
    for (int i = 0; i < 8; ++i) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::MergedChannels);
        const QStringList args{QStringLiteral("-ta"), QStringLiteral("15"), QStringLiteral("-td"), QStringLiteral("15"),
                               QStringLiteral("-aet"), QStringLiteral("ECHO%1").arg(i), QStringLiteral("-aec"),
                               QStringLiteral("KALPIYON"), QStringLiteral("127.0.0.1"), QString::number(port)};
        p->start(QStringLiteral("storescu"), args + reports.mid(3 * i, 3));
        senders.push_back(std::move(p));
    }
    for (auto &p : senders) {
        QVERIFY(p->waitForFinished(90000));
        QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0, p->readAll().constData());
    }
    QCOMPARE(taken().size(), 24);
}

// The data tool's receiver gives back the memory of a large report (it kept 265 MB after one
// of 20,000 measurements, about ten times the file).
void TestReceiver::memoryIsGivenBack()
{
    const QString large = dir.filePath(QStringLiteral("large.dcm"));
    writeLargeReport(large, 20000);
    QTemporaryDir folder;
    QProcess tool;
    int toolPort = 0;
    for (int attempt = 0; attempt < 10 && !toolPort; ++attempt) {
        const int p = 20000 + int(QRandomGenerator::global()->bounded(40000));
        tool.start(QStringLiteral(KALPIYON_VERI), {QStringLiteral("dicom-al"), folder.path(), QStringLiteral("--port"),
                                                   QString::number(p), QStringLiteral("--ae"), QStringLiteral("KALPIYON")});
        QVERIFY(tool.waitForStarted());
        while (tool.state() == QProcess::Running && !tool.canReadLine())
            tool.waitForReadyRead(1000);
        if (tool.state() == QProcess::Running && tool.readLine().contains("dinliyor"))
            toolPort = p;
        else
            tool.waitForFinished();
    }
    QVERIFY(toolPort);
    const auto sendTo = [&](const QString &file) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("storescu"), {QStringLiteral("-v"), QStringLiteral("-aec"), QStringLiteral("KALPIYON"),
                                             QStringLiteral("127.0.0.1"), QString::number(toolPort), file});
        p.waitForFinished(300000);
        return p.exitCode() == 0 ? QString() : QString::fromLocal8Bit(p.readAll());
    };
    const auto nextLine = [&] {
        while (!tool.canReadLine() && tool.waitForReadyRead(60000)) {
        }
        return QString::fromUtf8(tool.readLine());
    };
    // Idle after a small report: libraries, dictionary and threads in place.
    QCOMPARE(sendTo(fixture(QStringLiteral("tid5200-comprehensive.dcm"))), QString());
    QVERIFY(nextLine().startsWith(QStringLiteral("Alındı")));
    QTest::qWait(500);
    const qint64 idle = residentKb(tool.processId());
    QVERIFY(idle > 0);
    const QString largeSent = sendTo(large);
    QVERIFY2(largeSent.isEmpty(), qPrintable(largeSent));
    const QString line = nextLine();
    QVERIFY2(line.startsWith(QStringLiteral("Alındı")), qPrintable(line));
    const qint64 fileKb = QFileInfo(large).size() / 1024;
    // The association's thread may still be finishing: wait for the memory to come back.
    qint64 after = residentKb(tool.processId());
    for (int i = 0; i < 50 && after - idle > fileKb; ++i) {
        QTest::qWait(100);
        after = residentKb(tool.processId());
    }
    tool.terminate();
    QVERIFY(tool.waitForFinished(10000));
    qInfo("resident: idle %lld kB, after a %lld kB report %lld kB", idle, fileKb, after);
    QVERIFY2(after - idle <= fileKb, qPrintable(QStringLiteral("idle %1 kB, after a %2 kB report %3 kB").arg(idle).arg(fileKb).arg(after)));
}

// When Gelen/ cannot take a file every object is answered "out of resources" and the
// association goes on.
void TestReceiver::unwritableInboxIsAnswered()
{
    QTemporaryDir other;
    QFile blocker(QDir(other.path()).filePath(QStringLiteral("Gelen")));  // a file where the folder belongs
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    int secondPort = 0;
    std::unique_ptr<dicom::Receiver> second = testdicom::receiverOnFreePort(other.path(), &secondPort);
    QVERIFY(second);
    std::mutex m;
    QList<dicom::Reception> got;
    second->onReception = [&](const dicom::Reception &r) {
        std::lock_guard<std::mutex> lock(m);
        got.append(r);
    };
    std::thread serving([&] { second->run(); });
    const int saved = std::exchange(port, secondPort);
    const QString report = fixture(QStringLiteral("tid5200-comprehensive.dcm"));
    const Sent s = send(report, {QStringLiteral("-R"), QStringLiteral("--no-halt")}, {fixture(QStringLiteral("tid5300-simplified.dcm"))});
    port = saved;
    second->stop();
    serving.join();
    QVERIFY2(s.output.count(QStringLiteral("Received Store Response (Refused: OutOfResources)")) == 2, qPrintable(s.output));
    QVERIFY2(!s.output.contains(QStringLiteral("Abort")), qPrintable(s.output));
    QCOMPARE(got.size(), 2);
    QCOMPARE(got.first().status, 0xA700u);
    QVERIFY2(got.first().message.contains(QStringLiteral("Gelen klasörüne yazılamıyor")), qPrintable(got.first().message));
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
