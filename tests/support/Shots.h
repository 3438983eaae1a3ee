#pragma once
// With KALPIYON_SHOTS set to a folder, tests save pictures of the windows they drive there,
// for a person to look at (run under xvfb-run with QT_QPA_PLATFORM=xcb for real decorations).

#include <QString>
#include <QWidget>

inline void saveShot(QWidget *window, const QString &name)
{
    const QString folder = qEnvironmentVariable("KALPIYON_SHOTS");
    if (!folder.isEmpty())
        window->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}
