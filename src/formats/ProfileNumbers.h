// The numbers of the profiles: five user profiles (Config1 to Config5) and the applied one
// (Config6), and how a number or a digit written by a user names one of them.
#pragma once

#include <string_view>

namespace veldran {

inline constexpr int kUserProfileCount = 5; // Config1 to Config5; Config6 is the applied profile
inline constexpr int kAppliedProfile = 6;

// Whether number names a user profile (1 to 5).
inline constexpr bool isUserProfile(long long number) {
    return number >= 1 && number <= kUserProfileCount;
}

// The user profile that text names when it is that one digit alone, else 0.
inline constexpr int userProfileDigit(std::string_view text) {
    return text.size() == 1 && isUserProfile(text[0] - '0') ? text[0] - '0' : 0;
}

} // namespace veldran
