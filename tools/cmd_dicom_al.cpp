// dicom-al [KLASÖR] [--port N] [--ae AE]: the DICOM receiver on its own, for a practice that
// wants it always on. Stores reports in KLASÖR/Gelen (default: the current folder, where
// Data.mdb is); port and AE title from Secenekler (settings::Key::Dicom*) unless given. Runs until
// it is interrupted (Ctrl+C, SIGTERM); one line per object received.
#include <QDir>
#include <csignal>

#include "Command.h"
#include "Error.h"
#include "Receiver.h"

namespace {
const char *kUsage = "dicom-al [KLASÖR] [--port N] [--ae AE]";

dicom::Receiver *running = nullptr;

extern "C" void stopReceiver(int)
{
    if (running)
        running->stop();
}

int runDicomAl(const QCommandLineParser &line)
{
    const QStringList args = line.positionalArguments();
    const QString port = line.value(QStringLiteral("port"));
    const QString ae = line.value(QStringLiteral("ae"));
    const QString folder = QDir(args.value(0, QStringLiteral("."))).absolutePath();
    if (!QDir(folder).exists())
        throw Error(QStringLiteral("Klasör bulunamadı: %1").arg(folder));
    dicom::ReceiverOptions options = dicom::ReceiverOptions::fromSettings(folder);
    if (!port.isEmpty()) {
        bool ok = false;
        options.port = port.toInt(&ok);
        if (!ok || options.port <= 0 || options.port > 65535)
            throw Error(QStringLiteral("Geçersiz kapı numarası: '%1'").arg(port));
    }
    if (!ae.isEmpty())
        options.aeTitle = ae.left(16);
    dicom::Receiver receiver(options);
    receiver.onReception = [](const dicom::Reception &r) {
        if (r.stored)
            out() << "Alındı: " << r.patientName << " -> " << r.path << "\n";
        else
            out() << "Reddedildi (durum 0x" << QString::number(r.status, 16).rightJustified(4, u'0') << "): " << r.message << "\n";
        out().flush();
    };
    receiver.open();
    running = &receiver;
    std::signal(SIGINT, stopReceiver);
    std::signal(SIGTERM, stopReceiver);
    out() << "DICOM alıcısı dinliyor: kapı " << options.port << ", AE başlığı " << options.aeTitle << ", klasör "
          << QDir(folder).filePath(QStringLiteral("Gelen")) << "\n";
    out().flush();
    receiver.run();
    running = nullptr;
    out() << "DICOM alıcısı durdu.\n";
    return 0;
}

const bool registered = registerCommand({"dicom-al", kUsage, runDicomAl});
}  // namespace
