# An interactive session on a pseudo-terminal: the password prompt without echo, readline's prompts,
# a statement over two lines, an error that does not end the session, Ctrl-C abandoning a statement
# being typed, cancelling a running statement and stopping a long result that is streaming out, the
# history file, status 0; then a restart that recalls a statement from the history, and CONNECT's
# password prompt.
source "$(dirname "$0")/lib.bash" "$@"
[ -n "$PYTHON" ] || { echo "python3 missing: skipped"; exit 0; }

# The shell on a pseudo-terminal, shared by both sessions.
cat >"$WORK/terminal.py" <<'PY'
import os, pty, select, sys, time
class Terminal:
    def __init__(self, argv):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.execv(argv[0], argv)
        self.out = b""
        self.mark = 0
    def expect(self, text, timeout=60):
        # Waits for text to appear after what earlier expects consumed, so a text seen before (a
        # prompt, "(1 row)") never satisfies a later wait.
        end = time.time() + timeout
        while text.encode() not in self.out[self.mark:]:
            if time.time() > end:
                # The end of the output first: a long log is cut when shown.
                sys.exit("timed out waiting for %r; the output ends with %r" % (text, self.out[-800:]))
            r, _, _ = select.select([self.fd], [], [], 0.1)
            if r:
                try:
                    self.out += os.read(self.fd, 4096)
                except OSError:
                    break
        self.mark = self.out.index(text.encode(), self.mark) + len(text.encode())
    def type(self, keys):
        os.write(self.fd, keys.encode())
    def send(self, line):
        self.type(line + "\n")
    def finish(self):
        # Reads to the end (a terminal whose output nobody reads holds the exiting process back);
        # returns the exit status.
        while True:
            try:
                chunk = os.read(self.fd, 4096)
            except OSError:
                break
            if not chunk:
                break
            self.out += chunk
        _, status = os.waitpid(self.pid, 0)
        return os.WEXITSTATUS(status)
PY

HOME="$WORK" PYTHONPATH="$WORK" "$PYTHON" - "$SQL" "file:$WORK/tty.db?mode=rwc" >"$WORK/out" 2>"$WORK/err" <<'PY' || fail "terminal session"
import fcntl, os, select, struct, sys, termios, time
from terminal import Terminal
sql, db = sys.argv[1], sys.argv[2]
t = Terminal([sql, db, "scott"])
t.expect("Password for scott: ")
t.send("hidden-word")
t.expect("kavex> ")
t.send("SELECT 1 AS one")
t.expect("..> ")
t.send("FROM dual;")
t.expect("(1 row)")
t.send("SELECT * FROM nosuch;")
t.expect("ERROR: ORA-00942")
t.send("SELECT 'still' AS here FROM dual;")
t.expect("(1 row)")
# Ctrl-C while typing: the unfinished statement is forgotten, the next one runs alone.
t.send("SELECT 'abandoned'")
t.expect("..> ")
t.type("FROM dual\x03")
t.expect("kavex> ")
# Ctrl-C arriving while the shell is still busy with the keys typed just before it, again and
# again: each one must give a fresh prompt.
for attempt in range(20):
    t.type("SELECT 'abandoned' FROM dual\x03")
    t.expect("^C")
    t.expect("kavex> ")
t.send("SELECT 'fresh' AS f FROM dual;")
t.expect("(1 row)")
# Resizing the terminal at the prompt and while rows stream out loses neither input nor output.
def resize(rows, cols):
    fcntl.ioctl(t.fd, termios.TIOCSWINSZ, struct.pack("HHHH", rows, cols, 0, 0))
resize(30, 100)
t.send("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 3000) SELECT x FROM c;")
t.expect(" 1000\r\n")
for size in range(20):
    resize(24 + size, 80 + size)
t.expect("(3000 rows)")
# Ctrl-C while a long result streams out: the rows so far are shown, the rest is not fetched.
t.send("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 5000000) SELECT x FROM c;")
t.expect(" 2000\r\n")
# Stop reading for a moment so the terminal fills and the shell is blocked writing rows when the
# Ctrl-C arrives: the broken-off write must not silence the rest of the session.
time.sleep(1.0)
t.type("\x03")
t.expect("Cancelled: the remaining rows were not fetched.")
t.send("SELECT 'alive' AS a FROM dual;")
t.expect("(1 row)")
# Ctrl-C while a statement that would run for minutes executes: the library cancels it, the error
# is reported and the session goes on. A Ctrl-C landing just before the call began cancels
# nothing, so it is pressed again until the cancel shows.
t.send("WITH r (n) AS (SELECT 1 FROM dual UNION ALL SELECT n + 1 FROM r WHERE n < 1000000000) SELECT COUNT(*) AS n FROM r;")
cancelled = b"ORA-01013: user requested cancel of current operation"
for attempt in range(20):
    time.sleep(0.5)
    t.type("\x03")
    end = time.time() + 2
    while cancelled not in t.out[t.mark:] and time.time() < end:
        r, _, _ = select.select([t.fd], [], [], 0.1)
        if r:
            t.out += os.read(t.fd, 4096)
    if cancelled in t.out[t.mark:]:
        break
t.expect("ORA-01013")
t.send("SELECT 'after the cancel' AS a FROM dual;")
t.expect("(1 row)")
t.send("\\q")
status = t.finish()
text = t.out.decode(errors="replace")
assert "hidden-word" not in text, "the password was echoed"
assert "abandoned" not in text.split("SELECT 'fresh'")[1].split("(1 row)")[0], "abandoned text ran"
assert "5000000 rows" not in text
assert status == 0, "status %d" % status
history = open(os.path.join(os.environ["HOME"], ".kavex_sql_history")).read()
assert "SELECT 1 AS one\nFROM dual;" in history, history
print(text)
PY

# After a restart, the statement typed over two lines comes back from the history as one entry
# (Ctrl-R finds it), and runs whole. CONNECT without a password asks for it without echo; one
# given on the line never reaches the history.
HOME="$WORK" PYTHONPATH="$WORK" "$PYTHON" - "$SQL" "file:$WORK/tty.db?mode=rwc" >"$WORK/out" 2>"$WORK/err" <<'PY' || fail "history after a restart"
import sys, time
from terminal import Terminal
sql, db = sys.argv[1], sys.argv[2]
t = Terminal([sql, db, "scott", "pw"])
t.expect("kavex> ")
t.type("\x12AS one")
time.sleep(0.5)
t.type("\r")
t.expect("(1 row)")
t.send("CONNECT alice")
t.expect("Password for alice: ")
t.send("typed-secret")
t.expect("Connected.")
t.send("SHOW USER")
t.expect('USER is "ALICE"')
t.send("CONNECT bob/hunter2")
t.expect("Connected.")
t.send("\\q")
assert t.finish() == 0
assert b"typed-secret" not in t.out, "the password was echoed"
PY
grep -qx "CONNECT bob" "$WORK/.kavex_sql_history" || fail "CONNECT is in the history without its password"
if grep -q "hunter2" "$WORK/.kavex_sql_history"; then fail "a password reached the history"; fi
grep -qx "#[0-9]*" "$WORK/.kavex_sql_history" || fail "history entries are not marked"
echo "terminal session: ok"
