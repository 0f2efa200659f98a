// The main window's bounds and folder through STATE.INI, with the whole
// program started and ended as main() does it.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <fcntl.h>
#include <functional>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "browser/frm_main.h"
#include "tests/support/app_fixture.h"
#include "toolkit/directory_list_box.h"
#include "toolkit/ini_file.h"

namespace {

class StateFileTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(startDir_.isValid());
        savedCurrent_ = QDir::currentPath();
        // The folder the program is started in.
        ASSERT_TRUE(QDir::setCurrent(startDir_.path()));
        StartFolder = QDir::currentPath();
    }

    void TearDown() override {
        AppFixture::TearDown();
        TIniFile::InterruptHook = nullptr;
        SetFolderWritable(true);
        QDir::setCurrent(savedCurrent_);
    }

    QString StatePath() const { return ProgramDir() + "STATE.INI"; }

    void WriteState(const QByteArray& contents) const {
        QFile file(StatePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
    }

    QByteArray ReadState() const {
        QFile file(StatePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    static QByteArray Saved(int top, int left, int height, int width, const QString& folder) {
        return QStringLiteral("[WINDOWS]\nTOP=%1\nLEFT=%2\nHEIGHT=%3\nWIDTH=%4\n[DIRECTORY]\nDIRECTORY=")
                   .arg(top)
                   .arg(left)
                   .arg(height)
                   .arg(width)
                   .toUtf8() +
               QFile::encodeName(folder) + "\n";
    }

    // As main() does after start-up.
    static void ShowMain() {
        frmMain->show();
        QCoreApplication::processEvents();
    }

    QRect Bounds() const { return {frmMain->Left(), frmMain->Top(), frmMain->Width(), frmMain->Height()}; }
    QString CurrentFolder() const { return frmMain->trvDir->CurrentFolder(); }

    // Makes the program folder refuse new files, also for root (immutable
    // flag); false when this machine cannot do either.
    bool SetFolderWritable(bool writable) {
        const QByteArray path = QFile::encodeName(programDir_.path());
        ::chmod(path.constData(), writable ? 0700 : 0500);
        const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY);
        if (fd >= 0) {
            int flags = 0;
            if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                const int wanted = writable ? (flags & ~FS_IMMUTABLE_FL) : (flags | FS_IMMUTABLE_FL);
                if (wanted != flags)
                    ::ioctl(fd, FS_IOC_SETFLAGS, &wanted);
            }
            ::close(fd);
        }
        const QByteArray probe = path + "/probe";
        const int probeFd = ::open(probe.constData(), O_CREAT | O_WRONLY, 0600);
        if (probeFd >= 0) {
            ::close(probeFd);
            ::unlink(probe.constData());
        }
        return writable == (probeFd >= 0);
    }

    QTemporaryDir startDir_;
    QString StartFolder;
    QString savedCurrent_;
};

TEST_F(StateFileTest, FirstStartOpensAtTopLeftWithMinimumSizeAndCreatesTheFile) {
    StartProgram();
    ShowMain();
    EXPECT_EQ(Bounds(), QRect(0, 0, 400, 300));
    EXPECT_EQ(CurrentFolder(), StartFolder);
    EXPECT_EQ(frmMain->txtPath->text(), StartFolder);
    EXPECT_EQ(ReadState(), "<missing>");  // nothing is written before the end
    StopProgram();
    EXPECT_EQ(ReadState(), Saved(0, 0, 300, 400, StartFolder));
}

TEST_F(StateFileTest, BoundsAreReadByTheIntegerRuleAndRaisedToTheMinimum) {
    const struct {
        QByteArray lines;
        QRect bounds;  // left, top, width, height
    } cases[] = {
        {"TOP=80\nLEFT=120\nHEIGHT=480\nWIDTH=640", {120, 80, 640, 480}},
        {"WIDTH=100\nHEIGHT=50", {0, 0, 400, 300}},
        {"TOP=abc\nLEFT=$40\nHEIGHT=\nWIDTH=0x1F4", {64, 0, 500, 300}},
        {"TOP=12px\nLEFT=0x40", {64, 0, 400, 300}},
        {"TOP=-$10\nLEFT=x40", {64, 0, 400, 300}},
        {"TOP=2147483648\nLEFT=X40\nHEIGHT=$FFFFFFFF", {64, 0, 400, 300}},
        {"top = 30\nleft=5000\nheight=+310\nwidth= 0X190", {5000, 30, 400, 310}},
    };
    for (const auto& c : cases) {
        WriteState("[Windows]\n" + c.lines + "\n");
        StartProgram();
        ShowMain();
        EXPECT_EQ(Bounds(), c.bounds) << c.lines.toStdString();
        StopProgram();
    }
}

// The window system may keep a shown window's title bar on the screen (the
// offscreen platform does), so where the window was put is read before it shows.
TEST_F(StateFileTest, PositionsOffTheScreenAreAppliedUnchanged) {
    const struct {
        QByteArray lines;
        QPoint position;
    } cases[] = {
        {"TOP=-8\nLEFT=-8", {-8, -8}},
        {"TOP=-2147483000\nLEFT=9000", {9000, -2147483000}},
        {"TOP=$FFFFFF00\nLEFT=-300", {-300, -256}},
    };
    for (const auto& c : cases) {
        WriteState("[WINDOWS]\n" + c.lines + "\n");
        StartProgram();
        EXPECT_EQ(frmMain->pos(), c.position) << c.lines.toStdString();
        StopProgram();
    }
}

TEST_F(StateFileTest, SavedFolderWithJapaneseNameRoundTrips) {
    const QString folder = startDir_.path() + QStringLiteral("/写真 2024/夏");
    ASSERT_TRUE(QDir().mkpath(folder));
    WriteState("[DIRECTORY]\nDIRECTORY=" + QFile::encodeName(folder) + "\n");
    StartProgram();
    ShowMain();
    EXPECT_EQ(CurrentFolder(), folder);
    EXPECT_EQ(frmMain->txtPath->text(), folder);
    StopProgram();
    // The section stays where it was, the window's follows it.
    EXPECT_TRUE(ReadState().startsWith("[DIRECTORY]\nDIRECTORY=" + QFile::encodeName(folder) + "\n[WINDOWS]\n"))
        << ReadState().toStdString();
}

TEST_F(StateFileTest, EmptyOrVanishedFolderKeepsTheStartFolder) {
    for (const QByteArray& value : {QByteArray(), QFile::encodeName(startDir_.path() + "/gone")}) {
        MessageBoxRecorder boxes;
        WriteState("[DIRECTORY]\nDIRECTORY=" + value + "\n");
        StartProgram();
        EXPECT_EQ(CurrentFolder(), StartFolder) << value.toStdString();
        EXPECT_EQ(frmMain->txtPath->text(), StartFolder);
        EXPECT_TRUE(boxes.texts.isEmpty());
        StopProgram();
        QDir::setCurrent(startDir_.path());
    }
}

TEST_F(StateFileTest, UnchangedRunWritesBackWhatItRead) {
    WriteState(Saved(20, 1300, 355, 777, StartFolder));
    StartProgram();
    ShowMain();
    StopProgram();
    EXPECT_EQ(ReadState(), Saved(20, 1300, 355, 777, StartFolder));
}

TEST_F(StateFileTest, SaveKeepsOtherSectionsKeysAndComments) {
    WriteState(
        "; kept by hand\n"
        "[Viewer]\n"
        "Zoom=2\n"
        "[WINDOWS]\n"
        "TOP=1\n"
        "# old note\n"
        "COLOUR=blue\n");
    StartProgram();
    ShowMain();
    frmMain->SetBounds(30, 40, 600, 450);
    StopProgram();
    EXPECT_EQ(ReadState(),
              "; kept by hand\n"
              "[Viewer]\n"
              "Zoom=2\n"
              "[WINDOWS]\n"
              "TOP=40\n"
              "# old note\n"
              "COLOUR=blue\n"
              "LEFT=30\n"
              "HEIGHT=450\n"
              "WIDTH=600\n"
              "[DIRECTORY]\n"
              "DIRECTORY=" +
                  QFile::encodeName(StartFolder) + "\n");
}

TEST_F(StateFileTest, MaximisedWindowSavesTheMaximisedBounds) {
    StartProgram();
    ShowMain();
    frmMain->SetBounds(10, 20, 500, 350);
    frmMain->showMaximized();
    QCoreApplication::processEvents();
    const QRect maximised = Bounds();
    ASSERT_NE(maximised.size(), QSize(500, 350));
    StopProgram();
    EXPECT_EQ(ReadState(), Saved(maximised.top(), maximised.left(), maximised.height(), maximised.width(), StartFolder));
    // Next time: an ordinary window over the same area.
    StartProgram();
    EXPECT_EQ(frmMain->pos(), maximised.topLeft());
    ShowMain();
    EXPECT_EQ(Bounds().size(), maximised.size());
    EXPECT_FALSE(frmMain->isMaximized());
}

TEST_F(StateFileTest, MinimisedWindowSavesTheBoundsItHadBefore) {
    StartProgram();
    ShowMain();
    frmMain->SetBounds(10, 20, 500, 350);
    frmMain->showMinimized();
    QCoreApplication::processEvents();
    StopProgram();
    EXPECT_EQ(ReadState(), Saved(20, 10, 350, 500, StartFolder));
}

TEST_F(StateFileTest, ReadOnlyProgramFolderSavesNothingAndShowsNothing) {
    const QByteArray old = Saved(5, 6, 310, 410, StartFolder);
    WriteState(old);
    StartProgram();
    ShowMain();
    frmMain->SetBounds(100, 100, 640, 480);
    if (!SetFolderWritable(false))
        GTEST_SKIP() << "this machine cannot make a folder read-only";
    MessageBoxRecorder boxes;
    StopProgram();
    EXPECT_TRUE(boxes.texts.isEmpty());
    SetFolderWritable(true);
    EXPECT_EQ(ReadState(), old);
    EXPECT_EQ(QDir(programDir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"STATE.INI"});
}

TEST_F(StateFileTest, SaveInterruptedMidwayLeavesAWholeFile) {
    const QByteArray old = Saved(5, 6, 310, 410, StartFolder);
    for (int failing : {1, 3, 5}) {
        WriteState(old);
        StartProgram();
        ShowMain();
        frmMain->SetBounds(100, 200, 640, 480);
        int replacements = 0;
        TIniFile::InterruptHook = [&](const QString&) {
            if (++replacements == failing)
                throw std::runtime_error("power cut");
        };
        MessageBoxRecorder boxes;
        StopProgram();
        TIniFile::InterruptHook = nullptr;
        EXPECT_TRUE(boxes.texts.isEmpty());
        EXPECT_EQ(replacements, failing);  // the writes after the failing one were skipped
        // The values written before the failing one stay; the rest is the old file.
        const QByteArray expected[] = {
            old,
            Saved(200, 100, 310, 410, StartFolder),
            Saved(200, 100, 480, 640, StartFolder),
        };
        EXPECT_EQ(ReadState(), expected[failing / 2]) << "failing write " << failing;
        EXPECT_EQ(QDir(programDir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"STATE.INI"});
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// A real window system with a window manager that adds frames: the program
// started and ended twice must write back the bounds it read, not bounds
// grown by the frame.

namespace {

QString Tool(const QString& name) { return QStandardPaths::findExecutable(name); }

// A loaded machine running a sanitizer build takes long to start a program.
constexpr int kSlowMachineMs = 60000;

class XSession {
public:
    ~XSession() {
        for (QProcess* process : {&windowManager_, &server_}) {
            if (process->state() != QProcess::NotRunning) {
                process->terminate();
                if (!process->waitForFinished(3000))
                    process->kill();
                process->waitForFinished(3000);
            }
        }
    }

    bool Start() {
        // Xvfb picks a free display itself and tells its number on stdout.
        server_.setProgram(Tool("Xvfb"));
        server_.setArguments({"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        server_.setProcessChannelMode(QProcess::SeparateChannels);
        server_.setStandardErrorFile(QProcess::nullDevice());
        server_.start();
        QByteArray number;
        if (!WaitFor([&] {
                server_.waitForReadyRead(100);
                number += server_.readAllStandardOutput();
                return number.contains('\n');
            }, kSlowMachineMs))
            return false;
        display_ = ":" + QString::fromLatin1(number.trimmed());
        windowManager_.setProcessEnvironment(Environment());
        windowManager_.setStandardOutputFile(QProcess::nullDevice());
        windowManager_.setStandardErrorFile(QProcess::nullDevice());
        windowManager_.start(Tool("openbox"), {});
        // The window manager is up once it announces itself on the root window.
        return WaitFor([&] { return Run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id"); },
                       kSlowMachineMs);
    }

    QProcessEnvironment Environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", display_);
        environment.insert("QT_QPA_PLATFORM", "xcb");
        // In a sanitizer build the X keyboard library reads strings in a way
        // strict checks reject; that is the library's affair, not ours.
        environment.insert("ASAN_OPTIONS", "detect_leaks=0");
        return environment;
    }

    QString Run(const QString& tool, const QStringList& arguments) const {
        QProcess process;
        process.setProcessEnvironment(Environment());
        process.start(Tool(tool), arguments);
        if (!process.waitForFinished(5000))
            process.kill();
        return QString::fromLocal8Bit(process.readAllStandardOutput());
    }

    static bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            if (done())
                return true;
            QThread::msleep(50);
        }
        return false;
    }

private:
    QString display_;
    QProcess server_;
    QProcess windowManager_;
};

TEST(StateFileUnderAWindowManager, StartAndExitWithNothingChangedKeepTheBounds) {
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "xprop"})
        if (Tool(tool).isEmpty())
            GTEST_SKIP() << tool << " is not installed";
    XSession session;
    ASSERT_TRUE(session.Start());

    QTemporaryDir programDir;
    const QString program = programDir.filePath("quimbly");
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUIMBLY_BIN_DIR "/quimbly"), program));
    const QByteArray state = "[WINDOWS]\nTOP=50\nLEFT=60\nHEIGHT=350\nWIDTH=450\n[DIRECTORY]\nDIRECTORY=" +
                             QFile::encodeName(programDir.path()) + "\n";
    {
        QFile file(programDir.filePath("STATE.INI"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(state);
    }

    for (int run = 1; run <= 2; ++run) {
        QProcess viewer;
        viewer.setProcessEnvironment(session.Environment());
        viewer.setWorkingDirectory(programDir.path());
        viewer.setStandardOutputFile(QProcess::nullDevice());
        viewer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        viewer.start(program, {});
        ASSERT_TRUE(viewer.waitForStarted(5000));
        QString window;
        ASSERT_TRUE(XSession::WaitFor([&] {
            window = session.Run("xdotool", {"search", "--onlyvisible", "--pid", QString::number(viewer.processId())})
                         .section('\n', 0, 0)
                         .trimmed();
            return !window.isEmpty();
        }, kSlowMachineMs)) << "the main window never appeared";
        // Let the window manager frame and place it.
        EXPECT_TRUE(XSession::WaitFor(
            [&] { return session.Run("xprop", {"-id", window, "_NET_FRAME_EXTENTS"}).contains("="); }, kSlowMachineMs));
        QThread::msleep(500);
        // Alt+F4 makes the window manager ask the window to close, as the close box does.
        session.Run("xdotool", {"windowactivate", "--sync", window});
        session.Run("xdotool", {"key", "--clearmodifiers", "alt+F4"});
        if (!viewer.waitForFinished(kSlowMachineMs)) {
            viewer.kill();
            viewer.waitForFinished(3000);
            FAIL() << "the program did not end on close";
        }
        EXPECT_EQ(viewer.exitStatus(), QProcess::NormalExit);
        QFile file(programDir.filePath("STATE.INI"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), state) << "run " << run;
    }
}

}  // namespace
