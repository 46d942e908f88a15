#pragma once
// sprintf-style formatting into the caller's buffer. The text is cut at a
// character boundary when it does not fit; it never runs past the buffer.

#include <cstdarg>
#include <cstddef>

// Returns the number of bytes written, without the NUL.
int FormatStringV(char* buffer, size_t size, const char* format, va_list args)
    __attribute__((format(printf, 3, 0)));

// Returns 0, as the layer's callers expect.
int FormatString(char* buffer, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
