// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/korvanet_error.h"

namespace korvanet {
namespace {

[[noreturn]] void Fail(int errorNumber) { throw KorvanetError(FileFaultReason(errorNumber)); }

// Writes all of `bytes` to `fd`, resuming after a signal or a short write.
void WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        if (n == 0) Fail(ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

// A device, a pipe or a terminal: written in place, as a shell's > would.
void WriteDirectly(const std::string& path, std::string_view bytes) {
    // Without a reader a FIFO would block the program: refused at once instead.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) Fail(errno);
    // Once open, a pipe may block again while its reader catches up.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    try {
        WriteAll(fd, bytes);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0) Fail(errno);
}

// The file a path names once its symbolic links are followed, even to a
// target that does not exist yet: saving over a link writes the file it
// points to and leaves the link, as an editor does.  A relative link is
// taken from the folder the link lies in.
std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat link {};
        if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
        std::vector<char> target(static_cast<std::size_t>(link.st_size > 0 ? link.st_size : 255) + 1);
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) Fail(errno);
        if (static_cast<std::size_t>(n) >= target.size()) continue;  // the link changed meanwhile
        std::string to(target.data(), static_cast<std::size_t>(n));
        if (!to.empty() && to.front() != '/') {
            const std::size_t slash = path.rfind('/');
            if (slash != std::string::npos) to = path.substr(0, slash + 1) + to;
        }
        path = std::move(to);
    }
    Fail(ELOOP);
}

// A new file beside `path` under a name nobody else uses, created as open()
// creates any file: its mode 0666 less the user's umask (or the folder's
// default ACL), without the umask ever being changed.  Its name is returned
// in `name`.
int CreateTemporary(const std::string& path, std::string& name) {
    static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = path + ".";
        for (int i = 0; i < 6; ++i) name += kDigits[random() % (sizeof kDigits - 1)];
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

std::string FileFaultReason(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return "文件或文件夹不存在";
        case ENOTDIR:
            return "路径中有一段不是文件夹";
        case EACCES:
        case EPERM:
            return "没有权限";
        case EROFS:
            return "磁盘是只读的";
        case ENOSPC:
        case EDQUOT:
            return "磁盘已满";
        case EISDIR:
            return "这是一个文件夹";
        case EFBIG:
            return "文件太大";
        case EIO:
            return "磁盘或设备读写出错";
        case ENXIO:
            return "没有程序在读取这个管道或设备";
        case EPIPE:
            return "读取输出的程序已经退出";
        case EBADF:
            return "文件没有打开 (已被关闭)";
        case ENAMETOOLONG:
            return "文件名太长";
        case ELOOP:
            return "符号链接循环";
        default:
            return std::string("系统错误: ") + std::strerror(errorNumber);
    }
}

void WriteFileWhole(const std::string& given, std::string_view bytes) {
    if (given.empty()) Fail(ENOENT);
    const std::string path = FollowLinks(given);
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) Fail(EISDIR);
    if (exists && !S_ISREG(existing.st_mode)) return WriteDirectly(path, bytes);

    // The temporary file lies beside the target, so that the rename is one
    // step on one disk.
    std::string temporary;
    const int fd = CreateTemporary(path, temporary);
    if (fd < 0) Fail(errno);
    try {
        // A file written over keeps its permissions; a new one has what open() gave it.
        if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0) Fail(errno);
        WriteAll(fd, bytes);
        if (::fsync(fd) != 0) Fail(errno);
        struct stat written {};
        if (::fstat(fd, &written) != 0) Fail(errno);
        if (static_cast<std::size_t>(written.st_size) != bytes.size()) Fail(ENOSPC);
    } catch (...) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    if (::close(fd) != 0) {
        const int fault = errno;
        ::unlink(temporary.c_str());
        Fail(fault);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int fault = errno;
        ::unlink(temporary.c_str());
        Fail(fault);
    }
}

}  // namespace korvanet
