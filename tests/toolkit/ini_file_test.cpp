#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>

#include "toolkit/exceptions.h"
#include "toolkit/ini_file.h"

namespace {

struct IntegerCase {
    const char* text;
    std::int32_t expected;
};

// Every value reads with a default no case can produce, so that a fallback shows.
constexpr std::int32_t kDefault = -99;

const IntegerCase kIntegerCases[] = {
    {"abc", kDefault},
    {"", kDefault},
    {"12px", kDefault},
    {"-$10", kDefault},
    {"$40", 64},
    {"0x40", 64},
    {"x40", 64},
    {"X40", 64},
    {"0X40", 64},
    {"-8", -8},
    {"2147483648", kDefault},
    {"2147483647", 2147483647},
    {"-2147483648", -2147483647 - 1},
    {"-2147483649", kDefault},
    {"$FFFFFFFF", -1},
    {"$ffffffff", -1},
    {"$7fffffff", 2147483647},
    {"$80000000", -2147483647 - 1},
    {"$100000000", kDefault},
    {"$0000000001", 1},
    {"$", kDefault},
    {"0x", kDefault},
    {"x", kDefault},
    {"+5", 5},
    {"+", kDefault},
    {"-", kDefault},
    {"   42", 42},
    {"42 ", kDefault},
    {"4 2", kDefault},
    {"007", 7},
    {"0", 0},
    {"-0", 0},
    {"+$10", kDefault},
    {"-0x10", kDefault},
    {"$1G", kDefault},
    {"0x1f", 31},
    {"\t5", kDefault},
    {"99999999999999999999", kDefault},
    {"1e3", kDefault},
    {"12.0", kDefault},
};

TEST(IniIntegerRule, ReadsEveryCaseOfTheTable) {
    for (const IntegerCase& c : kIntegerCases)
        EXPECT_EQ(ParseIniInteger(QByteArray(c.text), kDefault), c.expected) << "value \"" << c.text << "\"";
}

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    void TearDown() override { TIniFile::InterruptHook = nullptr; }

    QString Path() const { return dir_.filePath("STATE.INI"); }

    void WriteFile(const QByteArray& contents) const {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    QByteArray ReadFile() const {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QStringList FolderEntries() const { return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }

    QTemporaryDir dir_;
};

TEST_F(IniFileTest, IntegersGoThroughTheRuleFromTheFile) {
    WriteFile("[WINDOWS]\nTOP=-$10\nLEFT = $40 \nHEIGHT=\nWIDTH=\"0x40\"\n");
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger("WINDOWS", "TOP", 3), 3);
    EXPECT_EQ(ini.ReadInteger("WINDOWS", "LEFT", 3), 64);
    EXPECT_EQ(ini.ReadInteger("WINDOWS", "HEIGHT", 300), 300);
    EXPECT_EQ(ini.ReadInteger("WINDOWS", "WIDTH", 400), 64);
    EXPECT_EQ(ini.ReadInteger("WINDOWS", "MISSING", 9), 9);
    EXPECT_EQ(ini.ReadInteger("NOSECTION", "TOP", 9), 9);
}

TEST_F(IniFileTest, MissingFileGivesDefaultsAndOpeningTouchesNothing) {
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString("DIRECTORY", "DIRECTORY", "/start"), "/start");
    EXPECT_EQ(ini.ReadInteger("WINDOWS", "TOP", 0), 0);
    EXPECT_TRUE(FolderEntries().isEmpty());
}

TEST_F(IniFileTest, NamesMatchIgnoringCaseAndEmptyValueIsAValue) {
    WriteFile("[windows]\ntop=12\n[Directory]\nDirectory=\n");
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger("WINDOWS", "TOP", 0), 12);
    EXPECT_EQ(ini.ReadString("DIRECTORY", "DIRECTORY", "/start"), "");
}

TEST_F(IniFileTest, CreatedFileHasSectionsAndKeysInWritingOrder) {
    TIniFile ini(Path());
    ini.WriteInteger("WINDOWS", "TOP", 80);
    ini.WriteInteger("WINDOWS", "LEFT", 120);
    ini.WriteInteger("WINDOWS", "HEIGHT", 480);
    ini.WriteInteger("WINDOWS", "WIDTH", 640);
    ini.WriteString("DIRECTORY", "DIRECTORY", "/photos");
    EXPECT_EQ(ReadFile(), "[WINDOWS]\nTOP=80\nLEFT=120\nHEIGHT=480\nWIDTH=640\n[DIRECTORY]\nDIRECTORY=/photos\n");
    EXPECT_EQ(FolderEntries(), QStringList{"STATE.INI"});  // no temporary file left over
}

TEST_F(IniFileTest, WritingKeepsEveryOtherLine) {
    const QByteArray before =
        "; written by hand\n"
        "[Other]\n"
        "Key = kept value \n"
        "\n"
        "[windows]\n"
        "  Top = 5\n"
        "# note\n"
        "Extra=1\n"
        "\n"
        "[Tail]\n"
        "X=y\n";
    WriteFile(before);
    TIniFile ini(Path());
    ini.WriteInteger("WINDOWS", "TOP", -8);
    ini.WriteInteger("WINDOWS", "LEFT", 64);
    ini.WriteString("DIRECTORY", "DIRECTORY", "/a");
    EXPECT_EQ(ReadFile(),
              "; written by hand\n"
              "[Other]\n"
              "Key = kept value \n"
              "\n"
              "[windows]\n"
              "TOP=-8\n"
              "# note\n"
              "Extra=1\n"
              "LEFT=64\n"
              "\n"
              "[Tail]\n"
              "X=y\n"
              "[DIRECTORY]\n"
              "DIRECTORY=/a\n");
    EXPECT_EQ(ini.ReadString("Other", "key", ""), "kept value");
}

TEST_F(IniFileTest, CrLfFileStaysCrLf) {
    WriteFile("[WINDOWS]\r\nTOP=1\r\n");
    TIniFile ini(Path());
    ini.WriteInteger("WINDOWS", "LEFT", 2);
    EXPECT_EQ(ReadFile(), "[WINDOWS]\r\nTOP=1\r\nLEFT=2\r\n");
    EXPECT_EQ(ini.ReadInteger("WINDOWS", "TOP", 0), 1);
}

TEST_F(IniFileTest, ValuesRoundTripIncludingBlanksQuotesAndJapanese) {
    TIniFile ini(Path());
    const QString values[] = {"/写真/旅行 2024", " lead and trail ", "\"quoted\"", "'single'", "a=b;c", "\"half"};
    for (const QString& value : values) {
        ini.WriteString("S", "K", value);
        EXPECT_EQ(ini.ReadString("S", "K", "x"), value);
    }
    ini.WriteString("S", "K", "/写真");
    EXPECT_TRUE(ReadFile().contains("K=" + QFile::encodeName("/写真") + "\n"));
}

TEST_F(IniFileTest, LongValuesAreCutTo2047Bytes) {
    const QByteArray longValue(5000, 'a');
    WriteFile("[S]\nK=" + longValue + "\n");
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadBytes("S", "K", ""), QByteArray(2047, 'a'));
}

TEST_F(IniFileTest, ValueWithLineBreakIsRefusedAndFileKept) {
    WriteFile("[S]\nK=old\n");
    TIniFile ini(Path());
    EXPECT_THROW(ini.WriteString("S", "K", "x\n[S]\nK=planted"), EIniFileException);
    EXPECT_EQ(ReadFile(), "[S]\nK=old\n");
}

TEST_F(IniFileTest, FailedWriteRaisesWithPathAndKeepsOldFile) {
    WriteFile("[S]\nK=old\n");
    TIniFile::InterruptHook = [](const QString&) { throw std::runtime_error("power cut"); };
    TIniFile ini(Path());
    try {
        ini.WriteString("S", "K", "new");
        FAIL() << "no error raised";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), Path() + " に書き込めません");
    }
    EXPECT_EQ(ReadFile(), "[S]\nK=old\n");
    EXPECT_EQ(FolderEntries(), QStringList{"STATE.INI"});
}

TEST_F(IniFileTest, TheOldFileIsWholeWhileTheNewOneIsHalfWritten) {
    WriteFile("[S]\nK=old\n");
    QByteArray seenDuringWrite;
    TIniFile::InterruptHook = [&](const QString& temporary) {
        EXPECT_TRUE(QFileInfo(temporary).absolutePath() == QFileInfo(Path()).absolutePath());
        seenDuringWrite = ReadFile();
    };
    TIniFile(Path()).WriteString("S", "K", "new");
    EXPECT_EQ(seenDuringWrite, "[S]\nK=old\n");
    EXPECT_EQ(ReadFile(), "[S]\nK=new\n");
}

TEST_F(IniFileTest, ExistingPermissionsAreKept) {
    WriteFile("[S]\nK=old\n");
    ASSERT_TRUE(QFile::setPermissions(Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    TIniFile(Path()).WriteString("S", "K", "new");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(Path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0604u);
}

TEST_F(IniFileTest, ATargetThatIsAFolderCannotBeWritten) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("STATE.INI"));
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger("WINDOWS", "TOP", 5), 5);
    EXPECT_THROW(ini.WriteInteger("WINDOWS", "TOP", 1), EIniFileException);
    EXPECT_EQ(FolderEntries(), QStringList{"STATE.INI"});
}

TEST_F(IniFileTest, OversizedFileReadsAsDefaultsAndIsNotReplaced) {
    WriteFile("[S]\nK=1\n" + QByteArray(TIniFile::MaxFileBytes, ';'));
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger("S", "K", 9), 9);
    EXPECT_THROW(ini.WriteInteger("S", "K", 2), EIniFileException);
    EXPECT_EQ(QFileInfo(Path()).size(), TIniFile::MaxFileBytes + 8);
}

}  // namespace

namespace {

TEST(IniFileLink, WritingThroughALinkReplacesTheFileItNames) {
    QTemporaryDir dir;
    const QString real = dir.filePath("real.ini");
    const QString link = dir.filePath("STATE.INI");
    {
        QFile file(real);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[S]\nK=old\n");
    }
    ASSERT_TRUE(QFile::link(real, link));
    TIniFile(link).WriteString("S", "K", "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    QFile file(real);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "[S]\nK=new\n");
}

}  // namespace
