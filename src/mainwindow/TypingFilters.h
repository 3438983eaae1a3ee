#pragma once
// The two typing filters of the main window. Pure functions: the character typed, the
// editor's text and caret position before it, and the character that enters the editor.

#include <QString>

namespace mainwindow {

// Turkish upper case of one character: i -> İ, ı -> I, ç ğ ö ş ü -> Ç Ğ Ö Ş Ü, a-z (q, w, x
// included) to upper case; everything else unchanged.
QString TurkishUpCase(const QString &ch);

// Field key filter: like TurkishUpCase, except that q and w stay lower case.
QString fieldKeyFilter(const QString &typed);

// Phrase key filter: upper-cases the typed character at the start of the text, after a blank
// and after a full stop; leaves it unchanged elsewhere.
QString phraseKeyFilter(const QString &typed, const QString &text, int caret);

}  // namespace mainwindow
