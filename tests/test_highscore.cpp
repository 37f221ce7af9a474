// The best-score file: what is read from it, and how it is rewritten.
#include <gtest/gtest.h>
#include <limits.h>
#include <unistd.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <signal.h>
#include <sys/wait.h>
#include <filesystem>
#include <functional>
#include "tests/support.h"
#include <fcntl.h>
#include <sys/file.h>
#include "world/world.h"
#include "game/highscore.h"
#include "game/loop.h"
#include "game/startup.h"
#include "game/savefile.h"
#include "platform/signals.h"
#include <sys/syscall.h>
#include <sys/time.h>
#include <errno.h>

// A slow disk: while slowFsyncMs is set, every fsync of this test program
// takes that long. failTruncate makes ftruncate fail, as a crash between the
// write and the cut would leave the file.
static int slowFsyncMs;
static bool failTruncate;
extern "C" int fsync(int fd)
{
    if (slowFsyncMs > 0)
        usleep(slowFsyncMs * 1000);
    return (int)syscall(SYS_fsync, fd);
}
extern "C" int ftruncate(int fd, off_t length)
{
    if (failTruncate) {
        errno = EIO;
        return -1;
    }
    return (int)syscall(SYS_ftruncate, fd, length);
}

class HighScoreFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = makeTempDir();
        ASSERT_EQ(chdir(dir.c_str()), 0);
        highScore = 0;
        score = 0;
    }
    void TearDown() override
    {
        closeHighScore();
        ASSERT_EQ(chdir(oldDir.c_str()), 0);
    }
    int readFrom(const std::string &content)
    {
        writeString("high1", content);
        highScore = 0;
        readHighScore();
        closeHighScore();
        return highScore;
    }
    std::string oldDir = std::filesystem::current_path();
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

static mode_t modeOf(const char *path)
{
    struct stat st;
    return lstat(path, &st) == 0 ? st.st_mode : 0;
}

TEST_F(HighScoreFile, RewritesWithBareDigitsModeBitsAndNoLeftovers)
{
    // A new file gets 0664 before the creation mask.
    umask(0);
    score = 12;
    writeHighScore();
    umask(022);
    EXPECT_EQ(modeOf("high1") & 07777, 0664u);

    // An existing one keeps its own bits, whatever the mask.
    writeString("high1", " no number, and a tail that must go\n");
    chmod("high1", 0604);
    readHighScore();  // the input stream is still open during the rewrite
    umask(077);
    score = -2147483647 - 1;
    writeHighScore();
    umask(022);
    EXPECT_EQ(readString("high1"), "-2147483648");
    EXPECT_EQ(modeOf("high1") & 07777, 0604u);
    EXPECT_NE(access("high1.tmp", F_OK), 0);
    score = 0;
    writeHighScore();
    EXPECT_EQ(readString("high1"), "0");
}

// What writeHighScore said on standard error (standard output stays
// empty), and whether it saved.
static std::string saveSaying(bool *saved)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    *saved = writeHighScore();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    return err;
}

TEST_F(HighScoreFile, ReadOnlyFoldersLinksAndPlantedNamesStillGetTheBest)
{
    // A folder the player cannot write, holding a "high1" they can: the
    // score is written in place and the file keeps its bits. A higher best
    // another game stored meanwhile is not written over.
    writeString("high1", "100\n");
    chmod("high1", 0666);
    chmod(".", 0555);
    int status = inChild([] {
        readHighScore();
        score = highScore + 150;
        if (!writeHighScore() || readString("high1") != "250")
            return 1;
        writeString("high1", "30200");
        score = 400;
        return writeHighScore() ? 0 : 2;
    }, "", true);
    chmod(".", 0700);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readString("high1"), "30200");
    EXPECT_EQ(modeOf("high1") & 07777, 0666u);
    EXPECT_NE(access("high1.tmp", F_OK), 0);

    // A link: the file it points to is rewritten with its bits, the link stays.
    ASSERT_EQ(mkdir("real", 0700), 0);
    writeString("real/best", "7");
    chmod("real/best", 0640);
    unlink("high1");
    ASSERT_EQ(symlink("real/best", "high1"), 0);
    readHighScore();
    EXPECT_EQ(highScore, 7);
    score = 300;
    bool saved = false;
    EXPECT_EQ(saveSaying(&saved), "");
    EXPECT_TRUE(saved);
    EXPECT_TRUE(S_ISLNK(modeOf("high1")));
    EXPECT_EQ(readString("real/best"), "300");
    EXPECT_EQ(modeOf("real/best") & 07777, 0640u);
    closeHighScore();

    // A planted link by this game's temporary name, or by the plain one, is
    // neither followed nor removed. Temporary files of games that died while
    // saving (an old "high1.tmp", one of a process that is gone) are cleared
    // away; a fresh one of a game still running is not.
    unlink("high1");
    writeString("victim", "keep");
    std::string mine = "high1.tmp." + std::to_string(getpid());
    for (const std::string &name : { mine, std::string("high1.tmp") })
        ASSERT_EQ(symlink("victim", name.c_str()), 0);
    score = 400;
    EXPECT_TRUE(writeHighScore());
    EXPECT_EQ(readString("high1"), "400");
    EXPECT_EQ(readString("victim"), "keep");
    EXPECT_TRUE(S_ISLNK(modeOf(mine.c_str())) && S_ISLNK(modeOf("high1.tmp")));
    unlink(mine.c_str());
    unlink("high1.tmp");
    pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    std::string dead = "high1.tmp." + std::to_string(gone);
    std::string running = "high1.tmp." + std::to_string(getppid());
    for (const std::string &name : { std::string("high1.tmp"), dead, running })
        writeString(name, "junk");
    struct timeval old[2] = { { time(nullptr) - 120, 0 }, { time(nullptr) - 120, 0 } };
    utimes("high1.tmp", old);
    score = 500;
    EXPECT_TRUE(writeHighScore());
    EXPECT_EQ(readString("high1"), "500");
    EXPECT_NE(access("high1.tmp", F_OK), 0);
    EXPECT_NE(access(dead.c_str(), F_OK), 0);
    EXPECT_EQ(readString(running), "junk");
}

TEST_F(HighScoreFile, AFailedSaveIsSaidAndNeverCostsTheStoredBest)
{
    bool saved = true;
    // A directory in the file's place.
    ASSERT_EQ(mkdir("high1", 0700), 0);
    readHighScore();
    score = 10;
    EXPECT_EQ(saveSaying(&saved), "driftwing: could not save the best score to high1: Is a directory\n");
    EXPECT_FALSE(saved);
    EXPECT_NE(access("high1.tmp", F_OK), 0);
    rmdir("high1");

    // A FIFO is neither read (start-up does not wait for a writer) nor written.
    ASSERT_EQ(mkfifo("high1", 0600), 0);
    readHighScore();
    EXPECT_EQ(highScore, 0);
    EXPECT_EQ(saveSaying(&saved), "driftwing: could not save the best score to high1: not a regular file\n");
    EXPECT_TRUE(S_ISFIFO(modeOf("high1")));
    unlink("high1");

    // A file that is there but cannot be read may hold a better score: it
    // is left alone. A link loop here; mode 000 as a player is played
    // through by the broken-data run.
    ASSERT_EQ(symlink("high1", "high1"), 0);
    readHighScore();
    EXPECT_EQ(saveSaying(&saved),
              "driftwing: not saving the best score to high1: it could not be read "
              "(Too many levels of symbolic links)\n");
    EXPECT_TRUE(S_ISLNK(modeOf("high1")));
    unlink("high1");

    // A disk that fills up, as a file-size limit, after the first few bytes
    // of the new score, with SIGXFSZ ignored as the game does for the whole
    // run. The save fails, the file is unchanged (rewritten in place, those
    // bytes would already have gone over the old score) and no temporary
    // file is left, in a writable folder and a read-only one.
    for (mode_t folder : { 0777, 0555 }) {
        writeString("high1", "42\n");
        chmod("high1", 0666);
        chmod(".", folder);
        int status = inChild([&] {
            ignoreFileSizeSignal();
            struct rlimit tiny = { 3, 3 };
            setrlimit(RLIMIT_FSIZE, &tiny);
            readHighScore();
            score = 123456;
            return writeHighScore() ? 1 : 0;
        }, "", true);
        chmod(".", 0700);
        EXPECT_EQ(status, 0) << std::oct << folder;
        EXPECT_EQ(readString("high1"), "42\n");
        EXPECT_EQ(runCommand("ls | grep -c tmp", &status), "0\n");
    }

    // A best the player locked (no write bit) is left as it is, said once.
    chmod("high1", 0444);
    readHighScore();
    EXPECT_EQ(saveSaying(&saved), "driftwing: not saving the best score to high1: the file is read-only\n");
    EXPECT_FALSE(saved);
    EXPECT_EQ(saveSaying(&saved), "");
    EXPECT_EQ(readString("high1"), "42\n");
    EXPECT_EQ(modeOf("high1") & 07777, 0444u);

    // Rewritten in place over a longer text, a write that is not cut to
    // length (a crash between the two) still reads as the new score.
    writeString("high1", "-99999");
    failTruncate = true;
    EXPECT_EQ(writeInPlace("high1", "5", 1), EIO);
    failTruncate = false;
    EXPECT_EQ(readFrom(readString("high1")), 5);
}

// One pass that flies the ship into the lower edge with its last life.
static void crashLastLife()
{
    lives = 0;
    gameOver = paused = godMode = 0;
    player.setPos(100.0f, 409.0f);
    PassInput in = {};
    in.ticks = lastTicks + 10;
    in.held = heldDown;
    runPass(in);
}

TEST_F(HighScoreFile, AGameThatEndsAboveTheBestSetsItAndSavesItAtOnce)
{
    ignoreFileSizeSignal();
    screen = openTestVideo();
    writeString("high1", "100");
    readHighScore();
    ASSERT_EQ(highScore, 100);
    bestScoreKept = 1;

    // 28,400 at game over: the best at once, on the HUD and in the file.
    score = 28400;
    crashLastLife();
    ASSERT_EQ(gameOver, 1);
    EXPECT_EQ(highScore, 28400);
    EXPECT_EQ(readString("high1"), "28400");

    // ENTER (its restart): a new game that has 28,400 to beat. At exit nothing is
    // written: the file holds the run's best already (the tail shows it is
    // not rewritten).
    restartGame();
    EXPECT_EQ(highScore, 28400);
    writeString("high1", "28400 as saved");
    saveRunBest();
    EXPECT_EQ(readString("high1"), "28400 as saved");

    // A second game that ends lower changes nothing; one that is still
    // above the best at exit is saved then.
    score = 500;
    crashLastLife();
    EXPECT_EQ(highScore, 28400);
    EXPECT_EQ(readString("high1"), "28400 as saved");
    restartGame();
    score = 30000;
    saveRunBest();
    EXPECT_EQ(readString("high1"), "30000");

    // A save that fails at game over (a full disk, as a file-size limit of
    // 0) is tried again at exit.
    writeString("high1", "100");
    readHighScore();
    struct rlimit old, none = {0, 0};
    getrlimit(RLIMIT_FSIZE, &old);
    none.rlim_max = old.rlim_max;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
    score = 900;
    crashLastLife();
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(highScore, 900);
    EXPECT_EQ(readString("high1"), "100");
    saveRunBest();
    EXPECT_EQ(readString("high1"), "900");
}

TEST_F(HighScoreFile, TwoGamesNeverPutALowerBestOverAHigherOne)
{
    // B starts with 100 stored; A stores 30,200; B quits with 3,400.
    writeString("high1", "100");
    readHighScore();
    writeString("high1", "30200");
    score = 3400;
    bool saved = false;
    EXPECT_EQ(saveSaying(&saved), "");
    EXPECT_TRUE(saved);
    EXPECT_EQ(readString("high1"), "30200");

    // On a slow disk a save outlasts the wait for the lock and the next
    // goes on without it: no save takes away another's temporary file, each
    // succeeds, and the highest is what is left.
    writeString("high1", "100");
    slowFsyncMs = 400;
    std::vector<pid_t> pids;
    for (int value : { 500, 300, 450, 200 }) {
        pid_t pid = fork();
        if (pid == 0) {
            readHighScore();
            score = value;
            _exit(writeHighScore() ? 0 : 1);
        }
        pids.push_back(pid);
        usleep(60 * 1000);
    }
    for (pid_t pid : pids) {
        int st = 0;
        waitpid(pid, &st, 0);
        EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    }
    slowFsyncMs = 0;
    EXPECT_EQ(readString("high1"), "500");
    int status = 0;
    EXPECT_EQ(runCommand("ls | grep -c tmp", &status), "0\n");

    // A save waits for another game's save to finish: the other game marks
    // the moment before it lets go, and the save must end after it...
    pid_t holder = fork();
    if (holder == 0) {
        int fd = open("high1.lock", O_RDONLY | O_CREAT, 0664);
        if (fd < 0 || flock(fd, LOCK_EX) != 0)
            _exit(1);
        writeString("locked", "");
        usleep(30 * 1000);
        writeString("letting go", "");
        _exit(0);       // the lock goes with the process
    }
    ASSERT_TRUE(waitFor([] { return access("locked", F_OK) == 0; }, 30));
    score = 40000;
    EXPECT_TRUE(writeHighScore());
    EXPECT_EQ(access("letting go", F_OK), 0) << "the save did not wait for the lock";
    EXPECT_EQ(readString("high1"), "40000");
    waitpid(holder, nullptr, 0);

    // ...but a lock that is never let go holds play up for a moment only
    // (a quarter of a second; a busy machine gets room beyond that).
    int held = open("high1.lock", O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    score = 50000;
    double start = monotonicNow();
    EXPECT_TRUE(writeHighScore());
    EXPECT_LT(monotonicNow() - start, 3.0);
    close(held);
    EXPECT_EQ(readString("high1"), "50000");

    // A lock file that is a link: every game locks the same place instead,
    // whatever a save renames meanwhile.
    unlink("high1.lock");
    ASSERT_EQ(symlink("elsewhere", "high1.lock"), 0);
    int first = lockSave("high1");
    ASSERT_GE(first, 0);
    writeString("other", "1");
    ASSERT_EQ(rename("other", "high1"), 0);
    pid_t second = fork();
    if (second == 0)
        _exit(lockSave("high1") < 0 ? 0 : 1);
    waitpid(second, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "two games held the lock at once";
    unlockSave(first);
}
