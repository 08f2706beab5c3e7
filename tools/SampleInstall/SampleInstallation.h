// SampleInstallation.h: lays down, and removes again, a complete installation of Vantrel Mail.
#ifndef TOOLS_SAMPLE_INSTALLATION_H
#define TOOLS_SAMPLE_INSTALLATION_H

#include <windows.h>

#include <string>

struct SampleOptions
{
    bool startMenu = true;                  // the group with every shortcut of shortcutTable
    bool extraShortcut = false;             // also sampleExtraShortcut, which is not the family's
    bool readOnlyFile = false;              // sampleReadOnlyFile, read-only, deep in the product folder
    bool userFile = false;                  // sampleUserFile, the user's, in the install directory
    bool entry = true;                      // the uninstall entry
    const char* installDirValue = nullptr;  // written as "InstallDir"; null writes the install directory
};

// "\My Own Link.url": a shortcut of the user's in the family's group.
extern const char* const sampleExtraShortcut;
// "\Vantrel Mail\Samples\Deep\locked.txt", relative to the install directory.
extern const char* const sampleReadOnlyFile;
// "\My Notes.txt", relative to the install directory.
extern const char* const sampleUserFile;
// The product's uninstall entry below HKEY_LOCAL_MACHINE, in backslash form.
extern const char* const sampleEntryKey;
// Below HKEY_LOCAL_MACHINE: one REG_DWORD per component DLL, named by its file name,
// counting the calls of its DllUnregisterServer.
extern const char* const sampleCounterKey;

struct SampleComponent
{
    const char* fileName;  // "VantrelMail.dll", "VantrelUtil.dll"
    const char* clsid;     // the class it registers below HKEY_CLASSES_ROOT\CLSID
};
extern const SampleComponent sampleComponents[];
extern const int sampleComponentCount;

class SampleInstallation
{
public:
    SampleInstallation();
    virtual ~SampleInstallation();

    SampleInstallation(const SampleInstallation&) = delete;
    SampleInstallation& operator=(const SampleInstallation&) = delete;

    // Lays down the folders, files and DLLs below installDir (created as needed), registers
    // both DLLs, then writes the group and the entry as options say. The DLLs are copied
    // from the directory of the running program. False at the first step that fails, and
    // for an installDir that is not a folder below a drive or share; what was laid down
    // until then stays for remove().
    bool layDown(const char* installDir, const SampleOptions& options);
    // Removes the entry, both class keys, the counters, the group and the whole tree of
    // installDir, clearing read-only attributes first. False when something stays, or
    // when installDir is not a folder below a drive or share (its tree is then untouched).
    bool remove(const char* installDir);

    // Files written by the last layDown (DLLs and shortcuts included).
    int getFileCount() const { return fileCount; }
    // Shortcuts written by the last layDown.
    int getShortcutCount() const { return shortcutCount; }

    // The family's group in the current user's Programs folder; empty when the shell
    // cannot name the Programs folder.
    static std::string startMenuGroupPath();
    // The directory of the running program, without a trailing backslash.
    static std::string programDirectory();
    // The count of DllUnregisterServer calls of the DLL named fileName; 0 when none.
    static DWORD unregisterCount(const char* fileName);
    // True while HKEY_CLASSES_ROOT\CLSID\<clsid>\InprocServer32 exists.
    static bool isClassRegistered(const char* clsid);
    // Creates dir and its missing parents; true when dir is a directory afterwards.
    static bool makeFolders(const std::string& dir);
    // Creates or replaces the file path with text; false on failure.
    static bool writeFile(const std::string& path, const std::string& text);
    // Deletes dir with everything below it, clearing read-only attributes; links are
    // removed, never followed. True when dir is gone (or was never there).
    static bool removeTree(const std::string& dir);

private:
    bool layDownFiles(const std::string& root, const SampleOptions& options);
    bool registerComponents(const std::string& root);
    bool writeStartMenu(const SampleOptions& options);
    bool writeEntry(const char* installDirValue);
    bool writeCountedFile(const std::string& path, const std::string& text);

    int fileCount;
    int shortcutCount;
};

#endif
