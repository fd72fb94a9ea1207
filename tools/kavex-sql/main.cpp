// kavex-sql: a command-line SQL shell over the flat C interface of System.Data.Kavex.OracleOCIw.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <memory>

#include "ConnectHint.h"
#include "Connection.h"
#include "DbError.h"
#include "LineSource.h"
#include "Options.h"
#include "Password.h"
#include "Shell.h"
#include "kavex_oracleociw.h"

using namespace kavexsql;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitConnect = 3;

std::string password(const Options& options) {
    if (options.password) return *options.password;
    if (const char* fromEnvironment = std::getenv("KAVEX_PASSWORD")) return fromEnvironment;
    if (isatty(STDIN_FILENO)) {
        if (std::optional<std::string> typed = askPassword("Password for " + options.user + ": "))
            return *typed;
    }
    return "";  // a database without accounts takes any password
}

int run(const Options& options) {
    std::unique_ptr<Connection> connection;
    try {
        if (!options.noLogon)
            connection =
                std::make_unique<Connection>(options.connect, options.user, password(options));
    } catch (const DbError& e) {
        std::cerr << "kavex-sql: " << e.what() << '\n';
        const std::string hint = connectHint(options.connect, e.what());
        if (!hint.empty()) std::cerr << "kavex-sql: hint: " << hint << '\n';
        return kExitConnect;
    }

    Settings settings;
    settings.output.csv = options.csv;
    settings.output.quiet = options.quiet;
    settings.output.nullText = options.nullText;
    settings.timing = options.timing;
    settings.autoCommit = options.autoCommit;
    settings.stopOnError = options.stopOnError;
    settings.maxColumnSize = options.maxColumnSize;
    settings.silent = options.silent;
    Shell shell(std::move(connection), Login{options.connect, options.user}, settings, std::cout,
                std::cerr);

    bool interactive = false;
    Shell::Outcome outcome = Shell::Outcome::Finished;
    if (options.inputs.empty()) {
        std::unique_ptr<LineSource> source;
        if (isatty(STDIN_FILENO)) {
            interactive = true;
            source = std::make_unique<TerminalSource>();
            if (options.noLogon && !options.quiet && !options.silent)
                std::cout << "Not connected: CONNECT user[/password]@connect opens a session; "
                             "\\help lists the commands, \\q leaves.\n";
            else if (!options.quiet && !options.silent)
                std::cout
                    << "Connected to " << options.connect << " as " << options.user
                    << ". Statements end with \";\"; \\help lists the commands, \\q leaves.\n";
        } else {
            source = std::make_unique<StreamSource>(std::cin, "<stdin>");
        }
        outcome = shell.run(*source);
    } else {
        for (const Input& input : options.inputs) {
            std::unique_ptr<LineSource> source;
            try {
                if (input.kind == Input::Kind::Text)
                    source = openText(input.value);
                else if (input.value == "-")
                    source = std::make_unique<StreamSource>(std::cin, "<stdin>");
                else
                    source = openFile(input.value);
            } catch (const std::exception& e) {
                std::cout.flush();
                std::cerr << "kavex-sql: " << e.what() << '\n';
                return kExitUsage;
            }
            outcome = shell.run(*source);
            if (outcome != Shell::Outcome::Finished) break;
        }
    }
    std::cout.flush();
    if (outcome == Shell::Outcome::Quit && shell.exitCode()) return *shell.exitCode();
    if (outcome == Shell::Outcome::Stopped) return kExitFailed;
    if (!interactive && shell.errors() > 0) return kExitFailed;
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = parseOptions(argc, argv);
    } catch (const UsageError& e) {
        std::cerr << "kavex-sql: " << e.what()
                  << "\nTry 'kavex-sql --help' for more information.\n";
        return kExitUsage;
    }
    if (options.help) {
        std::cout << helpText();
        return kExitOk;
    }
    if (options.version) {
        std::cout << versionText();
        return kExitOk;
    }
    try {
        return run(options);
    } catch (const std::exception& e) {
        std::cerr << "kavex-sql: " << e.what() << '\n';
        return kExitFailed;
    }
}
