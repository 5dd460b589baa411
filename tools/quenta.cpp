// The command-line companion: a simulated rack, a headless rack console and
// a sequence preview.
#include "tools/QuentaCommands.h"

#include <cstdio>
#include <cstring>

namespace {

const char *const Usage =
    "Usage: quenta COMMAND [options]\n"
    "\n"
    "Commands:\n"
    "  sim       run a simulated Quenta rack on a pseudo-terminal\n"
    "  console   drive a rack from standard input, headless\n"
    "  seq       print the rack commands a sequence run would send\n"
    "\n"
    "Run 'quenta COMMAND --help' for the options of a command.\n";

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(Usage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    const char *cmd = argv[1];
    if (std::strcmp(cmd, "sim") == 0)
        return QuentaSimMain(argc - 1, argv + 1);
    if (std::strcmp(cmd, "console") == 0)
        return QuentaConsoleMain(argc - 1, argv + 1);
    if (std::strcmp(cmd, "seq") == 0)
        return QuentaSeqMain(argc - 1, argv + 1);
    std::fprintf(stderr, "quenta: unknown command '%s'\n\n%s", cmd, Usage);
    return 2;
}
