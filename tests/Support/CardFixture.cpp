#include "Support/CardFixture.h"

#include "Support/FileBytes.h"

#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>

namespace VQ7Test {

std::string CardFolderOf(std::string const& volume) { return volume + "/TAVRIN/VQ730"; }

void MakeEmptyCard(std::string const& volume) {
  std::string const command = "mkdir -p '" + CardFolderOf(volume) + "'";
  if (std::system(command.c_str()) != 0) return;
  Support::WriteBytes(CardFolderOf(volume) + "/WVCINFO0.VQD", std::string(128 * 23, '\0'));
}

bool Sox(std::string const& arguments) {
  return std::system(("sox " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

std::vector<std::string> TemporariesIn(std::string const& folder) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (dirent* entry = ::readdir(dir))
      if (std::string(entry->d_name).find("___VQ7_TEMPORARY_") == 0) names.push_back(entry->d_name);
    ::closedir(dir);
  }
  return names;
}

namespace {

uint32_t Big(std::string const& bytes, std::size_t at, int width) {
  uint32_t value = 0;
  for (int i = 0; i < width; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// Sizes straight from the record's bytes: 16 frames a block, 2 x bits
// bytes a block, lofi records twice as long in 4 bits.
std::string CheckRecord(std::string const& folder, std::string const& info, int slot) {
  std::size_t const at = static_cast<std::size_t>(slot) * 23;
  uint32_t const length = Big(info, at + 8, 4);
  if (length == 0) return "";
  bool const lofi = info[at + 12] == 1;
  uint64_t const frames = static_cast<uint64_t>(length) * (lofi ? 2 : 1);
  uint64_t const needed = (frames + 15) / 16 * (lofi ? 8 : 16);
  char name[32];
  for (char side : std::string(info[at + 13] ? "LR" : "L")) {
    std::snprintf(name, sizeof name, "/SMP%04X%c.VQD", slot, side);
    struct stat st;
    if (::stat((folder + name).c_str(), &st) != 0) return std::string("missing ") + name;
    if (static_cast<uint64_t>(st.st_size) < needed) return std::string("short ") + name;
  }
  return "";
}

}  // namespace

std::string CheckCard(std::string const& volume) {
  std::string const info = Support::ReadBytes(CardFolderOf(volume) + "/WVCINFO0.VQD");
  if (info.size() < 128 * 23) return "information file of " + std::to_string(info.size());
  for (int slot = 0; slot < 128; ++slot) {
    if (Big(info, slot * 23 + 17, 1) == 0xFF) return "invalid record";
    std::string const failure = CheckRecord(CardFolderOf(volume), info, slot);
    if (!failure.empty()) return failure;
  }
  return "";
}

bool CFaultyFileOperations::GetFreeSpace(std::string const& path, uint64_t& freeBytes,
                                         uint64_t& blockBytes) {
  if (!mFreeSpaceSet) return mReal.GetFreeSpace(path, freeBytes, blockBytes);
  freeBytes = mFreeBytes;
  blockBytes = mBlockBytes;
  return true;
}

CCardBench::CCardBench(boost::shared_ptr<SL::IAudioDeviceFacade> facade)
    : mConfig("XDG_CONFIG_HOME", mDir / "config"),
      mDomain(facade),
      mPrinter(boost::make_shared<CRecordingPrinter>()) {
  CNoBitmaps bitmaps;
  mDomain.Initialize(bitmaps);
  VQ7::CDomain::sTextCodeTable.SetPage(GT::CTextCodeTable::PageEnglish);
  SL::CLogger::Push(mPrinter);
  MakeEmptyCard(Volume());
  Controller().Initialize(mView);
  Controller().SetFileOperations(mFiles);
}

CCardBench::~CCardBench() { SL::CLogger::Pop(); }

std::string CCardBench::MakeWave(std::string const& name, std::string const& soxSource) {
  std::string const path = mDir / name;
  // sox's options for the null input and the output format, the file, then
  // the effects.
  std::string::size_type const effects = soxSource.find(" synth");
  return Sox(soxSource.substr(0, effects) + " '" + path + "'" + soxSource.substr(effects))
             ? path
             : std::string();
}

bool CCardBench::Open(long bank, long pad) {
  return Controller().SelectCurrentVolume(Volume(), bank) && Controller().SelectCurrentPad(pad);
}

}  // namespace VQ7Test
