#pragma once
// What the child-side readers of the workbook stream share: the record types
// they look at and little-endian reads. Plain C++ only.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kal::detail {

constexpr unsigned kBof = 0x0809;
constexpr unsigned kEof = 0x000A;
constexpr unsigned kFilePass = 0x002F;
constexpr unsigned kContinue = 0x003C;
constexpr unsigned kBoundSheet = 0x0085;
constexpr unsigned kMulRk = 0x00BD;
constexpr unsigned kMulBlank = 0x00BE;
constexpr unsigned kRString = 0x00D6;
constexpr unsigned kSst = 0x00FC;
constexpr unsigned kLabelSst = 0x00FD;
constexpr unsigned kExtSst = 0x00FF;
constexpr unsigned kDimensions = 0x0200;
constexpr unsigned kBlank = 0x0201;
constexpr unsigned kNumber = 0x0203;
constexpr unsigned kLabel = 0x0204;
constexpr unsigned kBoolErr = 0x0205;
constexpr unsigned kFormula = 0x0006;
constexpr unsigned kRow = 0x0208;
constexpr unsigned kRk = 0x027E;
// The longest record data of Excel 97.
constexpr size_t kMaxRecord = 8224;

inline unsigned U16(const std::string& s, size_t at)
{
    return unsigned(uint8_t(s[at])) | (unsigned(uint8_t(s[at + 1])) << 8);
}

inline uint32_t U32(const std::string& s, size_t at)
{
    return uint32_t(U16(s, at)) | (uint32_t(U16(s, at + 2)) << 16);
}

} // namespace kal::detail
