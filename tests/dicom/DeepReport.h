#pragma once
// Writes an echo SR whose content tree nests `levels` containers deep, byte by byte (dcmtk's
// own writer recurses per level and would itself run out of stack): explicit VR little
// endian, sequences and items of undefined length. `closed = false` leaves every sequence
// open at the end of the file, as a transfer cut short does.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace deeptest {

class Writer {
public:
    QByteArray bytes;

    void tag(quint16 group, quint16 element)
    {
        u16(group);
        u16(element);
    }
    void u16(quint16 v)
    {
        bytes.append(char(v & 0xFF)).append(char(v >> 8));
    }
    void u32(quint32 v)
    {
        u16(quint16(v & 0xFFFF));
        u16(quint16(v >> 16));
    }
    void element(quint16 group, quint16 element, const char *vr, QByteArray value)
    {
        if (value.size() % 2)
            value.append(qstrcmp(vr, "UI") == 0 ? '\0' : ' ');
        tag(group, element);
        bytes.append(vr, 2);
        if (qstrcmp(vr, "OB") == 0) {
            u16(0);
            u32(quint32(value.size()));
        } else {
            u16(quint16(value.size()));
        }
        bytes.append(value);
    }
    void sequence(quint16 group, quint16 element)
    {
        tag(group, element);
        bytes.append("SQ", 2);
        u16(0);
        u32(0xFFFFFFFF);
    }
    void item()
    {
        tag(0xFFFE, 0xE000);
        u32(0xFFFFFFFF);
    }
    void itemEnd()
    {
        tag(0xFFFE, 0xE00D);
        u32(0);
    }
    void sequenceEnd()
    {
        tag(0xFFFE, 0xE0DD);
        u32(0);
    }
    void code(const char *value, const char *scheme, const char *meaning)
    {
        sequence(0x0040, 0xA043);
        item();
        element(0x0008, 0x0100, "SH", value);
        element(0x0008, 0x0102, "SH", scheme);
        element(0x0008, 0x0104, "LO", meaning);
        itemEnd();
        sequenceEnd();
    }
};

inline QByteArray deepReport(int levels, const QByteArray &instanceUid, bool closed = true)
{
    const QByteArray sopClass = "1.2.840.10008.5.1.4.1.1.88.33";  // Comprehensive SR
    Writer meta;
    meta.element(0x0002, 0x0001, "OB", QByteArray("\0\1", 2));
    meta.element(0x0002, 0x0002, "UI", sopClass);
    meta.element(0x0002, 0x0003, "UI", instanceUid);
    meta.element(0x0002, 0x0010, "UI", "1.2.840.10008.1.2.1");
    meta.element(0x0002, 0x0012, "UI", "1.2.826.0.1.3680043.2.1143.107.104");
    Writer file;
    file.bytes = QByteArray(128, '\0') + "DICM";
    file.tag(0x0002, 0x0000);  // group length, UL
    file.bytes.append("UL", 2);
    file.u16(4);
    file.u32(quint32(meta.bytes.size()));
    file.bytes.append(meta.bytes);

    file.element(0x0008, 0x0016, "UI", sopClass);
    file.element(0x0008, 0x0018, "UI", instanceUid);
    file.element(0x0008, 0x0060, "CS", "SR");
    file.element(0x0010, 0x0010, "PN", "DERIN^RAPOR");
    file.element(0x0040, 0xA040, "CS", "CONTAINER");
    file.code("125200", "DCM", "Adult Echocardiography Procedure Report");
    for (int level = 0; level < levels; ++level) {
        file.sequence(0x0040, 0xA730);
        file.item();
        file.element(0x0040, 0xA010, "CS", "CONTAINS");
        file.element(0x0040, 0xA040, "CS", "CONTAINER");
        file.code("59776-5", "LN", "Findings");
    }
    if (closed)
        for (int level = 0; level < levels; ++level) {
            file.itemEnd();
            file.sequenceEnd();
        }
    return file.bytes;
}

inline bool writeDeepReport(const QString &path, int levels, const QByteArray &instanceUid, bool closed = true)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(deepReport(levels, instanceUid, closed)) >= 0 && f.flush();
}

}  // namespace deeptest
