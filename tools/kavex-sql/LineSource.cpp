#include "LineSource.h"

#include <readline/history.h>
#include <readline/readline.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "Interrupt.h"

namespace kavexsql {

namespace {

// Called by readline when a signal interrupts its read: Ctrl-C abandons the line being edited
// and shows a fresh prompt; the shell forgets the unfinished statement when the next line arrives.
int onSignalDuringRead() {
    if (interrupt::pending()) {
        rl_replace_line("", 0);
        rl_crlf();
        rl_set_prompt(kPrompt);
        rl_on_new_line();
        rl_redisplay();
    }
    return 0;
}

}  // namespace

TerminalSource::TerminalSource() {
    interrupt::install();
    rl_signal_event_hook = onSignalDuringRead;
    using_history();
    if (const char* home = std::getenv("HOME")) {
        historyFile_ = std::string(home) + "/.kavex_sql_history";
        read_history(historyFile_.c_str());
    }
}

TerminalSource::~TerminalSource() {
    if (!historyFile_.empty()) {
        write_history(historyFile_.c_str());
        history_truncate_file(historyFile_.c_str(), 1000);
    }
    clear_history();
}

std::optional<std::string> TerminalSource::readLine(const std::string& prompt) {
    char* line = readline(prompt.c_str());
    if (!line) {
        std::fputc('\n', stdout);
        return std::nullopt;
    }
    std::string text(line);
    std::free(line);
    return text;
}

void TerminalSource::remember(const std::string& unit) {
    if (!unit.empty()) add_history(unit.c_str());
}

StreamSource::StreamSource(std::istream& in, std::string name) : in_(in), name_(std::move(name)) {}

StreamSource::StreamSource(std::unique_ptr<std::istream> owned, std::string name)
    : owned_(std::move(owned)), in_(*owned_), name_(std::move(name)) {}

std::optional<std::string> StreamSource::readLine(const std::string&) {
    std::string line;
    if (!std::getline(in_, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();  // scripts written on Windows
    return line;
}

std::unique_ptr<LineSource> openFile(const std::string& path) {
    auto file = std::make_unique<std::ifstream>(path);
    if (!*file) throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    return std::make_unique<StreamSource>(std::move(file), path);
}

std::unique_ptr<LineSource> openText(const std::string& text) {
    return std::make_unique<StreamSource>(std::make_unique<std::istringstream>(text), "-c");
}

}  // namespace kavexsql
