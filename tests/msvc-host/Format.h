// printf-style formatting for a host without a C runtime: the conversions
// the plug-in's log lines use (%s %i %d %u %x %f %c %%), with no flags or
// widths except a precision for %f.
#ifndef MSVC_HOST_FORMAT_H
#define MSVC_HOST_FORMAT_H

#include <stdarg.h>

// Writes at most size - 1 characters and a terminating NUL; returns the
// number written.
int FormatV(char* out, int size, const char* format, va_list args);
int Format(char* out, int size, const char* format, ...);

// String helpers the host needs instead of <cstring>.
int Length(const char* text);
bool Equal(const char* left, const char* right);

#endif
