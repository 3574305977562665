#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

namespace Support {

inline bool WriteBytes(std::string const& path, std::string const& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

inline std::string ReadBytes(std::string const& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Deterministic bytes that differ at every position of a block (no repeating pattern).
inline std::string PatternBytes(std::size_t size, uint32_t seed = 12345) {
    std::string bytes(size, '\0');
    uint32_t x = seed ? seed : 1;
    for (char& c : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x & 0xFF);
    }
    return bytes;
}

}  // namespace Support
