#pragma once
// Checks a DICOM receiver the way an ultrasound machine's "Verify" does: one C-ECHO to
// host:port with a called AE title, and the AE title rules a receiver's title must follow.

#include <QString>

namespace dicom {

struct EchoResult {
    bool ok = false;
    QString message;  // Turkish: what happened and what to do
    QString details;  // dcmtk's own text, when it failed
};

// Opens an association (calling AE "KALPIYON-DENE"), sends C-ECHO and releases it. Gives up
// after `timeoutSeconds` for the connection and for each answer, so it never hangs.
EchoResult echo(const QString &host, int port, const QString &calledAeTitle, int timeoutSeconds = 3);

// The longest AE title DICOM allows.
inline constexpr int kMaxAeTitleLength = 16;
// Empty when `title` is a valid AE title (1 to 16 characters of printable ASCII without "\",
// not only blanks); else a Turkish sentence saying what is wrong.
QString aeTitleProblem(const QString &title);

}  // namespace dicom
