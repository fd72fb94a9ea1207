// Opening and closing sessions, fetching error texts, and the record layout probe.
#include <cstring>

#include "flat/AdoContext.h"
#include "flat/AdoOcciHandler.h"
#include "kavex_oracleociw.h"
#include "session/Connect.h"
#include "session/ErrorStore.h"
#include "session/Guarded.h"
#include "session/Registry.h"

extern "C" {

KAVEX_API int OpenConnection(const char* connectString, const char* userName,
                             const char* password) {
    try {
        return openSession(std::make_unique<AdoOcciHandler>(), userName, password, connectString);
    } catch (...) {
        return storeFailure("Cannot open connection");
    }
}

KAVEX_API int CloseConnection(int sessionId) {
    try {
        return registry::close(sessionId);
    } catch (...) {
        return 0;  // closing has no error result
    }
}

KAVEX_API const char* GetError(int errorId) {
    std::string& text = AdoContext::errorText;
    try {
        text = errors::fetchError(errorId);
    } catch (...) {
        // The text this thread received last stays valid and is better than none.
    }
    return text.c_str();
}

KAVEX_API int TestMarshaling(void* record13) {
    if (record13 != nullptr) {
        unsigned char* bytes = static_cast<unsigned char*>(record13);
        bytes[0] = 0;
        std::memset(bytes + 5, 0, 8);
    }
    return 0;
}

}  // extern "C"
