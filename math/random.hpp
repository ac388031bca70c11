#pragma once

namespace tank {

// Random numbers with exact, inclusive ranges. All of them draw from one
// 15-bit generator (0 .. 32767), so that lo and hi are both reachable whatever
// the platform's RAND_MAX is.
constexpr int random_max = 32767;

// The C runtime's rand() reduced to its low 15 bits; seed it with srand.
int random_15();

// A number from lo to hi, both included.
float random_float(float lo, float hi);
double random_double(double lo, double hi);
int random_int(int lo, int hi);  // requires hi >= lo
bool random_bool();

}  // namespace tank
