// Compiled by tst_engineisolation with the report engine's own include path, where it must
// not compile: the engine reaches the records only through ReportData.
#include "Schema.h"
