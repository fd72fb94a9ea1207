// The OCI calls the library uses beside OCCI: error handles and OCIBreak.
#include <new>

#include "occi/connection.h"

// An error handle: the embedded client reports its errors as SQLException, so it stays empty.
struct OCIError {};

extern "C" {

sword OCIHandleAlloc(const void* parenth, void** hndlpp, const ub4 type, const size_t,
                     void** usrmempp) {
    if (!parenth || !hndlpp || type != OCI_HTYPE_ERROR) return OCI_INVALID_HANDLE;
    *hndlpp = new (std::nothrow) OCIError;
    if (usrmempp) *usrmempp = nullptr;
    return *hndlpp ? OCI_SUCCESS : OCI_ERROR;
}

sword OCIHandleFree(void* hndlp, const ub4 type) {
    if (!hndlp || type != OCI_HTYPE_ERROR) return OCI_INVALID_HANDLE;
    delete static_cast<OCIError*>(hndlp);
    return OCI_SUCCESS;
}

sword OCIBreak(void* hndlp, OCIError* errhp) {
    if (!hndlp || !errhp) return OCI_INVALID_HANDLE;
    static_cast<OCISvcCtx*>(hndlp)->cancel->request();
    return OCI_SUCCESS;
}

}  // extern "C"
