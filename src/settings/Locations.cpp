#include "Locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "ProfileFile.h"

namespace settings {
namespace {

QString &folderOverride()
{
    static QString folder;
    return folder;
}

// An executable under one of these prefixes was installed; its folder is not ours to write.
bool isSystemFolder(const QString &path)
{
    static const char *const prefixes[] = {"/usr/", "/opt/", "/bin", "/sbin", "/snap/", "/app/"};
    const QString canonical = QFileInfo(path).canonicalFilePath() + QLatin1Char('/');
    for (const char *p : prefixes)
        if (canonical.startsWith(QLatin1String(p)))
            return true;
    return false;
}

}  // namespace

QString settingsFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!exeDir.isEmpty() && QFileInfo(exeDir).isWritable() && !isSystemFolder(exeDir))
        return exeDir;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return config;
}

QString ayarlarPath()
{
    return QDir(settingsFolder()).filePath(QStringLiteral("Ayarlar"));
}

QString seceneklerPath()
{
    return QDir(settingsFolder()).filePath(QStringLiteral("Secenekler"));
}

QString option(const QString &section, const QString &key, const QString &defaultText)
{
    return ProfileFile(seceneklerPath()).readText(section, key, defaultText);
}

QString databaseAddress()
{
    const QString server = option(QStringLiteral("Sunucu"), QStringLiteral("Baglanti")).trimmed();
    return server.isEmpty() ? QStringLiteral("Data.mdb") : server;
}

void setSettingsFolderForTests(const QString &folder)
{
    folderOverride() = folder;
}

}  // namespace settings
