#include "tools/QuentaCommands.h"

#include <cstdio>

int QuentaConsoleMain(int, char **)
{
    std::fputs("quenta console: not available in this build\n", stderr);
    return 2;
}
