#include "Echo.h"

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmnet/scu.h"

namespace dicom {

namespace {

QString text(const OFCondition &c)
{
    return QString::fromLatin1(c.text());
}

EchoResult failed(const QString &message, const OFCondition &c)
{
    return {false, message, text(c)};
}

}  // namespace

EchoResult echo(const QString &host, int port, const QString &calledAeTitle, int timeoutSeconds)
{
    DcmSCU scu;
    scu.setAETitle("KALPIYON-DENE");
    scu.setPeerHostName(host.toLatin1().constData());
    scu.setPeerPort(Uint16(port));
    scu.setPeerAETitle(calledAeTitle.toLatin1().constData());
    scu.setConnectionTimeout(timeoutSeconds);
    scu.setACSETimeout(Uint32(timeoutSeconds));
    scu.setDIMSEBlockingMode(DIMSE_NONBLOCKING);
    scu.setDIMSETimeout(Uint32(timeoutSeconds));
    OFList<OFString> syntaxes;
    syntaxes.push_back(UID_LittleEndianImplicitTransferSyntax);
    scu.addPresentationContext(UID_VerificationSOPClass, syntaxes);

    const QString where = QStringLiteral("%1:%2").arg(host).arg(port);
    OFCondition c = scu.initNetwork();
    if (c.bad())
        return failed(QStringLiteral("Ağ hazırlanamadı; bilgisayarın ağ ayarlarını denetleyin."), c);
    c = scu.negotiateAssociation();
    if (c == NET_EC_NoAcceptablePresentationContexts)
        return failed(QStringLiteral("%1 bağlantıyı kabul etti ama doğrulamayı (C-ECHO) desteklemiyor.").arg(where), c);
    if (c.bad()) {
        if (c == DUL_ASSOCIATIONREJECTED)
            return failed(QStringLiteral("%1 bağlantıyı reddetti; AE başlığı \"%2\" orada tanınmıyor olabilir.")
                              .arg(where, calledAeTitle),
                          c);
        return failed(QStringLiteral("%1 adresinde çalışan bir DICOM alıcısına ulaşılamadı; kapı numarasını ve "
                                     "alıcının açık olduğunu denetleyin.")
                          .arg(where),
                      c);
    }
    c = scu.sendECHORequest(0);
    scu.releaseAssociation();
    if (c.bad())
        return failed(QStringLiteral("%1 doğrulamaya (C-ECHO) yanıt vermedi.").arg(where), c);
    return {true, QStringLiteral("%1 adresindeki DICOM alıcısı (AE başlığı \"%2\") doğrulamaya yanıt verdi.").arg(where, calledAeTitle), {}};
}

QString aeTitleProblem(const QString &title)
{
    if (title.trimmed().isEmpty())
        return QStringLiteral("AE başlığı boş olamaz.");
    if (title.size() > kMaxAeTitleLength)
        return QStringLiteral("AE başlığı en çok %1 karakter olabilir (şu an %2).").arg(kMaxAeTitleLength).arg(title.size());
    for (const QChar ch : title)
        if (ch.unicode() < 0x20 || ch.unicode() > 0x7E || ch == QLatin1Char('\\'))
            return QStringLiteral("AE başlığında \"%1\" kullanılamaz: yalnızca Türkçe harf içermeyen harfler, rakamlar, "
                                  "boşluk ve noktalama işaretleri (ters bölü dışında) kullanılabilir.")
                .arg(ch);
    return QString();
}

}  // namespace dicom
