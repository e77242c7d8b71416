// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starts a program of the build as a test runs it: the program itself, with
// its arguments as they are (no shell between, so a blank, a quote or a
// semicolon in a path or a name stays part of it), its standard input read
// from a file and its output written to files.  Nothing is read while it
// runs, so no pipe can fill and block it; a program that hangs is stopped by
// CTest's timeout.

#include <string>
#include <vector>

namespace korvanet {

struct ToolFiles {
    std::string in = "/dev/null";
    std::string out;  // a file, or a device such as /dev/full
    std::string err;
};

struct ToolRun {
    // The exit status; 128 + the signal for a program killed by one; -1 when
    // it could not be started (`err` then says why).
    int exitCode = -1;
    std::string out;  // what it wrote, when `out` is a regular file
    std::string err;
};

// Runs argv[0] (a path, or a name looked up in PATH as a shell would) with
// argv[1...], and waits for it.
ToolRun RunTool(const std::vector<std::string>& argv, const ToolFiles& files);

// The whole of a file, bytes as they are; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace korvanet
