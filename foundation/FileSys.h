// FileSys.h: empties directory trees.
#ifndef FOUNDATION_FILE_SYS_H
#define FOUNDATION_FILE_SYS_H

class HeldDirectory;

class FileSys
{
public:
    FileSys();
    virtual ~FileSys();

    FileSys(const FileSys&) = delete;
    FileSys& operator=(const FileSys&) = delete;

    // Deletes every file and sub-directory below dir (with or without a trailing
    // backslash) and leaves dir itself. Whatever resists deletion stays; nothing is
    // reported. A null or empty dir does nothing, and so does a dir that is a link or
    // whose parent is one.
    void deleteDirectoryContents(const char* dir);
    // Empties dir as deleteDirectoryContents does, then removes it when it is empty.
    void removeDirectory(const char* dir);

private:
    // Names go from each listing to the platform unchanged, in the "\\?\" long form; every
    // directory from dir down to the one being emptied is held while it is emptied, and
    // a directory is entered only where its parent's listing shows a real directory.
    // Links are removed as entries, never followed.
    void emptyHeld(HeldDirectory& top);
};

#endif
