#pragma once

#include <cstdint>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

// Relative path -> contents ("/" for folders, "@target" for links) of a whole
// tree; empty when the folder is missing.
inline std::map<std::string, std::string> TreeOf(std::string const& root) {
  std::map<std::string, std::string> tree;
  std::vector<std::string> pending{""};
  while (!pending.empty()) {
    std::string const rel = pending.back();
    pending.pop_back();
    DIR* dir = ::opendir((root + rel).c_str());
    if (!dir) continue;
    std::vector<std::string> names;
    while (struct dirent* e = ::readdir(dir))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
        names.push_back(e->d_name);
    ::closedir(dir);
    for (std::string const& name : names) {
      std::string const item = rel + "/" + name;
      struct stat st;
      if (::lstat((root + item).c_str(), &st) != 0) continue;
      if (S_ISDIR(st.st_mode)) {
        tree[item] = "/";
        pending.push_back(item);
      } else if (S_ISLNK(st.st_mode)) {
        char link[256] = {0};
        ssize_t const n = ::readlink((root + item).c_str(), link, sizeof link - 1);
        tree[item] = "@" + std::string(link, n > 0 ? static_cast<std::size_t>(n) : 0);
      } else {
        tree[item] = ReadBytes(root + item);
      }
    }
  }
  return tree;
}

}  // namespace Support
