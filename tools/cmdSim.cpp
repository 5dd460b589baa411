#include "tools/QuentaCommands.h"

#include <cstdio>

int QuentaSimMain(int, char **)
{
    std::fputs("quenta sim: not available in this build\n", stderr);
    return 2;
}
