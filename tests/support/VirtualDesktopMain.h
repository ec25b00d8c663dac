#pragma once

class VirtualDesktop;

// The main of a test binary that runs on its own virtual desktop: starts one, points Qt at it,
// runs every test and ends it. `desktop` points at it while the tests run. Listing the tests
// (at build or discovery time) needs no desktop and starts none.
int runOnVirtualDesktop(int argc, char **argv, VirtualDesktop *&desktop);
