// The tuning file: its 112 bytes, every refusal of a file that is not one,
// and a save that fails without destroying the file it was to replace.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "core/files/tuning_file.h"
#include "model/shipped_language.h"
#include "core/base/text_ids.h"

namespace vrm {
namespace {

struct TuningFileTest : ::testing::Test {
    TuningFileTest() {
        std::string t = (std::filesystem::temp_directory_path() / "vrm-tun-XXXXXX").string();
        dir = ::mkdtemp(t.data());
    }
    ~TuningFileTest() override { std::filesystem::remove_all(dir); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    void Put(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream(Path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                          static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<std::uint8_t> Get(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static TuningFile Filled() {
        TuningFile f;
        TuningValues v{};
        for (std::size_t i = 0; i < v.size(); ++i) v[i] = static_cast<std::uint8_t>(i * 7 + 1);
        TuningText t{};
        t.fill(0xFF);
        t[0] = 'H';
        t[31] = 0x42;
        f.SetValues(v);
        f.SetText(t);
        return f;
    }
    std::filesystem::path dir;
};

TEST_F(TuningFileTest, WritesTheLayoutAndReadsItBack) {
    const TuningFile f = Filled();
    ASSERT_TRUE(f.Write(Path("a.tun")).Ok());
    const auto bytes = Get("a.tun");
    ASSERT_EQ(bytes.size(), kTuningFileSize);
    const std::vector<std::uint8_t> head(bytes.begin(), bytes.begin() + 15);
    EXPECT_EQ(head, (std::vector<std::uint8_t>{'V', 'R', 'M', '6', '5', '0', 'T', 0xFF, 0xFF, 0xFF, 'V', '1', '.', '1',
                                                '0'}));
    EXPECT_EQ(bytes[32], 'T');
    for (std::size_t i : {15u, 31u, 33u, 63u}) EXPECT_EQ(bytes[i], 0xFF) << i;
    EXPECT_EQ(bytes[64], 'H');
    EXPECT_EQ(bytes[95], 0x42);
    EXPECT_EQ(bytes[96], 1);
    EXPECT_EQ(bytes[111], 15 * 7 + 1);

    TuningFile g;
    TuningValues out{};
    EXPECT_EQ(g.GetValues(out), 1) << "nothing is held before a load";
    ASSERT_TRUE(g.Load(Path("a.tun")).Ok());
    EXPECT_EQ(g.GetValues(out), 0);
    TuningValues want{};
    ASSERT_EQ(f.GetValues(want), 0);
    EXPECT_EQ(out, want);
    EXPECT_EQ(g.Text(), f.Text());
}

TEST_F(TuningFileTest, RefusesWhatIsNotATuningFile) {
    const auto good = TuningFile::Build(TuningValues{}, TuningText{});
    const auto& en = test::EnglishTexts();

    // A data file: the kind marker 'D'.
    auto data = std::vector<std::uint8_t>(good.begin(), good.end());
    data[32] = 'D';
    data.resize(1089, 0xFF);
    Put("data.tun", data);
    TuningFile f = Filled();
    TuningFileResult r = f.Load(Path("data.tun"));
    EXPECT_EQ(r.code, kTuningFileWrongKind);
    EXPECT_EQ(TuningFileMessageId(r), tid::kMsgWrongKindOfFile);
    TuningValues kept{};
    ASSERT_EQ(f.GetValues(kept), 0);
    EXPECT_EQ(kept[0], 1) << "a refused file leaves the held values alone";

    // Another program of the family: named in the message.
    auto other = std::vector<std::uint8_t>(good.begin(), good.end());
    const char name[] = "VRM850T";
    std::copy(name, name + 7, other.begin());
    Put("other.tun", other);
    r = f.Load(Path("other.tun"));
    EXPECT_EQ(r.code, kTuningFileBadSignature);
    EXPECT_EQ(TuningFileMessageId(r), tid::kMsgOtherProgramFile);
    const std::string text = TuningFileMessage(en, r, "other.tun");
    EXPECT_NE(text.find("VRM850T"), std::string::npos) << text;
    EXPECT_NE(text.find("other.tun"), std::string::npos) << text;

    // Not of the family at all.
    Put("text.tun", std::vector<std::uint8_t>(112, 'x'));
    r = f.Load(Path("text.tun"));
    EXPECT_EQ(r.code, kTuningFileBadSignature);
    EXPECT_EQ(TuningFileMessageId(r), tid::kMsgNotADataFile);

    // Cut short after the header, and empty.
    Put("short.tun", std::vector<std::uint8_t>(good.begin(), good.begin() + 100));
    r = f.Load(Path("short.tun"));
    EXPECT_EQ(r.code, kTuningFileCannotOpen);
    EXPECT_TRUE(r.tooShort);
    EXPECT_EQ(TuningFileMessageId(r), tid::kMsgTuningFileShort);
    Put("empty.tun", {});
    EXPECT_EQ(f.Load(Path("empty.tun")).code, kTuningFileCannotOpen);

    // Missing: the system's reason is part of the message.
    r = f.Load(Path("missing.tun"));
    EXPECT_EQ(r.code, kTuningFileCannotOpen);
    EXPECT_EQ(r.systemError, ENOENT);
    EXPECT_NE(TuningFileMessage(en, r, "missing.tun").find("No such file"), std::string::npos);
}

TEST_F(TuningFileTest, AFailedSaveLeavesTheExistingFileWhole) {
    const TuningFile f = Filled();
    ASSERT_TRUE(f.Write(Path("keep.tun")).Ok());
    const auto before = Get("keep.tun");

    // Nothing held: nothing written.
    TuningFile empty;
    EXPECT_EQ(empty.Write(Path("keep.tun")).code, kTuningFileNoValues);
    EXPECT_EQ(Get("keep.tun"), before);

    // A folder that cannot take the temporary file: the old file stays.
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(dir.c_str(), 0555), 0);
        TuningFile g = Filled();
        TuningValues v{};
        g.SetValues(v);
        const TuningFileResult r = g.Write(Path("keep.tun"));
        ::chmod(dir.c_str(), 0755);
        EXPECT_FALSE(r.Ok());
        EXPECT_NE(r.systemError, 0);
        EXPECT_EQ(Get("keep.tun"), before);
    }
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++entries;
    EXPECT_EQ(entries, 1u) << "no temporary file is left behind";
}

TEST(TuningFileNames, ExtensionRules) {
    EXPECT_TRUE(TuningFile::HasTuningExtension("/a/b.tun"));
    EXPECT_TRUE(TuningFile::HasTuningExtension("b.TUN"));
    EXPECT_TRUE(TuningFile::HasTuningExtension("b.tuning"));
    EXPECT_FALSE(TuningFile::HasTuningExtension("b.dat"));
    EXPECT_FALSE(TuningFile::HasTuningExtension("a.tun/b"));
    EXPECT_EQ(TuningFile::WithTuningExtension("x"), "x.tun");
    EXPECT_EQ(TuningFile::WithTuningExtension("x."), "x.tun");
    EXPECT_EQ(TuningFile::WithTuningExtension("x.dat"), "x.dat.tun");
    EXPECT_EQ(TuningFile::WithTuningExtension("x.tun"), "x.tun");
}

}  // namespace
}  // namespace vrm
