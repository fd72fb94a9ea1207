// The front end's context handed to the value readers: the process-wide AdoContext for the flat
// interface, one JniContext per native call for JNI.
#ifndef KAVEX_SESSION_CALLINGCONTEXT_H
#define KAVEX_SESSION_CALLINGCONTEXT_H

class CallingContext {
public:
    virtual ~CallingContext() = default;
};

#endif
