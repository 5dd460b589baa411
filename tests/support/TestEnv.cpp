#include "tests/support/TestEnv.h"

#include <cstdlib>
#include <string>

#include <sys/stat.h>

void QuentaPrepareTestEnvironment()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Keep the tests away from the user's real settings and documents.
    static bool done = false;
    if (!done && !std::getenv("QUENTA_KEEP_XDG")) {
        done = true;
        char tmpl[] = "/tmp/quenta-test-XXXXXX";
        if (const char *home = mkdtemp(tmpl)) {
            const std::string base(home);
            mkdir((base + "/config").c_str(), 0700);
            mkdir((base + "/data").c_str(), 0700);
            setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 1);
            setenv("XDG_DATA_HOME", (base + "/data").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", base.c_str(), 1);
        }
    }
}

#if defined(__SANITIZE_ADDRESS__)
// Leak reports from third-party libraries only; our own code gets none.
extern "C" const char *__lsan_default_suppressions()
{
    return
        // fontconfig keeps its caches for the life of the process.
        "leak:libfontconfig.so\n"
        // Qt's font database and platform plugin free nothing at exit.
        "leak:libQt6Gui.so\n"
        // glib type system allocations are process-lifetime by design.
        "leak:libglib-2.0.so\n"
        "leak:libgobject-2.0.so\n";
}
#endif
