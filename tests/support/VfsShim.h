#pragma once
// A thin file layer of the tests over SQLite's own: it counts the file
// operations and the syncs, can end the process (as a power cut or a kill
// would) just before a chosen operation, and can answer every write as a full
// disk does. Installed as SQLite's default, so the engine uses it unawares.

#include <sqlite3.h>

#include <csignal>
#include <cstring>
#include <unistd.h>

namespace kal::test {

class VfsShim {
public:
    // Ends the process with SIGKILL before the n-th file operation (open,
    // read, write, truncate, sync, close, delete) counted from `reset`; 0 never.
    static inline int killAt = 0;
    static inline int operations = 0;
    static inline int syncs = 0;
    static inline bool diskFull = false;
    // The bytes the disk takes before it is full: a write beyond them is
    // answered as a full disk answers it. Below 0 the disk has room.
    static inline sqlite3_int64 room = -1;

    static void install()
    {
        static bool done = false;
        if (done)
            return;
        done = true;
        sqlite3_initialize();
        base() = sqlite3_vfs_find(nullptr);
        sqlite3_vfs& v = vfs();
        v = *base();
        v.zName = "kalmora-test-shim";
        v.szOsFile = int(sizeof(File)) + base()->szOsFile;
        v.pAppData = nullptr;
        v.xOpen = &open;
        v.xDelete = &remove;
        sqlite3_vfs_register(&v, 1);
    }

    static void reset()
    {
        killAt = 0;
        operations = 0;
        syncs = 0;
        diskFull = false;
        room = -1;
    }

private:
    struct File {
        sqlite3_file base;
        sqlite3_file* real;
    };

    static sqlite3_vfs*& base()
    {
        static sqlite3_vfs* b = nullptr;
        return b;
    }
    static sqlite3_vfs& vfs()
    {
        static sqlite3_vfs v{};
        return v;
    }

    static void step()
    {
        ++operations;
        if (killAt > 0 && operations >= killAt)
            ::kill(::getpid(), SIGKILL);
    }

    static sqlite3_file* real(sqlite3_file* f) { return reinterpret_cast<File*>(f)->real; }

    static int close(sqlite3_file* f)
    {
        step();
        return real(f)->pMethods ? real(f)->pMethods->xClose(real(f)) : SQLITE_OK;
    }
    static int read(sqlite3_file* f, void* p, int n, sqlite3_int64 off)
    {
        step();
        return real(f)->pMethods->xRead(real(f), p, n, off);
    }
    static int write(sqlite3_file* f, const void* p, int n, sqlite3_int64 off)
    {
        step();
        if (diskFull || (room >= 0 && n > room))
            return SQLITE_FULL;
        if (room >= 0)
            room -= n;
        return real(f)->pMethods->xWrite(real(f), p, n, off);
    }
    static int truncate(sqlite3_file* f, sqlite3_int64 size)
    {
        step();
        return real(f)->pMethods->xTruncate(real(f), size);
    }
    static int sync(sqlite3_file* f, int flags)
    {
        step();
        ++syncs;
        return real(f)->pMethods->xSync(real(f), flags);
    }
    static int fileSize(sqlite3_file* f, sqlite3_int64* size) { return real(f)->pMethods->xFileSize(real(f), size); }
    static int lock(sqlite3_file* f, int l) { return real(f)->pMethods->xLock(real(f), l); }
    static int unlock(sqlite3_file* f, int l) { return real(f)->pMethods->xUnlock(real(f), l); }
    static int checkLock(sqlite3_file* f, int* out) { return real(f)->pMethods->xCheckReservedLock(real(f), out); }
    static int control(sqlite3_file* f, int op, void* arg) { return real(f)->pMethods->xFileControl(real(f), op, arg); }
    static int sectorSize(sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); }
    static int characteristics(sqlite3_file* f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); }
    static int shmMap(sqlite3_file* f, int pg, int sz, int extend, void volatile** pp)
    {
        return real(f)->pMethods->xShmMap(real(f), pg, sz, extend, pp);
    }
    static int shmLock(sqlite3_file* f, int offset, int n, int flags)
    {
        return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
    }
    static void shmBarrier(sqlite3_file* f) { real(f)->pMethods->xShmBarrier(real(f)); }
    static int shmUnmap(sqlite3_file* f, int deleteFlag) { return real(f)->pMethods->xShmUnmap(real(f), deleteFlag); }
    static int fetch(sqlite3_file* f, sqlite3_int64 off, int n, void** pp)
    {
        return real(f)->pMethods->xFetch(real(f), off, n, pp);
    }
    static int unfetch(sqlite3_file* f, sqlite3_int64 off, void* p) { return real(f)->pMethods->xUnfetch(real(f), off, p); }

    static const sqlite3_io_methods* methods()
    {
        static const sqlite3_io_methods m = {3,        &close,      &read,       &write,      &truncate,
                                             &sync,    &fileSize,   &lock,       &unlock,     &checkLock,
                                             &control, &sectorSize, &characteristics, &shmMap, &shmLock,
                                             &shmBarrier, &shmUnmap, &fetch,   &unfetch};
        return &m;
    }

    static int open(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags)
    {
        step();
        auto* file = reinterpret_cast<File*>(f);
        std::memset(file, 0, sizeof(File));
        file->real = reinterpret_cast<sqlite3_file*>(file + 1);
        const int rc = base()->xOpen(base(), name, file->real, flags, outFlags);
        file->base.pMethods = file->real->pMethods ? methods() : nullptr;
        return rc;
    }

    static int remove(sqlite3_vfs*, const char* name, int syncDir)
    {
        step();
        return base()->xDelete(base(), name, syncDir);
    }
};

} // namespace kal::test
