#pragma once
// Sending prepared pages to a printer: the print dialog, then the printing loop with its
// progress window.

#include <QWidget>

#include "Engine.h"

namespace reports {

// Refuses with "Bilgisayarınızda kurulu hiçbir yazıcı yok" when no printer is installed.
// `currentPage` (1-based) is what "Geçerli sayfa" prints. Returns true when a job was sent.
bool PrintPrepared(const PreparedReport &report, QWidget *parent, int currentPage = 1);

}  // namespace reports
