#include "tools/QuentaCommands.h"

#include <cstdio>

int QuentaSeqMain(int, char **)
{
    std::fputs("quenta seq: not available in this build\n", stderr);
    return 2;
}
