# An interactive session on a pseudo-terminal: the password prompt without echo, readline's prompts,
# a statement over two lines, an error that does not end the session, Ctrl-C abandoning a statement
# being typed and stopping a long result that is streaming out, the history file, status 0.
source "$(dirname "$0")/lib.bash" "$@"
[ -n "$PYTHON" ] || { echo "python3 missing: skipped"; exit 0; }

HOME="$WORK" "$PYTHON" - "$SQL" "file:$WORK/tty.db?mode=rwc" >"$WORK/out" 2>"$WORK/err" <<'PY' || fail "terminal session"
import fcntl, os, pty, select, struct, sys, termios, time
sql, db = sys.argv[1], sys.argv[2]
pid, fd = pty.fork()
if pid == 0:
    os.execv(sql, [sql, db, "scott"])
out = b""
mark = 0
def expect(text, timeout=60):
    # Waits for text to appear after what earlier expects consumed, so a text seen before (a
    # prompt, "(1 row)") never satisfies a later wait.
    global out, mark
    end = time.time() + timeout
    while text.encode() not in out[mark:]:
        if time.time() > end:
            sys.exit("timed out waiting for %r; got %r" % (text, out))
        r, _, _ = select.select([fd], [], [], 0.1)
        if r:
            try:
                out += os.read(fd, 4096)
            except OSError:
                break
    mark = out.index(text.encode(), mark) + len(text.encode())
def send(line):
    os.write(fd, line.encode() + b"\n")
expect("Password for scott: ")
send("hidden-word")
expect("kavex> ")
send("SELECT 1 AS one")
expect("..> ")
send("FROM dual;")
expect("(1 row)")
send("SELECT * FROM nosuch;")
expect("ERROR: ORA-00942")
send("SELECT 'still' AS here FROM dual;")
expect("(1 row)")
# Ctrl-C while typing: the unfinished statement is forgotten, the next one runs alone.
send("SELECT 'abandoned'")
expect("..> ")
os.write(fd, b"FROM dual\x03")
expect("kavex> ")
# Ctrl-C arriving while the shell is still busy with the keys typed just before it, again and
# again: each one must give a fresh prompt.
for attempt in range(20):
    os.write(fd, b"SELECT 'abandoned' FROM dual\x03")
    expect("^C")
    expect("kavex> ")
send("SELECT 'fresh' AS f FROM dual;")
expect("(1 row)")
# Resizing the terminal at the prompt and while rows stream out loses neither input nor output.
def resize(rows, cols):
    fcntl.ioctl(fd, termios.TIOCSWINSZ, struct.pack("HHHH", rows, cols, 0, 0))
resize(30, 100)
send("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 3000) SELECT x FROM c;")
expect(" 1000\r\n")
for size in range(20):
    resize(24 + size, 80 + size)
expect("(3000 rows)")
# Ctrl-C while a long result streams out: the rows so far are shown, the rest is not fetched.
send("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 5000000) SELECT x FROM c;")
expect(" 2000\r\n")
# Stop reading for a moment so the terminal fills and the shell is blocked writing rows when the
# Ctrl-C arrives: the broken-off write must not silence the rest of the session.
time.sleep(1.0)
os.write(fd, b"\x03")
expect("Cancelled: the remaining rows were not fetched.")
send("SELECT 'alive' AS a FROM dual;")
expect("(1 row)")
send("\\q")
# Read to the end: a terminal whose output nobody reads holds the exiting process back.
while True:
    try:
        chunk = os.read(fd, 4096)
    except OSError:
        break
    if not chunk:
        break
    out += chunk
_, status = os.waitpid(pid, 0)
text = out.decode(errors="replace")
assert "hidden-word" not in text, "the password was echoed"
assert "abandoned" not in text.split("SELECT 'fresh'")[1].split("(1 row)")[0], "abandoned text ran"
assert "5000000 rows" not in text
assert os.WEXITSTATUS(status) == 0, "status %d" % os.WEXITSTATUS(status)
history = open(os.path.join(os.environ["HOME"], ".kavex_sql_history")).read()
assert "SELECT 1 AS one\nFROM dual;" in history, history
print(text)
PY

# After a restart, the statement typed over two lines comes back from the history as one entry
# (Ctrl-R finds it), and runs whole. CONNECT without a password asks for it without echo; one
# given on the line never reaches the history.
HOME="$WORK" "$PYTHON" - "$SQL" "file:$WORK/tty.db?mode=rwc" >"$WORK/out" 2>"$WORK/err" <<'PY' || fail "history after a restart"
import os, pty, select, sys, time
sql, db = sys.argv[1], sys.argv[2]
pid, fd = pty.fork()
if pid == 0:
    os.execv(sql, [sql, db, "scott", "pw"])
out = b""
transcript = b""
def expect(text, timeout=60):
    global out, transcript
    end = time.time() + timeout
    while text.encode() not in out:
        if time.time() > end:
            sys.exit("timed out waiting for %r; got %r" % (text, out))
        r, _, _ = select.select([fd], [], [], 0.1)
        if r:
            chunk = os.read(fd, 4096)
            out += chunk
            transcript += chunk
    out = out[out.index(text.encode()) + len(text.encode()):]
expect("kavex> ")
os.write(fd, b"\x12AS one")
time.sleep(0.5)
os.write(fd, b"\r")
expect("(1 row)")
os.write(fd, b"CONNECT alice\n")
expect("Password for alice: ")
os.write(fd, b"typed-secret\n")
expect("Connected.")
os.write(fd, b"SHOW USER\n")
expect('USER is "ALICE"')
os.write(fd, b"CONNECT bob/hunter2\n")
expect("Connected.")
os.write(fd, b"\\q\n")
while True:
    try:
        chunk = os.read(fd, 4096)
    except OSError:
        break
    if not chunk:
        break
    out += chunk
_, status = os.waitpid(pid, 0)
assert os.WEXITSTATUS(status) == 0
assert b"typed-secret" not in transcript + out, "the password was echoed"
PY
grep -qx "CONNECT bob" "$WORK/.kavex_sql_history" || fail "CONNECT is in the history without its password"
if grep -q "hunter2" "$WORK/.kavex_sql_history"; then fail "a password reached the history"; fi
grep -qx "#[0-9]*" "$WORK/.kavex_sql_history" || fail "history entries are not marked"
echo "terminal session: ok"
