// The help paragraph of every subcommand of zephyrstat-cli, in one table:
// what `--help` prints for it and what the manual page made from that help
// shows.
#ifndef ZEPHYRSTAT_CLI_COMMAND_HELP_H_
#define ZEPHYRSTAT_CLI_COMMAND_HELP_H_

#include <string>
#include <string_view>

namespace zs {

// Precondition: `subcommand` is one of the tool's subcommands.
std::string CommandHelp(std::string_view subcommand);

}  // namespace zs

#endif  // ZEPHYRSTAT_CLI_COMMAND_HELP_H_
