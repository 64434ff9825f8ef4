/* The interface between the program and a Win3D page-flipping driver library: the handle
   record the program makes, the function table the library's entry point fills, and the
   records passed through it. Plain C, so that a driver can be written in C; the test
   library in tests/ is one.

   The tables are addressed by the byte offsets of the driver's original 32-bit layout: the
   function at byte b sits in slot b / 4. The sizes stored in the records count those bytes
   too (4 per slot), whatever the size of a pointer here. */
#ifndef DUPLORA_WIN3D_ABI_H
#define DUPLORA_WIN3D_ABI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define W3D_HANDLE_SIZE 20u   /* FlipDriver.size as the program sets it */
#define W3D_FUNCTION_SLOTS 15 /* a 60-byte function table */
#define W3D_LIBRARY_SLOTS 16

/* Slots of the function table. */
#define W3D_START_FLIPPING 0 /* int (int display, void* device, W3dPage* a, W3dPage* b) */
#define W3D_STOP_FLIPPING 1  /* int (int display) */
#define W3D_FLIPPED 4        /* int (int value) */
#define W3D_PRESENT_PAGE 6   /* int (W3dPage* page, int eye): eye 1 left, 0 right */
#define W3D_CAPABILITIES 9   /* int (W3dCapabilities*) */
#define W3D_RELEASE 10       /* int (FlipDriver*): the program's own release */
#define W3D_PAGE_STATUS 11   /* int (W3dPage* page, uint32_t* status) */

/* Slots of the library's own table (slot 0 holds its size). */
#define W3D_LIB_CLEANUP 1        /* void (FlipDriver*) */
#define W3D_LIB_ATTACH 2         /* int (int display, W3dPage* back) */
#define W3D_LIB_CHOOSE_DISPLAY 9 /* int (void): display index */
#define W3D_LIB_DISPLAY_NAME 10  /* const char* (int display) */

/* Load and release results. */
#define W3D_OK 0
#define W3D_NO_HANDLE 0x60001
#define W3D_HANDLE_TOO_SMALL 0x60004
#define W3D_NO_LIBRARY 0x6000a
#define W3D_NO_MEMORY 0x6000d

/* Page status bits: a page with neither is free for drawing. */
#define W3D_PAGE_BUSY 0x08u
#define W3D_PAGE_SHOWN 0x20u

/* Capability flags that ask for a third page. */
#define W3D_CAPS1_THREE_PAGES_A 0x20000u
#define W3D_CAPS1_THREE_PAGES_B 0x1000u
#define W3D_CAPS2_THREE_PAGES_A 0x40u
#define W3D_CAPS2_THREE_PAGES_B 0x8000u
#define W3D_CAPS1_8_BITS 0x40u

typedef void (*W3dFunction)(void);

typedef struct W3dCapabilities {
    uint32_t size; /* 12 */
    uint32_t flags1;
    uint32_t flags2;
} W3dCapabilities;

/* A page: 24-bit B,G,R rows from the bottom, each padded to 4 bytes. */
typedef struct W3dPage {
    int index;
    int width;
    int height;
    int stride;
    unsigned char* pixels;
} W3dPage;

typedef struct W3dLibraryTable {
    uint32_t size; /* bytes: 4 per slot, the size field included */
    W3dFunction entries[W3D_LIBRARY_SLOTS];
} W3dLibraryTable;

typedef struct FlipDriver {
    uint32_t size;                  /* W3D_HANDLE_SIZE */
    void* module;                   /* the library, as dlopen gave it */
    W3dFunction* functions;         /* W3D_FUNCTION_SLOTS, filled by the entry point */
    const W3dLibraryTable* library; /* the library's own table, set by the entry point */
} FlipDriver;

/* The library's entry point, "W3D_DDFillFunctions". */
typedef int (*W3dFillFunctions)(FlipDriver* driver);

#ifdef __cplusplus
}
#endif

#endif
