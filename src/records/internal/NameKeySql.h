#pragma once
// The list order inside the file engine's SQL: the Turkish sort keys of NameOrder.h as an SQL
// function of one connection.

#include <QString>

namespace records {

class Store;

// Makes SQL function kalpiyon_name_key(text) (the sort key as a blob; null reads as the empty
// name) known to `store`'s connection for as long as it is open.
void registerNameKey(Store &store);

// "ORDER BY ..." clause that puts the rows of `veriler` in list order as the dataset has it
// at open (needs registerNameKey).
QString listOrderClause();

}  // namespace records
