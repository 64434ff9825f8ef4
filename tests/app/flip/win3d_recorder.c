/* A Win3D driver library for the tests: it records every call the program makes, one line
   each, in the file named by W3D_RECORD_FILE, and reports the capability flags given in
   W3D_RECORD_CAPS1 and W3D_RECORD_CAPS2. A page handed over counts as shown until the next
   flip. */
#include <stdio.h>
#include <stdlib.h>

#include "app/flip/win3d_abi.h"

static uint32_t g_status[4];

static void Record(const char* format, long a, long b, long c) {
    const char* path = getenv("W3D_RECORD_FILE");
    FILE* file = path ? fopen(path, "a") : NULL;
    if (!file) return;
    fprintf(file, format, a, b, c);
    fputc('\n', file);
    fclose(file);
}

static unsigned long Env(const char* name) {
    const char* text = getenv(name);
    return text ? strtoul(text, NULL, 0) : 0;
}

static int StartFlipping(int display, void* device, W3dPage* a, W3dPage* b) {
    (void)device;
    Record("start display=%ld pages=%ld,%ld", display, a->index, b->index);
    return 1;
}

static int StopFlipping(int display) {
    Record("stop display=%ld", display, 0, 0);
    return 1;
}

static int Flipped(int value) {
    Record("flipped %ld", value, 0, 0);
    for (int i = 0; i < 4; ++i) g_status[i] = 0;
    return 1;
}

static int PresentPage(W3dPage* page, int eye) {
    /* The sum of the page's first row tells the tests which picture arrived. */
    long sum = 0;
    for (int x = 0; x < page->width * 3; ++x) sum += page->pixels[x];
    Record("present page=%ld eye=%ld sum=%ld", page->index, eye, sum);
    g_status[page->index & 3] = W3D_PAGE_SHOWN;
    return 1;
}

static int Capabilities(W3dCapabilities* caps) {
    Record("capabilities size=%ld", (long)caps->size, 0, 0);
    caps->flags1 = (uint32_t)Env("W3D_RECORD_CAPS1");
    caps->flags2 = (uint32_t)Env("W3D_RECORD_CAPS2");
    return 1;
}

static int PageStatus(W3dPage* page, uint32_t* status) {
    *status = g_status[page->index & 3];
    return 1;
}

static void Cleanup(FlipDriver* driver) {
    Record("cleanup size=%ld", (long)driver->size, 0, 0);
}

static int Attach(int display, W3dPage* back) {
    Record("attach display=%ld page=%ld", display, back->index, 0);
    return 1;
}

static int ChooseDisplay(void) {
    Record("choose display", 0, 0, 0);
    return 0;
}

static const char* DisplayName(int display) {
    Record("display name %ld", display, 0, 0);
    return "recorder";
}

static W3dLibraryTable g_library;

int W3D_DDFillFunctions(FlipDriver* driver) {
    Record("fill size=%ld", (long)driver->size, 0, 0);
    for (int i = 0; i < 4; ++i) g_status[i] = 0;
    driver->functions[W3D_START_FLIPPING] = (W3dFunction)StartFlipping;
    driver->functions[W3D_STOP_FLIPPING] = (W3dFunction)StopFlipping;
    driver->functions[W3D_FLIPPED] = (W3dFunction)Flipped;
    driver->functions[W3D_PRESENT_PAGE] = (W3dFunction)PresentPage;
    driver->functions[W3D_CAPABILITIES] = (W3dFunction)Capabilities;
    driver->functions[W3D_PAGE_STATUS] = (W3dFunction)PageStatus;
    g_library.size = 4 * (W3D_LIB_DISPLAY_NAME + 1);
    g_library.entries[W3D_LIB_CLEANUP - 1] = (W3dFunction)Cleanup;
    g_library.entries[W3D_LIB_ATTACH - 1] = (W3dFunction)Attach;
    g_library.entries[W3D_LIB_CHOOSE_DISPLAY - 1] = (W3dFunction)ChooseDisplay;
    g_library.entries[W3D_LIB_DISPLAY_NAME - 1] = (W3dFunction)DisplayName;
    driver->library = &g_library;
    return 0;
}
