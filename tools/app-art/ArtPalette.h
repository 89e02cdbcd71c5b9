#pragma once
// The family palette of the internal skin, as designers write it (0xRRGGBB).
namespace appart {

constexpr unsigned kNavy = 0x243953;       // button text
constexpr unsigned kInk = 0x2C4A6E;
constexpr unsigned kSteel = 0x7F9DB9;
constexpr unsigned kSky = 0x8CDAFB;        // speed button hot
constexpr unsigned kPaleSky = 0xD0EBFF;    // speed button normal
constexpr unsigned kHotBlue = 0x2E8CD1;    // button gradient hot
constexpr unsigned kDeepBlue = 0x1F5F9E;
constexpr unsigned kButtonBlue = 0x4978AB; // button gradient normal
constexpr unsigned kPanel = 0xC4D8EA;
constexpr unsigned kPanelTop = 0x77ABDB;
constexpr unsigned kPanelBottom = 0xA9C6E0;
constexpr unsigned kForm = 0xD1DBE4;
constexpr unsigned kBar = 0xB1C5D6;
constexpr unsigned kPaper = 0xECE9D8;      // the one warm tone
constexpr unsigned kPage = 0xFBFAF4;
constexpr unsigned kWhite = 0xFFFFFF;
constexpr unsigned kAmber = 0xF0B429;      // small warm accents only
constexpr unsigned kCoral = 0xD9534A;

}  // namespace appart
