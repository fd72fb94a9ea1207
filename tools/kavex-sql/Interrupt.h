// Ctrl-C at the terminal: instead of ending the shell it discards the statement being typed,
// cancels the call running on the session (the execution or the fetch of rows ends with
// ORA-01013), or stops printing the rows of the running query.
#ifndef KAVEXSQL_INTERRUPT_H
#define KAVEXSQL_INTERRUPT_H

namespace kavexsql {
namespace interrupt {

// Catches SIGINT from now on (interactive sessions only), and starts the thread that passes a
// Ctrl-C on to the library while a call runs. Call it before any other thread starts.
void install();
// True once Ctrl-C was pressed, until take() is called.
bool pending();
// Returns pending() and clears it.
bool take();

// While one is alive, a Ctrl-C pressed after it was made cancels the library call running on the
// session it names (through KAVEX_PROPERTY_CANCEL, from the thread install() started); one
// pressed before, even if the thread only reads it now, does not. One at a time; without
// install() it does nothing.
class CancelsCalls {
  public:
    explicit CancelsCalls(int sessionId);
    ~CancelsCalls();
    CancelsCalls(const CancelsCalls&) = delete;
    CancelsCalls& operator=(const CancelsCalls&) = delete;
};

}  // namespace interrupt
}  // namespace kavexsql

#endif
