#include "OutputFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "PrintableText.h"

namespace VarnekLabels {
namespace {

// Links are followed at most this far, as the kernel does.
constexpr int s_maxLinkDepth = 40;
constexpr std::string_view s_temporaryMark = ".varnek-tmp-";
// A pipe without a reader is waited for 100 times 10 ms.
constexpr int s_pipeReaderWaits = 100;
constexpr long s_pipeReaderWaitNanoseconds = 10'000'000;

// The path is quoted, as the tool quotes every name the user gave, so that
// blanks and an empty path show.
std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

std::runtime_error writeError(const std::string& path, const std::string& reason) {
    return std::runtime_error(printable("cannot write " + quoted(path) + ": " + reason));
}

std::runtime_error writeError(const std::string& path, int error) {
    return writeError(path, std::strerror(error));
}

struct PathParts {
    std::string folder;  // "." for a bare name
    std::string name;
};

PathParts split(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// Whether the link may be followed by the rule the kernel applies to links
// in shared folders: a link in a sticky, world-writable folder (such as
// /tmp) is followed only when it belongs to the folder's owner or to this
// process's user, so that no other user can plant one there to redirect
// the write.
bool mayFollow(const std::string& link, const struct stat& linkInfo) {
    struct stat folder {};
    if (::stat(split(link).folder.c_str(), &folder) != 0) {
        return false;
    }
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || linkInfo.st_uid == folder.st_uid || linkInfo.st_uid == ::geteuid();
}

// The path the chain of symbolic links at path ends in; it need not exist.
std::string finalTarget(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < s_maxLinkDepth; ++depth) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        if (!mayFollow(current, info)) {
            throw writeError(path, "the symbolic link " + quoted(current) +
                                       " belongs to another user in a shared sticky folder "
                                       "and is not followed");
        }
        // Some links report no size; a path is never longer than PATH_MAX.
        std::string link(
            std::max<std::size_t>(static_cast<std::size_t>(info.st_size), PATH_MAX) + 1, '\0');
        const ssize_t length = ::readlink(current.c_str(), link.data(), link.size());
        if (length < 0) {
            throw writeError(path, errno);
        }
        link.resize(static_cast<std::size_t>(length));
        if (link.empty() || link.front() != '/') {
            link.insert(0, split(current).folder + "/");
        }
        current = link;
    }
    throw writeError(path, ELOOP);
}

void writeAll(int fd, const std::string& content, const std::string& path) {
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0 && errno != EINTR) {
            const int error = errno;
            ::close(fd);
            throw writeError(path, error);
        }
        written += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
}

void closeChecked(int fd, const std::string& path) {
    if (::close(fd) != 0 && errno != EINTR) {
        throw writeError(path, errno);
    }
}

// The mode the written content gets: the set-user and set-group bits go,
// since the program they were given to is no longer there.
mode_t withoutSetIdBits(mode_t mode) {
    return static_cast<mode_t>(mode & 07777 & ~static_cast<mode_t>(S_ISUID | S_ISGID));
}

// Opens the pipe for writing once a process reads it, giving a reader
// started beside the tool a moment to open it; -1 with ENXIO if none does.
// A plain open would wait for ever.
int openPipe(const std::string& target) {
    for (int attempt = 0;; ++attempt) {
        const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd >= 0 || errno != ENXIO || attempt == s_pipeReaderWaits) {
            return fd;
        }
        const timespec wait{0, s_pipeReaderWaitNanoseconds};
        ::nanosleep(&wait, nullptr);
    }
}

// Pipes, character devices and files with several names keep their
// identity. A regular file gets the room for content before a byte of it is
// overwritten, so that a full disk leaves it as it was.
void writeInPlace(const std::string& target, const struct stat& info, const std::string& content,
                  const std::string& path) {
    const bool pipe = S_ISFIFO(info.st_mode);
    const int fd =
        pipe ? openPipe(target) : ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        throw writeError(path, pipe && errno == ENXIO ? std::string("no process reads the pipe")
                                                      : std::string(std::strerror(errno)));
    }
    if (pipe && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        const int error = errno;
        ::close(fd);
        throw writeError(path, error);
    }
    struct stat opened {};
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
        withoutSetIdBits(opened.st_mode) != (opened.st_mode & 07777) &&
        ::fchmod(fd, withoutSetIdBits(opened.st_mode)) != 0) {
        const int error = errno;
        ::close(fd);
        throw writeError(path, error);
    }
    const bool regular = S_ISREG(opened.st_mode);
    const auto size = static_cast<off_t>(content.size());
    if (regular && size > opened.st_size) {
        // The blocks past the end only: the ones before it are there. The
        // error is returned, not set in errno; a failure having grown the
        // file gives it its old size back.
        const int error = ::posix_fallocate(fd, opened.st_size, size - opened.st_size);
        if (error != 0) {
            [[maybe_unused]] const int restored = ::ftruncate(fd, opened.st_size);
            ::close(fd);
            throw writeError(path, error);
        }
    }
    writeAll(fd, content, path);
    if (regular && ::ftruncate(fd, size) != 0) {
        const int error = errno;
        ::close(fd);
        throw writeError(path, error);
    }
    closeChecked(fd, path);
}

// The start of the temporary file's name, ".NAME.varnek-tmp-", with NAME
// shortened (at a character boundary) so that the whole name, with the
// process id and six random characters, stays within the folder's limit on
// a file name.
std::string temporaryPrefix(const PathParts& parts) {
    const long limit = ::pathconf(parts.folder.c_str(), _PC_NAME_MAX);
    const std::size_t nameMax = limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
    // '.', the mark, the longest process id (19 digits) and "-XXXXXX".
    const std::size_t overhead = 1 + s_temporaryMark.size() + 19 + 7;
    const std::size_t room = nameMax > overhead ? nameMax - overhead : 0;
    std::size_t length = std::min(parts.name.size(), room);
    while (length < parts.name.size() && length > 0 &&
           (static_cast<unsigned char>(parts.name[length]) & 0xC0U) == 0x80U) {
        --length;
    }
    return "." + parts.name.substr(0, length) + std::string(s_temporaryMark);
}

// Removes the temporary files of runs that are no longer alive; a live
// run's file is its own business.
void removeAbandonedTemporaries(const PathParts& parts) {
    DIR* folder = ::opendir(parts.folder.c_str());
    if (folder == nullptr) {
        return;
    }
    const std::string prefix = temporaryPrefix(parts);
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name(entry->d_name);
        if (name.substr(0, prefix.size()) != prefix) {
            continue;
        }
        const long pid = std::strtol(entry->d_name + prefix.size(), nullptr, 10);
        if (pid > 0 && pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0 &&
            errno == ESRCH) {
            ::unlinkat(::dirfd(folder), entry->d_name, 0);
        }
    }
    ::closedir(folder);
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

void replaceWhole(const std::string& target, const struct stat* existing,
                  const std::string& content, const std::string& path) {
    const PathParts parts = split(target);
    std::string temporary =
        parts.folder + "/" + temporaryPrefix(parts) + std::to_string(::getpid()) + "-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == EACCES || error == EROFS || error == EPERM) {
            throw writeError(path, "the folder " + quoted(parts.folder) +
                                       " cannot be written into (" + std::strerror(error) + ")");
        }
        throw writeError(path, error);
    }
    try {
        if (existing != nullptr) {
            // Owner first: changing it may clear the set-id bits of the mode.
            if (::fchown(fd, existing->st_uid, existing->st_gid) != 0) {
                [[maybe_unused]] const int groupKept =
                    ::fchown(fd, static_cast<uid_t>(-1), existing->st_gid);
            }
        }
        const mode_t mode =
            existing != nullptr ? withoutSetIdBits(existing->st_mode) : newFileMode();
        if (::fchmod(fd, mode) != 0) {
            const int error = errno;
            ::close(fd);
            throw writeError(path, error);
        }
        writeAll(fd, content, path);
        if (::fsync(fd) != 0) {
            const int error = errno;
            ::close(fd);
            throw writeError(path, error);
        }
        closeChecked(fd, path);
        if (::rename(temporary.c_str(), target.c_str()) != 0) {
            throw writeError(path, errno);
        }
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    removeAbandonedTemporaries(parts);
}

// Whether a file this process makes can be given the owner and group of
// info: the superuser may give any, another user only its own user and
// one of its groups. A file it cannot is written in place, so that it
// stays its owner's.
bool mayGiveOwnerAndGroupOf(const struct stat& info) {
    if (::geteuid() == 0) {
        return true;
    }
    if (info.st_uid != ::geteuid()) {
        return false;
    }
    if (info.st_gid == ::getegid()) {
        return true;
    }
    const int count = ::getgroups(0, nullptr);
    if (count <= 0) {
        return false;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int listed = ::getgroups(count, groups.data());
    return listed > 0 && std::find(groups.begin(), groups.begin() + listed, info.st_gid) !=
                             groups.begin() + listed;
}

}  // namespace

void writeOutput(const std::string& path, const std::string& content,
                 std::ostream& standardOutput) {
    if (path == "-") {
        errno = 0;
        standardOutput.write(content.data(), static_cast<std::streamsize>(content.size()));
        standardOutput.flush();
        if (!standardOutput) {
            throw std::runtime_error(std::string("cannot write standard output: ") +
                                     std::strerror(errno));
        }
        return;
    }
    if (path.empty()) {
        throw writeError(path, ENOENT);
    }
    const std::string target = finalTarget(path);
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            throw writeError(path, errno);
        }
        replaceWhole(target, nullptr, content, path);
        return;
    }
    const bool regular = S_ISREG(info.st_mode);
    // Its folder would let a file the user may not write be replaced.
    if (regular && ::access(target.c_str(), W_OK) != 0) {
        throw writeError(path, errno);
    }
    if (regular && info.st_nlink == 1 && mayGiveOwnerAndGroupOf(info)) {
        replaceWhole(target, &info, content, path);
    } else if (regular || S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) {
        writeInPlace(target, info, content, path);
    } else {
        throw writeError(path, S_ISDIR(info.st_mode)
                                   ? "it is a folder"
                                   : "not a regular file, pipe or character device");
    }
}

}  // namespace VarnekLabels
