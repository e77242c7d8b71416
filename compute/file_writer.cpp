// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// The permissions a new file gets from the user's umask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
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

void WriteFileWhole(const std::string& path, std::string_view bytes) {
    if (path.empty()) Fail(ENOENT);
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) Fail(EISDIR);
    if (exists && !S_ISREG(existing.st_mode)) return WriteDirectly(path, bytes);

    // The temporary file lies beside the target, so that the rename is one
    // step on one disk.
    std::vector<char> temporary(path.begin(), path.end());
    for (char c : std::string_view(".XXXXXX")) temporary.push_back(c);
    temporary.push_back('\0');
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) Fail(errno);
    try {
        if (::fchmod(fd, exists ? existing.st_mode & 07777 : NewFileMode()) != 0) Fail(errno);
        WriteAll(fd, bytes);
        if (::fsync(fd) != 0) Fail(errno);
        struct stat written {};
        if (::fstat(fd, &written) != 0) Fail(errno);
        if (static_cast<std::size_t>(written.st_size) != bytes.size()) Fail(ENOSPC);
    } catch (...) {
        ::close(fd);
        ::unlink(temporary.data());
        throw;
    }
    if (::close(fd) != 0) {
        const int fault = errno;
        ::unlink(temporary.data());
        Fail(fault);
    }
    if (::rename(temporary.data(), path.c_str()) != 0) {
        const int fault = errno;
        ::unlink(temporary.data());
        Fail(fault);
    }
}

}  // namespace korvanet
