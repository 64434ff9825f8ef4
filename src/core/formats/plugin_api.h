/* The C interface of import plug-ins: shared objects named "*.spi" that export these
 * three functions. Plug-ins include this header; it needs only the C standard library.
 *
 * Memory: GetPicture hands back two blocks allocated with malloc(). The program checks
 * them against the sizes their header promises (with malloc_usable_size), copies them
 * and frees both with free(); a plug-in never frees them itself. */
#ifndef DUPLORA_PLUGIN_API_H
#define DUPLORA_PLUGIN_API_H

#ifdef __cplusplus
extern "C" {
#endif

/* Results of GetPicture. */
#define SPI_SUCCESS 0
#define SPI_NOT_IMPLEMENTED (-1)
#define SPI_ABORTED 1 /* the progress callback asked to stop */
#define SPI_UNKNOWN_FORMAT 2
#define SPI_BROKEN_DATA 3
#define SPI_NO_MEMORY 4
#define SPI_MEMORY_ERROR 5
#define SPI_FILE_READ_ERROR 6
#define SPI_INTERNAL_ERROR 8

/* GetPicture's flag: where `source` points. */
#define SPI_SOURCE_FILE 0   /* a file path; `offset` is where the picture starts in it */
#define SPI_SOURCE_MEMORY 1 /* the bytes themselves; `offset` is their count */

/* Progress: called with a part done out of a whole; a non-zero answer asks the plug-in
 * to stop and return SPI_ABORTED. */
typedef int (*SpiProgressCallback)(int done, int whole, long userData);

/* infoNumber 0: the API version text; its third and fourth characters are "IN" for an
 * import plug-in ("00IN"). 1: the plug-in's name. 2n + 2: the n-th file pattern
 * ("*.png"); 2n + 3: its description. Writes at most bufferLength bytes including the
 * terminating zero and returns the length written without it; 0 when the number is not
 * used. */
typedef int (*SpiGetPluginInfo)(int infoNumber, char* buffer, int bufferLength);

/* Non-zero when the plug-in can read the file. `fd` is the file opened for reading at
 * its start; the plug-in may read from it with pread() but must not close it. */
typedef int (*SpiIsSupported)(const char* path, int fd);

/* Decodes the picture. On success *info receives a block holding a 40-byte bitmap info
 * header followed by the colour table (one 4-byte entry per colour: 2^bits entries for 1,
 * 4 and 8 bits unless "colours used" says fewer; none for 24 bits), and *pixels a block
 * holding the rows, bottom-up unless the height is negative, each padded to 4 bytes. */
typedef int (*SpiGetPicture)(const char* source, long offset, unsigned int flag, void** info,
                             void** pixels, SpiProgressCallback progress, long userData);

/* The exported names. */
int GetPluginInfo(int infoNumber, char* buffer, int bufferLength);
int IsSupported(const char* path, int fd);
int GetPicture(const char* source, long offset, unsigned int flag, void** info, void** pixels,
               SpiProgressCallback progress, long userData);

#ifdef __cplusplus
}
#endif

#endif /* DUPLORA_PLUGIN_API_H */
