#pragma once
// Writes small Structured Reports with dcmtk for the tests: a content tree given as nested
// items, and the header elements the reader looks at.

#include <QByteArray>
#include <QString>
#include <vector>

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dctk.h"
#include "dcmtk/dcmsr/dsrdoc.h"

namespace srtest {

struct Code {
    const char *scheme;
    const char *value;
    const char *meaning;
};

struct Item {
    DSRTypes::E_RelationshipType relation;
    DSRTypes::E_ValueType type;
    Code concept_;
    const char *number = nullptr;  // NUM: the value; nullptr with a qualifier = no value
    const char *unit = nullptr;
    Code code = {};                // CODE: the value
    std::vector<Item> children;
};

inline Item container(Code concept_, std::vector<Item> children, DSRTypes::E_RelationshipType rel = DSRTypes::RT_contains)
{
    return {rel, DSRTypes::VT_Container, concept_, nullptr, nullptr, {}, std::move(children)};
}
inline Item num(Code concept_, const char *value, const char *unit, std::vector<Item> children = {})
{
    return {DSRTypes::RT_contains, DSRTypes::VT_Num, concept_, value, unit, {}, std::move(children)};
}
inline Item modifier(Code concept_, Code value)
{
    return {DSRTypes::RT_hasConceptMod, DSRTypes::VT_Code, concept_, nullptr, nullptr, value, {}};
}
inline Item property(Code concept_, Code value)
{
    return {DSRTypes::RT_hasProperties, DSRTypes::VT_Code, concept_, nullptr, nullptr, value, {}};
}

// Codes the tests use often.
inline constexpr Code kEchoReport = {"DCM", "125200", "Adult Echocardiography Procedure Report"};
inline constexpr Code kFindings = {"LN", "59776-5", "Findings"};
inline constexpr Code kGroup = {"DCM", "125007", "Measurement Group"};
inline constexpr Code kSite = {"SCT", "363698007", "Finding Site"};
inline constexpr Code kDirection = {"SCT", "260674002", "Direction of Flow"};
inline constexpr Code kAntegrade = {"SCT", "263677008", "Antegrade Flow"};
inline constexpr Code kRegurgitant = {"SCT", "397417004", "Regurgitant Flow"};
inline constexpr Code kSelection = {"DCM", "121404", "Selection Status"};
inline constexpr Code kUserChosen = {"DCM", "121410", "User chosen value"};
inline constexpr Code kDerivation = {"DCM", "121401", "Derivation"};
inline constexpr Code kMean = {"SCT", "373098007", "Mean"};
inline constexpr Code kMethod = {"SCT", "370129005", "Measurement Method"};
inline constexpr Code kMitral = {"SCT", "91134007", "Mitral Valve"};
inline constexpr Code kTricuspid = {"SCT", "46030003", "Tricuspid valve"};
inline constexpr Code kAortic = {"SCT", "34202007", "Aortic Valve"};
inline constexpr Code kPulmonic = {"SCT", "39057004", "Pulmonic Valve"};
inline constexpr Code kLvot = {"SCT", "13418002", "Left ventricular outflow tract"};
inline constexpr Code kLvidd = {"LN", "29436-3", "Left Ventricle Internal End Diastolic Dimension"};
inline constexpr Code kPeakGradient = {"LN", "20247-3", "Peak Gradient"};
inline constexpr Code kMeanGradient = {"LN", "20256-4", "Mean Gradient"};
inline constexpr Code kMvE = {"LN", "18037-2", "Mitral Valve E-Wave Peak Velocity"};

struct Header {
    DSRTypes::E_DocumentType type = DSRTypes::DT_ComprehensiveSR;
    QByteArray patientName = "TEST^HASTA";
    QByteArray characterSet;  // empty: none declared
    QByteArray age = "050Y";
    QByteArray birthDate;
    QByteArray studyDate = "20240301";
    QByteArray accession = "A-1";
};

namespace detail {
inline void add(DSRDocumentTree &tree, const Item &item, DSRTypes::E_AddMode mode)
{
    if (tree.addContentItem(item.relation, item.type, mode) == 0)
        qFatal("content item not allowed: %s", item.concept_.value);
    DSRContentItem &ci = tree.getCurrentContentItem();
    ci.setConceptName(DSRCodedEntryValue(item.concept_.value, item.concept_.scheme, item.concept_.meaning), OFFalse);
    if (item.type == DSRTypes::VT_Num) {
        if (item.number)
            ci.setNumericValue(DSRNumericMeasurementValue(item.number, DSRCodedEntryValue(item.unit, "UCUM", item.unit), OFFalse), OFFalse);
        else
            ci.setNumericValue(DSRNumericMeasurementValue(DSRCodedEntryValue("114006", "DCM", "Measurement failure")), OFFalse);
    } else if (item.type == DSRTypes::VT_Code) {
        ci.setCodeValue(DSRCodedEntryValue(item.code.value, item.code.scheme, item.code.meaning), OFFalse);
    }
    DSRTypes::E_AddMode childMode = DSRTypes::AM_belowCurrent;
    for (const Item &child : item.children) {
        add(tree, child, childMode);
        childMode = DSRTypes::AM_afterCurrent;
    }
    if (!item.children.empty())
        tree.goUp();
}
}  // namespace detail

// The dataset of a report with `root` as its content tree.
inline void build(DcmFileFormat &file, const Item &root, const Header &header = {})
{
    DSRDocument doc(header.type);
    detail::add(doc.getTree(), root, DSRTypes::AM_afterCurrent);
    doc.setStudyDate(header.studyDate.constData(), OFFalse);
    doc.setAccessionNumber(header.accession.constData(), OFFalse);
    if (doc.write(*file.getDataset()).bad())
        qFatal("cannot write the report");
    DcmDataset &ds = *file.getDataset();
    ds.putAndInsertString(DCM_PatientName, header.patientName.constData());
    if (!header.characterSet.isEmpty())
        ds.putAndInsertString(DCM_SpecificCharacterSet, header.characterSet.constData());
    else
        ds.findAndDeleteElement(DCM_SpecificCharacterSet);
    if (!header.age.isEmpty())
        ds.putAndInsertString(DCM_PatientAge, header.age.constData());
    if (!header.birthDate.isEmpty())
        ds.putAndInsertString(DCM_PatientBirthDate, header.birthDate.constData());
}

inline void write(const QString &path, const Item &root, const Header &header = {})
{
    DcmFileFormat file;
    build(file, root, header);
    if (file.saveFile(path.toLocal8Bit().constData(), EXS_LittleEndianExplicit).bad())
        qFatal("cannot save %s", qPrintable(path));
}

// An echo report whose root holds `items`.
inline Item echo(std::vector<Item> items)
{
    return container(kEchoReport, std::move(items), DSRTypes::RT_isRoot);
}
// A findings section of one site holding one measurement group.
inline Item section(Code site, std::vector<Item> items)
{
    return container(kFindings, {modifier(kSite, site), container(kGroup, std::move(items))});
}

}  // namespace srtest
