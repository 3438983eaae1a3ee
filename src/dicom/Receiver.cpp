#include "Receiver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dctk.h"
#include "dcmtk/dcmnet/assoc.h"
#include "dcmtk/dcmnet/dcmtrans.h"
#include "dcmtk/dcmnet/diutil.h"
#include "dcmtk/dcmnet/dul.h"
#include "dcmtk/dcmnet/scpthrd.h"
#include "dcmtk/oflog/oflog.h"

#include "DurableFile.h"
#include "Error.h"
#include "Inbox.h"
#include "Settings.h"
#include "SrReader.h"

namespace dicom {
namespace {

// Bounds, in seconds, of every wait on a peer.
constexpr int kRequestSeconds = 10;  // from connecting to a complete association request
constexpr int kAcseSeconds = 10;     // association negotiation and release
constexpr int kDimseSeconds = 120;   // for the next message, and for each part of one
constexpr int kSocketSeconds = 60;   // any single read or write on the connection
// An association request larger than this is handed over once this much has arrived (a
// socket buffer holds it; the rest is bounded by kSocketSeconds).
constexpr int kRequestPeek = 60000;
// Each association's thread: dcmtk's reading recurses per nesting level, and loading is
// refused above kMaxNesting, far below what this stack holds.
constexpr size_t kThreadStack = size_t(16) << 20;
// After an object larger than this the allocator gives its memory back to the system.
constexpr qint64 kTrimAfterBytes = qint64(1) << 20;

// Every SR storage class is accepted at association, so that the machine hears from the SR
// reader why a report is not taken ("Cannot understand") instead of "no presentation context".
const char *const kAcceptedClasses[] = {
    UID_BasicTextSRStorage,
    UID_EnhancedSRStorage,
    UID_ComprehensiveSRStorage,
    UID_Comprehensive3DSRStorage,
    UID_ExtensibleSRStorage,
    UID_SimplifiedAdultEchoSRStorage,
    UID_ProcedureLogStorage,
    UID_MammographyCADSRStorage,
    UID_KeyObjectSelectionDocumentStorage,
    UID_ChestCADSRStorage,
    UID_ColonCADSRStorage,
    UID_XRayRadiationDoseSRStorage,
    UID_EnhancedXRayRadiationDoseSRStorage,
    UID_RadiopharmaceuticalRadiationDoseSRStorage,
    UID_PatientRadiationDoseSRStorage,
    UID_AcquisitionContextSRStorage,
    UID_ImplantationPlanSRDocumentStorage,
    UID_PlannedImagingAgentAdministrationSRStorage,
    UID_PerformedImagingAgentAdministrationSRStorage,
};

QString text(const OFString &s)
{
    return QString::fromLatin1(s.c_str(), int(s.length()));
}

// dcmtk takes an accepted connection only through one process-wide setting, so handing one
// over is done by one thread at a time (it reads a request that has already arrived).
std::mutex handOverMutex;

// Waits until the connection has sent a whole A-ASSOCIATE-RQ (so that reading it cannot
// block), at most kRequestSeconds. False for anything else: silence, a closed connection,
// another kind of data.
bool requestArrived(int socket, const std::atomic<bool> &stop)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(kRequestSeconds);
    while (!stop && Clock::now() < deadline) {
        pollfd p{socket, POLLIN, 0};
        if (::poll(&p, 1, 200) <= 0)
            continue;
        int available = 0;
        if (::ioctl(socket, FIONREAD, &available) != 0 || available == 0)
            return false;  // closed
        if (available < 6)
            continue;
        unsigned char head[6];
        if (::recv(socket, head, sizeof head, MSG_PEEK) != 6 || head[0] != 0x01)
            return false;
        const quint32 length = quint32(head[2]) << 24 | quint32(head[3]) << 16 | quint32(head[4]) << 8 | head[5];
        if (length > dcmAssociatePDUSizeLimit.get())
            return false;
        if (available >= 6 + qint64(std::min<quint32>(length, kRequestPeek)))
            return true;
        // Wait for more without spinning on the bytes already there.
        ::usleep(20000);
    }
    return false;
}

void boundWaits(int socket)
{
    const timeval t{kSocketSeconds, 0};
    ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &t, sizeof t);
    ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &t, sizeof t);
}

struct Accepted {
    T_ASC_Network *network = nullptr;
    T_ASC_Association *association = nullptr;
};

// Gives dcmtk its own descriptor of the connection. Its association (and descriptor) is
// dropped by the caller; when dcmtk fails before making one, its descriptor is left to it
// rather than risk closing a number another thread got meanwhile.
Accepted handOver(int socket)
{
    Accepted a;
    const int theirs = ::fcntl(socket, F_DUPFD_CLOEXEC, 3);
    if (theirs < 0)
        return a;
    std::lock_guard<std::mutex> lock(handOverMutex);
    dcmExternalSocketHandle.set(theirs);
    OFCondition c = ASC_initializeNetwork(NET_ACCEPTOR, 0, kAcseSeconds, &a.network);
    if (c.good())
        c = ASC_receiveAssociation(a.network, &a.association, ASC_DEFAULTMAXPDU, nullptr, nullptr, OFFalse, DUL_NOBLOCK,
                                   kAcseSeconds);
    dcmExternalSocketHandle.set(DCMNET_INVALID_SOCKET);
    if (c.good())
        return a;
    if (!a.network)
        ::close(theirs);  // dcmtk never saw it
    if (a.association) {
        ASC_dropAssociation(a.association);
        ASC_destroyAssociation(&a.association);
    }
    if (a.network)
        ASC_dropNetwork(&a.network);
    return a;
}

// dcmtk's process-wide network settings, once.
void configureLibrary()
{
    static const bool done = [] {
        OFLog::configure(qEnvironmentVariableIsSet("KALPIYON_DCMTK_LOG") ? OFLogger::DEBUG_LOG_LEVEL : OFLogger::FATAL_LOG_LEVEL);
        dcmDisableGethostbyaddr.set(OFTrue);  // no name lookups: they wait without bound
        dcmConnectionTimeout.set(kAcseSeconds);
        dcmSocketReceiveTimeout.set(kSocketSeconds);
        dcmSocketSendTimeout.set(kSocketSeconds);
        return true;
    }();
    (void)done;
}

QString turkishSocketError(int error)
{
    switch (error) {
    case EADDRINUSE:
        return QStringLiteral("kapı başka bir program tarafından kullanılıyor (Kalpiyon ya da \"kalpiyon-veri dicom-al\" "
                              "zaten çalışıyor olabilir); onu kapatın ya da başka bir kapı seçin.");
    case EACCES:
        return QStringLiteral("1024'ten küçük kapıları yalnızca yönetici açabilir; 11112 gibi bir kapı seçin.");
    default:
        return QStringLiteral("ağ bağlantısı kurulamadı; bilgisayarın ağ ayarlarına bakın.");
    }
}

}  // namespace

// The settings every association's SCP shares.
struct Receiver::Config {
    DcmSharedSCPConfig shared;
};

class Receiver::Scp : public DcmThreadSCP {
public:
    Scp(Receiver &owner, T_ASC_Association *association) : owner_(owner), association_(association) {}

protected:
    OFCondition handleIncomingCommand(T_DIMSE_Message *message, const DcmPresentationContextInfo &info) override
    {
        if (message->CommandField != DIMSE_C_STORE_RQ)
            return DcmSCP::handleIncomingCommand(message, info);  // C-ECHO and refusals
        T_DIMSE_C_StoreRQ &request = message->msg.CStoreRQ;
        const QString path = inboxPath(owner_.options_.dataFolder, text(request.AffectedSOPInstanceUID));
        if (path.isEmpty())
            return acceptRepeat(request, info.presentationContextID);
        static std::atomic<unsigned> serial{0};
        const QString part = QStringLiteral("%1.%2-%3.part").arg(path).arg(::getpid()).arg(serial++);
        QFile probe(part);
        if (!probe.open(QIODevice::WriteOnly))
            return refuseUnwritable(request, info.presentationContextID, probe.errorString());
        probe.close();
        // The object goes to the file as it comes, unparsed: nothing of it is read before the
        // file has been checked.
        const OFCondition received = receiveSTORERequest(request, info.presentationContextID,
                                                         OFString(QFile::encodeName(part).constData()));
        if (received.bad()) {
            QFile::remove(part);
            return received;  // the connection is broken: nothing to answer on
        }
        const qint64 size = QFileInfo(part).size();
        const Reception r = take(request, part, path);
        if (size > kTrimAfterBytes)
            ::malloc_trim(0);
        if (r.stored || r.status != STATUS_Success)  // a repeat that lost the race says nothing
            owner_.report(r);
        return sendSTOREResponse(info.presentationContextID, request, Uint16(r.status));
    }

    // A sender must call us by our own AE title ("called AE title not recognized" otherwise).
    OFBool checkCalledAETitleAccepted(const OFString &calledAE) override
    {
        return text(calledAE).trimmed() == owner_.options_.aeTitle;
    }

private:
    // A copy of this object already waits in the inbox: the first copy is kept, the repeat is
    // read past and answered as stored (the machine need not send it again).
    OFCondition acceptRepeat(const T_DIMSE_C_StoreRQ &request, T_ASC_PresentationContextID context)
    {
        DIC_UL bytes = 0, pdvs = 0;
        const OFCondition skipped = DIMSE_ignoreDataSet(association_, DIMSE_NONBLOCKING, kDimseSeconds, &bytes, &pdvs);
        if (skipped.bad())
            return skipped;
        return sendSTOREResponse(context, request, Uint16(STATUS_Success));
    }

    // The inbox cannot take a file: the object is read past and answered "out of resources".
    OFCondition refuseUnwritable(const T_DIMSE_C_StoreRQ &request, T_ASC_PresentationContextID context, const QString &why)
    {
        DIC_UL bytes = 0, pdvs = 0;
        const OFCondition skipped = DIMSE_ignoreDataSet(association_, DIMSE_NONBLOCKING, kDimseSeconds, &bytes, &pdvs);
        Reception r;
        r.status = STATUS_STORE_Refused_OutOfResources;
        r.message = kUnwritable;
        r.details = why;
        owner_.report(r);
        if (skipped.bad())
            return skipped;
        return sendSTOREResponse(context, request, Uint16(r.status));
    }

    struct Mismatch : Error {
        Mismatch() : Error(QStringLiteral("Nesnenin SOP sınıfı ya da kimliği isteğe uymuyor; cihazdan yeniden gönderin.")) {}
    };

    Reception take(const T_DIMSE_C_StoreRQ &request, const QString &part, const QString &path)
    {
        Reception r;
        const auto refused = [&](unsigned status, const QString &message, const QString &details) {
            QFile::remove(part);
            r.status = status;
            r.message = message;
            r.details = details;
            return r;
        };
        bool writeFailed = false;
        try {
            r.patientName = check(request, part);
            if (!keep(part, path, &writeFailed)) {
                r.status = STATUS_Success;  // the first copy, received meanwhile, stays
                return r;
            }
        } catch (const Mismatch &e) {
            return refused(STATUS_STORE_Error_DataSetDoesNotMatchSOPClass, e.message(), e.details());
        } catch (const Error &e) {
            return refused(writeFailed ? STATUS_STORE_Refused_OutOfResources : STATUS_STORE_Error_CannotUnderstand,
                           e.message(), e.details());
        } catch (const std::exception &e) {
            return refused(STATUS_STORE_Error_CannotUnderstand, QStringLiteral("Rapor okunamadı; cihazdan yeniden gönderin."),
                           QString::fromUtf8(e.what()));
        }
        r.stored = true;
        r.status = STATUS_Success;
        r.path = path;
        return r;
    }

    // Reads the received file as the user will take it; the dataset is freed on return.
    // Throws Error: not a report, damaged, or not the object the request announced.
    QString check(const T_DIMSE_C_StoreRQ &request, const QString &part)
    {
        DcmFileFormat file;
        loadDicomFile(part, file);
        DcmDataset &dataset = *file.getDataset();
        OFString sopClass, sopInstance;
        dataset.findAndGetOFString(DCM_SOPClassUID, sopClass);
        dataset.findAndGetOFString(DCM_SOPInstanceUID, sopInstance);
        if (sopClass != request.AffectedSOPClassUID || sopInstance != request.AffectedSOPInstanceUID)
            throw Mismatch();
        return readSrDataset(dataset).patientName;
    }

    // Owner-only, flushed, and renamed into place; false when a copy of the same object took
    // its place meanwhile (the part file is then dropped).
    static bool keep(const QString &part, const QString &path, bool *writeFailed)
    {
        *writeFailed = true;
        QFile f(part);
        if (!f.open(QIODevice::ReadWrite) || !f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
            || !durable::syncFile(f))
            throw Error(kUnwritable, f.errorString());
        f.close();
        // Two machines may send the same object at once: the first one renamed into place stays.
        static std::mutex renaming;
        const std::lock_guard<std::mutex> lock(renaming);
        if (QFileInfo::exists(path)) {
            QFile::remove(part);
            return false;
        }
        QString error;
        if (!durable::rename(part, path, &error))
            throw Error(kUnwritable, error);
        return true;
    }

    static inline const QString kUnwritable =
        QStringLiteral("Rapor kaydedilemedi: Gelen klasörüne yazılamıyor; diskte yer ve klasörün izinlerine bakın.");
    Receiver &owner_;
    T_ASC_Association *association_ = nullptr;
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

Receiver::Receiver(ReceiverOptions options) : options_(std::move(options)), config_(std::make_unique<Config>())
{
    configureLibrary();
    DcmSCPConfig &c = *config_->shared;
    c.setPort(Uint16(options_.port));
    c.setAETitle(options_.aeTitle.toLatin1().constData());
    c.setACSETimeout(kAcseSeconds);
    c.setDIMSEBlockingMode(DIMSE_NONBLOCKING);
    c.setDIMSETimeout(kDimseSeconds);
    c.setHostLookupEnabled(OFFalse);
    const OFList<OFString> syntaxes = {UID_LittleEndianExplicitTransferSyntax, UID_BigEndianExplicitTransferSyntax,
                                       UID_LittleEndianImplicitTransferSyntax, UID_DeflatedExplicitVRLittleEndianTransferSyntax};
    const OFList<OFString> implicitOnly = {UID_LittleEndianImplicitTransferSyntax};
    for (const char *sop : kAcceptedClasses)
        c.addPresentationContext(sop, syntaxes);
    c.addPresentationContext(UID_VerificationSOPClass, implicitOnly);
}

Receiver::~Receiver()
{
    if (listenSocket_ >= 0)
        ::close(listenSocket_);
}

void Receiver::open()
{
    const auto fail = [this](int error) {
        if (listenSocket_ >= 0)
            ::close(listenSocket_);
        listenSocket_ = -1;
        throw Error(QStringLiteral("DICOM alıcısı %1 numaralı kapıyı açamadı: %2").arg(options_.port).arg(turkishSocketError(error)),
                    QString::fromLocal8Bit(std::strerror(error)));
    };
    listenSocket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenSocket_ < 0)
        fail(errno);
    const int yes = 1;
    ::setsockopt(listenSocket_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(quint16(options_.port));
    if (::bind(listenSocket_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(listenSocket_, 64) != 0)
        fail(errno);
}

void Receiver::run()
{
    while (!stop_) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            if (int(sockets_.size()) >= kMaxAssociations) {
                ended_.wait_for(lock, std::chrono::milliseconds(200));
                continue;
            }
        }
        pollfd p{listenSocket_, POLLIN, 0};
        if (::poll(&p, 1, 200) <= 0)
            continue;
        const int socket = ::accept4(listenSocket_, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket >= 0 && !startWorker(socket))
            ::close(socket);
    }
    cutAll();
}

namespace {
struct Job {
    Receiver *receiver;
    int socket;
};
}  // namespace

bool Receiver::startWorker(int socket)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        sockets_.insert(socket);
    }
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, kThreadStack);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    auto *job = new Job{this, socket};
    const bool started = ::pthread_create(&thread, &attributes, &Receiver::serveThread, job) == 0;
    pthread_attr_destroy(&attributes);
    if (!started) {
        delete job;
        std::lock_guard<std::mutex> lock(mutex_);
        sockets_.erase(socket);
    }
    return started;
}

void *Receiver::serveThread(void *j)
{
    const std::unique_ptr<Job> job(static_cast<Job *>(j));
    Receiver &self = *job->receiver;
    self.serve(job->socket);
    ::malloc_trim(0);  // the thread's arena keeps what the association allocated otherwise
    std::lock_guard<std::mutex> lock(self.mutex_);
    ::close(job->socket);
    self.sockets_.erase(job->socket);
    self.ended_.notify_all();
    return nullptr;
}

// One association, start to end. The caller closes `socket`; dcmtk's own descriptor of it
// goes with its association.
void Receiver::serve(int socket)
{
    boundWaits(socket);
    if (!requestArrived(socket, stop_))
        return;
    Accepted a = handOver(socket);
    if (!a.association)
        return;
    {
        Scp scp(*this, a.association);
        scp.setSharedConfig(config_->shared);
        scp.run(a.association);  // negotiates, serves and drops the association
    }
    ASC_dropNetwork(&a.network);
}

void Receiver::report(const Reception &r)
{
    std::lock_guard<std::mutex> lock(reportMutex_);
    if (onReception)
        onReception(r);
}

// Ends every association still served (their reads and writes fail at once) and waits for
// their threads.
void Receiver::cutAll()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (int socket : sockets_)
        ::shutdown(socket, SHUT_RDWR);
    ended_.wait(lock, [this] { return sockets_.empty(); });
}

}  // namespace dicom
