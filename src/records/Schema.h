#pragma once
// The table `veriler`: 61 fields, declared once. Everything that needs field names,
// sizes or types (store, dataset, editors, reports, data tool, importer) reads this table.

#include <QString>
#include <QVector>
#include <array>
#include <optional>

namespace records {

enum class FieldType { Text, DateTime };

struct FieldDef {
    const char *name;
    FieldType type;
    int size;  // characters for Text; 0 for DateTime
};

inline constexpr int kFieldCount = 61;
extern const std::array<FieldDef, kFieldCount> kFields;

inline constexpr const char *kTableName = "veriler";
inline constexpr const char *kNameField = "Adi_Soyadi";

// Index of a field by exact name, or -1.
int fieldIndex(const QString &name);
// Index by name ignoring ASCII letter case (as field lookups of the database layer do), or -1.
int fieldIndexCaseInsensitive(const QString &name);

// 0 … kFieldCount-1: every field, in table order (for reading whole rows).
const QVector<int> &allFields();

}  // namespace records
