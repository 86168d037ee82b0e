#pragma once
// SSE2, which every x86-64 processor has: the scans that read sixteen
// bytes at a time use it where it is, and a byte or eight at a time else.
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define KIVO_SSE2 1
#endif
