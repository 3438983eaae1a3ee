#include "Nesting.h"

#include <QByteArray>
#include <QFile>
#include <cstring>
#include <vector>

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dcistrmf.h"
#include "dcmtk/dcmdata/dctag.h"
#include "dcmtk/dcmdata/dcuid.h"
#include "dcmtk/dcmdata/dcxfer.h"

#include "Error.h"

namespace dicom {
namespace {

constexpr quint32 kUndefined = 0xFFFFFFFF;

struct Encoding {
    bool explicitVr = true;
    bool bigEndian = false;
};

// The file's bytes as dcmtk reads them (inflated after the meta header when deflated), with
// the position counted from the start of the dataset.
class Bytes {
public:
    explicit Bytes(const QString &path) : in_(OFFilename(QFile::encodeName(path).constData())) {}

    bool good() const { return in_.good(); }
    DcmInputStream &stream() { return in_; }
    qint64 pos() const { return pos_; }
    void restartCount() { pos_ = 0; }
    void unread(qint64 n) { pos_ -= n; }

    // Exactly n bytes, or false at the end of the file.
    bool read(void *to, qint64 n)
    {
        auto *p = static_cast<char *>(to);
        for (int idle = 0; n > 0;) {
            const offile_off_t got = in_.read(p, n);
            if (got <= 0) {
                if (in_.eos() || !in_.good() || ++idle > 16)
                    return false;
                continue;
            }
            p += got;
            n -= got;
            pos_ += got;
        }
        return true;
    }
    bool skip(qint64 n)
    {
        for (int idle = 0; n > 0;) {
            const offile_off_t got = in_.skip(n);
            if (got <= 0) {
                if (in_.eos() || !in_.good() || ++idle > 16)
                    return false;
                continue;
            }
            n -= got;
            pos_ += got;
        }
        return true;
    }
    bool u16(bool bigEndian, quint16 *v)
    {
        unsigned char b[2];
        if (!read(b, 2))
            return false;
        *v = bigEndian ? quint16(b[0] << 8 | b[1]) : quint16(b[1] << 8 | b[0]);
        return true;
    }
    bool u32(bool bigEndian, quint32 *v)
    {
        unsigned char b[4];
        if (!read(b, 4))
            return false;
        *v = bigEndian ? quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | b[3]
                       : quint32(b[3]) << 24 | quint32(b[2]) << 16 | quint32(b[1]) << 8 | b[0];
        return true;
    }

private:
    DcmInputFileStream in_;
    qint64 pos_ = 0;
};

// Explicit VRs followed by two reserved bytes and a 32-bit length.
bool isLongVr(const char *vr)
{
    static const char *const kLong[] = {"OB", "OD", "OF", "OL", "OV", "OW", "SQ", "SV", "UC", "UN", "UR", "UT", "UV"};
    for (const char *v : kLong)
        if (std::memcmp(vr, v, 2) == 0)
            return true;
    return false;
}

bool isShortVr(const char *vr)
{
    static const char *const kShort[] = {"AE", "AS", "AT", "CS", "DA", "DS", "DT", "FD", "FL", "IS", "LO",
                                         "LT", "PN", "SH", "SL", "SS", "ST", "TM", "UI", "UL", "US"};
    for (const char *v : kShort)
        if (std::memcmp(vr, v, 2) == 0)
            return true;
    return false;
}

QString where(quint16 group, quint16 element, qint64 pos)
{
    return QStringLiteral("(%1,%2) at dataset byte %3")
        .arg(group, 4, 16, QLatin1Char('0'))
        .arg(element, 4, 16, QLatin1Char('0'))
        .arg(pos);
}

[[noreturn]] void broken(const QString &details)
{
    throw Error(QStringLiteral("Dosya okunamadı: DICOM dosyasının yapısı bozuk. Raporu cihazdan yeniden gönderin ya da "
                               "yeniden dışa aktarın."),
                details);
}

}  // namespace

Error nestingTooDeep(const QString &details)
{
    return Error(QStringLiteral("Dosya okunamadı: iç içe öğeler %1 düzeyi aşıyor; bir ekokardiyografi raporu bu kadar "
                               "derin olmaz. Dosya bozuk ya da başka bir amaçla hazırlanmış; cihazdan gelen raporu "
                               "yeniden gönderin.")
                    .arg(kMaxNesting),
                 details);
}

namespace {

// Reads the meta header (group 0002, explicit little endian) and returns how the dataset
// after it is encoded; the stream is left at the dataset's first byte.
Encoding readMetaHeader(Bytes &in, bool *deflated)
{
    QByteArray syntax;
    for (;;) {
        in.stream().mark();
        quint16 group = 0, element = 0;
        if (!in.u16(false, &group) || !in.u16(false, &element))
            break;
        if (group != 0x0002) {
            in.stream().putback();
            in.unread(4);
            break;
        }
        char vr[2];
        quint16 shortLength = 0;
        quint32 length = 0;
        if (!in.read(vr, 2))
            break;
        if (isLongVr(vr)) {
            if (!in.skip(2) || !in.u32(false, &length))
                break;
        } else {
            if (!in.u16(false, &shortLength))
                break;
            length = shortLength;
        }
        if (length == kUndefined)
            broken(QStringLiteral("undefined length in the meta header ") + where(group, element, in.pos()));
        if (element == 0x0010 && length < 256) {
            syntax.resize(int(length));
            if (!in.read(syntax.data(), length))
                break;
        } else if (!in.skip(length)) {
            break;
        }
    }
    while (syntax.endsWith('\0') || syntax.endsWith(' '))
        syntax.chop(1);
    const DcmXfer xfer(syntax.isEmpty() ? UID_LittleEndianExplicitTransferSyntax : syntax.constData());
    *deflated = xfer.getStreamCompression() == ESC_zlib;
    return {xfer.getXfer() == EXS_Unknown || xfer.isExplicitVR(), xfer.getByteOrder() == EBO_BigEndian};
}

// A dataset without meta header, as dcmtk guesses it: explicit when a VR follows the first
// tag, big endian when the first group reads as a small number only with its bytes swapped.
Encoding guessEncoding(const QString &path)
{
    Bytes in(path);
    unsigned char b[6];
    if (!in.read(b, 6))
        return {};
    const bool explicitVr = b[4] >= 'A' && b[4] <= 'Z' && b[5] >= 'A' && b[5] <= 'Z';
    const bool bigEndian = b[0] == 0 && b[1] != 0;
    return {explicitVr, bigEndian};
}

bool hasMetaHeader(const QString &path)
{
    Bytes in(path);
    char preamble[132];
    return in.read(preamble, sizeof preamble) && std::memcmp(preamble + 128, "DICM", 4) == 0;
}

enum class Kind { Dataset, Sequence, Item };

struct Frame {
    Kind kind;
    qint64 end;  // -1: undefined length, ends with a delimiter
    Encoding encoding;
};

// Walks the dataset's elements with an explicit stack of open sequences and items.
void walk(Bytes &in, Encoding encoding)
{
    std::vector<Frame> open{{Kind::Dataset, -1, encoding}};
    int depth = 0;
    for (;;) {
        const Frame top = open.back();
        if (top.end >= 0 && in.pos() >= top.end) {
            if (in.pos() > top.end)
                broken(QStringLiteral("an element overruns the length of its item or sequence at dataset byte %1").arg(in.pos()));
            depth -= top.kind == Kind::Sequence;
            open.pop_back();
            continue;
        }
        const bool be = top.encoding.bigEndian;
        quint16 group = 0, element = 0;
        if (!in.u16(be, &group) || !in.u16(be, &element))
            return;  // the end of the file
        const qint64 at = in.pos() - 4;
        if (group == 0xFFFE) {
            quint32 length = 0;
            if (!in.u32(be, &length))
                return;
            if (element == 0xE000 && top.kind == Kind::Sequence)
                open.push_back({Kind::Item, length == kUndefined ? -1 : in.pos() + length, top.encoding});
            else if (element == 0xE00D && top.kind == Kind::Item)
                open.pop_back();
            else if (element == 0xE0DD && top.kind == Kind::Sequence)
                open.pop_back(), --depth;
            else
                broken(QStringLiteral("misplaced delimiter ") + where(group, element, at));
            continue;
        }
        if (top.kind == Kind::Sequence)
            broken(QStringLiteral("an element where a sequence item belongs ") + where(group, element, at));
        quint32 length = 0;
        bool container = false;
        Encoding inner = top.encoding;
        if (top.encoding.explicitVr) {
            char vr[2];
            if (!in.read(vr, 2))
                return;
            if (isLongVr(vr)) {
                if (!in.skip(2) || !in.u32(be, &length))
                    return;
            } else if (isShortVr(vr)) {
                quint16 shortLength = 0;
                if (!in.u16(be, &shortLength))
                    return;
                length = shortLength;
            } else {
                broken(QStringLiteral("unknown value representation '%1' ").arg(QString::fromLatin1(vr, 2))
                       + where(group, element, at));
            }
            const bool sq = std::memcmp(vr, "SQ", 2) == 0, un = std::memcmp(vr, "UN", 2) == 0;
            // An undefined-length UN holds an implicit little endian sequence; an undefined-length
            // OB or OW holds encapsulated fragments as items.
            container = sq || (length == kUndefined && (un || std::memcmp(vr, "OB", 2) == 0 || std::memcmp(vr, "OW", 2) == 0));
            if (un && length == kUndefined)
                inner = {false, false};
        } else {
            if (!in.u32(be, &length))
                return;
            container = length == kUndefined || DcmTag(group, element).getEVR() == EVR_SQ;
        }
        if (container) {
            if (++depth > kMaxNesting)
                throw nestingTooDeep(QStringLiteral("sequence nesting deeper than %1 levels at ").arg(kMaxNesting) + where(group, element, at));
            open.push_back({Kind::Sequence, length == kUndefined ? -1 : in.pos() + length, inner});
        } else if (length == kUndefined) {
            broken(QStringLiteral("undefined length outside a sequence ") + where(group, element, at));
        } else if (!in.skip(length)) {
            return;
        }
    }
}

}  // namespace

void checkNesting(const QString &path)
{
    const bool meta = hasMetaHeader(path);
    Bytes in(path);
    if (!in.good())
        return;  // dcmtk says why it cannot open it
    Encoding encoding;
    if (meta) {
        in.skip(132);
        bool deflated = false;
        encoding = readMetaHeader(in, &deflated);
        if (deflated && in.stream().installCompressionFilter(ESC_zlib).bad())
            return;
    } else {
        encoding = guessEncoding(path);
    }
    in.restartCount();
    walk(in, encoding);
}

}  // namespace dicom
