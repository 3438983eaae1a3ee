#pragma once
// dcmtk reads (and frees, and writes) nested sequences recursively, one stack frame chain per
// level: a file nested a few thousand levels deep overflows the stack and kills the process.
// These checks walk the encoded bytes iteratively, before dcmtk is given the file.

#include <QString>

#include "Error.h"

namespace dicom {

// Deeper nesting of sequences than this is refused. Real reports nest a dozen levels or so.
constexpr int kMaxNesting = 256;

// Throws Error (Turkish; the position and what was found under details) when the file nests
// sequences deeper than kMaxNesting or its sequence structure is broken. A file that merely
// ends early passes: dcmtk's own reading says so then, without going deeper than this did.
void checkNesting(const QString &path);

// The refusal of a report nested deeper than kMaxNesting (`details`: where).
Error nestingTooDeep(const QString &details);

}  // namespace dicom
