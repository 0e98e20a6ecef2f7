#pragma once

// What one show hands on to the next in the same run of the program: the
// position the random steps had reached. The main window keeps it for the
// whole run; a show only borrows it.
struct SlideshowMemory {
    int RndPos = 0;
};
