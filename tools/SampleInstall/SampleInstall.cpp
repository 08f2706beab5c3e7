// SampleInstall.cpp: console tool that lays down (or removes) a complete installation of Vantrel Mail.
#include "InstallDirCheck.h"
#include "SampleInstallation.h"

#include <stdio.h>
#include <string.h>

namespace {

const char* const usage =
    "usage: SampleInstall.exe INSTALLDIR [--no-start-menu] [--extra-shortcut] [--read-only-file]\n"
    "                         [--user-file] [--install-dir-value TEXT] [--no-entry]\n"
    "       SampleInstall.exe --remove INSTALLDIR\n";

// The tool lays down and deletes whole trees: never at a drive's root or a relative path.
bool isFolderArgument(const char* installDir)
{
    if (isUsableInstallDir(installDir)) {
        return true;
    }
    fprintf(stderr, "SampleInstall: %s is not a folder below a drive or share\n", installDir);
    return false;
}

int removeInstallation(const char* installDir)
{
    if (!isFolderArgument(installDir)) {
        return 2;
    }
    SampleInstallation installation;
    if (!installation.remove(installDir)) {
        fprintf(stderr, "SampleInstall: could not remove everything of %s\n", installDir);
        return 1;
    }
    printf("SampleInstall: removed the installation in %s, its entry, classes, counters and group\n",
           installDir);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "--remove") == 0) {
        return removeInstallation(argv[2]);
    }
    if (argc < 2 || argv[1][0] == '-') {
        fputs(usage, stderr);
        return 2;
    }
    const char* installDir = argv[1];
    SampleOptions options;
    for (int i = 2; i < argc; ++i) {
        const char* option = argv[i];
        if (strcmp(option, "--no-start-menu") == 0) {
            options.startMenu = false;
        } else if (strcmp(option, "--extra-shortcut") == 0) {
            options.extraShortcut = true;
        } else if (strcmp(option, "--read-only-file") == 0) {
            options.readOnlyFile = true;
        } else if (strcmp(option, "--user-file") == 0) {
            options.userFile = true;
        } else if (strcmp(option, "--no-entry") == 0) {
            options.entry = false;
        } else if (strcmp(option, "--install-dir-value") == 0 && i + 1 < argc) {
            options.installDirValue = argv[++i];
        } else {
            fputs(usage, stderr);
            return 2;
        }
    }

    if (!isFolderArgument(installDir)) {
        return 2;
    }
    SampleInstallation installation;
    if (!installation.layDown(installDir, options)) {
        fprintf(stderr, "SampleInstall: laying down Vantrel Mail in %s failed (error %lu)\n",
                installDir, static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    printf("SampleInstall: Vantrel Mail in %s: %d files, %d shortcuts, 2 DLLs registered, %s\n",
           installDir, installation.getFileCount(), installation.getShortcutCount(),
           options.entry ? "uninstall entry written" : "no uninstall entry");
    if (options.entry) {
        printf("SampleInstall: InstallDir = \"%s\"\n",
               options.installDirValue != nullptr ? options.installDirValue : installDir);
    }
    return 0;
}
