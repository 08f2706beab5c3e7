// FileSys.h: empties directory trees.
#ifndef FOUNDATION_FILE_SYS_H
#define FOUNDATION_FILE_SYS_H

class FileSys
{
public:
    FileSys();
    virtual ~FileSys();

    FileSys(const FileSys&) = delete;
    FileSys& operator=(const FileSys&) = delete;

    // Deletes every file and sub-directory below dir (with or without a trailing
    // backslash) and leaves dir itself. Links are removed as entries, never followed.
    // Whatever resists deletion stays; nothing is reported. A null or empty dir does nothing.
    void deleteDirectoryContents(const char* dir);
};

#endif
