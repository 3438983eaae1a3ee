#pragma once
// What the report engine's windows (preview, find, print, progress) share.

#include <QFont>
#include <QWidget>

#include "Placement.h"

namespace reports {

// Tahoma 8 pt, as every engine window is designed for.
inline void useEngineFont(QWidget *window)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    window->setFont(font);
}

using ui::centreOnScreen;

}  // namespace reports
