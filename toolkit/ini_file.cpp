#include "toolkit/ini_file.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "toolkit/exceptions.h"

// ---------------------------------------------------------------------------
// Integer rule

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Digits from pos to the end, nothing else; nullopt when empty, not all
// digits of the base, or above limit.
std::optional<std::uint64_t> ParseDigits(const QByteArray& text, qsizetype pos, int base, std::uint64_t limit) {
    if (pos >= text.size())
        return std::nullopt;
    std::uint64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = HexDigit(text[pos]);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

}  // namespace

std::int32_t ParseIniInteger(const QByteArray& text, std::int32_t fallback) {
    qsizetype pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    const QByteArray rest = text.mid(pos);
    if (rest.startsWith('$') || rest.startsWith('x') || rest.startsWith('X') || rest.startsWith("0x") ||
        rest.startsWith("0X")) {
        const qsizetype digits = rest.startsWith('0') ? 2 : 1;
        const auto value = ParseDigits(rest, digits, 16, 0xFFFFFFFFull);
        return value ? static_cast<std::int32_t>(static_cast<std::uint32_t>(*value)) : fallback;
    }
    const bool negative = rest.startsWith('-');
    const qsizetype digits = (negative || rest.startsWith('+')) ? 1 : 0;
    const std::uint64_t limit = negative ? 2147483648ull : 2147483647ull;
    const auto value = ParseDigits(rest, digits, 10, limit);
    if (!value)
        return fallback;
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(*value) : static_cast<std::int64_t>(*value));
}

// ---------------------------------------------------------------------------
// Profile format

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

QByteArray TrimBlanks(const QByteArray& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool SameName(const QByteArray& a, const QByteArray& b) { return qstricmp(a.constData(), b.constData()) == 0; }

// The file split at '\n'; a '\r' before it stays part of the line so that
// lines we do not touch are written back byte for byte.
struct TProfileText {
    QList<QByteArray> lines;
    bool crlf = false;

    static TProfileText Parse(const QByteArray& contents) {
        TProfileText text;
        if (contents.isEmpty())
            return text;
        text.lines = contents.split('\n');
        if (contents.endsWith('\n'))
            text.lines.removeLast();
        text.crlf = !text.lines.isEmpty() && text.lines.first().endsWith('\r');
        return text;
    }

    QByteArray Join() const {
        QByteArray out;
        for (const QByteArray& line : lines)
            out += line + '\n';
        return out;
    }

    QByteArray Ending() const { return crlf ? QByteArrayLiteral("\r") : QByteArray(); }
};

std::optional<QByteArray> SectionName(const QByteArray& line) {
    const QByteArray trimmed = TrimBlanks(line);
    if (!trimmed.startsWith('['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return TrimBlanks(trimmed.mid(1, close - 1));
}

struct TKeyLine {
    QByteArray key;
    QByteArray value;
};

std::optional<TKeyLine> KeyLine(const QByteArray& line) {
    const QByteArray trimmed = TrimBlanks(line);
    if (trimmed.isEmpty() || trimmed.startsWith(';') || trimmed.startsWith('#') || trimmed.startsWith('['))
        return std::nullopt;
    const qsizetype equals = trimmed.indexOf('=');
    if (equals <= 0)
        return std::nullopt;
    const QByteArray key = TrimBlanks(trimmed.left(equals));
    if (key.isEmpty())
        return std::nullopt;
    QByteArray value = TrimBlanks(trimmed.mid(equals + 1));
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return TKeyLine{key, value};
}

// Where a key is, or where it would go.
struct TLocation {
    std::optional<qsizetype> keyLine;      // the key's line
    std::optional<qsizetype> insertAfter;  // last line of the first matching section with content
};

TLocation Locate(const TProfileText& text, const QByteArray& section, const QByteArray& key) {
    TLocation where;
    bool inSection = false;
    bool firstSection = false;
    for (qsizetype i = 0; i < text.lines.size(); ++i) {
        const QByteArray& line = text.lines[i];
        if (const auto name = SectionName(line)) {
            inSection = SameName(*name, section);
            firstSection = inSection && !where.insertAfter;
            if (firstSection)
                where.insertAfter = i;
            continue;
        }
        if (!inSection)
            continue;
        const auto entry = KeyLine(line);
        if (!entry)
            continue;
        if (firstSection)
            where.insertAfter = i;
        if (SameName(entry->key, key)) {
            where.keyLine = i;
            return where;
        }
    }
    return where;
}

enum class TReadResult { Ok, Missing, Failed };

TReadResult ReadContents(const QString& fileName, QByteArray& contents) {
    QFile file(fileName);
    if (!file.exists())
        return TReadResult::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return TReadResult::Failed;
    if (file.size() > TIniFile::MaxFileBytes)
        return TReadResult::Failed;
    contents = file.read(TIniFile::MaxFileBytes + 1);
    if (contents.size() > TIniFile::MaxFileBytes || file.error() != QFileDevice::NoError)
        return TReadResult::Failed;
    return TReadResult::Ok;
}

bool HasLineBreakOrNul(const QByteArray& text) {
    return text.contains('\n') || text.contains('\r') || text.contains('\0');
}

// A value the reader would change (blanks at either end, a pair of quotes
// around it) is written in quotes, so that it reads back unchanged.
QByteArray QuotedIfNeeded(const QByteArray& value) {
    if (value.isEmpty())
        return value;
    const bool blankEnds = IsBlank(value.front()) || IsBlank(value.back());
    const bool quoted = value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
    return (blankEnds || quoted) ? '"' + value + '"' : value;
}

bool WriteAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// Owner and group of the old file where we may give them (root, or a group
// of ours); otherwise the new file is ours, with the old permissions.
void KeepOwner(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        return;
}

// The rename itself survives a crash only once the folder is on disk too.
void SyncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

// ---------------------------------------------------------------------------
// TIniFile

TIniFile::TIniFile(QString fileName) : fileName_(std::move(fileName)) {}

QByteArray TIniFile::ReadBytes(const QByteArray& section, const QByteArray& key, const QByteArray& fallback) const {
    QByteArray contents;
    if (ReadContents(fileName_, contents) != TReadResult::Ok)
        return fallback;
    const TProfileText text = TProfileText::Parse(contents);
    const TLocation where = Locate(text, section, key);
    if (!where.keyLine)
        return fallback;
    return KeyLine(text.lines[*where.keyLine])->value.left(MaxValueBytes);
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& fallback) const {
    const QByteArray missing = QByteArrayLiteral("\n");  // no value can hold a line break
    const QByteArray value = ReadBytes(QFile::encodeName(section), QFile::encodeName(key), missing);
    return value == missing ? fallback : QFile::decodeName(value);
}

std::int32_t TIniFile::ReadInteger(const QString& section, const QString& key, std::int32_t fallback) const {
    return ParseIniInteger(ReadBytes(QFile::encodeName(section), QFile::encodeName(key), QByteArray()), fallback);
}

void TIniFile::WriteBytes(const QByteArray& section, const QByteArray& key, const QByteArray& value) {
    // A line break would split the value into lines of their own (and could
    // plant keys); such a value cannot be stored.
    if (HasLineBreakOrNul(section) || HasLineBreakOrNul(key) || HasLineBreakOrNul(value) || section.contains(']') ||
        key.contains('=') || TrimBlanks(key) != key || key.isEmpty() || TrimBlanks(section) != section)
        RaiseWriteError();
    QByteArray contents;
    if (ReadContents(fileName_, contents) == TReadResult::Failed)
        RaiseWriteError();  // rewriting would lose what we cannot read
    TProfileText text = TProfileText::Parse(contents);
    const QByteArray entry = key + '=' + QuotedIfNeeded(value) + text.Ending();
    const TLocation where = Locate(text, section, key);
    if (where.keyLine)
        text.lines[*where.keyLine] = entry;
    else if (where.insertAfter)
        text.lines.insert(*where.insertAfter + 1, entry);
    else
        text.lines << '[' + section + ']' + text.Ending() << entry;
    Replace(text.Join());
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    WriteBytes(QFile::encodeName(section), QFile::encodeName(key), QFile::encodeName(value));
}

void TIniFile::WriteInteger(const QString& section, const QString& key, std::int32_t value) {
    WriteBytes(QFile::encodeName(section), QFile::encodeName(key), QByteArray::number(value));
}

void TIniFile::RaiseWriteError() const {
    throw EIniFileException(QStringLiteral("%1 に書き込めません").arg(fileName_));
}

// Writes contents to a temporary file beside the target and renames it over
// the target: readers and a crash see either the old or the new file.
void TIniFile::Replace(const QByteArray& contents) const {
    QFileInfo info(fileName_);
    if (info.isSymLink())
        info = QFileInfo(info.symLinkTarget());  // replace the file the link names, keep the link
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    QByteArray temporary = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".XXXXXX";

    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        RaiseWriteError();
    bool ok = true;
    if (exists) {
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
        KeepOwner(fd, old);
    } else {
        ok = ::fchmod(fd, NewFileMode()) == 0;
    }
    const qsizetype half = contents.size() / 2;
    ok = ok && WriteAll(fd, contents.constData(), half);
    if (ok && InterruptHook) {
        try {
            InterruptHook(QFile::decodeName(temporary));
        } catch (...) {
            ok = false;
        }
    }
    ok = ok && WriteAll(fd, contents.constData() + half, contents.size() - half);
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temporary.constData(), target.constData()) == 0;
    if (!ok) {
        ::unlink(temporary.constData());
        RaiseWriteError();
    }
    SyncFolder(QFile::encodeName(info.absolutePath()));
}
