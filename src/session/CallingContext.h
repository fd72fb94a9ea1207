// The front end's context handed to the value readers: the process-wide AdoContext for the flat
// interface, one JniContext per native call for JNI.
#ifndef KAVEX_SESSION_CALLINGCONTEXT_H
#define KAVEX_SESSION_CALLINGCONTEXT_H

#include <stdexcept>
#include <typeinfo>

namespace kavex {

class CallingContext {
public:
    virtual ~CallingContext() = default;

    // This context as the front end's own kind: a session is only ever called with the context of
    // its own front end, so any other kind is a fault inside the library, which fails the call.
    template <class FrontEndContext>
    FrontEndContext& as() {
        // Values are read through this once per value: the exact type is checked first, which
        // costs a comparison where a dynamic cast walks the class hierarchy.
        if (typeid(*this) == typeid(FrontEndContext)) {
            return static_cast<FrontEndContext&>(*this);
        }
        auto* own = dynamic_cast<FrontEndContext*>(this);
        if (own == nullptr) {
            throw std::logic_error("a session was called with another front end's context");
        }
        return *own;
    }
};

}  // namespace kavex

#endif
