#include "core/app/CSystem.h"

#include "core/text/Blanks.h"
#include "core/text/LeadingNumber.h"

#include "core/platform/Platform.h"

namespace ormavex {

namespace {

// Numeric value of an option; false when it is not numeric.
bool AsNumber(const CSystem::Option& o, double& v) {
    if (const double* d = std::get_if<double>(&o)) {
        v = *d;
        return true;
    }
    if (const std::string* s = std::get_if<std::string>(&o)) {
        return ParseNumber(*s, v);
    }
    return false;
}

} // namespace

std::vector<std::string> CSystem::SplitCommandLine(const std::string& cmd) {
    std::vector<std::string> args;
    std::size_t i = 0;
    const std::size_t n = cmd.size();
    for (;;) {
        while (i < n && (cmd[i] == ' ' || cmd[i] == '\t')) {
            ++i;
        }
        if (i >= n) {
            break;
        }
        std::string arg;
        bool inQuotes = false;
        while (i < n && (inQuotes || (cmd[i] != ' ' && cmd[i] != '\t'))) {
            if (cmd[i] == '\\') {
                std::size_t slashes = 0;
                while (i < n && cmd[i] == '\\') {
                    ++slashes;
                    ++i;
                }
                if (i < n && cmd[i] == '"') {
                    arg.append(slashes / 2, '\\');
                    if (slashes % 2 == 1) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(slashes, '\\');
                }
            } else if (cmd[i] == '"') {
                if (inQuotes && i + 1 < n && cmd[i + 1] == '"') {
                    arg += '"'; // "" inside quotes is one quote
                    i += 2;
                } else {
                    inQuotes = !inQuotes;
                    ++i;
                }
            } else {
                arg += cmd[i++];
            }
        }
        args.push_back(std::move(arg));
    }
    return args;
}

void CSystem::Shell(const std::string& Command, const Option& WindowStyle,
                    const Option& WaitForCompletion) {
    double number = 0.0;
    if (!std::holds_alternative<std::monostate>(WindowStyle) && !AsNumber(WindowStyle, number)) {
        return;
    }
    bool wait = false;
    if (const bool* b = std::get_if<bool>(&WaitForCompletion)) {
        wait = *b;
    } else if (AsNumber(WaitForCompletion, number)) {
        wait = number != 0.0;
    } else if (const std::string* s = std::get_if<std::string>(&WaitForCompletion)) {
        if (EqualsNoCase(*s, "true")) {
            wait = true;
        } else if (!EqualsNoCase(*s, "false")) {
            return;
        }
    }

    const std::vector<std::string> args = SplitCommandLine(Command);
    if (args.empty()) {
        return;
    }
    platform::StartProgram(Command, args, wait);
}

} // namespace ormavex
