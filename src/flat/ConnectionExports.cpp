// Opening and closing sessions, fetching error texts, and the record layout probe.
#include <cstring>

#include "flat/AdoContext.h"
#include "flat/AdoOcciHandler.h"
#include "kavex_oracleociw.h"
#include "session/Connect.h"
#include "session/ErrorStore.h"
#include "session/Messages.h"
#include "session/Registry.h"
#include "session/Session.h"

using kavex::AdoContext;

extern "C" {

KAVEX_API int OpenConnection(const char* connectString, const char* userName,
                             const char* password) {
    try {
        return kavex::openSession(std::make_unique<kavex::AdoOcciHandler>(), userName, password,
                                  connectString);
    } catch (...) {
        return kavex::storeFailure(kavex::messages::kOpenFailed);
    }
}

KAVEX_API int CloseConnection(int sessionId) {
    try {
        return kavex::registry::close(sessionId);
    } catch (...) {
        return 0;  // closing has no error result
    }
}

KAVEX_API const char* GetError(int errorId) {
    std::string& text = AdoContext::errorText;
    try {
        text = kavex::errors::fetchError(errorId);
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
