// Compiled by tst_storeisolation with the include path every user of the records library
// gets, where it must not compile: outside the library the records are reached only through
// RecordStore.h.
#include "Store.h"
