#include "flat/AdoContext.h"

namespace kavex {

thread_local std::string AdoContext::errorText;

AdoContext& AdoContext::instance() {
    static AdoContext* const context = new AdoContext;
    return *context;
}

}  // namespace kavex
