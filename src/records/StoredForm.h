#pragma once
// Stored form of values, the form in which they cross RecordStore: texts as they are; Tarih as
// "YYYY-MM-DD", or with " HH:MM:SS" when it has a time of day. Both engines and everyone who
// reads stored values (the dataset, the data tool) convert through these two functions.

#include <QVariant>

namespace records {

// The stored form of a dataset value (null, QString or QDateTime) of `field`.
QVariant toStored(int field, const QVariant &value);
// The dataset's value (null, QString or QDateTime) for a raw stored value of `field`; a stored
// date that cannot be read comes back as text.
QVariant fromStored(int field, const QVariant &raw);

}  // namespace records
