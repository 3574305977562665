#pragma once

// Scratch folders and independent audio tools for the file-format tests.

#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport {

// A private folder under $TMPDIR (or /tmp), removed with everything in it,
// folders a test made read-only included.
class CScratchDir {
public:
  CScratchDir();
  ~CScratchDir();
  CScratchDir(CScratchDir const&) = delete;
  CScratchDir& operator=(CScratchDir const&) = delete;
  std::string const& Path() const { return mPath; }
  std::string File(std::string const& name) const { return mPath + "/" + name; }
  std::string operator/(std::string const& name) const { return File(name); }

private:
  std::string mPath;
};

// Runs a shell command; true when it exits with 0. Output is discarded.
bool RunTool(std::string const& command);
bool HasTool(std::string const& name);

std::vector<unsigned char> ReadFileBytes(std::string const& path);
bool WriteFileBytes(std::string const& path, std::vector<unsigned char> const& bytes);

// Little- and big-endian byte builders for hand-made files.
void PutLE(std::vector<unsigned char>& out, uint64_t value, int bytes);
void PutBE(std::vector<unsigned char>& out, uint64_t value, int bytes);
void PutText(std::vector<unsigned char>& out, char const* fourChars);
uint32_t GetLE(std::vector<unsigned char> const& in, size_t offset, int bytes);
uint32_t GetBE(std::vector<unsigned char> const& in, size_t offset, int bytes);

// The samples of a little-endian raw file of depth code `code`, as sox and
// libsndfile write it (integers signed, floats native), in our sample model
// (8-bit samples unsigned).
std::vector<double> ReadRawSamples(std::string const& path, int code);

}  // namespace TestSupport
