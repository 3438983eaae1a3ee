#include "Inbox.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "DurableFile.h"
#include "Error.h"
#include "SrReader.h"

namespace dicom {
namespace {
constexpr QFileDevice::Permissions kOwnerOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

bool makeOwnerOnlyFolder(const QString &path)
{
    if (!QDir().mkpath(path))
        return false;
    return QFile::setPermissions(path, kOwnerOnlyFolder);
}
}  // namespace

QString inboxFolder(const QString &dataFolder, bool create)
{
    const QString folder = QDir(dataFolder).absoluteFilePath(QStringLiteral("Gelen"));
    if (create)
        makeOwnerOnlyFolder(folder);
    return folder;
}

QList<WaitingReport> waitingReports(const QString &dataFolder)
{
    QList<WaitingReport> list;
    const QDir inbox(inboxFolder(dataFolder));
    for (const QFileInfo &info : inbox.entryInfoList({QStringLiteral("*.dcm")}, QDir::Files)) {
        try {
            const SrReport report = readSrFile(info.filePath());
            list.append({info.filePath(), report.patientName, report.contentTime, info.lastModified()});
        } catch (const Error &) {
            // not (or no longer) a report the program can take
        }
    }
    std::sort(list.begin(), list.end(), [](const WaitingReport &a, const WaitingReport &b) { return a.received > b.received; });
    return list;
}

bool markTaken(const QString &path)
{
    const QFileInfo info(path);
    const QString taken = info.dir().filePath(QStringLiteral("Alinan"));
    if (!makeOwnerOnlyFolder(taken))
        return false;
    return durable::rename(path, QDir(taken).filePath(info.fileName()));
}

QString inboxFileName(const QString &sopInstanceUid)
{
    QString name;
    for (const QChar c : sopInstanceUid)
        if (c.isDigit() || c == u'.')
            name += c;
    if (name.isEmpty())
        name = QStringLiteral("rapor");
    return name.left(64) + QStringLiteral(".dcm");
}

}  // namespace dicom
