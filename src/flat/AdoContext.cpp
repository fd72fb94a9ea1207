#include "flat/AdoContext.h"

thread_local std::string AdoContext::errorText;

AdoContext& AdoContext::instance() {
    static AdoContext* const context = new AdoContext;
    return *context;
}
