#include "Locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "Settings.h"
#include "TestSeam.h"

namespace settings {
namespace {

// A build tree has CMake's cache at its top, above every program it builds. An installed
// program has none above it, wherever it was installed or unpacked.
bool inBuildTree(const QString &folder)
{
    QDir dir(folder);
    do {
        if (dir.exists(QStringLiteral("CMakeCache.txt")))
            return true;
    } while (dir.cdUp());
    return false;
}

}  // namespace

QString settingsFolderFor(const QString &executableFolder)
{
    if (!executableFolder.isEmpty() && inBuildTree(executableFolder) && QFileInfo(executableFolder).isWritable())
        return executableFolder;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return config;
}

QString settingsFolder()
{
    if (const QString folder = seam::folder(seam::Folder::Settings); !folder.isEmpty())
        return folder;
    return settingsFolderFor(QCoreApplication::applicationDirPath());
}

QString ayarlarPath()
{
    return QDir(settingsFolder()).filePath(fileName(File::Ayarlar));
}

QString seceneklerPath()
{
    return QDir(settingsFolder()).filePath(fileName(File::Secenekler));
}

QString winIniPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    return QDir(folder).filePath(fileName(File::WinIni));
}

QString databaseAddress()
{
    return databaseAddressFrom(readText(Key::ServerAddress));
}

QString databaseAddressFrom(const QString &server)
{
    const QString address = server.trimmed();
    return address.isEmpty() ? QStringLiteral("Data.mdb") : address;
}

}  // namespace settings
