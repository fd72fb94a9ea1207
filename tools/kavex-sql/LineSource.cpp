#include "LineSource.h"

#include <readline/history.h>
#include <readline/readline.h>
#include <sys/select.h>

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "Interrupt.h"

namespace kavexsql {

namespace {

// The line handed over by readline's callback interface, and whether one has arrived.
struct PendingLine {
    bool done = false;
    std::optional<std::string> text;
};
PendingLine* pending = nullptr;

extern "C" void onLine(char* line) {
    pending->done = true;
    if (line) {
        pending->text = std::string(line);
        std::free(line);
    }
    rl_callback_handler_remove();  // a further callback would overwrite this line
}

// Ctrl-C while a line is edited: the line is dropped and a fresh statement prompt shown.
void abandonLine() {
    rl_callback_sigcleanup();
    rl_free_line_state();
    rl_replace_line("", 0);
    std::fputs("^C", rl_outstream);
    rl_crlf();
    rl_callback_handler_remove();
    rl_callback_handler_install(kPrompt, onLine);
}

// A resized terminal, noted by the signal handler and passed on to readline between keys.
volatile std::sig_atomic_t resized = 0;
extern "C" void onResize(int) { resized = 1; }

// SIGINT is blocked while readline works on the line and let through only while the shell waits
// for a key, so a Ctrl-C is always seen by the loop below and never lost between two reads.
class BlockedInterrupt {
  public:
    BlockedInterrupt() {
        sigset_t block;
        sigemptyset(&block);
        sigaddset(&block, SIGINT);
        sigprocmask(SIG_BLOCK, &block, &previous_);
        waiting_ = previous_;
        sigdelset(&waiting_, SIGINT);
    }
    ~BlockedInterrupt() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
    BlockedInterrupt(const BlockedInterrupt&) = delete;
    BlockedInterrupt& operator=(const BlockedInterrupt&) = delete;
    const sigset_t* whileWaiting() const { return &waiting_; }

  private:
    sigset_t previous_;
    sigset_t waiting_;
};

constexpr int kHistorySize = 1000;

bool startsWithTimestamp(const std::string& path) {
    std::ifstream file(path);
    std::string first;
    return std::getline(file, first) && first.size() > 1 && first[0] == '#' &&
           std::isdigit(static_cast<unsigned char>(first[1]));
}

}  // namespace

TerminalSource::TerminalSource() {
    interrupt::install();
    rl_catch_signals = 0;  // Ctrl-C is handled by readLine, not inside readline
    rl_catch_sigwinch = 0;
    struct sigaction action {};
    action.sa_handler = onResize;
    sigemptyset(&action.sa_mask);
    // Restarted, so a resize never breaks off a write of rows; the wait for keys still wakes.
    action.sa_flags = SA_RESTART;
    sigaction(SIGWINCH, &action, nullptr);
    using_history();
    stifle_history(kHistorySize);
    // Each entry is written after a "#<time>" line, which lets the lines of a multi-line statement
    // be read back as one entry.
    history_comment_char = '#';
    history_write_timestamps = 1;
    if (const char* home = std::getenv("HOME")) {
        historyFile_ = std::string(home) + "/.kavex_sql_history";
        // A file written without those lines holds one entry per line.
        history_multiline_entries = startsWithTimestamp(historyFile_) ? 1 : 0;
        read_history(historyFile_.c_str());
        history_multiline_entries = 1;
    }
}

TerminalSource::~TerminalSource() {
    if (!historyFile_.empty()) write_history(historyFile_.c_str());
    clear_history();
}

std::optional<std::string> TerminalSource::readLine(const std::string& prompt) {
    if (!recalled_.empty()) {
        std::string next = recalled_.front();
        recalled_.erase(recalled_.begin());
        return next;
    }
    BlockedInterrupt blocked;
    PendingLine line;
    pending = &line;
    rl_callback_handler_install(prompt.c_str(), onLine);
    const int fd = fileno(rl_instream ? rl_instream : stdin);
    while (!line.done) {
        if (interrupt::take()) {
            abandoned_ = true;
            abandonLine();
            continue;
        }
        if (resized) {
            resized = 0;
            rl_resize_terminal();
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        int ready = pselect(fd + 1, &readable, nullptr, nullptr, nullptr, blocked.whileWaiting());
        if (ready < 0) {
            if (errno == EINTR) continue;
            rl_callback_handler_remove();
            line.done = true;  // the terminal is gone: end of input
            break;
        }
        rl_callback_read_char();
    }
    pending = nullptr;
    if (!line.text) {
        std::fputc('\n', stdout);
        return line.text;
    }
    // A statement recalled from the history may hold several lines: hand them out one by one.
    std::string text = *line.text;
    size_t newline = text.find('\n');
    if (newline == std::string::npos) return text;
    size_t start = newline + 1;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        recalled_.push_back(text.substr(start, end - start));
    recalled_.push_back(text.substr(start));
    return text.substr(0, newline);
}

bool TerminalSource::takeAbandoned() {
    bool was = abandoned_;
    abandoned_ = false;
    return was;
}

void TerminalSource::remember(const std::string& unit) {
    if (!unit.empty()) add_history(unit.c_str());
}

StreamSource::StreamSource(std::istream& in, std::string name) : in_(in), name_(std::move(name)) {}

StreamSource::StreamSource(std::unique_ptr<std::istream> owned, std::string name, bool file)
    : owned_(std::move(owned)), in_(*owned_), name_(std::move(name)), file_(file) {}

std::optional<std::string> StreamSource::readLine(const std::string&) {
    std::string line;
    if (!std::getline(in_, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();  // scripts written on Windows
    return line;
}

std::unique_ptr<LineSource> openFile(const std::string& path) {
    auto file = std::make_unique<std::ifstream>(path);
    if (!*file) throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    return std::make_unique<StreamSource>(std::move(file), path, true);
}

std::unique_ptr<LineSource> openText(const std::string& text) {
    return std::make_unique<StreamSource>(std::make_unique<std::istringstream>(text), "-c");
}

}  // namespace kavexsql
