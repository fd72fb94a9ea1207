// The one header through which the library reaches the Oracle C++ Call Interface: the real
// client's headers when built with KAVEX_OCCI=oracle, the embedded client over SQLite otherwise.
#ifndef KAVEX_OCCI_OCCI_H
#define KAVEX_OCCI_OCCI_H

#if defined(KAVEX_OCCI_ORACLE)
#include <occi.h>
#else
#include <kavexdb/occi.h>
#endif

namespace occi = oracle::occi;

#endif
