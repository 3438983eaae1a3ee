#pragma once
// Widgets a .ui file marks with the dynamic property autoSize=true (labels and check boxes placed
// by their top-left corner only) take the size of their contents when first shown, as if they had
// only been moved: the size written in the .ui file is Designer's picture, not a constraint.

#include <QWidget>

namespace ui {

inline void sizeMarkedToContents(QWidget *window)
{
    for (QWidget *w : window->findChildren<QWidget *>())
        if (w->property("autoSize").toBool())
            w->setAttribute(Qt::WA_Resized, false);  // no explicit size: shown at its size hint
}

}  // namespace ui
