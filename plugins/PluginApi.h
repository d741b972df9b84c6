/* The C interface between the program and its two picture libraries in data/.
 * Plain C so that either side can be rebuilt or replaced on its own. */
#ifndef VELINOR_PLUGIN_API_H
#define VELINOR_PLUGIN_API_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A decoded picture handed out by a library. pixels holds width * height values, rows top to
 * bottom, each 0x00BBGGRR (red in the low byte). Only the library that made it may free it,
 * through its own release function. */
typedef struct VelinorBitmap {
    int32_t width;
    int32_t height;
    uint32_t* pixels;
} VelinorBitmap;

/* data/image323: GIF (first frame) and ICO (largest image). window is ignored; path is a
 * zero-terminated UTF-8 byte string. Null on failure. */
typedef VelinorBitmap* (*VelinorLoadImageFileFn)(uint32_t window, const char* path);
typedef void (*VelinorReleaseImageFileFn)(VelinorBitmap* bitmap);

/* data/nviewlib: PCX. flags must be 0. GetWidth/GetHeight report the picture of the last
 * NViewLibLoad (0 after a failed load). */
typedef VelinorBitmap* (*VelinorNViewLibLoadFn)(const char* path, int32_t flags);
typedef int32_t (*VelinorGetSizeFn)(void);
typedef void (*VelinorNViewLibReleaseFn)(VelinorBitmap* bitmap);

/* Both libraries, exported as VelinorSetPixelLimit: the most pixels a picture of the next loads
 * may have. A picture whose header declares more is refused before any memory is taken for its
 * pixels. The program passes its own limit before every load; a value below 1 is ignored. */
typedef void (*VelinorSetPixelLimitFn)(int64_t pixels);
#define VELINOR_SET_PIXEL_LIMIT "VelinorSetPixelLimit"

/* The libraries' file names; the folder they are in is files::Current().libraryFolder
 * (data/ of a runtime folder, lib/velinor/ of an installed tree). */
#define VELINOR_IMAGE323_NAME "image323.so"
#define VELINOR_NVIEWLIB_NAME "nviewlib.so"

#ifdef __cplusplus
}
#endif

#endif
