#pragma once
// Window titles are exactly the windows' captions. Qt's X platform writes the application
// name as the title of a window whose caption is empty; this puts the empty title back, so
// that an empty program name gives an empty main-window title.

class QApplication;

void keepWindowTitlesExact(QApplication &app);
