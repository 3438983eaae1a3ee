#pragma once
// The DICOM receiver: a C-STORE SCP that an ultrasound machine sends its reports to. It
// accepts only the SR storage classes an echo report comes in, checks each object with the
// SR reader, stores an accepted one in `Gelen/` and answers every object with a DICOM status
// (never a crash). Configuration: the DICOM keys of `Secenekler` (settings::Key::Dicom*).

#include <QString>
#include <atomic>
#include <functional>
#include <memory>

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
};

class Receiver {
public:
    explicit Receiver(ReceiverOptions options);
    ~Receiver();
    Receiver(const Receiver &) = delete;
    Receiver &operator=(const Receiver &) = delete;

    // Opens the listening port; throws Error (Turkish) when it cannot.
    void open();
    // Serves associations until stop() is called (checks about once a second). Blocking: run
    // it on a thread of its own.
    void run();
    // Thread-safe; run() returns soon after.
    void stop() { stop_ = true; }

    // Called on the receiving thread for every object.
    std::function<void(const Reception &)> onReception;

    const ReceiverOptions &options() const { return options_; }

private:
    class Scp;
    ReceiverOptions options_;
    std::unique_ptr<Scp> scp_;
    std::atomic<bool> stop_{false};
};

}  // namespace dicom
