// Files that are not plain files, links, owners and long names: what every
// reader and writer of the program's files gets from the one place that opens
// and replaces them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "core/base/language_table.h"
#include "core/base/safe_file.h"
#include "language_table_test_util.h"

namespace vrm {
namespace {

using test::LangFileBuilder;
using test::TempFolder;

const std::string kBytes = "new contents";

FileOutcome Replace(const std::string& path) {
    return ReplaceFile(path, reinterpret_cast<const std::uint8_t*>(kBytes.data()), kBytes.size());
}

std::string Contents(const std::string& path) {
    std::string data;
    EXPECT_TRUE(ReadRegularFile(path, 1 << 20, data).Ok()) << path;
    return data;
}

TEST(SafeFile, SpecialFilesAreNeitherWaitedOnNorReplaced) {
    TempFolder f;
    const std::string fifo = f.File("pipe.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A FIFO without a writer: refused at once instead of waiting for ever.
    std::string data;
    EXPECT_TRUE(ReadRegularFile(fifo, 100, data).notRegular);
    std::uint8_t buf[8];
    std::size_t got = 9;
    EXPECT_TRUE(ReadFilePrefix(fifo, buf, sizeof buf, got).notRegular);
    EXPECT_EQ(got, 0u);

    // Neither the FIFO nor a device reached through a link is replaced.
    EXPECT_TRUE(Replace(fifo).notRegular);
    const std::string toNull = f.File("null.dat");
    ASSERT_EQ(::symlink("/dev/null", toNull.c_str()), 0);
    EXPECT_TRUE(CheckReplaceable(toNull).notRegular);
    EXPECT_TRUE(Replace(toNull).notRegular);
    struct stat st {};
    ASSERT_EQ(::stat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    ASSERT_EQ(::lstat(toNull.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(Replace(f.Path()).systemError, EISDIR);
}

TEST(SafeFile, LinksAreWrittenThroughAndADanglingOneCountsAsExisting) {
    TempFolder f;
    // A relative link whose target does not exist yet.
    const std::string link = f.File("radio.dat");
    ASSERT_EQ(::symlink("kept/real.dat", link.c_str()), 0);
    ASSERT_EQ(::mkdir(f.File("kept").c_str(), 0700), 0);
    EXPECT_TRUE(NameExists(link));
    EXPECT_EQ(WriteTarget(link), f.File("kept/real.dat"));
    ASSERT_TRUE(Replace(link).Ok());
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(Contents(f.File("kept/real.dat")), kBytes);

    // A loop of links is no target: the write fails instead of spinning.
    const std::string a = f.File("a"), b = f.File("b");
    ASSERT_EQ(::symlink(b.c_str(), a.c_str()), 0);
    ASSERT_EQ(::symlink(a.c_str(), b.c_str()), 0);
    EXPECT_FALSE(Replace(a).Ok());
}

TEST(SafeFile, AReplacedFileKeepsItsModeAndOwner) {
    TempFolder f;
    const std::string path = f.Write("mode.dat", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    uid_t owner = ::geteuid();
    gid_t group = ::getegid();
    if (::geteuid() == 0) {
        // Root replacing another user's file: the file stays that user's.
        owner = 4321;
        group = 4321;
        ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
    }
    const FileOutcome o = Replace(path);
    ASSERT_TRUE(o.Ok());
    EXPECT_TRUE(o.ownerKept);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_uid, owner);
    EXPECT_EQ(st.st_gid, group);
    EXPECT_EQ(Contents(path), kBytes);
}

TEST(SafeFile, ANameThatFitsCanBeSavedHoweverLong) {
    TempFolder f;
    for (std::size_t length : {std::size_t{230}, std::size_t{NAME_MAX}}) {
        const std::string path = f.File(std::string(length - 4, 'n') + ".dat");
        EXPECT_TRUE(Replace(path).Ok()) << length;
        EXPECT_TRUE(Replace(path).Ok()) << length;  // and replaced again
        EXPECT_EQ(Contents(path), kBytes);
    }
}

TEST(SafeFile, LanguageFilesBeyondAnyRealSizeAreRefusedQuickly) {
    TempFolder f;
    LanguageTable t;
    t.SetProgramFolder(f.Path());
    const std::string good = LangFileBuilder().Build();
    f.Write("good.lng", good);
    ASSERT_TRUE(t.Load("good.lng", false, nullptr));

    // One row of commas, a row too long, and a file too large.
    f.Write("commas.lng", good + "^#19100001," + std::string(3000, ',') + "\r\n");
    f.Write("long.lng", good + "^#19100001," + std::string(100000, 'x') + "\r\n");
    f.Write("large.lng", good + std::string(5 << 20, ' '));
    ASSERT_EQ(::mkfifo(f.File("pipe.lng").c_str(), 0600), 0);
    for (const char* name : {"commas.lng", "long.lng", "large.lng", "pipe.lng"}) {
        EXPECT_FALSE(t.Load(name, false, nullptr)) << name;
        std::string message;
        t.ErrorText(message);
        EXPECT_EQ(message, LanguageTable::kDamagedMessage) << name;
        EXPECT_EQ(t.LoadedPath(), f.File("good.lng"));  // the table in use stays
    }
    // The scan at start-up passes over all of them and finds the good one.
    EXPECT_EQ(t.ScanInstalledLanguages(f.Path()), 1);
    ASSERT_EQ(t.InstalledLanguages().size(), 1u);
    EXPECT_EQ(t.InstalledLanguages()[0].fileName, "good.lng");
}

}  // namespace
}  // namespace vrm
