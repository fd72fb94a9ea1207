# An interactive session on a pseudo-terminal: the password prompt without echo, readline's prompts,
# a statement over two lines, an error that does not end the session, the history file, status 0.
source "$(dirname "$0")/lib.bash" "$@"
[ -n "$PYTHON" ] || { echo "python3 missing: skipped"; exit 0; }

HOME="$WORK" "$PYTHON" - "$SQL" "file:$WORK/tty.db?mode=rwc" >"$WORK/out" 2>"$WORK/err" <<'PY' || fail "terminal session"
import os, pty, select, sys, time
sql, db = sys.argv[1], sys.argv[2]
pid, fd = pty.fork()
if pid == 0:
    os.execv(sql, [sql, db, "scott"])
out = b""
def expect(text, timeout=10):
    global out
    end = time.time() + timeout
    while text.encode() not in out:
        if time.time() > end:
            sys.exit("timed out waiting for %r; got %r" % (text, out))
        r, _, _ = select.select([fd], [], [], 0.1)
        if r:
            try:
                out += os.read(fd, 4096)
            except OSError:
                break
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
expect("still")
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
assert os.WEXITSTATUS(status) == 0, "status %d" % os.WEXITSTATUS(status)
history = open(os.path.join(os.environ["HOME"], ".kavex_sql_history")).read()
assert "SELECT 1 AS one\nFROM dual;" in history, history
print(text)
PY
echo "terminal session: ok"
