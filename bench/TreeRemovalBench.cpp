// TreeRemovalBench.cpp: times FileSys::deleteDirectoryContents against a bare delete loop and the shell's delete.
// Every method gets its own fresh copy of the same tree, made before its clock starts, and
// removes the whole tree, root included: FileSys and the bare loop finish with RemoveDirectoryA
// on the root inside their timing, because SHFileOperationA(FO_DELETE) removes the root too.
#include "FileSys.h"
#include "StringBuffer.h"

#include "BenchTiming.h"

#include <windows.h>
#include <shellapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char benchRoot[] = "C:\\vt\\bench";
// The shell's delete without any window: no progress, no confirmation, no error box.
const FILEOP_FLAGS shellNoUi = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;

struct ShapeDef {
    const char* name;
    int dirs;       // folders below the root
    int files;
    int maxDepth;   // depth of the deepest folder; the root is depth 0
    bool chain;     // each folder inside the previous one, files spread evenly over them
};

const ShapeDef shapeDefs[] = {
    {"typical", 200, 2000, 5, false},
    {"large", 1000, 20000, 5, false},
    {"deep", 40, 120, 40, true},
};
const int shapeCount = sizeof(shapeDefs) / sizeof(shapeDefs[0]);
const int maxFileBytes = 4096;

enum Method {
    methodFileSys,
    methodFloor,
    methodFloorList,    // the floor plus one bare listing of every folder: the walk's own limit
    methodPlain,    // the walk as it was before it held its folders: FindFirstFileA, one path buffer
    methodShell,
    // Only with --breakdown:
    methodList,     // that walk, listing only: nothing is deleted
    methodListBasic,    // the same with FindFirstFileExA's basic records (no short names)
    methodCount
};
const char* const methodNames[methodCount] = {"filesys", "floor", "floorlist", "plain", "shell", "list",
                                              "listbasic"};

// A fixed generator, so every run and every copy builds the same trees: 0 to n - 1.
int randomBelow(unsigned int* state, int n)
{
    *state = *state * 1664525u + 1013904223u;
    return static_cast<int>((*state >> 8) % static_cast<unsigned int>(n));
}

struct Layout {
    std::vector<std::string> dirs;      // relative to the root; parents before children
    std::vector<std::string> files;     // relative to the root
    std::vector<int> sizes;
    // For the in-memory replay of FileSys's path work: per folder (0 = root) its
    // sub-folders' indexes and its entries' leaf names, in creation order.
    std::vector<std::vector<int>> childDirs;
    std::vector<std::vector<std::string>> leafNames;
    std::vector<std::vector<bool>> leafIsDir;
};

Layout makeLayout(const ShapeDef& shape, unsigned int seed)
{
    Layout layout;
    unsigned int random = seed;
    std::vector<int> depth(1, 0);
    std::vector<std::string> rel(1, "");
    layout.childDirs.resize(shape.dirs + 1);
    layout.leafNames.resize(shape.dirs + 1);
    layout.leafIsDir.resize(shape.dirs + 1);
    char name[32];
    for (int i = 1; i <= shape.dirs; ++i) {
        int parent = i - 1;
        if (!shape.chain) {
            do {
                parent = randomBelow(&random, i);
            } while (depth[parent] >= shape.maxDepth);
        }
        snprintf(name, sizeof(name), shape.chain ? "d%02d" : "dir%04d", i);
        depth.push_back(depth[parent] + 1);
        rel.push_back(parent == 0 ? std::string(name) : rel[parent] + "\\" + name);
        layout.dirs.push_back(rel.back());
        layout.childDirs[parent].push_back(i);
        layout.leafNames[parent].push_back(name);
        layout.leafIsDir[parent].push_back(true);
    }
    for (int i = 0; i < shape.files; ++i) {
        int dir = shape.chain ? 1 + i % shape.dirs : randomBelow(&random, shape.dirs + 1);
        snprintf(name, sizeof(name), shape.chain ? "f%03d.txt" : "file%05d.txt", i);
        layout.files.push_back(dir == 0 ? std::string(name) : rel[dir] + "\\" + name);
        layout.sizes.push_back(randomBelow(&random, maxFileBytes + 1));
        layout.leafNames[dir].push_back(name);
        layout.leafIsDir[dir].push_back(false);
    }
    return layout;
}

// Full paths of one copy, for the bare loop, in the order FileSys deletes them: the walk
// is done here, before any clock starts, so the timed loop removes the same entries in
// the same order and differs from FileSys only by not listing and not composing paths.
struct PathList {
    std::vector<std::string> paths;
    std::vector<bool> isDir;
    int files = 0;
    int dirs = 0;
};

void collectPaths(const std::string& dir, PathList* list)
{
    WIN32_FIND_DATAA entry;
    HANDLE listing = FindFirstFileA((dir + "\\*.*").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (strcmp(entry.cFileName, ".") == 0 || strcmp(entry.cFileName, "..") == 0) {
            continue;
        }
        std::string path = dir + "\\" + entry.cFileName;
        bool isDir = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isDir) {
            collectPaths(path, list);
        }
        list->paths.push_back(path);
        list->isDir.push_back(isDir);
        ++(isDir ? list->dirs : list->files);
    } while (FindNextFileA(listing, &entry));
    FindClose(listing);
}

PathList makePathList(const std::string& root)
{
    PathList list;
    collectPaths(root, &list);
    return list;
}

bool exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool makeCopy(const std::string& root, const Layout& layout)
{
    static char content[maxFileBytes];
    if (content[0] == 0) {
        for (int i = 0; i < maxFileBytes; ++i) {
            content[i] = static_cast<char>('a' + i % 26);
        }
    }
    if (!CreateDirectoryA(root.c_str(), nullptr)) {
        fprintf(stderr, "error: cannot create %s (%lu)\n", root.c_str(), GetLastError());
        return false;
    }
    for (const std::string& dir : layout.dirs) {
        std::string path = root + "\\" + dir;
        if (!CreateDirectoryA(path.c_str(), nullptr)) {
            fprintf(stderr, "error: cannot create %s (%lu)\n", path.c_str(), GetLastError());
            return false;
        }
    }
    for (size_t i = 0; i < layout.files.size(); ++i) {
        std::string path = root + "\\" + layout.files[i];
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            fprintf(stderr, "error: cannot create %s (%lu)\n", path.c_str(), GetLastError());
            return false;
        }
        DWORD written = 0;
        BOOL ok = WriteFile(file, content, static_cast<DWORD>(layout.sizes[i]), &written, nullptr);
        CloseHandle(file);
        if (!ok || written != static_cast<DWORD>(layout.sizes[i])) {
            fprintf(stderr, "error: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

void deleteByList(const std::string& root, const PathList& list)
{
    size_t count = list.paths.size();
    for (size_t i = 0; i < count; ++i) {
        if (list.isDir[i]) {
            RemoveDirectoryA(list.paths[i].c_str());
        } else {
            DeleteFileA(list.paths[i].c_str());
        }
    }
    RemoveDirectoryA(root.c_str());
}

// One listing of the folder through a handle, as the walk lists: nothing kept.
void listBare(const std::string& dir)
{
    HANDLE handle = CreateFileA(dir.c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return;
    }
    static long long buffer[8192];
    FILE_INFO_BY_HANDLE_CLASS infoClass = FileIdBothDirectoryRestartInfo;
    while (GetFileInformationByHandleEx(handle, infoClass, buffer, sizeof(buffer))) {
        infoClass = FileIdBothDirectoryInfo;
    }
    CloseHandle(handle);
}

// The walk before it held its folders (what FileSys did with FindFirstFileA), with the
// path built in place in one buffer; length is the length of
// the directory's path in it. With remove false it only lists; with basic it asks for
// records without the short (8.3) name, fetched in large batches.
void walkPlain(char* path, size_t length, bool remove, bool basic)
{
    if (path[length - 1] != '\\') {
        path[length++] = '\\';
    }
    memcpy(path + length, "*.*", 4);
    WIN32_FIND_DATAA entry;
    HANDLE listing = basic ? FindFirstFileExA(path, FindExInfoBasic, &entry, FindExSearchNameMatch,
                                              nullptr, FIND_FIRST_EX_LARGE_FETCH)
                           : FindFirstFileA(path, &entry);
    path[length] = '\0';
    if (listing == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (strcmp(entry.cFileName, ".") == 0 || strcmp(entry.cFileName, "..") == 0) {
            continue;
        }
        size_t nameLength = strlen(entry.cFileName);
        memcpy(path + length, entry.cFileName, nameLength + 1);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            walkPlain(path, length + nameLength, remove, basic);
            path[length + nameLength] = '\0';
            if (remove) {
                RemoveDirectoryA(path);
            }
        } else if (remove) {
            DeleteFileA(path);
        }
    } while (FindNextFileA(listing, &entry));
    FindClose(listing);
    path[length] = '\0';
}

// Removes the copy at root with the method and returns the milliseconds it took.
double timeMethod(Method method, const std::string& root, const PathList& list)
{
    double start = 0;
    double end = 0;
    switch (method) {
    case methodFileSys: {
        start = nowMs();
        FileSys fileSys;
        fileSys.removeDirectory(root.c_str());
        end = nowMs();
        break;
    }
    case methodFloor:
        start = nowMs();
        deleteByList(root, list);
        end = nowMs();
        break;
    case methodFloorList:
        start = nowMs();
        listBare(root);
        for (size_t i = 0; i < list.paths.size(); ++i) {
            if (list.isDir[i]) {
                listBare(list.paths[i]);
            }
        }
        deleteByList(root, list);
        end = nowMs();
        break;
    case methodShell: {
        // pFrom is a list of names ended by an empty one; c_str() adds the second NUL.
        std::string from = root;
        from.push_back('\0');
        SHFILEOPSTRUCTA operation = {};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = shellNoUi;
        start = nowMs();
        SHFileOperationA(&operation);
        end = nowMs();
        break;
    }
    case methodPlain:
    case methodList:
    case methodListBasic: {
        char path[MAX_PATH * 2];
        memcpy(path, root.c_str(), root.size() + 1);
        bool remove = method == methodPlain;
        start = nowMs();
        walkPlain(path, root.size(), remove, method == methodListBasic);
        if (remove) {
            RemoveDirectoryA(root.c_str());
        }
        end = nowMs();
        if (!remove) {
            deleteByList(root, list);
        }
        break;
    }
    default:
        break;
    }
    return end - start;
}

// FileSys's path work without any file system call: the same StringBuffers, built,
// appended and set in the same order for the same entries.
void replayPaths(const Layout& layout, int dir, const char* dirPath, long long* checksum)
{
    StringBuffer prefix;
    prefix.append(dirPath);
    if (prefix.lastChar() != '\\') {
        prefix.appendChar('\\');
    }
    prefix.append("*.*");
    prefix.shorten(3);
    StringBuffer path;
    const std::vector<std::string>& names = layout.leafNames[dir];
    size_t nextDir = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        const char* name = names[i].c_str();
        if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0) {
            continue;
        }
        path.setFrom(prefix);
        path.append(name);
        if (layout.leafIsDir[dir][i]) {
            replayPaths(layout, layout.childDirs[dir][nextDir++], path.getString(), checksum);
        }
        *checksum += path.getSize();
    }
}

// Only the two StringBuffers that every folder's frame constructs and destroys.
void replayAllocations(const Layout& layout, int dir, long long* checksum)
{
    StringBuffer prefix;
    StringBuffer path;
    *checksum += prefix.getCapacity() + path.getCapacity();
    for (int child : layout.childDirs[dir]) {
        replayAllocations(layout, child, checksum);
    }
}

// Removes whatever an earlier, interrupted run left of a shape's trees.
void removeLeftovers(const std::string& shapeRoot)
{
    if (exists(shapeRoot)) {
        FileSys fileSys;
        fileSys.deleteDirectoryContents(shapeRoot.c_str());
        RemoveDirectoryA(shapeRoot.c_str());
    }
}

struct ShapeResult {
    const ShapeDef* shape;
    double ms[methodCount];
    double composeMs;
    double allocMs;
    // Medians of each round's own ratios: steadier than the ratio of medians when the
    // machine's load drifts between rounds.
    double pairedFloor;
    double pairedFloorList;
    double pairedPlain;
    double pairedShell;
};

bool runShape(const ShapeDef& shape, unsigned int seed, int rounds, bool breakdown, ShapeResult* result)
{
    Layout layout = makeLayout(shape, seed);
    std::string shapeRoot = std::string(benchRoot) + "\\" + shape.name;
    removeLeftovers(shapeRoot);
    if (!CreateDirectoryA(shapeRoot.c_str(), nullptr)) {
        fprintf(stderr, "error: cannot create %s (%lu)\n", shapeRoot.c_str(), GetLastError());
        return false;
    }
    int methods = breakdown ? methodCount : methodShell + 1;
    std::vector<std::vector<double>> times(methodCount);
    std::vector<double> composeTimes;
    std::vector<double> allocTimes;
    std::vector<double> floorRatios;
    std::vector<double> floorListRatios;
    std::vector<double> plainRatios;
    std::vector<double> shellRatios;
    bool ok = true;
    for (int round = 0; round < rounds && ok; ++round) {
        // Fresh copies for every method, all made before any clock starts. The order of
        // the methods turns each round, so no method always meets the newest copy; the
        // shell goes last, because a method timed right after it runs measurably slower.
        std::vector<Method> order;
        for (int k = 0; k < methods - 1; ++k) {
            int m = (k + round) % (methods - 1);
            order.push_back(static_cast<Method>(m >= methodShell ? m + 1 : m));
        }
        order.push_back(methodShell);
        std::vector<std::string> roots;
        for (int slot = 0; slot < methods && ok; ++slot) {
            char name[16];
            snprintf(name, sizeof(name), "\\copy%d", slot);
            roots.push_back(shapeRoot + name);
            ok = makeCopy(roots.back(), layout);
        }
        if (!ok) {
            break;
        }
        printf("round shape=%s n=%d", shape.name, round + 1);
        double roundMs[methodCount] = {};
        for (int slot = 0; slot < methods && ok; ++slot) {
            Method method = order[slot];
            PathList list = makePathList(roots[slot]);
            if (list.files != shape.files || list.dirs != shape.dirs) {
                fprintf(stderr, "error: %s holds %d files and %d folders, not %d and %d\n",
                        roots[slot].c_str(), list.files, list.dirs, shape.files, shape.dirs);
                ok = false;
                break;
            }
            double ms = timeMethod(method, roots[slot], list);
            if (exists(roots[slot])) {
                fprintf(stderr, "error: %s left %s behind\n", methodNames[method], roots[slot].c_str());
                deleteByList(roots[slot], list);
                ok = false;
            }
            times[method].push_back(ms);
            roundMs[method] = ms;
            printf(" %s_ms=%.1f", methodNames[method], ms);
        }
        if (ok) {
            floorRatios.push_back(roundMs[methodFileSys] / roundMs[methodFloor]);
            floorListRatios.push_back(roundMs[methodFileSys] / roundMs[methodFloorList]);
            plainRatios.push_back(roundMs[methodFileSys] / roundMs[methodPlain]);
            shellRatios.push_back(roundMs[methodFileSys] / roundMs[methodShell]);
        }
        if (ok && breakdown) {
            std::string top = shapeRoot + "\\copy0";
            long long checksum = 0;
            double start = nowMs();
            replayPaths(layout, 0, top.c_str(), &checksum);
            composeTimes.push_back(nowMs() - start);
            start = nowMs();
            replayAllocations(layout, 0, &checksum);
            allocTimes.push_back(nowMs() - start);
            printf(" compose_ms=%.2f alloc_ms=%.2f sum=%lld", composeTimes.back(), allocTimes.back(), checksum);
        }
        printf("\n");
        fflush(stdout);
    }
    removeLeftovers(shapeRoot);
    result->shape = &shape;
    for (int method = 0; method < methodCount; ++method) {
        result->ms[method] = median(times[method]);
    }
    result->composeMs = median(composeTimes);
    result->allocMs = median(allocTimes);
    result->pairedFloor = median(floorRatios);
    result->pairedFloorList = median(floorListRatios);
    result->pairedPlain = median(plainRatios);
    result->pairedShell = median(shellRatios);
    return ok;
}

void usage()
{
    fprintf(stderr,
            "usage: TreeRemovalBench [--rounds N] [--shapes typical,large,deep] [--breakdown]\n"
            "  Trees are made and removed under C:\\vt\\bench. Default: 5 rounds, all shapes.\n"
            "  Each round times FileSys, the floor (deletes alone), the floor plus one bare listing\n"
            "  of every folder (floorlist), the walk as it was before it held its folders (plain)\n"
            "  and the shell.\n"
            "  --breakdown also times the old walk listing only (list, and listbasic without\n"
            "  short names), and its path work\n"
            "  without file system calls (compose: all StringBuffer work, alloc: their blocks).\n");
}

bool parseShapes(const char* text, bool* chosen)
{
    std::string list = text;
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        bool known = false;
        for (int i = 0; i < shapeCount; ++i) {
            if (name == shapeDefs[i].name) {
                chosen[i] = true;
                known = true;
            }
        }
        if (!known) {
            fprintf(stderr, "error: unknown shape '%s'\n", name.c_str());
            return false;
        }
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = 5;
    bool breakdown = false;
    bool chosen[shapeCount] = {};
    bool anyChosen = false;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
            rounds = atoi(argv[++i]);
        } else if (strcmp(argv[i], "--shapes") == 0 && i + 1 < argc) {
            if (!parseShapes(argv[++i], chosen)) {
                return 2;
            }
            anyChosen = true;
        } else if (strcmp(argv[i], "--breakdown") == 0) {
            breakdown = true;
        } else {
            usage();
            return 2;
        }
    }
    if (rounds < 1) {
        usage();
        return 2;
    }
    if (!anyChosen) {
        for (int i = 0; i < shapeCount; ++i) {
            chosen[i] = true;
        }
    }

    CreateDirectoryA("C:\\vt", nullptr);
    CreateDirectoryA(benchRoot, nullptr);

    // One unmeasured round on a small tree loads and warms whatever each method uses.
    const ShapeDef warmUp = {"warmup", 20, 100, 3, false};
    ShapeResult ignored;
    if (!runShape(warmUp, 7, 1, breakdown, &ignored)) {
        return 1;
    }

    std::vector<ShapeResult> results;
    bool ok = true;
    double started = nowMs();
    for (int i = 0; i < shapeCount && ok; ++i) {
        if (!chosen[i]) {
            continue;
        }
        double shapeStarted = nowMs();
        ShapeResult result;
        ok = runShape(shapeDefs[i], 1000u + static_cast<unsigned int>(i), rounds, breakdown, &result);
        printf("time shape=%s rounds=%d seconds=%.1f\n", shapeDefs[i].name, rounds,
               (nowMs() - shapeStarted) / 1000.0);
        results.push_back(result);
    }
    RemoveDirectoryA(benchRoot);
    if (!ok) {
        return 1;
    }
    printf("time total seconds=%.1f\n", (nowMs() - started) / 1000.0);

    if (breakdown) {
        for (const ShapeResult& r : results) {
            printf("breakdown shape=%s filesys_ms=%.1f floor_ms=%.1f plain_ms=%.1f list_ms=%.1f"
                   " listbasic_ms=%.1f compose_ms=%.2f alloc_ms=%.2f\n",
                   r.shape->name, r.ms[methodFileSys], r.ms[methodFloor], r.ms[methodPlain],
                   r.ms[methodList], r.ms[methodListBasic], r.composeMs, r.allocMs);
        }
    }
    for (const ShapeResult& r : results) {
        printf("paired shape=%s ratio_floor=%.2f ratio_shell=%.2f ratio_floorlist=%.2f ratio_plain=%.2f\n",
               r.shape->name, r.pairedFloor, r.pairedShell, r.pairedFloorList, r.pairedPlain);
    }
    for (const ShapeResult& r : results) {
        double fileSys = r.ms[methodFileSys];
        printf("shape=%s files=%d dirs=%d filesys_ms=%.1f floor_ms=%.1f shell_ms=%.1f"
               " ratio_floor=%.2f ratio_shell=%.2f floorlist_ms=%.1f plain_ms=%.1f"
               " ratio_floorlist=%.2f ratio_plain=%.2f\n",
               r.shape->name, r.shape->files, r.shape->dirs, fileSys, r.ms[methodFloor],
               r.ms[methodShell], fileSys / r.ms[methodFloor], fileSys / r.ms[methodShell],
               r.ms[methodFloorList], r.ms[methodPlain], fileSys / r.ms[methodFloorList],
               fileSys / r.ms[methodPlain]);
    }
    fflush(stdout);
    return 0;
}
