#include "Executable/Com/Controller/FileUtilities.h"

#include "GT/Linux/FileSystem/FileSystem.h"

namespace VQ7 {

namespace {

short const nUserDomain = -32763;
unsigned long const nTemporaryFolderType = 0x74656D70UL;  // 'temp'

}  // namespace

std::string GetTemporaryDirectoryName() {
  std::string folder = GT::GetSpecialFolderName(nUserDomain, nTemporaryFolderType);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace VQ7
