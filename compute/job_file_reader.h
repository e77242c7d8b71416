// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a job file from disk, the one way the window and the batch tool
// both read one.  A job is a few hundred bytes: only a regular file is read
// (or, for the batch tool, "-": standard input), and never more than
// kJobFileByteLimit of it, so that no file the surveyor points at (a folder,
// /dev/zero, a FIFO nobody writes to, a huge file) can hang the program or
// fill its memory.

#include <cstddef>
#include <string>
#include <vector>

namespace korvanet {

// The most a job file may hold; a larger one is refused unread.
inline constexpr std::size_t kJobFileByteLimit = 64 * 1024;

// An instrument file holds a day's work, not one figure: larger than a job,
// still bounded.
inline constexpr std::size_t kInstrumentFileByteLimit = 4 * 1024 * 1024;

// What a surveyor reads as the job's name: the path as given, "标准输入" for "-".
std::string JobFileName(const std::string& path);

// The bytes of the job file at `path` ("-": standard input).  Anything but a
// regular file is refused before it is opened, so that a FIFO without a
// writer cannot block; a file over the limit is refused without reading the
// rest.  Throws an InputError naming the file and what is wrong with it.
std::string ReadJobFileBytes(const std::string& path);

// The bytes of a design file (compute/design_file.h), read as a job file is,
// within the same limit; the messages say 设计文件.
std::string ReadDesignFileBytes(const std::string& path);

// The bytes of a field book (compute/field_book_file.h), read in the same
// way and within the same limit; the messages say 外业手簿.
std::string ReadFieldBookFileBytes(const std::string& path);

// The bytes of an instrument's file (compute/instrument_import.h), read in
// the same way within kInstrumentFileByteLimit; the messages say 仪器数据文件.
std::string ReadInstrumentFileBytes(const std::string& path);

struct JobFile {
    std::vector<std::string> answers;
    std::string notice;  // a note on how it was read (GB18030), or empty
};

// The job at `path`, read as above and decoded (compute/job_text.h).  Throws
// an InputError naming the file when it cannot be read or decoded.
JobFile ReadJobFile(const std::string& path);

}  // namespace korvanet
