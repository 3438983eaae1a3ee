#pragma once
// Sending prepared pages to a printer.

#include <QWidget>

#include "Engine.h"

namespace reports {

// Prints through the print dialog; refuses with "Bilgisayarınızda kurulu hiçbir yazıcı yok"
// when no printer is installed. `currentPage` (0-based) is the preview's current page.
// Returns true when something was printed.
bool PrintPrepared(const PreparedReport &report, QWidget *parent, int currentPage = 0);

}  // namespace reports
