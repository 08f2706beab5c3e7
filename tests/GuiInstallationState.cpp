// GuiInstallationState.cpp: folder and file probes, a count of the group's shortcuts, registry reads.
#include "GuiInstallationState.h"

#include "SampleInstallation.h"

const char* const guiSharedFolders[] = {
    "\\C++ Builder 5 Libs",
    "\\IDL",
    "\\Include",
    "\\Type Libraries",
    "\\Visual C++ 6 Libs",
};
const int guiSharedFolderCount = sizeof(guiSharedFolders) / sizeof(guiSharedFolders[0]);

namespace {

bool isFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool isFile(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

int countFiles(const std::string& pattern)
{
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    int count = 0;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            ++count;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

} // namespace

void GuiInstallationState::read(const char* dir)
{
    std::string root = dir;
    installDir = isFolder(root);
    productFolder = isFolder(root + "\\Vantrel Mail");
    productDll = isFile(root + "\\Vantrel Mail\\VantrelMail.dll");
    commonFolder = isFolder(root + "\\Common");
    commonDll = isFile(root + "\\Common\\VantrelUtil.dll");
    examplesFolder = isFolder(root + "\\Other Examples");
    sharedFolders = 0;
    for (int i = 0; i < guiSharedFolderCount; ++i) {
        if (isFolder(root + guiSharedFolders[i])) {
            ++sharedFolders;
        }
    }

    std::string groupPath = SampleInstallation::startMenuGroupPath();
    group = !groupPath.empty() && isFolder(groupPath);
    shortcuts = group ? countFiles(groupPath + "\\*.url") : 0;

    HKEY key = nullptr;
    entry = RegOpenKeyExA(HKEY_LOCAL_MACHINE, sampleEntryKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    installDirValue.clear();
    if (entry) {
        char value[MAX_PATH + 1] = "";
        DWORD size = MAX_PATH;
        DWORD type = 0;
        if (RegQueryValueExA(key, "InstallDir", nullptr, &type, reinterpret_cast<BYTE*>(value), &size)
                == ERROR_SUCCESS && type == REG_SZ) {
            installDirValue = value;
        }
        RegCloseKey(key);
    }

    productUnregistered = SampleInstallation::unregisterCount("VantrelMail.dll");
    commonUnregistered = SampleInstallation::unregisterCount("VantrelUtil.dll");
}
