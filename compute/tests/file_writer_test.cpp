// SPDX-License-Identifier: GPL-3.0-or-later
// The one checked writer as a surveyor's saves meet it: a new file gets the
// user's umask, a file written over keeps its permissions, a symbolic link
// (relative, in a chain, from another folder, pointing at nothing yet) has
// the file it points to written and stays a link, a loop of links is told,
// no temporary file is left behind, and the process's umask is never touched.

#include "compute/file_writer.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "core/korvanet_error.h"

namespace {
int umaskCalls = 0;
}  // namespace

// Every umask() of the program comes here while this test runs: a writer
// that set the umask, even for a moment, changes it for every thread.
extern "C" mode_t umask(mode_t mask) noexcept {
    ++umaskCalls;
    return static_cast<mode_t>(::syscall(SYS_umask, mask));
}

namespace korvanet {
namespace {

std::string Slurp(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

mode_t ModeOf(const std::string& path) {
    struct stat s {};
    return ::stat(path.c_str(), &s) == 0 ? s.st_mode & 07777 : 0;
}

bool IsLink(const std::string& path) {
    struct stat s {};
    return ::lstat(path.c_str(), &s) == 0 && S_ISLNK(s.st_mode);
}

TEST(FileWriter, WritesThroughLinksKeepsPermissionsAndNeverTouchesTheUmask) {
    std::string pattern = ::testing::TempDir() + "/writer-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const std::string dir = pattern;
    ASSERT_EQ(::mkdir((dir + "/sub").c_str(), 0755), 0);
    const mode_t before = static_cast<mode_t>(::syscall(SYS_umask, 027));
    umaskCalls = 0;

    WriteFileWhole(dir + "/job.txt", "1\n");
    EXPECT_EQ(ModeOf(dir + "/job.txt"), 0640u) << "a new file: 0666 less the umask";
    ASSERT_EQ(::chmod((dir + "/job.txt").c_str(), 0604), 0);
    WriteFileWhole(dir + "/job.txt", "2\n");
    EXPECT_EQ(ModeOf(dir + "/job.txt"), 0604u) << "a file written over keeps its permissions";

    ASSERT_EQ(::symlink("job.txt", (dir + "/link").c_str()), 0);
    ASSERT_EQ(::symlink("link", (dir + "/chain").c_str()), 0);
    ASSERT_EQ(::symlink("../job.txt", (dir + "/sub/up").c_str()), 0);
    ASSERT_EQ(::symlink("made.txt", (dir + "/dangling").c_str()), 0);
    WriteFileWhole(dir + "/chain", "3\n");
    EXPECT_EQ(Slurp(dir + "/job.txt"), "3\n");
    WriteFileWhole(dir + "/sub/up", "4\n");
    EXPECT_EQ(Slurp(dir + "/job.txt"), "4\n");
    EXPECT_EQ(ModeOf(dir + "/job.txt"), 0604u);
    WriteFileWhole(dir + "/dangling", "5\n");
    EXPECT_EQ(Slurp(dir + "/made.txt"), "5\n");
    for (const char* link : {"/link", "/chain", "/sub/up", "/dangling"})
        EXPECT_TRUE(IsLink(dir + link)) << link;

    ASSERT_EQ(::symlink("loop-b", (dir + "/loop-a").c_str()), 0);
    ASSERT_EQ(::symlink("loop-a", (dir + "/loop-b").c_str()), 0);
    try {
        WriteFileWhole(dir + "/loop-a", "6\n");
        ADD_FAILURE() << "a loop of links was written";
    } catch (const KorvanetError& e) {
        EXPECT_STREQ(e.what(), "符号链接循环");
    }
    EXPECT_EQ(umaskCalls, 0);
    ::syscall(SYS_umask, before);

    std::set<std::string> left;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d)) left.insert(e->d_name);
        ::closedir(d);
    }
    EXPECT_EQ(left, (std::set<std::string>{".", "..", "sub", "job.txt", "link", "chain", "dangling",
                                           "made.txt", "loop-a", "loop-b"}))
        << "no temporary file stays";
}

}  // namespace
}  // namespace korvanet
