// DICOM SR figures, each against a bare baseline measured in the same run:
//  - reading a 500-item echo SR (baseline: dcmtk loading the same file, nothing mapped);
//  - receiving one report end to end on loopback, stored durably in Gelen/ (baseline: a C-ECHO
//    association to the same receiver);
//  - resident memory of the idle receiver (baseline: the process before it).
#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

#include "Error.h"
#include "Measure.h"
#include "Receiver.h"
#include "SrReader.h"
#include "SrWriter.h"
#include "dcmtk/dcmnet/scu.h"

using namespace srtest;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// 50 sections of the four valves and the chambers, ten measurements each, some repeated.
void write500(const QString &path)
{
    const Code sites[] = {kMitral, kTricuspid, kAortic, kPulmonic, {"SCT", "87878005", "Left ventricle"}};
    std::vector<Item> sections;
    for (int s = 0; s < 50; ++s) {
        std::vector<Item> items;
        for (int i = 0; i < 10; ++i) {
            const Code code = i % 3 == 0 ? kPeakGradient : i % 3 == 1 ? kMeanGradient : kLvidd;
            const char *unit = i % 3 == 2 ? "mm" : "mm[Hg]";
            items.push_back(num(code, i % 2 ? "12.5" : "48.25", unit, {modifier(kDirection, kAntegrade)}));
        }
        sections.push_back(section(sites[s % 5], items));
    }
    write(path, echo(sections));
}

struct Sender {
    DcmSCU scu;
    explicit Sender(int port)
    {
        scu.setPeerHostName("127.0.0.1");
        scu.setPeerPort(Uint16(port));
        scu.setPeerAETitle("KALPIYON");
        scu.setAETitle("BENCH");
        scu.addPresentationContext(UID_ComprehensiveSRStorage, {UID_LittleEndianExplicitTransferSyntax});
        scu.addPresentationContext(UID_VerificationSOPClass, {UID_LittleEndianImplicitTransferSyntax});
        scu.initNetwork();
    }
    bool run(const char *file)
    {
        if (scu.negotiateAssociation().bad())
            return false;
        Uint16 status = 0xFFFF;
        bool ok;
        if (file) {
            const T_ASC_PresentationContextID id = scu.findPresentationContextID(UID_ComprehensiveSRStorage, "");
            ok = scu.sendSTORERequest(id, file, nullptr, status).good() && status == 0;
        } else {
            ok = scu.sendECHORequest(0).good();
        }
        scu.releaseAssociation();
        return ok;
    }
};

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const double rssStart = residentMB();

    const QString big = dir.filePath(QStringLiteral("500.dcm"));
    write500(big);
    std::vector<double> load, tree, read, readCpu;
    for (int i = 0; i < 30; ++i) {
        QElapsedTimer t;
        t.start();
        DcmFileFormat f;
        f.loadFile(big.toLocal8Bit().constData());
        load.push_back(ms(t));
        t.restart();
        DSRDocument doc;
        doc.read(*f.getDataset(), DSRTypes::RF_ignoreRelationshipConstraints | DSRTypes::RF_ignoreContentItemErrors);
        tree.push_back(ms(t));
        t.restart();
        const std::clock_t cpu = std::clock();
        const dicom::SrReport r = dicom::readSrFile(big);
        read.push_back(ms(t));
        readCpu.push_back(1000.0 * double(std::clock() - cpu) / CLOCKS_PER_SEC);
        if (r.values.size() < 8)
            std::printf("unexpected: %d values\n", int(r.values.size()));
    }
    std::printf("read 500-item SR:        %7.2f ms   (baseline dcmtk load alone %6.2f ms, load + dcmsr tree %6.2f ms)   target < 20 ms\n",
                median(read), median(load), median(load) + median(tree));
    std::printf("  (processor time of the read: %.2f ms; wall times depend on the machine's load)\n", median(readCpu));

    const double rssBefore = residentMB();
    dicom::ReceiverOptions o;
    o.dataFolder = dir.path();
    std::unique_ptr<dicom::Receiver> receiver;
    for (int attempt = 0; attempt < 20 && !receiver; ++attempt) {
        o.port = 20000 + int(QRandomGenerator::global()->bounded(40000));
        auto r = std::make_unique<dicom::Receiver>(o);
        try {
            r->open();
            receiver = std::move(r);
        } catch (const Error &) {
        }
    }
    if (!receiver)
        return 1;
    std::thread thread([&] { receiver->run(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const double rssIdle = residentMB();
    std::printf("idle receiver memory:    %7.2f MB   (process before %6.2f MB, at start %6.2f MB)   target < 5 MB\n",
                rssIdle - rssBefore, rssBefore, rssStart);

    const QByteArray sample = QByteArray(KALPIYON_SAMPLE);
    std::vector<double> echoes, stores;
    for (int i = 0; i < 20; ++i) {
        Sender echo(o.port), store(o.port);
        QElapsedTimer t;
        t.start();
        const bool e = echo.run(nullptr);
        echoes.push_back(ms(t));
        t.restart();
        const bool s = store.run(sample.constData());
        stores.push_back(ms(t));
        if (!e || !s)
            std::printf("association failed\n");
    }
    std::printf("receive one report:      %7.2f ms   (baseline C-ECHO association %6.2f ms)   target < 200 ms\n",
                median(stores), median(echoes));
    receiver->stop();
    thread.join();
    return 0;
}
