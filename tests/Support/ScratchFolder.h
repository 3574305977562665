#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace VQ7Test {

// A private folder for one test, made with mkdtemp and removed with its
// contents when the object goes.
class CScratchFolder {
public:
  CScratchFolder() {
    char const* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base ? base : "/tmp") + "/vq7test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    mPath = buffer.data();
  }
  ~CScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
  }
  CScratchFolder(CScratchFolder const&) = delete;
  CScratchFolder& operator=(CScratchFolder const&) = delete;

  std::string const& Path() const { return mPath; }
  std::string operator/(std::string const& name) const { return mPath + "/" + name; }

private:
  std::string mPath;
};

inline std::vector<unsigned char> ReadBytes(std::string const& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>());
}

inline void WriteBytes(std::string const& path, std::vector<unsigned char> const& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<char const*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

}  // namespace VQ7Test
