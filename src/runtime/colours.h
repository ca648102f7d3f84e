#pragma once

#include <cstdint>

// Every colour the windows name, as 0x00BBGGRR (red in the low byte); 0x80000000 + n stands
// for the platform's system colour n.
namespace kestrelon {

inline constexpr std::uint32_t kSystemColourFlag = 0x80000000u;
inline constexpr std::uint32_t sysColour(int n) {
    return kSystemColourFlag + static_cast<std::uint32_t>(n);
}
inline constexpr std::uint32_t kInactiveCaption = sysColour(3);
inline constexpr std::uint32_t kMenuBackground = sysColour(4);
inline constexpr std::uint32_t kWindowBackground = sysColour(5);
inline constexpr std::uint32_t kWindowText = sysColour(8);

// No colour given: a design leaves it to the default, a label's box lets its background show.
inline constexpr std::uint32_t kNoColour = 0xFFFFFFFFu;

inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kRed = 0x0000FF;
inline constexpr std::uint32_t kBlue = 0xFF0000;
inline constexpr std::uint32_t kNavy = 0x800000;
inline constexpr std::uint32_t kGrey = 0x808080;
inline constexpr std::uint32_t kOrange = 0x0080FF;

} // namespace kestrelon
