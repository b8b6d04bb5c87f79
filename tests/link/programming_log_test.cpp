// The programming log's pair of rows: a write that never finished is found
// once, not while its program still holds the log, and is told with its
// file, radio, time and backup and the choice to open what exists.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>
#include <fstream>

#include "core/link/programming_log.h"
#include "model/shipped_language.h"
#include "text/scripted_prompter.h"
#include "core/base/text_ids.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

struct ProgrammingLog : ::testing::Test {
    ProgrammingLog() {
        std::string t = (fs::temp_directory_path() / "vrm-log-XXXXXX").string();
        dir = ::mkdtemp(t.data());
        path = (dir / "programming-log.csv").string();
    }
    ~ProgrammingLog() override { fs::remove_all(dir); }

    LogFields Write(const std::string& serial, const std::string& backup = "") const {
        return {"2026-12-08T13:45:01+01:00", serial, "HRV-41A:K", "V1.10.00", "/data/a, b.dat", "ab12", backup, ""};
    }
    static void Finish(const std::string& path, LogFields f, const std::string& result) {
        f.result = result;
        ASSERT_EQ(AppendLogRow(path, LogRow(f)), 0);
    }

    fs::path dir;
    std::string path;
};

TEST_F(ProgrammingLog, AStartedRowWithoutItsOutcomeIsFoundOnceAndThenCompleted) {
    {
        LogEntry done;
        ASSERT_EQ(done.Start(path, Write("0001")), 0);
        ASSERT_EQ(done.Finish("written and verified"), 0);
    }
    {
        LogEntry killed;  // its program dies: the entry is gone, the row stays
        ASSERT_EQ(killed.Start(path, Write("0002", "/b/0002.dat")), 0);
    }
    // A second write of the same radio in the same second pairs with its own row.
    LogEntry again;
    ASSERT_EQ(again.Start(path, Write("0001")), 0);
    ASSERT_EQ(again.Finish("stopped (signal TERM) before writing; nothing written"), 0);

    const std::vector<LogFields> found = TakeUnfinishedWrites(path);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].serial, "0002");
    EXPECT_EQ(found[0].dataFile, "/data/a, b.dat");  // quoted and read back
    EXPECT_EQ(ReadLog(path).back().result, kLogUnfinished);
    EXPECT_TRUE(TakeUnfinishedWrites(path).empty());
}

TEST_F(ProgrammingLog, AWriteThatStillRunsIsNotReported) {
    LogEntry running;
    ASSERT_EQ(running.Start(path, Write("0003")), 0);
    EXPECT_TRUE(TakeUnfinishedWrites(path).empty());
    EXPECT_EQ(ReadLog(path).back().result, kLogStarted);  // nothing was added meanwhile
    ASSERT_EQ(running.Finish("written and verified"), 0);
    EXPECT_TRUE(TakeUnfinishedWrites(path).empty());
    EXPECT_TRUE(TakeUnfinishedWrites((dir / "none.csv").string()).empty());
    EXPECT_FALSE(fs::exists(dir / "none.csv"));
}

TEST_F(ProgrammingLog, TheReportNamesTheWriteAndOffersWhatExists) {
    const std::string backup = (dir / "0004_20261208-134501.dat").string();
    const std::string file = (dir / "fleet.dat").string();
    std::ofstream(backup) << "b";
    std::ofstream(file) << "f";
    LogFields f = Write("0004", backup);
    f.dataFile = file + " (modified)";
    { LogEntry e; ASSERT_EQ(e.Start(path, f), 0); }
    f.serial = "0005";
    f.backupFile.clear();
    f.dataFile = (dir / "gone.dat").string();
    { LogEntry e; ASSERT_EQ(e.Start(path, f), 0); }

    test::ScriptedPrompter prompter;
    prompter.answers = {Answer::Yes, Answer::No};
    EXPECT_EQ(ReportUnfinishedWrites(path, prompter, test::EnglishTexts()), backup);
    ASSERT_EQ(prompter.asked.size(), 2u);
    const Message& first = prompter.asked[0];
    EXPECT_EQ(first.text, "The write of " + file + " (modified) to radio 0004 at 2026-12-08 13:45:01 did not finish; "
                          "the radio may hold a partly written configuration. Its backup is " + backup + ".");
    ASSERT_EQ(first.choices.size(), 3u);  // open the backup, open the file, close
    EXPECT_EQ(first.choices[1].first, Answer::No);
    EXPECT_EQ(first.defaultAnswer, Answer::Cancel);
    // Neither a backup nor the file: only Close; "No" opens nothing.
    const Message& second = prompter.asked[1];
    EXPECT_EQ(second.textId, static_cast<int>(tid::kUnfinishedWriteNoBackup));
    EXPECT_EQ(second.choices.size(), 1u);

    // Told once: the next start is quiet.
    prompter.asked.clear();
    EXPECT_EQ(ReportUnfinishedWrites(path, prompter, test::EnglishTexts()), "");
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(ProgrammingLog, RowsFromManyThreadsAtOnceAreAllKeptWholeUnderOneHeader) {
    // A station's cables start and finish their writes at the same moments;
    // the log is new, so every one of them may think it writes the header.
    constexpr int kThreads = 8, kRows = 1;
    for (int round = 0; round < 30; ++round) {
        fs::remove(path);
        std::atomic<int> ready{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                ++ready;
                while (ready < kThreads) std::this_thread::yield();
                for (int r = 0; r < kRows; ++r) {
                    LogEntry entry;
                    ASSERT_EQ(entry.Start(path, Write(std::to_string(t) + "-" + std::to_string(r))), 0);
                    ASSERT_EQ(entry.Finish("written and verified"), 0);
                }
            });
        }
        for (std::thread& th : threads) th.join();
        std::ifstream in(path);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_EQ(text.find(LogHeader()), 0u);
        ASSERT_EQ(text.rfind(LogHeader()), 0u) << "the header once, in round " << round;
        EXPECT_EQ(ReadLog(path).size(), static_cast<std::size_t>(2 * kThreads * kRows));
    }
}

}  // namespace
}  // namespace vrm
