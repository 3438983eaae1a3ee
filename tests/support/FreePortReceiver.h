#pragma once
// A DICOM receiver listening on a free loopback port, for tests that send to it.
#include <QRandomGenerator>
#include <memory>

#include "Error.h"
#include "Receiver.h"

namespace testdicom {

// Opens a receiver storing into `folder` on the first free port of a few random tries; null
// when none could be had. `port` receives the port.
inline std::unique_ptr<dicom::Receiver> receiverOnFreePort(const QString &folder, int *port)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        dicom::ReceiverOptions o;
        o.port = 20000 + int(QRandomGenerator::global()->bounded(40000));
        o.dataFolder = folder;
        auto r = std::make_unique<dicom::Receiver>(o);
        try {
            r->open();
            *port = o.port;
            return r;
        } catch (const Error &) {
        }
    }
    return nullptr;
}

}  // namespace testdicom
