#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <cstdint>
#include <cstdio>

#include "services/platform/platform.h"
#include "services/user_files.h"

namespace Services {

namespace {

std::atomic<unsigned> tempCounter{0};

bool writeAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t allowed = platform::takeDiskSpace(bytes.size() - done);
        if (allowed > 0x40000000) allowed = 0x40000000;
        DWORD written = 0;
        if (allowed == 0 || !WriteFile(file, bytes.data() + done, static_cast<DWORD>(allowed), &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

bool isFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string userSettingsFolder() {
    char folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    return folder;
}

std::string joinPath(const std::string& folder, const std::string& leaf) {
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder + leaf;
    return folder + "\\" + leaf;
}

bool makeFolder(const std::string& path) {
    if (path.empty()) return false;
    return CreateDirectoryA(path.c_str(), nullptr) || isFolder(path);
}

bool readWholeFile(const std::string& path, std::size_t limit, std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && static_cast<std::uint64_t>(size.QuadPart) < limit;
    std::string data;
    if (ok) {
        data.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        ok = data.empty() ||
             (ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read, nullptr) && read == data.size());
    }
    CloseHandle(file);
    if (ok) bytes.swap(data);
    return ok;
}

bool replaceFile(const std::string& path, const std::string& bytes) {
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".%lu-%u.tmp", GetCurrentProcessId(), tempCounter.fetch_add(1));
    std::string temp = path + suffix;
    HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = writeAll(file, bytes) && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    if (ok && MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileA(temp.c_str());
    return false;
}

}  // namespace Services
