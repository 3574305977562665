#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <sys/stat.h>

namespace Support {

inline bool WriteBytes(std::string const& path, std::string const& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// The names of the entries of a folder, to see what a call left beside its target.
inline std::set<std::string> FolderNames(std::string const& folder) {
  std::set<std::string> names;
  for (auto const& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename());
  return names;
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

// Permission bits of an object (the link itself for a link), 0 when missing.
inline mode_t ModeOf(std::string const& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

inline bool Exists(std::string const& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace Support
