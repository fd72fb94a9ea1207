// Ctrl-C at the terminal: instead of ending the shell it discards the statement being typed, or
// stops printing the rows of the running query (the library has no call that cancels a statement,
// so a long execution finishes first).
#ifndef KAVEXSQL_INTERRUPT_H
#define KAVEXSQL_INTERRUPT_H

namespace kavexsql {
namespace interrupt {

// Catches SIGINT from now on (interactive sessions only).
void install();
// True once Ctrl-C was pressed, until take() is called.
bool pending();
// Returns pending() and clears it.
bool take();

}  // namespace interrupt
}  // namespace kavexsql

#endif
