#pragma once
// The DICOM receiver: a C-STORE SCP that an ultrasound machine sends its reports to. It
// accepts the SR storage classes at association, receives each object to a file as sent,
// checks the file with the SR reader, keeps an accepted one in `Gelen/` and answers every
// object with a DICOM status (never a crash, "Cannot understand" for what is not an adult
// echo report). Several associations are served at once, each on a thread of its own, and
// every wait on a peer is bounded. Configuration: the DICOM keys of `Secenekler` (settings::Key::Dicom*).

#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <set>

namespace dicom {

struct ReceiverOptions {
    bool enabled = false;
    int port = 11112;
    QString aeTitle = QStringLiteral("KALPIYON");
    QString dataFolder;  // reports go to dataFolder/Gelen

    // On/off, port and AE title as `Secenekler` sets them (settings::Key::Dicom*).
    static ReceiverOptions fromSettings(const QString &dataFolder);
};

// What happened to one object a sender sent.
struct Reception {
    bool stored = false;
    unsigned status = 0;  // the DICOM status answered
    QString path;         // where it was stored
    QString patientName;
    QString message;      // Turkish: why it was refused
    QString details;      // the library's own text behind `message`, if any
};

class Receiver {
public:
    explicit Receiver(ReceiverOptions options);
    ~Receiver();
    Receiver(const Receiver &) = delete;
    Receiver &operator=(const Receiver &) = delete;

    // Associations served at once; a further caller waits in the port's queue for a free one.
    static constexpr int kMaxAssociations = 16;

    // Opens the listening port; throws Error (Turkish) when it cannot.
    void open();
    // Serves associations until stop() is called, each on a thread of its own. Blocking: run
    // it on a thread of its own. Returns once every association has ended (stop() cuts them).
    void run();
    // Thread-safe; run() returns soon after.
    void stop() { stop_ = true; }

    // Called for every object, on the thread of its association, one call at a time.
    std::function<void(const Reception &)> onReception;

    const ReceiverOptions &options() const { return options_; }

private:
    class Scp;
    struct Config;
    friend class Scp;

    static void *serveThread(void *job);
    void serve(int socket);
    void report(const Reception &r);
    bool startWorker(int socket);
    void cutAll();

    ReceiverOptions options_;
    std::unique_ptr<Config> config_;
    int listenSocket_ = -1;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;  // guards the two below
    std::condition_variable ended_;
    std::set<int> sockets_;  // of the associations being served
    std::mutex reportMutex_;
};

}  // namespace dicom
