#pragma once
// Force-included into the clang build of the fuzzer. clang 16 applies the C++20 rule
// that an operator== with a matching operator!= is never tried with its operands
// reversed, and kj 0.9 leaves out the `const char*` overloads when the compiler
// rewrites comparisons itself, so capnp/blob.h's `a == b.asString()` finds no
// operator. These are the overloads kj declares for older standards.
#include <kj/string.h>

namespace kj {

inline bool operator==(const char* a, const StringPtr& b) {
    return b == StringPtr(a);
}
inline bool operator!=(const char* a, const StringPtr& b) {
    return b != StringPtr(a);
}

}  // namespace kj
