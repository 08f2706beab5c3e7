// SampleInstallation.cpp: the family's install layout, laid down from the uninstaller's own constants.
#include "SampleInstallation.h"

#include "InstallDirCheck.h"
#include "UninstallConstants.h"
#include "VantrelInstall.h"

#include <shlobj.h>

#include <string.h>

#if !defined(SAMPLE_MAIL_CLSID) || !defined(SAMPLE_UTIL_CLSID)
#error "SAMPLE_MAIL_CLSID and SAMPLE_UTIL_CLSID must be defined by the build"
#endif

const char* const sampleExtraShortcut = "\\My Own Link.url";
const char* const sampleReadOnlyFile = "\\Vantrel Mail\\Samples\\Deep\\locked.txt";
const char* const sampleUserFile = "\\My Notes.txt";
const char* const sampleEntryKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantrel Mail";
const char* const sampleCounterKey = "Software\\Vantrel Test\\Unregistered";

const SampleComponent sampleComponents[] = {
    { "VantrelMail.dll", SAMPLE_MAIL_CLSID },
    { "VantrelUtil.dll", SAMPLE_UTIL_CLSID },
};
const int sampleComponentCount = sizeof(sampleComponents) / sizeof(sampleComponents[0]);

namespace {

typedef HRESULT (STDAPICALLTYPE* DllRegisterServerProc)(void);

const char* const counterParentKey = "Software\\Vantrel Test";
const char* const extraShortcutUrl = "https://www.example.org/my-own-link/";

// Files below the product folder: three levels deep, names with spaces and several dots.
const char* const productFiles[] = {
    "\\Read Me.txt",
    "\\Release.Notes.v2.1.txt",
    "\\Docs\\User Guide.en.html",
    "\\Samples\\Send Mail.v2.1.cpp",
    "\\Samples\\Deep\\Inbox.backup.2024.eml",
    "\\Samples\\Deep\\Deeper\\Message 1.part.one.txt",
};
const char* const commonFiles[] = {
    "\\Licences\\Common Licence.txt",
};
const char* const exampleFiles[] = {
    "\\Example One.txt",
    "\\Example.Two.v1.cpp",
    "\\Client Project\\Client.Project.proj",
};
// In each of the shared folders.
const char* const sharedFiles[] = {
    "\\Files.list.txt",
    "\\Version 5\\Library.part.1.lib",
    "\\Version 5\\Old Builds\\Library.part.0.lib",
};

std::string withoutTrailingSeparators(const char* dir)
{
    std::string text = dir;
    while (!text.empty() && (text.back() == '\\' || text.back() == '/')) {
        text.pop_back();
    }
    return text;
}

std::string entryPathFromConstants()
{
    std::string path = uninstallKeyPath;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path + productName;
}

bool setStringValue(HKEY key, const char* name, const char* text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(strlen(text) + 1)) == ERROR_SUCCESS;
}

// Gone, or never there.
bool deleteKeyTree(HKEY root, const char* path)
{
    LONG status = RegDeleteTreeA(root, path);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        return false;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegCloseKey(key);
        return false;
    }
    return true;
}

std::string classKeyPath(const char* clsid)
{
    return std::string("CLSID\\") + clsid;
}

} // namespace

SampleInstallation::SampleInstallation()
    : fileCount(0)
    , shortcutCount(0)
{
}

SampleInstallation::~SampleInstallation()
{
}

bool SampleInstallation::layDown(const char* installDir, const SampleOptions& options)
{
    fileCount = 0;
    shortcutCount = 0;
    // The entry key must be the one the uninstaller composes from its own constants.
    if (entryPathFromConstants() != sampleEntryKey) {
        return false;
    }
    if (installDir == nullptr || !isUsableInstallDir(installDir)) {
        return false;
    }
    std::string root = withoutTrailingSeparators(installDir);
    if (!makeFolders(root) || !layDownFiles(root, options) || !registerComponents(root)) {
        return false;
    }
    if (options.startMenu && !writeStartMenu(options)) {
        return false;
    }
    if (options.entry) {
        return writeEntry(options.installDirValue != nullptr ? options.installDirValue : installDir);
    }
    return true;
}

bool SampleInstallation::layDownFiles(const std::string& root, const SampleOptions& options)
{
    std::string product = root + "\\" + productName;
    for (const char* file : productFiles) {
        if (!writeCountedFile(product + file, std::string(productName) + file)) {
            return false;
        }
    }
    for (const char* file : commonFiles) {
        if (!writeCountedFile(root + commonFolder + file, std::string(commonFolder) + file)) {
            return false;
        }
    }
    for (const char* file : exampleFiles) {
        if (!writeCountedFile(root + examplesFolder + file, std::string(examplesFolder) + file)) {
            return false;
        }
    }
    for (int i = 0; i < sharedFolderCount; ++i) {
        for (const char* file : sharedFiles) {
            if (!writeCountedFile(root + sharedFolders[i] + file, std::string(sharedFolders[i]) + file)) {
                return false;
            }
        }
    }

    std::string source = programDirectory();
    std::string mailDll = product + "\\" + productDllName;
    std::string utilDll = root + commonDllPath;
    if (!CopyFileA((source + "\\" + sampleComponents[0].fileName).c_str(), mailDll.c_str(), FALSE) ||
        !CopyFileA((source + "\\" + sampleComponents[1].fileName).c_str(), utilDll.c_str(), FALSE)) {
        return false;
    }
    fileCount += 2;

    if (options.readOnlyFile) {
        std::string locked = root + sampleReadOnlyFile;
        if (!writeCountedFile(locked, "kept by its read-only attribute") ||
            !SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY)) {
            return false;
        }
    }
    if (options.userFile && !writeCountedFile(root + sampleUserFile, "the user's own notes")) {
        return false;
    }
    return true;
}

bool SampleInstallation::registerComponents(const std::string& root)
{
    const std::string dlls[] = {
        root + "\\" + productName + "\\" + productDllName,
        root + commonDllPath,
    };
    for (const std::string& dll : dlls) {
        HMODULE module = LoadLibraryA(dll.c_str());
        if (module == nullptr) {
            return false;
        }
        DllRegisterServerProc registerServer = reinterpret_cast<DllRegisterServerProc>(
            reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
        HRESULT result = registerServer != nullptr ? registerServer() : E_FAIL;
        FreeLibrary(module);
        if (FAILED(result)) {
            return false;
        }
    }
    return true;
}

bool SampleInstallation::writeStartMenu(const SampleOptions& options)
{
    std::string group = startMenuGroupPath();
    if (group.empty() || !makeFolders(group)) {
        return false;
    }
    for (const ShortcutRow* row = shortcutTable; row->fileName != nullptr; ++row) {
        if (!writeCountedFile(group + row->fileName,
                              std::string("[InternetShortcut]\r\nURL=") + row->url + "\r\n")) {
            return false;
        }
        ++shortcutCount;
    }
    if (options.extraShortcut) {
        if (!writeCountedFile(group + sampleExtraShortcut,
                              std::string("[InternetShortcut]\r\nURL=") + extraShortcutUrl + "\r\n")) {
            return false;
        }
        ++shortcutCount;
    }
    return true;
}

bool SampleInstallation::writeEntry(const char* installDirValue)
{
    HKEY entry = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, sampleEntryKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                        &entry, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    std::string uninstaller = std::string("\"") + withoutTrailingSeparators(installDirValue) +
                              "\\" + productName + "\\VantrelUninstall.exe\"";
    DWORD estimatedSize = 2048;
    bool written = setStringValue(entry, "DisplayName", productName) &&
                   setStringValue(entry, "DisplayVersion", "2.1.0") &&
                   setStringValue(entry, "Publisher", "Vantrel Software") &&
                   setStringValue(entry, "HelpLink", "https://www.vantrel.example/support/") &&
                   setStringValue(entry, "URLUpdateInfo", "https://www.vantrel.example/products/mail/") &&
                   setStringValue(entry, "UninstallString", uninstaller.c_str()) &&
                   setStringValue(entry, "InstallDir", installDirValue) &&
                   RegSetValueExA(entry, "EstimatedSize", 0, REG_DWORD,
                                  reinterpret_cast<const BYTE*>(&estimatedSize),
                                  sizeof(estimatedSize)) == ERROR_SUCCESS;
    RegCloseKey(entry);
    return written;
}

bool SampleInstallation::writeCountedFile(const std::string& path, const std::string& text)
{
    std::string::size_type slash = path.find_last_of('\\');
    if (slash == std::string::npos || !makeFolders(path.substr(0, slash)) || !writeFile(path, text)) {
        return false;
    }
    ++fileCount;
    return true;
}

bool SampleInstallation::remove(const char* installDir)
{
    bool removed = deleteKeyTree(HKEY_LOCAL_MACHINE, sampleEntryKey);
    for (const SampleComponent& component : sampleComponents) {
        removed = deleteKeyTree(HKEY_CLASSES_ROOT, classKeyPath(component.clsid).c_str()) && removed;
    }
    removed = deleteKeyTree(HKEY_LOCAL_MACHINE, counterParentKey) && removed;
    std::string group = startMenuGroupPath();
    if (!group.empty()) {
        removed = removeTree(group) && removed;
    }
    if (installDir == nullptr || !isUsableInstallDir(installDir)) {
        return false;
    }
    return removeTree(withoutTrailingSeparators(installDir)) && removed;
}

std::string SampleInstallation::startMenuGroupPath()
{
    char programs[MAX_PATH];
    programs[0] = '\0';
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs)) ||
        programs[0] == '\0') {
        return std::string();
    }
    return std::string(programs) + startMenuGroup;
}

std::string SampleInstallation::programDirectory()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) {
        return std::string();
    }
    std::string dir(path, length);
    std::string::size_type slash = dir.find_last_of('\\');
    return slash == std::string::npos ? std::string() : dir.substr(0, slash);
}

DWORD SampleInstallation::unregisterCount(const char* fileName)
{
    DWORD count = 0;
    DWORD size = sizeof(count);
    if (RegGetValueA(HKEY_LOCAL_MACHINE, sampleCounterKey, fileName, RRF_RT_REG_DWORD, nullptr,
                     &count, &size) != ERROR_SUCCESS) {
        return 0;
    }
    return count;
}

bool SampleInstallation::isClassRegistered(const char* clsid)
{
    HKEY key = nullptr;
    std::string path = classKeyPath(clsid) + "\\InprocServer32";
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

bool SampleInstallation::makeFolders(const std::string& dir)
{
    // Every prefix that ends before a separator is tried; those that are drives, shares
    // or exist already fail harmlessly.
    for (std::string::size_type i = dir.find('\\'); i != std::string::npos; i = dir.find('\\', i + 1)) {
        if (i > 0) {
            CreateDirectoryA(dir.substr(0, i).c_str(), nullptr);
        }
    }
    CreateDirectoryA(dir.c_str(), nullptr);
    DWORD attributes = GetFileAttributesA(dir.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SampleInstallation::writeFile(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == text.size();
}

bool SampleInstallation::removeTree(const std::string& dir)
{
    DWORD attributes = GetFileAttributesA(dir.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAA entry = {};
        HANDLE listing = FindFirstFileA((dir + "\\*").c_str(), &entry);
        if (listing != INVALID_HANDLE_VALUE) {
            do {
                if (strcmp(entry.cFileName, ".") != 0 && strcmp(entry.cFileName, "..") != 0) {
                    removeTree(dir + "\\" + entry.cFileName);
                }
            } while (FindNextFileA(listing, &entry));
            FindClose(listing);
        }
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        // Attributes of 0 would mean "leave them as they are".
        DWORD cleared = attributes & ~FILE_ATTRIBUTE_READONLY;
        SetFileAttributesA(dir.c_str(), cleared != 0 ? cleared : FILE_ATTRIBUTE_NORMAL);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryA(dir.c_str());
    } else {
        DeleteFileA(dir.c_str());
    }
    return GetFileAttributesA(dir.c_str()) == INVALID_FILE_ATTRIBUTES;
}
