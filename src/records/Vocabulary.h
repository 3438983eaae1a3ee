#pragma once
// The built-in phrase lists offered by the findings, result and comment boxes.

#include <QStringList>
#include <optional>

namespace records {

enum class PhraseList {
    ValveStructure, ValveOpening, Regurgitation, Results, Comment1, Comment2, Comment3, Comment4
};

const QStringList &phrases(PhraseList list);

// The list a field offers (by field index), if any.
std::optional<PhraseList> phraseListOfField(int field);

// The first entry, from the top, that begins with `typed` ignoring (Turkish) letter case;
// -1 when none does or `typed` is empty.
int completionIndex(const QStringList &entries, const QString &typed);

}  // namespace records
