// CRC-32 (the polynomial of zip and PNG), guarding database files against
// truncation and flipped bits.
#pragma once
#include <cstddef>
#include <cstdint>

namespace psola {
std::uint32_t crc32(const unsigned char* data, std::size_t size, std::uint32_t crc = 0);
}
