#include "Executable/Linux/Volume/CVolumeLister.h"

#include "GT/Linux/FileSystem/PosixFileUtilities.h"

#include <cstdlib>
#include <mutex>
#include <pwd.h>
#include <sstream>
#include <sys/statvfs.h>
#include <unistd.h>

namespace VQ7 {

namespace {

uint64_t TotalBytesOf(std::string const& path) {
  uint64_t freeBytes = 0, totalBytes = 0;
  return CVolumeLister::VolumeSizes(path, freeBytes, totalBytes) ? totalBytes : 0;
}

// A mountinfo line: id, parent id, major:minor, root, mount point, options...
bool ParseLine(std::string const& line, long& id, std::string& point) {
  std::istringstream fields(line);
  std::string idText, parent, device, root, encoded;
  if (!(fields >> idText >> parent >> device >> root >> encoded)) return false;
  char* end = nullptr;
  id = std::strtol(idText.c_str(), &end, 10);
  if (idText.empty() || *end != '\0' || id < 0) return false;
  point = GT::Posix::DecodeMountField(encoded);
  return !point.empty() && point[0] == '/';
}

std::mutex sDefaultMutex;
boost::shared_ptr<CVolumeLister> sDefault;

}  // namespace

CVolumeLister::CVolumeLister()
    : CVolumeLister(GT::Posix::ReadMountTable, TotalBytesOf, MediaRoots(CurrentUserName())) {}

CVolumeLister::CVolumeLister(TableSource table, SizeProbe totalBytes,
                             std::vector<std::string> roots)
    : mTable(std::move(table)),
      mTotalBytes(std::move(totalBytes)),
      mRoots(std::move(roots)),
      mPolled(false),
      mLast() {}

std::vector<CVolumeLister::CVolume> CVolumeLister::List() const {
  std::vector<CVolume> listed;
  for (CVolume const& volume : Candidates(mTable(), mRoots))
    if (mTotalBytes(volume.mPath) > 0) listed.push_back(volume);
  return listed;
}

bool CVolumeLister::Find(long refNum, CVolume& volume) const {
  for (CVolume const& candidate : Candidates(mTable(), mRoots))
    if (candidate.mRefNum == refNum) {
      volume = candidate;
      return true;
    }
  return false;
}

CVolumeLister::CChange CVolumeLister::Poll() {
  std::vector<CVolume> now = Candidates(mTable(), mRoots);
  CChange change;
  if (mPolled) {
    auto contains = [](std::vector<CVolume> const& list, long refNum) {
      for (CVolume const& v : list)
        if (v.mRefNum == refNum) return true;
      return false;
    };
    for (CVolume const& v : mLast)
      if (!contains(now, v.mRefNum)) change.mUnmounted.push_back(v.mRefNum);
    for (CVolume const& v : now)
      if (!contains(mLast, v.mRefNum)) change.mMounted.push_back(v);
  }
  mPolled = true;
  mLast.swap(now);
  return change;
}

std::vector<CVolumeLister::CVolume> CVolumeLister::Candidates(
    std::string const& table, std::vector<std::string> const& roots) {
  std::vector<CVolume> volumes;
  std::istringstream lines(table);
  std::string line;
  while (std::getline(lines, line)) {
    long id = 0;
    std::string point;
    if (!ParseLine(line, id, point)) continue;
    std::string parent, name;
    if (!GT::Posix::SplitParent(point, parent, name) || name.empty()) continue;
    bool underRoot = false;
    for (std::string const& root : roots) underRoot = underRoot || parent == root;
    // /media/<user> itself is the user's media folder, never a volume.
    for (std::string const& root : roots) underRoot = underRoot && point != root;
    if (!underRoot) continue;
    for (auto it = volumes.begin(); it != volumes.end(); ++it)
      if (it->mPath == point) {
        volumes.erase(it);
        break;
      }
    volumes.push_back(CVolume{id, name, point});
  }
  return volumes;
}

std::vector<std::string> CVolumeLister::MediaRoots(std::string const& user) {
  std::vector<std::string> roots;
  if (!user.empty() && user.find('/') == std::string::npos) {
    roots.push_back("/media/" + user);
    roots.push_back("/run/media/" + user);
  }
  roots.push_back("/media");
  roots.push_back("/mnt");
  return roots;
}

std::string CVolumeLister::CurrentUserName() {
  std::vector<char> buffer(16384);
  struct passwd entry;
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_name)
    return found->pw_name;
  char const* user = std::getenv("USER");
  return user ? user : "";
}

bool CVolumeLister::VolumeSizes(std::string const& path, uint64_t& freeBytes,
                                uint64_t& totalBytes) {
  struct statvfs info;
  if (::statvfs(path.c_str(), &info) != 0) return false;
  freeBytes = static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
  totalBytes = static_cast<uint64_t>(info.f_blocks) * info.f_frsize;
  return true;
}

boost::shared_ptr<CVolumeLister> CVolumeLister::Default() {
  std::lock_guard<std::mutex> lock(sDefaultMutex);
  if (!sDefault) sDefault.reset(new CVolumeLister);
  return sDefault;
}

void CVolumeLister::SetDefault(boost::shared_ptr<CVolumeLister> lister) {
  std::lock_guard<std::mutex> lock(sDefaultMutex);
  sDefault = lister;
}

}  // namespace VQ7
