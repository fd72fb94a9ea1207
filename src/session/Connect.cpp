// Opening a session: create it through the front end's handler, register it, or compose the
// failure message (never with the password in it).
#include "session/Connect.h"

#include <sstream>
#include <stdexcept>

#include "occi/occi.h"
#include "session/ErrorStore.h"
#include "session/Messages.h"
#include "session/OcciHandler.h"
#include "session/Registry.h"
#include "session/Session.h"

namespace kavex {

namespace {

const int kEnvironmentUnavailable = 32101;

// The caller's text with its control characters escaped (\x0A, \x1B; C1 controls as \u009B),
// so that a message never carries a line break or terminal sequence the caller slipped in.
void writeEscaped(std::ostream& message, const char* text) {
    static const char hex[] = "0123456789ABCDEF";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        if (*p < 0x20 || *p == 0x7F) {
            message << "\\x" << hex[*p >> 4] << hex[*p & 15];
        } else if (*p == 0xC2 && p[1] >= 0x80 && p[1] <= 0x9F) {
            ++p;
            message << "\\u00" << hex[*p >> 4] << hex[*p & 15];
        } else {
            message << static_cast<char>(*p);
        }
    }
}

void writePrefix(std::ostream& message, const char* connectString, const char* userName) {
    message << messages::kOpenPrefix;
    writeEscaped(message, connectString);
    message << messages::kOpenUser;
    writeEscaped(message, userName);
    message << "; ";
}

}  // namespace

std::int32_t openSession(std::unique_ptr<OcciHandler> handler, const char* userName,
                         const char* password, const char* connectString) {
    try {
        if (!handler || userName == nullptr || password == nullptr || connectString == nullptr) {
            return storeFailure(messages::kOpenFailed);
        }
        std::ostringstream message;
        message.exceptions(std::ios::badbit);
        try {
            handler->session = handler->createSession(userName, password, connectString);
            if (!handler->session) {
                throw std::runtime_error("no session was created");
            }
            return registry::add(handler);
        } catch (const occi::SQLException& e) {
            writePrefix(message, connectString, userName);
            const int code = e.getErrorCode();
            if (code == kEnvironmentUnavailable) {
                message << messages::kNoEnvironment;
            } else {
                // What was written before a failure stays; the rest becomes the code alone.
                try {
                    message << " (";
                    message << e.getMessage();
                    message << ")[Code:" << code << "]";
                } catch (...) {
                    message << messages::kUnreadableClientMessage << code << "]";
                }
            }
        } catch (...) {
            writePrefix(message, connectString, userName);
        }
        handler.reset();
        return errors::storeError(message.str());
    } catch (...) {
        handler.reset();
        return storeFailure(messages::kOpenFailed);
    }
}

}  // namespace kavex
