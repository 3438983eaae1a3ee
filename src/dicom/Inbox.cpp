#include "Inbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>

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

QString takenFolder(const QString &dataFolder)
{
    return QDir(inboxFolder(dataFolder)).filePath(QStringLiteral("Alinan"));
}

// One line per take: UID, time taken, patient name, record date, protocol number (tab-separated
// UTF-8). A plain text file, so that the practice can read it without the program.
QString indexPath(const QString &dataFolder)
{
    return QDir(takenFolder(dataFolder)).filePath(QStringLiteral("alinanlar.tsv"));
}

QString oneCell(QString text)
{
    for (QChar &c : text)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return text;
}

QList<TakenReport> readIndex(const QString &dataFolder)
{
    QList<TakenReport> list;
    QFile f(indexPath(dataFolder));
    if (!f.open(QIODevice::ReadOnly))
        return list;
    for (const QByteArray &line : f.readAll().split('\n')) {
        const QStringList cells = QString::fromUtf8(line).split(u'\t');
        if (cells.size() < 5 || cells[0].isEmpty())
            continue;
        list.append({cells[0], QDateTime::fromString(cells[1], Qt::ISODate), cells[2],
                     QDate::fromString(cells[3], Qt::ISODate), cells[4]});
    }
    return list;
}

bool appendToIndex(const QString &dataFolder, const TakenReport &t)
{
    QFile f(indexPath(dataFolder));
    QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    f.close();
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += '\n';
    const QStringList cells = {oneCell(t.sopInstanceUid), t.takenAt.toString(Qt::ISODate), oneCell(t.patientName),
                               t.studyDate.isValid() ? t.studyDate.toString(Qt::ISODate) : QString(), oneCell(t.protocol)};
    bytes += cells.join(u'\t').toUtf8() + '\n';
    return durable::writeFile(indexPath(dataFolder), bytes);
}

// A name in `folder` not yet taken, starting with `fileName` ("x.dcm", "x-2.dcm" ...).
QString freePath(const QDir &folder, const QString &fileName)
{
    const QFileInfo name(fileName);
    QString path = folder.filePath(fileName);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(QStringLiteral("%1-%2.%3").arg(name.completeBaseName()).arg(n).arg(name.suffix()));
    return path;
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
    const QList<TakenReport> taken = readIndex(dataFolder);
    for (const QFileInfo &info : inbox.entryInfoList({QStringLiteral("*.dcm")}, QDir::Files)) {
        try {
            const SrReport report = readSrFile(info.filePath());
            WaitingReport w{info.filePath(), report.patientName, report.contentTime, info.lastModified(), std::nullopt};
            for (const TakenReport &t : taken)
                if (!report.sopInstanceUid.isEmpty() && t.sopInstanceUid == report.sopInstanceUid)
                    w.taken = t;
            list.append(w);
        } catch (const Error &) {
            // not (or no longer) a report the program can take
        }
    }
    std::sort(list.begin(), list.end(), [](const WaitingReport &a, const WaitingReport &b) { return a.received > b.received; });
    return list;
}

QString sopInstanceUidOf(const QString &path)
{
    DcmFileFormat file;
    try {
        loadDicomFile(path, file);  // with the nesting check, as every reader of a file
    } catch (const Error &) {
        return QString();
    }
    OFString uid;
    file.getDataset()->findAndGetOFString(DCM_SOPInstanceUID, uid);
    return QString::fromLatin1(uid.c_str()).trimmed();
}

std::optional<TakenReport> findTaken(const QString &dataFolder, const QString &sopInstanceUid)
{
    std::optional<TakenReport> found;
    if (sopInstanceUid.isEmpty())
        return found;
    for (const TakenReport &t : readIndex(dataFolder))
        if (t.sopInstanceUid == sopInstanceUid)
            found = t;
    return found;
}

bool recordTaken(const QString &dataFolder, const TakenReport &taken, const QString &waitingPath)
{
    if (!makeOwnerOnlyFolder(takenFolder(dataFolder)) || !appendToIndex(dataFolder, taken))
        return false;
    const QFileInfo info(waitingPath);
    if (waitingPath.isEmpty() || !info.exists() || info.absolutePath() != QFileInfo(inboxFolder(dataFolder)).absoluteFilePath())
        return true;
    return durable::rename(waitingPath, freePath(QDir(takenFolder(dataFolder)), info.fileName()));
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

QString inboxPath(const QString &dataFolder, const QString &sopInstanceUid)
{
    const QString path = QDir(inboxFolder(dataFolder, true)).filePath(inboxFileName(sopInstanceUid));
    return QFileInfo::exists(path) ? QString() : path;
}

}  // namespace dicom
