/* PNG import plug-in. Every PNG (palette, grey, RGB, 1 to 16 bits, with or without
 * alpha, interlaced or not) comes back as a 24-bit bottom-up bitmap; 16-bit samples are
 * cut to their high byte and alpha is dropped. */
#include <png.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "core/formats/plugin_api.h"

#define HEADER_BYTES 40
#define MAX_DIMENSION 65535
#define MAX_PIXEL_BYTES (((uint64_t)2) << 30)

static int CopyText(const char* text, char* buffer, int length) {
    size_t n;
    if (!buffer || length <= 0) return 0;
    n = strlen(text);
    if (n > (size_t)length - 1) n = (size_t)length - 1;
    memcpy(buffer, text, n);
    buffer[n] = '\0';
    return (int)n;
}

int GetPluginInfo(int infoNumber, char* buffer, int bufferLength) {
    switch (infoNumber) {
        case 0:
            return CopyText("00IN", buffer, bufferLength);
        case 1:
            return CopyText("PNG import (libpng)", buffer, bufferLength);
        case 2:
            return CopyText("*.png", buffer, bufferLength);
        case 3:
            return CopyText("PNG-Bild", buffer, bufferLength);
        default:
            return 0;
    }
}

int IsSupported(const char* path, int fd) {
    png_byte signature[8];
    if (fd >= 0) {
        if (pread(fd, signature, sizeof signature, 0) != (ssize_t)sizeof signature) return 0;
    } else {
        FILE* file = path ? fopen(path, "rb") : NULL;
        size_t n;
        if (!file) return 0;
        n = fread(signature, 1, sizeof signature, file);
        fclose(file);
        if (n != sizeof signature) return 0;
    }
    return png_sig_cmp(signature, 0, sizeof signature) == 0;
}

struct MemorySource {
    const png_byte* data;
    size_t size;
    size_t position;
};

static void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    struct MemorySource* source = (struct MemorySource*)png_get_io_ptr(png);
    if (count > source->size - source->position) png_error(png, "unexpected end of data");
    memcpy(out, source->data + source->position, count);
    source->position += count;
}

static void Quiet(png_structp png, png_const_charp message) {
    (void)png;
    (void)message;
}

static void FailQuietly(png_structp png, png_const_charp message) {
    (void)message;
    png_longjmp(png, 1);
}

static void Put32(png_byte* p, uint32_t v) {
    p[0] = (png_byte)v, p[1] = (png_byte)(v >> 8), p[2] = (png_byte)(v >> 16),
    p[3] = (png_byte)(v >> 24);
}

/* Everything that must be released after a long jump lives here, outside the frame
 * that calls setjmp. */
struct Decode {
    png_structp png;
    png_infop info;
    png_byte* header;
    png_byte* pixels;
    int result;
};

static void Run(struct Decode* d, SpiProgressCallback progress, long userData) {
    png_uint_32 width, height, y;
    size_t stride;
    int passes, pass;

    png_set_user_limits(d->png, MAX_DIMENSION, MAX_DIMENSION);
    png_read_info(d->png, d->info);
    width = png_get_image_width(d->png, d->info);
    height = png_get_image_height(d->png, d->info);
    stride = ((size_t)width * 3 + 3) / 4 * 4;
    if (width == 0 || height == 0 || (uint64_t)stride * height > MAX_PIXEL_BYTES) {
        d->result = SPI_BROKEN_DATA;
        return;
    }

    png_set_expand(d->png);
    png_set_strip_16(d->png);
    png_set_strip_alpha(d->png);
    png_set_gray_to_rgb(d->png);
    png_set_bgr(d->png);
    passes = png_set_interlace_handling(d->png);
    png_read_update_info(d->png, d->info);
    if (png_get_rowbytes(d->png, d->info) != (size_t)width * 3) {
        d->result = SPI_UNKNOWN_FORMAT;
        return;
    }

    d->header = (png_byte*)calloc(1, HEADER_BYTES);
    d->pixels = (png_byte*)calloc(height, stride);
    if (!d->header || !d->pixels) {
        d->result = SPI_NO_MEMORY;
        return;
    }
    Put32(d->header, HEADER_BYTES);
    Put32(d->header + 4, width);
    Put32(d->header + 8, height);
    d->header[12] = 1;  /* planes */
    d->header[14] = 24; /* bits */
    Put32(d->header + 20, (uint32_t)(stride * height));

    for (pass = 0; pass < passes; ++pass) {
        for (y = 0; y < height; ++y) {
            /* Bitmap rows run bottom-up. */
            png_read_row(d->png, d->pixels + (size_t)(height - 1 - y) * stride, NULL);
            if (progress && (y & 63) == 0 &&
                progress((int)((uint64_t)(pass * height + y) * 100 / ((uint64_t)passes * height)),
                         100, userData) != 0) {
                d->result = SPI_ABORTED;
                return;
            }
        }
    }
    png_read_end(d->png, NULL);
    if (progress) progress(100, 100, userData);
    d->result = SPI_SUCCESS;
}

static int Guarded(struct Decode* d, SpiProgressCallback progress, long userData) {
    if (setjmp(png_jmpbuf(d->png))) return SPI_BROKEN_DATA;
    Run(d, progress, userData);
    return d->result;
}

int GetPicture(const char* source, long offset, unsigned int flag, void** info, void** pixels,
               SpiProgressCallback progress, long userData) {
    struct Decode d = {NULL, NULL, NULL, NULL, SPI_INTERNAL_ERROR};
    struct MemorySource memory;
    FILE* file = NULL;
    int result;

    if (!source || !info || !pixels) return SPI_INTERNAL_ERROR;
    *info = NULL;
    *pixels = NULL;
    d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, FailQuietly, Quiet);
    if (!d.png) return SPI_NO_MEMORY;
    d.info = png_create_info_struct(d.png);
    if (!d.info) {
        png_destroy_read_struct(&d.png, NULL, NULL);
        return SPI_NO_MEMORY;
    }

    switch (flag & 7) {
        case SPI_SOURCE_FILE:
            file = fopen(source, "rb");
            if (!file || (offset > 0 && fseek(file, offset, SEEK_SET) != 0)) {
                if (file) fclose(file);
                png_destroy_read_struct(&d.png, &d.info, NULL);
                return SPI_FILE_READ_ERROR;
            }
            png_init_io(d.png, file);
            break;
        case SPI_SOURCE_MEMORY:
            memory.data = (const png_byte*)source;
            memory.size = offset > 0 ? (size_t)offset : 0;
            memory.position = 0;
            png_set_read_fn(d.png, &memory, ReadFromMemory);
            break;
        default:
            png_destroy_read_struct(&d.png, &d.info, NULL);
            return SPI_NOT_IMPLEMENTED;
    }

    result = Guarded(&d, progress, userData);
    png_destroy_read_struct(&d.png, &d.info, NULL);
    if (file) fclose(file);
    if (result != SPI_SUCCESS) {
        free(d.header);
        free(d.pixels);
        return result;
    }
    *info = d.header;
    *pixels = d.pixels;
    return SPI_SUCCESS;
}
