// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every file the program writes (a saved job, the answers kept for the next
// start, a report or a drawing) goes through here, so that a file is either
// written whole or the failure is told, in the words a surveyor knows: no
// such folder, no permission, disk full.

#include <string>
#include <string_view>

namespace korvanet {

// Why a file operation failed, in Chinese, from the system's error number:
// "文件夹不存在", "没有写入权限", "磁盘已满" and the like.
std::string FileFaultReason(int errorNumber);

// Writes `bytes` to `path` whole.  A regular file (or a new one) is replaced
// atomically: written beside it under a temporary name, flushed to the disk,
// checked for its size, then renamed over it, so that a reader (another
// window, the next start) sees the old file or the whole new one, never
// half of each, and the last whole file written wins; it keeps the
// permissions of the file it replaces, a new one gets the user's umask.  A
// symbolic link is followed: the file it points to is written, the link
// stays.  A device or a pipe (/dev/stdout) is written directly.  Throws a KorvanetError whose message
// is the reason alone (FileFaultReason); the caller says what was being saved.
void WriteFileWhole(const std::string& path, std::string_view bytes);

}  // namespace korvanet
