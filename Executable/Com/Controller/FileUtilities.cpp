#include "Executable/Com/Controller/FileUtilities.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace VQ7 {

namespace {

std::string& TemporaryFolder()
{
    static std::string sFolder;
    return sFolder;
}

void RemoveTemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(TemporaryFolder(), ignored);
}

std::string MakeTemporaryFolder()
{
    char const* base = std::getenv("TMPDIR");
    std::string pattern = (base != nullptr && *base != '\0') ? base : "/tmp";
    while (pattern.size() > 1 && pattern.back() == '/')
        pattern.pop_back();
    pattern += "/vq7-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr)
        return std::string();
    TemporaryFolder() = buffer.data();
    std::atexit(RemoveTemporaryFolder);
    return TemporaryFolder();
}

std::string ApplicationFolder()
{
    std::error_code error;
    std::filesystem::path const exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return ".";
    return exe.parent_path().string();
}

}  // namespace

std::string GetTemporaryDirectoryName()
{
    // Thread-safe one-time creation.
    static std::string const sFolder = [] {
        std::string folder = MakeTemporaryFolder();
        return folder.empty() ? ApplicationFolder() : folder;
    }();
    return sFolder;
}

}  // namespace VQ7
