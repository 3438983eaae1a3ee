#pragma once
// What the report engine's windows (preview, find, print, progress) share.

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace reports {

// Tahoma 8 pt, as every engine window is designed for.
inline void useEngineFont(QWidget *window)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    window->setFont(font);
}

inline void centreOnScreen(QWidget *window)
{
    if (QScreen *screen = QGuiApplication::primaryScreen())
        window->move(screen->geometry().center() - window->rect().center());
}

}  // namespace reports
