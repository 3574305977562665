#include "Support/AudioFixtures.h"

#include <cstdlib>
#include <filesystem>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace TestSupport {

CScratchDir::CScratchDir() {
  char const* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/vq7-test-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed");
  mPath = buffer.data();
}

CScratchDir::~CScratchDir() {
  namespace fs = std::filesystem;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(mPath, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    std::error_code ignored;
    fs::permissions(it->path(), fs::perms::owner_all,
                    fs::perm_options::add | fs::perm_options::nofollow, ignored);
  }
  fs::remove_all(mPath, error);
}

bool RunTool(std::string const& command) {
  std::string quiet = command + " >/dev/null 2>&1";
  return std::system(quiet.c_str()) == 0;
}

bool HasTool(std::string const& name) { return RunTool("command -v " + name); }

std::vector<unsigned char> ReadFileBytes(std::string const& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>());
}

bool WriteFileBytes(std::string const& path, std::vector<unsigned char> const& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<char const*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

void PutLE(std::vector<unsigned char>& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void PutBE(std::vector<unsigned char>& out, uint64_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void PutText(std::vector<unsigned char>& out, char const* fourChars) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(fourChars[i]));
}

uint32_t GetLE(std::vector<unsigned char> const& in, size_t offset, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | in.at(offset + i);
  return value;
}

uint32_t GetBE(std::vector<unsigned char> const& in, size_t offset, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | in.at(offset + i);
  return value;
}

std::vector<double> ReadRawSamples(std::string const& path, int code) {
  std::vector<unsigned char> const b = ReadFileBytes(path);
  std::vector<double> out;
  int const bytes = (code & 0xFFFF) / 8;
  for (size_t i = 0; i + bytes <= b.size(); i += bytes) {
    if (code == 131104) {
      float f;
      std::memcpy(&f, &b[i], 4);
      out.push_back(f);
    } else if (code == 131136) {
      double d;
      std::memcpy(&d, &b[i], 8);
      out.push_back(d);
    } else if (code == 65544) {
      out.push_back(b[i] ^ 0x80);
    } else {
      int const shift = 32 - 8 * bytes;
      out.push_back(
          static_cast<double>(static_cast<int32_t>(GetLE(b, i, bytes) << shift) >> shift));
    }
  }
  return out;
}

}  // namespace TestSupport
