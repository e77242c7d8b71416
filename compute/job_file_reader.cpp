// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/job_file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "compute/file_writer.h"
#include "compute/job_text.h"
#include "core/korvanet_error.h"

namespace korvanet {
namespace {

// What the surveyor chose, "作业" or "设计", and where: the words of every message.
struct Chosen {
    const std::string& path;
    std::string_view kind;
    std::size_t limit = kJobFileByteLimit;
    std::string File() const {
        return kind.ends_with("文件") ? std::string(kind) : std::string(kind) + "文件";
    }
};

[[noreturn]] void Refuse(const Chosen& file, const std::string& why) {
    throw InputError("无法读取" + file.File() + " " + JobFileName(file.path) + ": " + why);
}

// What a path that is no regular file is, in the words of the file manager.
std::string KindOf(mode_t mode, const Chosen& file) {
    if (S_ISDIR(mode)) return "这是一个文件夹, 不是" + file.File();
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "这是一个设备, 不是" + file.File();
    if (S_ISFIFO(mode)) return "这是一个命名管道 (FIFO), 不是" + file.File();
    if (S_ISSOCK(mode)) return "这是一个套接字 (socket), 不是" + file.File();
    return "这不是普通文件, 不是" + file.File();
}

std::string TooLarge(const Chosen& file) {
    if (file.limit != kJobFileByteLimit) {
        return "文件大于 " + std::to_string(file.limit / (1024 * 1024)) + " MiB, 没有读取 (请检查选的是不是" +
               file.File() + ", 或把一天的数据分成几个文件)";
    }
    // A field book of four stations and six sides is a few thousand bytes.
    const char* size = file.kind == "外业手簿" ? "几千" : "几百";
    return "文件大于 " + std::to_string(kJobFileByteLimit / 1024) + " KiB, 没有读取 (一个" +
           std::string(file.kind) + "只有" + size + "字节; 请检查选的是不是" + file.File() + ")";
}

// Reads `fd` to its end, but never more than the limit and one byte.
std::string ReadBounded(int fd, const Chosen& path) {
    std::string bytes(path.limit + 1, '\0');
    std::size_t have = 0;
    while (have < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
        if (n < 0) {
            if (errno == EINTR) continue;
            Refuse(path, FileFaultReason(errno));
        }
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    if (have > path.limit) Refuse(path, TooLarge(path));
    bytes.resize(have);
    return bytes;
}

std::string ReadSmallFile(const Chosen& file) {
    const std::string& path = file.path;
    if (path == "-") return ReadBounded(STDIN_FILENO, file);

    struct stat before {};
    if (::stat(path.c_str(), &before) != 0) Refuse(file, FileFaultReason(errno));
    if (!S_ISREG(before.st_mode)) Refuse(file, KindOf(before.st_mode, file));
    if (before.st_size > static_cast<off_t>(file.limit)) Refuse(file, TooLarge(file));

    // Non-blocking, in case the path became a FIFO since it was looked at.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) Refuse(file, FileFaultReason(errno));
    struct stat opened {};
    std::string bytes;
    try {
        if (::fstat(fd, &opened) != 0) Refuse(file, FileFaultReason(errno));
        if (!S_ISREG(opened.st_mode)) Refuse(file, KindOf(opened.st_mode, file));
        bytes = ReadBounded(fd, file);
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
    return bytes;
}

}  // namespace

std::string JobFileName(const std::string& path) { return path == "-" ? "标准输入" : path; }

std::string ReadJobFileBytes(const std::string& path) { return ReadSmallFile({path, "作业"}); }

std::string ReadDesignFileBytes(const std::string& path) { return ReadSmallFile({path, "设计"}); }

std::string ReadFieldBookFileBytes(const std::string& path) { return ReadSmallFile({path, "外业手簿"}); }

std::string ReadInstrumentFileBytes(const std::string& path) {
    return ReadSmallFile({path, "仪器数据文件", kInstrumentFileByteLimit});
}

JobFile ReadJobFile(const std::string& path) {
    const std::string bytes = ReadJobFileBytes(path);
    JobFile job;
    try {
        job.answers = DecodeJobAnswers(bytes, &job.notice);
    } catch (const KorvanetError& e) {
        Refuse({path, "作业"}, e.what());
    }
    return job;
}

}  // namespace korvanet
