#pragma once

// Each takes the command's own argv (argv[0] is the command name).
int QuentaSimMain(int argc, char **argv);
int QuentaConsoleMain(int argc, char **argv);
int QuentaSeqMain(int argc, char **argv);
