#pragma once
// Where windows open. The main window opens centred on the desktop, the report engine's
// print, progress and find windows centred on the screen, and every other dialog centred on
// the window it belongs to (the main window, or the dialog that opened it). Client areas are
// centred: a window has no frame before it is first shown, and the frames of one window
// manager are alike, so centred client areas are centred frames too.

#include <QRect>

class QApplication;
class QWidget;

namespace ui {

// Places `window` (a top-level widget) with its client area centred on `area`.
void centreOn(QWidget *window, const QRect &area);
void centreOnScreen(QWidget *window);

// Centres each dialog on its parent window every time it is shown, unless the program
// placed it itself (QWidget::move) or it opens maximized or full screen.
void centreDialogsOnParents(QApplication &app);

}  // namespace ui
