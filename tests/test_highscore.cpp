// The best-score file: what is read from it, and how it is rewritten.
#include <gtest/gtest.h>
#include <limits.h>
#include <unistd.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <signal.h>
#include "tests/support.h"
#include "game/world.h"
#include "game/highscore.h"

class HighScoreFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(getcwd(oldDir, sizeof oldDir), nullptr);
        dir = makeTempDir();
        ASSERT_EQ(chdir(dir.c_str()), 0);
        highScore = 0;
        score = 0;
    }
    void TearDown() override
    {
        closeHighScore();
        ASSERT_EQ(chdir(oldDir), 0);
    }
    int readFrom(const std::string &content)
    {
        writeString("high1", content);
        highScore = 0;
        readHighScore();
        closeHighScore();
        return highScore;
    }
    char oldDir[4096];
    std::string dir;
};

TEST_F(HighScoreFile, ReadsWhatAPlayerOrThisGameMayHaveLeft)
{
    readHighScore();  // no file: 0, and none is created
    EXPECT_EQ(highScore, 0);
    EXPECT_NE(access("high1", F_OK), 0);

    const struct { const char *text; int value; } cases[] = {
        {"  42\n", 42}, {"\t\r\n+7", 7}, {"12abc", 12}, {"-5", -5}, {"abc", 0},
        {"-", 0}, {"", 0}, {"0012", 12}, {"2147483647", INT_MAX},
        // numbers beyond 32 bits are clamped, not wrapped
        {"2147483648", INT_MAX}, {"99999999999999999999999", INT_MAX},
        {"-99999999999999999999", INT_MIN},
    };
    for (const auto &c : cases)
        EXPECT_EQ(readFrom(c.text), c.value) << "'" << c.text << "'";
}

TEST_F(HighScoreFile, RewritesWithBareDigitsModeBitsAndNoLeftovers)
{
    writeString("high1", "999999 with a tail that must go\n");
    readHighScore();  // the input stream is still open during the rewrite
    umask(0);
    score = -2147483647 - 1;
    writeHighScore();
    umask(022);
    EXPECT_EQ(readString("high1"), "-2147483648");
    struct stat st;
    ASSERT_EQ(stat("high1", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0664u);
    EXPECT_NE(access("high1.tmp", F_OK), 0);
    score = 0;
    writeHighScore();
    EXPECT_EQ(readString("high1"), "0");
}

TEST_F(HighScoreFile, AWriteThatRunsOutOfSpaceKeepsTheStoredBest)
{
    writeString("high1", "500\n");
    // A file-size limit of 3 bytes stands in for a disk that fills up
    // after the first few bytes of the new score.
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit old, tiny = {3, 3};
    getrlimit(RLIMIT_FSIZE, &old);
    tiny.rlim_max = old.rlim_max;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    score = 123456;
    writeHighScore();
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_EQ(readString("high1"), "500\n");
    EXPECT_NE(access("high1.tmp", F_OK), 0);

    // With room again the same score is stored whole.
    writeHighScore();
    EXPECT_EQ(readString("high1"), "123456");
}
