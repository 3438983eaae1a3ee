#pragma once
// Which DICOM measurement fills which Kalpiyon field: one row per field, in the order of the
// table `veriler`, each with the codes that may carry it (preferred first), the Finding Site
// a generic code needs, and the field's unit. Codes are written in their current form (SCT
// for SNOMED); legacy SNOMED-RT codes are mapped onto them by canonicalCode().

#include <QString>
#include <vector>

namespace dicom {

enum class FieldUnit { Cm, Cm2, MetresPerSecond, MmHg, Percent };

struct CodeMatch {
    const char *scheme;
    const char *code;
    const char *site = nullptr;   // SCT code of the Finding Site this code needs; null: any
    bool byProperty = false;      // the Measured Property of a post-coordinated item, not its concept
    const char *cyclePoint = nullptr;  // SCT code of a Cardiac Cycle Point the item must carry
};

struct FieldRule {
    const char *field;
    FieldUnit unit;
    bool antegradeOnly;                 // a valve flow: never with regurgitant/retrograde flow
    std::vector<CodeMatch> codes;       // preference order
    std::vector<const char *> methods;  // DCM codes of Measurement Method, preferred first
};

const std::vector<FieldRule> &echoFieldRules();

// Decimals the practice stores for a unit; the unit's text for messages.
int decimalsOf(FieldUnit unit);
// Factor 10^k that turns a value in UCUM `ucum` into `unit`; false when it cannot.
bool unitPower(FieldUnit unit, const QString &ucum, int *power);

// What a measurement code means, in plain Turkish, for the user ("Mitral E/A oranı" for
// "LN:18038-0"); empty for a code the program has no name for. `code` in canonical form.
QString measurementName(const QString &code);
// A UCUM unit as people write it: "mmHg" for "mm[Hg]", "cm²" for "cm2", "m/sn" for "m/s";
// empty for a unitless ratio.
QString unitText(const QString &ucum);

// "SCHEME:CODE" with legacy SNOMED-RT codes replaced by their SNOMED CT equals.
QString canonicalCode(const QString &scheme, const QString &code);
// The schemes whose codes are standard; everything else is private.
bool isStandardScheme(const QString &scheme);

// Codes the reader looks for among modifiers and properties (canonical form).
namespace codes {
inline constexpr const char *FindingSite = "SCT:363698007";
inline constexpr const char *MeasurementMethod = "SCT:370129005";
inline constexpr const char *DirectionOfFlow = "SCT:260674002";
inline constexpr const char *AntegradeFlow = "SCT:263677008";
inline constexpr const char *Derivation = "DCM:121401";
inline constexpr const char *Mean = "SCT:373098007";
inline constexpr const char *SelectionStatus = "DCM:121404";
inline constexpr const char *MeasuredProperty = "DCM:125307";
inline constexpr const char *CardiacCyclePoint = "SCT:272518008";
inline constexpr const char *AdhocMeasurements = "DCM:125303";
inline constexpr const char *EchoReport = "DCM:125200";
}  // namespace codes

}  // namespace dicom
