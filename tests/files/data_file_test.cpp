#include "core/files/data_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "core/base/prompter.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "model/shipped_language.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Answers the password prompt from a list of entries (then cancels) and
// records every message it was shown.
class ScriptedPrompter : public Prompter {
public:
    std::vector<std::string> entries;
    std::vector<Message> shown;
    int passwordPrompts = 0;

    Answer Ask(const Message& m) override {
        shown.push_back(m);
        return Answer::Ok;
    }
    PasswordResult AskPassword(PasswordGate& gate) override {
        ++passwordPrompts;
        for (const std::string& entry : entries) {
            switch (gate.Submit(entry)) {
                case PasswordGate::Verdict::Accepted: return PasswordResult::Accepted;
                case PasswordGate::Verdict::Refused: return PasswordResult::Refused;
                case PasswordGate::Verdict::TryAgain: Ask(gate.WrongEntryMessage()); break;
            }
        }
        return PasswordResult::Cancelled;
    }
};

class DataFileTest : public ::testing::Test {
protected:
    RadioImage image;
    ModelCatalogue catalogue{image};
    DataFile file{image, catalogue};
    VirtualClock clock{{12, 34}};
    ScriptedPrompter prompter;
    fs::path dir;

    void SetUp() override {
        char tmpl[] = "/tmp/vrm-datafile-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
        catalogue.ResetIdentity();
        image.InitialiseDefaults(catalogue, false);
        image.TakeSnapshot();
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Path(const std::string& name) const { return (dir / name).string(); }

    static Bytes Load(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    static void Store(const std::string& path, const Bytes& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    DataFileResult Read(const std::string& path) { return file.Read(path, prompter, test::EnglishTexts()); }

    // A valid file of the current image, as bytes.
    Bytes ValidFile(const DataFileSecurity& security = {}) {
        const std::string path = Path("valid.dat");
        EXPECT_EQ(file.Write(path, security, clock).code, 0);
        return Load(path);
    }

    // Reads `bytes` as a file and checks that a refusal changed no image.
    DataFileResult ReadBytes(const Bytes& bytes) {
        const std::string path = Path("probe.dat");
        Store(path, bytes);
        image.Transfer().fill(0x77);
        const ImageBuffer live = image.Live();
        const ImageBuffer saved = image.Saved();
        const DataFileResult r = Read(path);
        EXPECT_EQ(image.Live(), live);
        EXPECT_EQ(image.Saved(), saved);
        if (!r.Ok()) {
            for (std::size_t i = 0; i < kImageSize; ++i)
                if (image.Transfer()[i] != 0x77) {
                    ADD_FAILURE() << "transfer image byte " << i << " changed by a refused file";
                    break;
                }
        }
        return r;
    }

    void RandomImage(std::mt19937& rng) {
        for (auto& b : image.Live()) b = static_cast<std::uint8_t>(rng());
        const int models[] = {1, 2, 3, 4};
        const std::uint16_t bands[] = {0x0100, 0x0100, 0x0105, 0x0106};
        const int i = static_cast<int>(rng() % 4);
        catalogue.SetModel(models[i]);
        catalogue.SetBandWord(bands[i]);
    }
};

TEST_F(DataFileTest, HeaderAndBodyLayout) {
    clock.SetLocalTime({0, 0});  // key 1
    const Bytes bytes = ValidFile();
    ASSERT_EQ(bytes.size(), 1089u);
    const Bytes header(bytes.begin(), bytes.begin() + 64);
    Bytes expected(64, 0xFF);
    const char* sig = "VRM650T";
    std::copy(sig, sig + 7, expected.begin());
    const char* version = "V1.10";
    std::copy(version, version + 5, expected.begin() + 10);
    const ModelIdentity id = image.Identity();
    std::copy(id.begin(), id.end(), expected.begin() + 16);
    expected[32] = 'D';
    EXPECT_EQ(header, expected);
    EXPECT_EQ(bytes[114], 1);
    for (std::size_t i = 0; i < 50; ++i) ASSERT_EQ(bytes[64 + i], image.Live()[i] ^ 1) << i;
    for (std::size_t i = 50; i < 1024; ++i) ASSERT_EQ(bytes[65 + i], image.Live()[i] ^ 1) << i;
    // The writer leaves its scrambled copy in the transfer image.
    for (std::size_t i = 0; i < 1024; ++i) ASSERT_EQ(image.Transfer()[i], image.Live()[i] ^ 1) << i;
}

TEST_F(DataFileTest, PasswordScrambling) {
    EXPECT_EQ(DataFile::ScramblePassword("123456"),
              (std::array<std::uint8_t, 6>{0x07, 0x61, 0x3F, 0x62, 0x02, 0x5B}));
    EXPECT_EQ(DataFile::ScramblePassword("12"),
              (std::array<std::uint8_t, 6>{0x07, 0x61, 0xB2, 0xC9, 0xCA, 0xCF}));
    for (const char* pw : {"", "0", "09", "987654", "000000", "31"}) {
        const auto s = DataFile::ScramblePassword(pw);
        EXPECT_EQ(DataFile::UnscramblePassword(s.data()), pw);
    }
}

TEST_F(DataFileTest, RandomImagesRoundTripWithAndWithoutPassword) {
    std::mt19937 rng(20261208);
    const std::string path = Path("round.dat");
    for (int round = 0; round < 300; ++round) {
        RandomImage(rng);
        clock.SetLocalTime({static_cast<int>(rng() % 60), static_cast<int>(rng() % 61)});
        DataFileSecurity security;
        security.dataFile = round % 2 == 1;
        security.password = std::to_string(rng() % 1000000);
        ASSERT_EQ(file.Write(path, security, clock).code, 0);
        const Bytes bytes = Load(path);
        ASSERT_EQ(bytes.size(), 1089u);
        ASSERT_NE(bytes[114], 0) << "key byte 0 written";

        const ImageBuffer written = image.Live();
        prompter.entries = {security.password};
        image.Transfer().fill(0);
        const DataFileResult r = Read(path);
        ASSERT_EQ(r.code, 0) << "round " << round;
        ASSERT_EQ(image.Transfer(), written) << "round " << round;
        EXPECT_EQ(image.Live(), written);  // Read never touches the live image
        EXPECT_EQ(prompter.passwordPrompts, (round + 1) / 2);
    }
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(DataFileTest, KeyIsMinutePlusSecondPlusOneAndNeverZero) {
    const std::string path = Path("key.dat");
    for (auto [m, s] : {std::pair{0, 0}, {59, 59}, {59, 60}, {30, 7}}) {
        clock.SetLocalTime({m, s});
        ASSERT_EQ(file.Write(path, {}, clock).code, 0);
        EXPECT_EQ(Load(path)[114], m + s + 1);
    }
    clock.SetLocalTime({200, 55});  // a clock out of its range still gives a key
    EXPECT_NE(DataFile::ImageKey(clock), 0);
}

TEST_F(DataFileTest, KeyByteZeroReadsPlainAndTwoWritesDiffer) {
    Bytes bytes = ValidFile();
    const std::uint8_t key = bytes[114];
    for (std::size_t i = 64; i < bytes.size(); ++i)
        if (i != 114) bytes[i] ^= key;
    bytes[114] = 0;
    for (std::size_t i = 0; i < 50; ++i) ASSERT_EQ(bytes[64 + i], image.Live()[i]);
    EXPECT_EQ(ReadBytes(bytes).code, 0);
    EXPECT_EQ(image.Transfer(), image.Live());

    clock.SetLocalTime({1, 1});
    const Bytes a = ValidFile();
    clock.SetLocalTime({1, 2});
    const Bytes b = ValidFile();
    EXPECT_NE(a, b);
    EXPECT_EQ(ReadBytes(a).code, 0);
    const ImageBuffer first = image.Transfer();
    EXPECT_EQ(ReadBytes(b).code, 0);
    EXPECT_EQ(image.Transfer(), first);
}

TEST_F(DataFileTest, PasswordAttemptsCancelAndRefusal) {
    DataFileSecurity security{"4711", true};
    const Bytes bytes = ValidFile(security);
    EXPECT_NE(bytes[33], 0xFF);

    prompter.entries = {"1", "2", "4711"};
    EXPECT_EQ(ReadBytes(bytes).code, 0);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].textId, 10007027);
    EXPECT_EQ(prompter.shown[0].text, test::EnglishTexts().TextString(10007027));

    prompter.shown.clear();
    prompter.entries = {"1", "2", "3", "4711"};
    const DataFileResult refused = ReadBytes(bytes);
    EXPECT_EQ(refused.code, 1);  // third wrong entry refuses
    EXPECT_EQ(refused.problem, DataFileProblem::PasswordRefused);
    EXPECT_EQ(prompter.shown.size(), 2u);

    prompter.shown.clear();
    prompter.entries = {};
    EXPECT_EQ(ReadBytes(bytes).code, 4);  // cancelled at the first prompt
    EXPECT_TRUE(prompter.shown.empty());

    // "Data File" off: no password written, none asked.
    security.dataFile = false;
    const int before = prompter.passwordPrompts;
    EXPECT_EQ(ReadBytes(ValidFile(security)).code, 0);
    EXPECT_EQ(prompter.passwordPrompts, before);
}

// A password holding letters of the digit-substitution table (the program's
// fixed default password does) is stored with those letters turned into
// digits; the file must still open with the password as the user knows it.
TEST_F(DataFileTest, APasswordWithTableLettersOpensWithThatPassword) {
    const Bytes bytes = ValidFile(DataFileSecurity{"TRVMPW", true});
    prompter.entries = {"TRVMPW"};
    EXPECT_EQ(ReadBytes(bytes).code, 0);
    EXPECT_TRUE(prompter.shown.empty());

    prompter.entries = {"TRVMPX", "trvmpw", "XXXXXX"};
    EXPECT_EQ(ReadBytes(bytes).code, 1);
}

TEST_F(DataFileTest, HeaderRefusals) {
    const Bytes good = ValidFile();

    EXPECT_EQ(Read(Path("missing.dat")).code, 1);
    EXPECT_EQ(Read(Path("missing.dat")).systemError, ENOENT);
    EXPECT_EQ(Read(dir.string()).code, 1);  // a folder

    Bytes other = good;
    const char* family = "VRM600T";
    std::copy(family, family + 7, other.begin());
    const DataFileResult sig = ReadBytes(other);
    EXPECT_EQ(sig.code, 2);
    EXPECT_EQ(sig.SignatureText(), "VRM600T");

    Bytes text(1089, 'a');
    const DataFileResult notData = ReadBytes(text);
    EXPECT_EQ(notData.code, 2);
    EXPECT_EQ(notData.SignatureText(), "aaaaaaaaaa");
    EXPECT_EQ(ReadBytes({}).code, 2);

    Bytes kind = good;
    kind[32] = 'T';
    EXPECT_EQ(ReadBytes(kind).code, 6);

    Bytes model0 = good;
    const std::uint8_t id0[16] = {'P', 'H', 'R', 'V', '-', '4', '1', 0xFF, 0xFF, 0xFF, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    std::copy(std::begin(id0), std::end(id0), model0.begin() + 16);
    EXPECT_EQ(ReadBytes(model0).code, 5);
    Bytes unknown = good;
    unknown[24] = 0xFA;
    EXPECT_EQ(ReadBytes(unknown).code, 5);

    // A header of an accepted model over a body of another name: the body's
    // identity becomes the document's model, and a save of it would not open.
    Bytes body = good;
    body[64 + 6] = static_cast<std::uint8_t>('6' ^ body[114]);  // "PHRV-46"
    prompter.entries = {};
    EXPECT_EQ(ReadBytes(body).code, 5);
    EXPECT_EQ(prompter.passwordPrompts, 0);
    Store(Path("body.dat"), body);
    EXPECT_EQ(DataFile::Preview(Path("body.dat")).code, 2);
}

TEST_F(DataFileTest, TruncatedAndOversizedFilesAreRefusedWhole) {
    const Bytes good = ValidFile({"12", true});
    for (std::size_t n = 0; n < good.size(); ++n) {
        const Bytes cut(good.begin(), good.begin() + static_cast<long>(n));
        prompter.entries = {"12"};
        const DataFileResult r = ReadBytes(cut);
        ASSERT_EQ(r.code, n == 0 ? 2 : 1) << "length " << n;
        if (n) {
            EXPECT_EQ(r.problem, DataFileProblem::TooShort);
        }
        EXPECT_EQ(r.length, n);
    }
    EXPECT_EQ(prompter.passwordPrompts, 0);  // refused before asking

    for (std::size_t extra : {1u, 7u, 5000u}) {
        Bytes longer = good;
        longer.resize(good.size() + extra, 0xFF);
        const DataFileResult r = ReadBytes(longer);
        EXPECT_EQ(r.code, 1) << extra;
        EXPECT_EQ(r.problem, DataFileProblem::TooLong);
        EXPECT_EQ(r.systemError, 0);
    }
}

TEST_F(DataFileTest, RandomAndBitFlippedFilesNeverReadPastTheirEnd) {
    std::mt19937 rng(7);
    const Bytes good = ValidFile({"31", true});
    for (std::size_t bit = 0; bit < good.size() * 8; bit += 3) {
        Bytes flipped = good;
        flipped[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
        prompter.entries = {"31"};
        const DataFileResult r = ReadBytes(flipped);
        const std::size_t at = bit / 8;
        if (at < 10) {
            EXPECT_EQ(r.code, 2) << bit;
        } else if (at >= 64) {
            // The body carries no check of its own but its model identity
            // (bytes 0-15, and the key that descrambles them).
            const bool identity = at < 64 + kIdentitySize || at == 114;
            if (identity && r.code == 5) continue;
            ASSERT_EQ(r.code, 0) << bit;
            if (at != 114) {
                const std::size_t img = at < 114 ? at - 64 : at - 65;
                for (std::size_t i = 0; i < kImageSize; ++i)
                    ASSERT_EQ(image.Transfer()[i] != image.Live()[i], i == img) << "bit " << bit << " byte " << i;
            }
        } else {
            EXPECT_TRUE(r.code == 0 || r.code == 1 || r.code == 4 || r.code == 5 || r.code == 6)
                << bit << " gave " << r.code;
        }
    }
    for (int round = 0; round < 200; ++round) {
        Bytes junk(rng() % 2200);
        for (auto& b : junk) b = static_cast<std::uint8_t>(rng());
        if (round % 2) std::copy(good.begin(), good.begin() + std::min<long>(64, static_cast<long>(junk.size())), junk.begin());
        prompter.entries = {"31"};
        const int code = ReadBytes(junk).code;
        EXPECT_TRUE(code >= 0 && code <= 6 && code != 3) << code;
        const DataFilePreview p = DataFile::Preview(Path("probe.dat"));
        EXPECT_TRUE(p.line1.size() <= 32 && p.line2.size() <= 32);
    }
}

TEST_F(DataFileTest, WriteReplacesTheFileOnlyWhenComplete) {
    const std::string path = Path("radio.dat");
    ASSERT_EQ(file.Write(path, {}, clock).code, 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const Bytes old = Load(path);

    // A write that fails half-way (the file-size limit stops it) keeps the old
    // file and leaves no temporary file behind.
    image.Live()[0x3B0] = 'X';
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 500;
    auto* previous = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const DataFileResult failed = file.Write(path, {}, clock);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previous);
    EXPECT_EQ(failed.code, 3);
    EXPECT_EQ(failed.systemError, EFBIG);
    EXPECT_EQ(Load(path), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    // A complete write replaces it and keeps its permissions.
    ASSERT_EQ(file.Write(path, {}, clock).code, 0);
    EXPECT_NE(Load(path), old);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(DataFileTest, WriteThroughALinkReplacesItsTarget) {
    fs::create_directory(dir / "store");
    const std::string real = Path("store/radio.dat");
    ASSERT_EQ(file.Write(real, {}, clock).code, 0);
    fs::create_symlink(real, dir / "link.dat");
    image.Live()[0x3B0] = 'L';
    ASSERT_EQ(file.Write(Path("link.dat"), {}, clock).code, 0);
    EXPECT_TRUE(fs::is_symlink(dir / "link.dat"));
    EXPECT_EQ(Read(real).code, 0);
    EXPECT_EQ(image.Transfer()[0x3B0], 'L');
}

TEST_F(DataFileTest, WriteThatCannotCreateTheFile) {
    const DataFileResult noFolder = file.Write(Path("no/such/folder/x.dat"), {}, clock);
    EXPECT_EQ(noFolder.code, 1);
    EXPECT_EQ(noFolder.systemError, ENOENT);
    fs::create_directory(dir / "taken.dat");
    const DataFileResult folder = file.Write(Path("taken.dat"), {}, clock);
    EXPECT_EQ(folder.code, 1);
    EXPECT_EQ(folder.systemError, EISDIR);
}

TEST_F(DataFileTest, ReadOnlyFileIsNotReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
    const std::string path = Path("ro.dat");
    ASSERT_EQ(file.Write(path, {}, clock).code, 0);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const DataFileResult r = file.Write(path, {}, clock);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.systemError, EACCES);
}

TEST_F(DataFileTest, PreviewShowsTheMessageLines) {
    const char line1[] = "HELLO WORLD";
    std::copy(line1, line1 + 11, image.Live().begin() + 0x3B0);
    std::fill_n(image.Live().begin() + 0x3D0, 32, 'Z');  // a full 32-byte line
    const std::string path = Path("msg.DAT");
    ASSERT_EQ(file.Write(path, {}, clock).code, 0);
    const DataFilePreview p = DataFile::Preview(path);
    EXPECT_EQ(p.code, 0);
    EXPECT_EQ(p.line1, "HELLO WORLD");
    EXPECT_EQ(p.line2, std::string(32, 'Z'));
    EXPECT_FALSE(p.protectedFile);
    // A protected file shows nothing of its data before its password.
    ASSERT_EQ(file.Write(Path("locked.dat"), {"1", true}, clock).code, 0);
    const DataFilePreview locked = DataFile::Preview(Path("locked.dat"));
    EXPECT_EQ(locked.code, 0);
    EXPECT_TRUE(locked.protectedFile);
    EXPECT_TRUE(locked.line1.empty() && locked.line2.empty());

    fs::copy_file(path, Path("msg.txt"));
    EXPECT_EQ(DataFile::Preview(Path("msg.txt")).code, 2);
    EXPECT_EQ(DataFile::Preview(Path("nothing.dat")).code, 1);
    Bytes bytes = Load(path);
    bytes.resize(600);
    Store(Path("short.dat"), bytes);
    EXPECT_EQ(DataFile::Preview(Path("short.dat")).code, 1);
    bytes = Load(path);
    bytes[32] = 'T';
    Store(Path("kind.dat"), bytes);
    EXPECT_EQ(DataFile::Preview(Path("kind.dat")).code, 2);
}

}  // namespace
}  // namespace vrm
