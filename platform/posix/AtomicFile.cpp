#include "platform/posix/AtomicFile.h"

#include "platform/posix/FileDescriptor.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

bool KeepOwnerAndMode(int fd, const struct stat& original) {
    // Only a privileged process may give a file away; an ordinary one can still keep a group
    // it belongs to. Neither is worth failing the write for.
    if (::fchown(fd, original.st_uid, original.st_gid) != 0)
        (void)!::fchown(fd, static_cast<uid_t>(-1), original.st_gid);
    // After fchown, which clears set-id bits.
    return ::fchmod(fd, original.st_mode & 07777) == 0;
}

// A new file beside `path`, or -1. A name can be taken by the leftover of a process that
// crashed with the same id, so a taken name moves on to the next.
int CreateTemporary(const std::string& path, std::string& name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = path + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
        // 0666 lets the umask decide a new file's permissions, as for any file created here.
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

std::string Directory(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The rename itself is only durable once the directory entry is on disk.
void SyncDirectory(const std::string& directory) {
    FileDescriptor fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Valid())
        ::fsync(fd.Get()); // the file is already replaced; a failure here cannot undo that
}

// The file a path names once symbolic links are followed, also when the last link's target
// does not exist yet; nothing, with errno set, for a loop of links.
std::optional<std::string> LinkTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), target, sizeof target);
        if (length < 0)
            return current; // not a link, or nothing there: the name itself is the file
        if (static_cast<std::size_t>(length) == sizeof target) {
            errno = ENAMETOOLONG;
            return std::nullopt;
        }
        const std::string_view link(target, static_cast<std::size_t>(length));
        current = link.front() == '/' ? std::string() : Directory(current).append("/");
        current.append(link);
    }
    errno = ELOOP;
    return std::nullopt;
}

bool HasOwnerWriteBit(const struct stat& status) {
    return (status.st_mode & S_IWUSR) != 0;
}

} // namespace

FileBytes::FileBytes(const std::string& path) {
    // Only a regular file is opened: opening a FIFO waits for a writer for ever, and opening a
    // device can act on it. O_NONBLOCK covers one put in the file's place since the stat.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        m_state = errno == ENOENT ? FileState::Missing : FileState::Unreadable;
        return;
    }
    FileDescriptor fd(S_ISREG(status.st_mode)
                          ? ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)
                          : -1);
    const bool read = fd.Valid() && ::fstat(fd.Get(), &status) == 0 && S_ISREG(status.st_mode) &&
                      Read(fd.Get(), static_cast<std::size_t>(status.st_size));
    m_state = read ? FileState::Present : FileState::Unreadable;
}

FileBytes::~FileBytes() {
    if (m_data != nullptr)
        ::munmap(m_data, m_capacity);
}

bool FileBytes::Read(int fd, std::size_t expectedSize) {
    // Memory mapped and populated in one call: a fresh process would otherwise take a page
    // fault for every page of it, which costs more than the read. One byte more than the
    // size, so that the read which finds the end needs no more room.
    m_capacity = expectedSize + 1;
    void* memory = ::mmap(nullptr, m_capacity, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (memory == MAP_FAILED)
        return false;
    m_data = static_cast<char*>(memory);
    for (;;) {
        if (m_size == m_capacity) { // the file grew since fstat
            memory = ::mremap(m_data, m_capacity, m_capacity * 2, MREMAP_MAYMOVE);
            if (memory == MAP_FAILED)
                return false;
            m_data = static_cast<char*>(memory);
            m_capacity *= 2;
        }
        const ssize_t got = ::read(fd, m_data + m_size, m_capacity - m_size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        m_size += static_cast<std::size_t>(got);
    }
}

bool MayReplace(const std::string& path) {
    const std::optional<std::string> target = LinkTarget(path);
    struct stat status {};
    if (!target || ::stat(Directory(*target).c_str(), &status) != 0 || !HasOwnerWriteBit(status))
        return false;
    if (::stat(target->c_str(), &status) != 0)
        return errno == ENOENT;
    if (!S_ISREG(status.st_mode) || !HasOwnerWriteBit(status))
        return false;
    // Opening is the test for this process: access() judges root by its permitted
    // capabilities, not the effective ones, and knows nothing of a file opened elsewhere for
    // execution or of a read-only mount.
    FileDescriptor fd(::open(target->c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    return fd.Valid();
}

bool ReplaceFile(const std::string& path, std::initializer_list<std::string_view> pieces) {
    const std::optional<std::string> resolved = LinkTarget(path);
    if (!resolved)
        return false;
    const std::string& target = *resolved;
    struct stat original {};
    const bool exists = ::stat(target.c_str(), &original) == 0;

    std::string temporary;
    FileDescriptor fd(CreateTemporary(target, temporary));
    if (!fd.Valid())
        return false;
    bool done = true;
    for (const std::string_view piece : pieces)
        done = done && WriteAll(fd.Get(), piece);
    done = done && (!exists || KeepOwnerAndMode(fd.Get(), original)) && ::fsync(fd.Get()) == 0;
    done = fd.Close() && done;
    done = done && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!done) {
        const int error = errno;
        ::unlink(temporary.c_str());
        errno = error;
        return false;
    }
    SyncDirectory(Directory(target));
    return true;
}

} // namespace platform
