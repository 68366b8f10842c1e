#include "crashlog/capture/CLGLogInfo.h"
#include "crashlog/testing/Written.h"
#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using testing::written;

class CLGLogInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_running = (m_folder.path() / "session.clglog").string();
        m_crashed = (m_folder.path() / "abc.clglog").string();
        ASSERT_TRUE(core::writeFileAtomically(m_running, "left over").ok());
        m_log.runningLogPath = m_running.c_str();
        m_log.crashLogPath = m_crashed.c_str();
        CLGLogSetUp(m_log);
    }

    std::string keys() {
        const std::string all = written([&](CLGRecordWriter& w) { CLGWriteUserLogAndKeys(w, m_log); });
        return all.substr(all.find("{\"custom_attributes\""));
    }

    core::TemporaryFolder m_folder;
    std::string m_running;
    std::string m_crashed;
    CLGLogInfo m_log;
};

TEST_F(CLGLogInfoTest, TheSameKeyTwiceKeepsOnePairWithTheLaterValue) {
    CLGCustomKeyStore(m_log, "1", "level");
    CLGCustomKeyStore(m_log, "2", "level");
    CLGCustomKeyStore(m_log, "x", "topic \"a\"");
    CLGCustomKeyStore(m_log, nullptr, "ignored");
    CLGCustomKeyStore(m_log, "ignored", nullptr);
    EXPECT_EQ(keys(), "{\"custom_attributes\":{\"level\":\"2\",\"topic %22a%22\":\"x\"}}\n");
}

TEST_F(CLGLogInfoTest, ThePairsAfterTheSixtyFourthReplaceTheOldestInTurn) {
    for (int i = 1; i <= 66; ++i)
        CLGCustomKeyStore(m_log, std::to_string(i).c_str(), ("k" + std::to_string(i)).c_str());
    const std::string line = keys();
    EXPECT_TRUE(line.starts_with("{\"custom_attributes\":{\"k65\":\"65\",\"k66\":\"66\",\"k3\":\"3\",")) << line;
    EXPECT_EQ(m_log.pairCount.load(), 64u);
    // The 67th key goes where the third was.
    CLGCustomKeyStore(m_log, "67", "k67");
    EXPECT_TRUE(keys().starts_with("{\"custom_attributes\":{\"k65\":\"65\",\"k66\":\"66\",\"k67\":\"67\",\"k4\""));
}

TEST_F(CLGLogInfoTest, LongValuesAreCutAfterTheirLastWholeCharacter) {
    struct Case {
        std::string value;
        size_t kept;
    };
    const std::string plain2000(2000, 'a');
    // "%C3%A9" (an é) starting at byte 1021: its escapes end at byte 1026, past the limit.
    const std::string splitCharacter = std::string(1020, 'b') + "%C3%A9" + "tail";
    // "%20" starting at byte 1023 would be cut inside its escape.
    const std::string splitEscape = std::string(1022, 'c') + "%20" + "tail";
    const Case cases[] = {{plain2000, 1024}, {splitCharacter, 1020}, {splitEscape, 1022},
                          {std::string(1018, 'd') + "%C3%A9", 1024}};
    for (const Case& c : cases) {
        const std::string cut = CLGTruncateEscaped(c.value, CLGLogInfo::kValueLimit);
        EXPECT_EQ(cut, c.value.substr(0, c.kept));
    }
    CLGCustomKeyStore(m_log, plain2000.c_str(), "long");
    EXPECT_EQ(keys(), "{\"custom_attributes\":{\"long\":\"" + std::string(1024, 'a') + "\"}}\n");
}

TEST_F(CLGLogInfoTest, TheUserLineFillsUnsetFieldsAndTheLogMovesToItsCrashName) {
    EXPECT_TRUE(written([&](CLGRecordWriter& w) { CLGWriteUserLogAndKeys(w, m_log); })
                    .starts_with("{\"user\":{}}\n{\"log\":{\"last_offset\":0}}\n"));
    CLGCaptureContextSetString(m_log.userEmail, "me @example.org", true);
    ASSERT_TRUE(core::writeFileAtomically(m_running, "").ok());
    EXPECT_EQ(written([&](CLGRecordWriter& w) { CLGWriteUserLogAndKeys(w, m_log); }),
              "{\"user\":{\"name\":\"(null)\",\"id\":\"(null)\",\"email\":\"me%20%40example.org\"}}\n"
              "{\"log\":{\"last_offset\":0}}\n{\"custom_attributes\":{}}\n");
    EXPECT_FALSE(std::filesystem::exists(m_running));
    EXPECT_TRUE(std::filesystem::exists(m_crashed));
    CLGCaptureContextSetString(m_log.userName, std::nullopt, true);
    EXPECT_STREQ(m_log.userName.load(), "(null)");
}

TEST_F(CLGLogInfoTest, SetUpEmptiesTheRunningLog) {
    EXPECT_EQ(core::readFile(m_running).value(), "");
}

} // namespace
} // namespace zm
