// number_text.h: the values of the script's number tokens without the C
// library's general conversions. The texts are those the scanner accepts:
// INTEGER is an optional sign and decimal digits, FLOAT an optional sign,
// digits, a dot and digits. Results equal the C library's: an INTEGER is
// strtol's long (saturated on overflow) cut to 32 bits, a FLOAT strtod's
// double rounded to float. Texts beyond the exact fast range (very long
// digit runs) are handed to the C library.
#pragma once
#include <cstdint>

int32_t IntegerTokenValue(const char* text, uint32_t length);
float FloatTokenValue(const char* text, uint32_t length);
