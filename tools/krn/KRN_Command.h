#pragma once
// The command-line tool's subcommands. Each one lives in a source file of its own and registers
// itself with a static KRN_CommandRegistration, so that main() needs no list of them.

#include <string>
#include <vector>

using KRN_CommandFunction = int (*)(const std::vector<std::string>& args);

struct KRN_CommandInfo
{
    const char* name;
    const char* usage;   // one line, shown by "krn help"
    KRN_CommandFunction run;
};

// Registers a subcommand; used through a namespace-scope object in each subcommand's file.
struct KRN_CommandRegistration
{
    explicit KRN_CommandRegistration(const KRN_CommandInfo& info);
};

const std::vector<KRN_CommandInfo>& KRN_Commands();
