#include "Receiver.h"

#include <QDir>
#include <QFile>

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dctk.h"
#include "dcmtk/dcmnet/diutil.h"
#include "dcmtk/dcmnet/scp.h"
#include "dcmtk/oflog/oflog.h"

#include "DurableFile.h"
#include "Error.h"
#include "Inbox.h"
#include "Settings.h"
#include "SrReader.h"

namespace dicom {
namespace {

// The storage classes an adult echo report comes in.
const char *const kAcceptedClasses[] = {
    UID_EnhancedSRStorage, UID_ComprehensiveSRStorage, UID_Comprehensive3DSRStorage, UID_SimplifiedAdultEchoSRStorage};

QString text(const OFString &s)
{
    return QString::fromLatin1(s.c_str(), int(s.length()));
}

// Saves the object beside its final name and checks the saved file with the SR reader, so
// that what is accepted is exactly what the user will take; an accepted file is flushed and
// renamed into place, a refused one removed. Throws Error (reader's refusal or write failure:
// `writeFailed` tells them apart).
QString storeChecked(DcmDataset &dataset, const QString &path, bool *writeFailed)
{
    const QString part = path + QStringLiteral(".part");
    const auto fail = [&](bool write, const QString &message) {
        QFile::remove(part);
        *writeFailed = write;
        throw Error(message);
    };
    DcmFileFormat file(&dataset);
    const OFCondition saved = file.saveFile(QFile::encodeName(part).constData(), EXS_LittleEndianExplicit);
    if (saved.bad())
        fail(true, QStringLiteral("Rapor kaydedilemedi: %1").arg(QString::fromLatin1(saved.text())));
    QString patient;
    try {
        patient = readSrFile(part).patientName;
    } catch (const Error &e) {
        fail(false, e.message());
    }
    QFile f(part);
    if (!f.open(QIODevice::ReadWrite) || !f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || !durable::syncFile(f))
        fail(true, QStringLiteral("Rapor kaydedilemedi: %1").arg(f.errorString()));
    f.close();
    QString error;
    if (!durable::rename(part, path, &error))
        fail(true, QStringLiteral("Rapor kaydedilemedi: %1").arg(error));
    return patient;
}

}  // namespace

class Receiver::Scp : public DcmSCP {
public:
    explicit Scp(Receiver &owner) : owner_(owner) {}

protected:
    OFCondition handleIncomingCommand(T_DIMSE_Message *message, const DcmPresentationContextInfo &info) override
    {
        if (message->CommandField != DIMSE_C_STORE_RQ)
            return DcmSCP::handleIncomingCommand(message, info);  // C-ECHO and refusals
        T_DIMSE_C_StoreRQ &request = message->msg.CStoreRQ;
        DcmDataset *dataset = nullptr;
        const OFCondition received = receiveSTORERequest(request, info.presentationContextID, dataset);
        if (received.bad()) {
            delete dataset;
            return received;  // the association is broken; DcmSCP aborts it
        }
        Reception r = take(request, dataset);
        delete dataset;
        if (owner_.onReception)
            owner_.onReception(r);
        return sendSTOREResponse(info.presentationContextID, request, Uint16(r.status));
    }

    // A sender must call us by our own AE title ("called AE title not recognized" otherwise).
    OFBool checkCalledAETitleAccepted(const OFString &calledAE) override
    {
        return text(calledAE).trimmed() == owner_.options_.aeTitle;
    }

    OFBool stopAfterConnectionTimeout() override { return owner_.stop_; }
    OFBool stopAfterCurrentAssociation() override { return owner_.stop_; }

private:
    Reception take(const T_DIMSE_C_StoreRQ &request, DcmDataset *dataset)
    {
        Reception r;
        if (!dataset) {
            r.status = STATUS_STORE_Error_CannotUnderstand;
            r.message = QStringLiteral("Nesne boş geldi.");
            return r;
        }
        OFString sopClass, sopInstance;
        dataset->findAndGetOFString(DCM_SOPClassUID, sopClass);
        dataset->findAndGetOFString(DCM_SOPInstanceUID, sopInstance);
        if (sopClass != request.AffectedSOPClassUID || sopInstance != request.AffectedSOPInstanceUID) {
            r.status = STATUS_STORE_Error_DataSetDoesNotMatchSOPClass;
            r.message = QStringLiteral("Nesnenin SOP sınıfı ya da kimliği isteğe uymuyor.");
            return r;
        }
        const QString folder = inboxFolder(owner_.options_.dataFolder, true);
        const QString path = QDir(folder).filePath(inboxFileName(text(sopInstance)));
        bool writeFailed = false;
        try {
            r.patientName = storeChecked(*dataset, path, &writeFailed);
        } catch (const std::exception &e) {
            r.status = writeFailed ? STATUS_STORE_Refused_OutOfResources : STATUS_STORE_Error_CannotUnderstand;
            r.message = QString::fromUtf8(e.what());
            return r;
        }
        r.stored = true;
        r.status = STATUS_Success;
        r.path = path;
        return r;
    }

    Receiver &owner_;
};

ReceiverOptions ReceiverOptions::fromSettings(const QString &dataFolder)
{
    const settings::Settings options = settings::Settings::load(settings::File::Secenekler);
    ReceiverOptions o;
    o.dataFolder = dataFolder;
    o.enabled = options.flag(settings::Key::DicomEnabled);
    o.port = options.number(settings::Key::DicomPort);
    o.aeTitle = options.text(settings::Key::DicomAeTitle).trimmed().left(16);
    return o;
}

Receiver::Receiver(ReceiverOptions options) : options_(std::move(options)), scp_(std::make_unique<Scp>(*this))
{
    static const bool quiet = [] {
        OFLog::configure(qEnvironmentVariableIsSet("KALPIYON_DCMTK_LOG") ? OFLogger::DEBUG_LOG_LEVEL : OFLogger::FATAL_LOG_LEVEL);
        return true;
    }();
    (void)quiet;
    DcmSCPConfig &c = scp_->getConfig();
    c.setPort(Uint16(options_.port));
    c.setAETitle(options_.aeTitle.toLatin1().constData());
    c.setConnectionBlockingMode(DUL_NOBLOCK);
    c.setConnectionTimeout(1);
    c.setACSETimeout(30);
    c.setDIMSETimeout(60);
    c.setHostLookupEnabled(OFFalse);
    const OFList<OFString> syntaxes = {UID_LittleEndianExplicitTransferSyntax, UID_BigEndianExplicitTransferSyntax,
                                       UID_LittleEndianImplicitTransferSyntax, UID_DeflatedExplicitVRLittleEndianTransferSyntax};
    const OFList<OFString> implicitOnly = {UID_LittleEndianImplicitTransferSyntax};
    for (const char *sop : kAcceptedClasses)
        c.addPresentationContext(sop, syntaxes);
    c.addPresentationContext(UID_VerificationSOPClass, implicitOnly);
}

Receiver::~Receiver() = default;

void Receiver::open()
{
    const OFCondition opened = scp_->openListenPort();
    if (opened.bad())
        throw Error(QStringLiteral("DICOM alıcısı %1 numaralı kapıyı açamadı: %2").arg(options_.port).arg(QString::fromLatin1(opened.text())));
}

void Receiver::run()
{
    scp_->acceptAssociations();
}

}  // namespace dicom
