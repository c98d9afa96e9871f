#pragma once
// The exhaustive properties (every byte of the controller's image, every value of every
// field) run whole in the plain build. The sanitizer build, some twenty times slower, runs
// them over every kPropertyStride-th case: it is there to find memory and undefined-
// behaviour faults on those paths, which a thinned sweep reaches just as well.

namespace brixo::testing {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr int kPropertyStride = 13;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr int kPropertyStride = 13;
#else
inline constexpr int kPropertyStride = 1;
#endif
#else
inline constexpr int kPropertyStride = 1;
#endif

}  // namespace brixo::testing
