#pragma once

// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

namespace velinor::imageio {

// Makes a freshly created decompressor take its whole-picture coefficient arrays (a
// progressive file keeps every coefficient of the picture, two bytes each, between scans)
// from the memory that pixel stores come from, instead of from malloc: memory that is already
// mapped is reused from one picture to the next instead of faulting in and clearing fresh pages
// each time. Everything else stays with the library's own memory manager, whose documented
// method table this hooks.
void UseReusableCoefficientMemory(j_common_ptr info);

}  // namespace velinor::imageio
