#pragma once
// The windows' font, "MS Sans Serif". Its stand-in must have its widths, or captions laid out
// for it are cut ("Kalpiyon Raporu" beside its icon in an 89-pixel button): Nimbus Sans Narrow
// and Liberation Sans Narrow have them; Liberation Sans (Arial's widths) is a fifth wider.

#include <QFont>

namespace ui {

QFont windowFont(int pointSize = 8);
// Menus draw in the platform's menu font, not the window's, so the menu bar keeps the
// platform's height whatever the window font is.
QFont menuFont();
// The same face at a character height in pixels (a window's "13 pixels high" font).
QFont windowFontOfPixels(int pixels);

}  // namespace ui
