#include "SrReader.h"

#include <QFile>
#include <QLocale>
#include <QSet>
#include <QStringDecoder>
#include <map>
#include <optional>

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dctk.h"
#include "dcmtk/oflog/oflog.h"

#include "Decimal.h"
#include "EchoFields.h"
#include "Error.h"
#include "Nesting.h"

namespace dicom {
namespace {

constexpr int kNameSize = 50, kProtNoSize = 10;  // sizes of Adi_Soyadi and Prot_No

QString text(const OFString &s)
{
    return QString::fromLatin1(s.c_str(), int(s.length()));
}

QString elementText(DcmItem &item, const DcmTagKey &tag)
{
    OFString value;
    item.findAndGetOFStringArray(tag, value);
    return text(value).trimmed();
}

DcmItem *firstItemOf(DcmItem &item, const DcmTagKey &sequence)
{
    DcmSequenceOfItems *seq = nullptr;
    if (item.findAndGetSequence(sequence, seq).bad() || !seq || seq->card() == 0)
        return nullptr;
    return seq->getItem(0);
}

// A code as an item of a code sequence holds it (the long and URN forms in place of a short one).
struct Coded {
    QString scheme, value, meaning;

    QString canonical() const { return canonicalCode(scheme, value); }
    QString shown() const { return scheme + u':' + value; }
};

Coded codedOf(DcmItem *code)
{
    if (!code)
        return {};
    Coded c{elementText(*code, DCM_CodingSchemeDesignator), elementText(*code, DCM_CodeValue), QString()};
    if (c.value.isEmpty())
        c.value = elementText(*code, DCM_LongCodeValue);
    if (c.value.isEmpty())
        c.value = elementText(*code, DCM_URNCodeValue);
    OFString meaning;
    code->findAndGetOFStringArray(DCM_CodeMeaning, meaning);
    c.meaning = QString::fromUtf8(meaning.c_str()).trimmed();
    return c;
}

Coded conceptNameOf(DcmItem &item)
{
    return codedOf(firstItemOf(item, DCM_ConceptNameCodeSequence));
}

// What the containers above an item say about it.
struct Context {
    QString site, siteMeaning;
    QString method, direction;
    bool adhoc = false;
};

// What one NUM item says, with the modifiers of its own and those inherited.
struct NumItem {
    QString conceptCode, conceptScheme, shown;
    QString property;
    Context context;
    bool ownSite = false;
    QString cyclePoint;
    bool selected = false, derivedMean = false;
    QString value, unit;
    QString qualifier;
};

struct Candidate {
    int codeRank, methodRank;
    bool selected, derivedMean;
    Decimal value;
    QString source;
};

// Calls `visit` with each content item directly below `parent`. The tree is walked in the
// dataset as loaded: building a document model first would cost more than the whole reading.
template <typename Visit>
void forEachChild(DcmItem &parent, Visit visit)
{
    DcmSequenceOfItems *seq = nullptr;
    if (parent.findAndGetSequence(DCM_ContentSequence, seq).bad() || !seq)
        return;
    // Step by step from the previous item: getItem(i) walks the list from its start each time,
    // which made a report of 20,000 measurements take seconds.
    for (DcmObject *item = seq->nextInContainer(nullptr); item; item = seq->nextInContainer(item))
        visit(*static_cast<DcmItem *>(item));
}

// Reads the modifiers of an item (its CODE children) into `context`.
void applyModifiers(DcmItem &at, Context &context, NumItem *item)
{
    forEachChild(at, [&](DcmItem &child) {
        if (elementText(child, DCM_ValueType) != QLatin1String("CODE"))
            return;
        const Coded code = codedOf(firstItemOf(child, DCM_ConceptCodeSequence));
        if (code.value.isEmpty())
            return;  // an invalid modifier says nothing
        const QString name = conceptNameOf(child).canonical();
        const QString value = code.canonical();
        if (name == QLatin1String(codes::FindingSite)) {
            context.site = value;
            context.siteMeaning = code.meaning;
            if (item)
                item->ownSite = true;
        } else if (name == QLatin1String(codes::MeasurementMethod)) {
            context.method = value;
        } else if (name == QLatin1String(codes::DirectionOfFlow)) {
            context.direction = value;
        } else if (item && name == QLatin1String(codes::Derivation)) {
            item->derivedMean = value == QLatin1String(codes::Mean);
        } else if (item && name == QLatin1String(codes::SelectionStatus)) {
            item->selected = true;
        } else if (item && name == QLatin1String(codes::MeasuredProperty)) {
            item->property = value;
        } else if (item && name == QLatin1String(codes::CardiacCyclePoint)) {
            item->cyclePoint = value;
        }
    });
}

class Mapper {
public:
    explicit Mapper(SrReport &report) : report_(report), candidates_(echoFieldRules().size())
    {
        // The table's codes in canonical form, worked out once per report, not once per item.
        for (const FieldRule &rule : echoFieldRules()) {
            std::vector<Wanted> codes;
            for (const CodeMatch &m : rule.codes)
                codes.push_back({canonicalCode(QLatin1String(m.scheme), QLatin1String(m.code)),
                                 m.site ? QLatin1String("SCT:") + QLatin1String(m.site) : QString(),
                                 m.cyclePoint ? QLatin1String("SCT:") + QLatin1String(m.cyclePoint) : QString()});
            wanted_.push_back(std::move(codes));
        }
    }

    // `depth` counts the content sequences above: a dataset built in memory was not checked
    // by loadDicomFile, and this walk recurses too.
    void walk(DcmItem &parent, const Context &context, int depth = 1)
    {
        if (depth > kMaxNesting)
            throw nestingTooDeep(QStringLiteral("content tree deeper than %1 levels").arg(kMaxNesting));
        forEachChild(parent, [&](DcmItem &child) {
            const QString type = elementText(child, DCM_ValueType);
            if (type == QLatin1String("CONTAINER")) {
                Context inner = context;
                applyModifiers(child, inner, nullptr);
                inner.adhoc = inner.adhoc || conceptNameOf(child).canonical() == QLatin1String(codes::AdhocMeasurements);
                walk(child, inner, depth + 1);
            } else if (type == QLatin1String("NUM")) {
                take(child, context);
            }
        });
    }

    void finish();

private:
    void take(DcmItem &num, const Context &inherited);
    void skip(const NumItem &item, const QString &reason) { report_.skipped.append({item.shown, reason}); }

    struct Wanted {
        QString code, site, cyclePoint;
    };
    SrReport &report_;
    std::vector<std::vector<Candidate>> candidates_;  // per field rule
    std::vector<std::vector<Wanted>> wanted_;         // per field rule and code
};

void Mapper::take(DcmItem &num, const Context &inherited)
{
    NumItem item;
    item.context = inherited;
    item.ownSite = false;
    applyModifiers(num, item.context, &item);
    const Coded name = conceptNameOf(num);
    item.conceptCode = name.canonical();
    item.conceptScheme = name.scheme;
    if (DcmItem *measured = firstItemOf(num, DCM_MeasuredValueSequence)) {
        item.value = elementText(*measured, DCM_NumericValue);
        item.unit = codedOf(firstItemOf(*measured, DCM_MeasurementUnitsCodeSequence)).value;
    }
    item.qualifier = codedOf(firstItemOf(num, DCM_NumericValueQualifierCodeSequence)).meaning;
    item.shown = name.shown() + u' ' + (item.value.isEmpty() ? QStringLiteral("-") : item.value) + u' ' + item.unit;

    if (item.context.adhoc)
        return skip(item, QStringLiteral("serbest (ad hoc) ölçüm, bir alana karşılık gelmez"));
    if (item.value.isEmpty())
        return skip(item, item.qualifier.isEmpty() ? QStringLiteral("değer yok")
                                                   : QStringLiteral("değer yok (%1)").arg(item.qualifier));
    const bool standard = isStandardScheme(item.conceptScheme);
    const auto &rules = echoFieldRules();
    for (size_t r = 0; r < rules.size(); ++r) {
        const FieldRule &rule = rules[r];
        for (size_t k = 0; k < rule.codes.size(); ++k) {
            const CodeMatch &m = rule.codes[k];
            const Wanted &w = wanted_[r][k];
            if (m.byProperty ? item.property != w.code : (!standard || item.conceptCode != w.code))
                continue;
            if (m.site && item.context.site != w.site)
                continue;
            if (m.cyclePoint && item.cyclePoint != w.cyclePoint)
                continue;
            if (rule.antegradeOnly && !item.context.direction.isEmpty()
                && item.context.direction != QLatin1String(codes::AntegradeFlow))
                return skip(item, QStringLiteral("geri akım (yetersizlik jeti), %1 alanına alınmaz").arg(QLatin1String(rule.field)));
            int power = 0;
            if (!unitPower(rule.unit, item.unit, &power))
                return skip(item, QStringLiteral("birim '%1' %2 alanının birimine çevrilemez").arg(item.unit, QLatin1String(rule.field)));
            const std::optional<Decimal> value = parseDecimalString(item.value);
            if (!value)
                return skip(item, QStringLiteral("sayı okunamadı: '%1'").arg(item.value));
            int methodRank = int(rule.methods.size());
            for (size_t i = 0; i < rule.methods.size(); ++i)
                if (item.context.method == QLatin1String("DCM:") + QLatin1String(rule.methods[i]))
                    methodRank = int(i);
            QString source = item.shown;
            if (m.byProperty || (m.site && item.ownSite))
                source += QStringLiteral(" [Finding Site = %1]").arg(item.context.siteMeaning);
            else if (m.site)
                source += QStringLiteral(" [section Finding Site = %1]").arg(item.context.siteMeaning);
            candidates_[r].push_back({int(k), methodRank, item.selected, item.derivedMean, shifted(*value, power), source});
            return;
        }
    }
    if (!standard)
        return skip(item, QStringLiteral("özel (üreticiye ait) kod, bilinen bir ölçüme karşılık gelmiyor"));
    skip(item, QStringLiteral("Kalpiyon'da karşılığı olan bir alan yok"));
}

// Among the candidates of one field: the code listed first, then the one with a Selection
// Status, then the preferred method, then the one derived as Mean, else the mean of all.
void Mapper::finish()
{
    const auto &rules = echoFieldRules();
    for (size_t r = 0; r < rules.size(); ++r) {
        std::vector<Candidate> pool = candidates_[r];
        if (pool.empty())
            continue;
        const auto keep = [&pool](auto predicate) {
            std::vector<Candidate> kept;
            for (const Candidate &c : pool)
                if (predicate(c))
                    kept.push_back(c);
            if (!kept.empty())
                pool = kept;
        };
        int bestCode = pool.front().codeRank;
        for (const Candidate &c : pool)
            bestCode = std::min(bestCode, c.codeRank);
        keep([&](const Candidate &c) { return c.codeRank == bestCode; });
        keep([](const Candidate &c) { return c.selected; });
        int bestMethod = pool.front().methodRank;
        for (const Candidate &c : pool)
            bestMethod = std::min(bestMethod, c.methodRank);
        keep([&](const Candidate &c) { return c.methodRank == bestMethod; });
        keep([](const Candidate &c) { return c.derivedMean; });

        Decimal sum;
        QStringList sources;
        for (const Candidate &c : pool) {
            sum.units += c.value.units;
            sources << c.source;
        }
        const int n = int(pool.size());
        QString source = sources.join(QStringLiteral("; "));
        if (n > 1)
            source = QStringLiteral("ortalama (%1 ölçüm): ").arg(n) + source;
        // A set: a report may hold thousands of candidates for one field.
        const QSet<QString> chosen(sources.cbegin(), sources.cend());
        for (const Candidate &c : candidates_[r])
            if (!chosen.contains(c.source) || (n == 1 && c.source != pool.front().source))
                report_.skipped.append({c.source, QStringLiteral("%1 için başka bir ölçüm seçildi").arg(QLatin1String(rules[r].field))});
        report_.values.append({QLatin1String(rules[r].field), roundedText(sum, n, decimalsOf(rules[r].unit)),
                               exactText(sum, n), source});
    }
}

QDate dateOf(const QString &da)
{
    return QDate::fromString(da.left(8), QStringLiteral("yyyyMMdd"));
}

[[noreturn]] void refuse(const QString &why)
{
    throw Error(QStringLiteral("Bu dosya bir yetişkin ekokardiyografi raporu değil: %1").arg(why));
}

void quietLibrary()
{
    static const bool done = [] {
        OFLog::configure(qEnvironmentVariableIsSet("KALPIYON_DCMTK_LOG") ? OFLogger::DEBUG_LOG_LEVEL : OFLogger::FATAL_LOG_LEVEL);
        return true;
    }();
    (void)done;
}

struct SopClass {
    const char *uid;
    const char *name;
};
const SopClass kEchoClasses[] = {
    {UID_EnhancedSRStorage, "Enhanced SR"},
    {UID_ComprehensiveSRStorage, "Comprehensive SR"},
    {UID_Comprehensive3DSRStorage, "Comprehensive 3D SR"},
    {UID_SimplifiedAdultEchoSRStorage, "Simplified Adult Echo SR"},
};

// "BasicTextSRStorage" -> "Basic Text SR", "CTImageStorage" -> "CT Image"; else the UID.
QString sopClassName(const QString &uid)
{
    if (uid.isEmpty())
        return QStringLiteral("belirtilmemiş");
    const char *known = dcmFindNameOfUID(uid.toLatin1().constData(), nullptr);
    if (!known)
        return uid;
    QString name = QString::fromLatin1(known);
    if (name.endsWith(QLatin1String("Storage")))
        name.chop(7);
    QString spaced;
    for (int i = 0; i < name.size(); ++i) {
        const bool upper = name[i].isUpper();
        if (i > 0 && upper && (name[i - 1].isLower() || (i + 1 < name.size() && name[i + 1].isLower() && name[i - 1].isUpper())))
            spaced += u' ';
        spaced += name[i];
    }
    return spaced;
}

}  // namespace

QString SrReport::value(const QString &field) const
{
    for (const FieldValue &v : values)
        if (v.field == field)
            return v.value;
    return QString();
}

QString patientNameText(const QByteArray &pn, const QString &specificCharacterSet)
{
    // The last character set named is the one the name's non-ASCII bytes use.
    const QStringList sets = specificCharacterSet.split(u'\\');
    const QString set = sets.isEmpty() ? QString() : sets.last().trimmed();
    struct Charset {
        const char *term;
        const char *codec;
    };
    static const Charset charsets[] = {
        {"ISO_IR 100", "ISO-8859-1"},      {"ISO 2022 IR 100", "ISO-8859-1"},
        {"ISO_IR 148", "ISO-8859-9"},      {"ISO 2022 IR 148", "ISO-8859-9"},
        {"ISO_IR 192", "UTF-8"},
    };
    // Without a declared set the name should be ASCII; Turkish machines that send other bytes
    // anyway send them in Latin-5.
    const char *codec = "ISO-8859-9";
    for (const Charset &c : charsets)
        if (set == QLatin1String(c.term))
            codec = c.codec;
    QByteArray bytes = pn;
    // ISO 2022 escape sequences (ESC and two more bytes) only switch sets: drop them.
    for (int i = bytes.indexOf('\x1b'); i >= 0; i = bytes.indexOf('\x1b', i))
        bytes.remove(i, 3);
    QStringDecoder decode(codec);
    QString name = decode(bytes);
    name = name.section(u'=', 0, 0);
    QStringList parts = name.split(u'^').mid(0, 3);  // family, given, middle
    for (QString &p : parts)
        p = p.simplified();
    parts.removeAll(QString());
    name = QLocale(QLocale::Turkish).toUpper(parts.join(u' '));
    return name.left(kNameSize);
}

QString ageText(const QString &as, const QDate &birthDate, const QDate &studyDate)
{
    if (as.size() == 4 && as.left(3).toInt() >= 0) {
        bool ok = false;
        const int n = as.left(3).toInt(&ok);
        if (ok && as.endsWith(u'Y'))
            return QString::number(n);
        if (ok && (as.endsWith(u'M') || as.endsWith(u'W') || as.endsWith(u'D')))
            return QStringLiteral("0");
    }
    if (birthDate.isValid() && studyDate.isValid() && birthDate <= studyDate) {
        int years = studyDate.year() - birthDate.year();
        if (studyDate.month() < birthDate.month()
            || (studyDate.month() == birthDate.month() && studyDate.day() < birthDate.day()))
            --years;
        return QString::number(years);
    }
    return QString();
}

SrReport readSrDataset(DcmItem &dataset)
{
    quietLibrary();

    const QString sopClass = elementText(dataset, DCM_SOPClassUID);
    const char *className = nullptr;
    for (const SopClass &c : kEchoClasses)
        if (sopClass == QLatin1String(c.uid))
            className = c.name;
    const QString rootText = [&] {
        DcmSequenceOfItems *seq = nullptr;
        if (dataset.findAndGetSequence(DCM_ConceptNameCodeSequence, seq).bad() || !seq || seq->card() == 0)
            return QStringLiteral("kavram adı yok");
        DcmItem *code = seq->getItem(0);
        return QStringLiteral("(%1, %2, \"%3\")")
            .arg(elementText(*code, DCM_CodeValue), elementText(*code, DCM_CodingSchemeDesignator),
                 elementText(*code, DCM_CodeMeaning));
    }();
    if (!className)
        refuse(QStringLiteral("belge türü %1, kök kavram %2. Yalnızca Enhanced, Comprehensive, Comprehensive 3D "
                              "ve Simplified Adult Echo SR içindeki ekokardiyografi raporu (125200, DCM) okunur.")
                   .arg(sopClassName(sopClass), rootText));
    if (elementText(dataset, DCM_ValueType) != QLatin1String("CONTAINER"))
        throw Error(QStringLiteral("Rapor okunamadı: yapılandırılmış rapor içeriği bozuk (kök öğe bir CONTAINER değil)."));
    if (conceptNameOf(dataset).canonical() != QLatin1String(codes::EchoReport))
        refuse(QStringLiteral("%1 belgesinin kök kavramı %2, beklenen (125200, DCM) \"Adult Echocardiography Procedure Report\".")
                   .arg(QLatin1String(className), rootText));

    SrReport report;
    OFString pn;
    dataset.findAndGetOFStringArray(DCM_PatientName, pn);
    report.patientName = patientNameText(QByteArray(pn.c_str(), int(pn.length())), elementText(dataset, DCM_SpecificCharacterSet));
    report.studyDate = dateOf(elementText(dataset, DCM_StudyDate));
    if (!report.studyDate.isValid())
        report.studyDate = dateOf(elementText(dataset, DCM_ContentDate));
    report.age = ageText(elementText(dataset, DCM_PatientAge), dateOf(elementText(dataset, DCM_PatientBirthDate)), report.studyDate);
    report.accessionNumber = elementText(dataset, DCM_AccessionNumber).left(kProtNoSize);
    report.sopInstanceUid = elementText(dataset, DCM_SOPInstanceUID).trimmed();
    const QDate contentDate = dateOf(elementText(dataset, DCM_ContentDate));
    const QString time = elementText(dataset, DCM_ContentTime);
    report.contentTime = (contentDate.isValid() ? contentDate : report.studyDate).toString(Qt::ISODate)
                         + (time.size() >= 4 ? u' ' + time.left(2) + u':' + time.mid(2, 2) : QString());

    const auto header = [&](const char *field, const QString &value, const DcmTagKey &tag) {
        if (!value.isEmpty())
            report.values.append({QLatin1String(field), value, QString(),
                                  QStringLiteral("(%1,%2) %3").arg(tag.getGroup(), 4, 16, QLatin1Char('0'))
                                      .arg(tag.getElement(), 4, 16, QLatin1Char('0')).arg(elementText(dataset, tag))});
    };
    header("Adi_Soyadi", report.patientName, DCM_PatientName);
    header("Yas", report.age, elementText(dataset, DCM_PatientAge).isEmpty() ? DCM_PatientBirthDate : DCM_PatientAge);
    header("Tarih", report.studyDate.isValid() ? report.studyDate.toString(Qt::ISODate) : QString(), DCM_StudyDate);
    header("Prot_No", report.accessionNumber, DCM_AccessionNumber);

    Mapper mapper(report);
    mapper.walk(dataset, Context{});
    mapper.finish();
    return report;
}

void loadDicomFile(const QString &path, DcmFileFormat &file)
{
    quietLibrary();
    checkNesting(path);
    const OFCondition loaded = file.loadFile(OFFilename(QFile::encodeName(path).constData()), EXS_Unknown, EGL_noChange,
                                             DCM_MaxReadLength, ERM_autoDetect);
    if (loaded.bad())
        throw Error(QStringLiteral("Dosya okunamadı: DICOM dosyası değil, eksik ya da bozuk. Raporu cihazdan yeniden "
                                   "gönderin ya da yeniden dışa aktarın."),
                    QString::fromLatin1(loaded.text()));
}

SrReport readSrFile(const QString &path)
{
    DcmFileFormat file;
    loadDicomFile(path, file);
    return readSrDataset(*file.getDataset());
}

}  // namespace dicom
