#pragma once

// Called first thing in every test main: a display-less machine must still
// run widget tests, and test discovery runs the binaries outside ctest.
void QuentaPrepareTestEnvironment();
