#pragma once
// TIniFile: values kept by section and key in a small text file, in the
// classic profile format:
//
//   [SECTION]
//   KEY=value
//
// Section and key names match ignoring (ASCII) case. Blanks around names and
// values are ignored; a value wrapped in a matching pair of quotes loses them.
// Lines starting with ';' or '#', blank lines and anything else that is neither
// a section nor a key line are kept as they are but never read.
//
// Opening does not touch the disk. Every read looks at the file as it is now;
// every write replaces the whole file at once (a temporary file in the same
// folder, then a rename), so the file is always either the old or the new
// version, never something in between. A failing write raises
// EIniFileException and leaves the file exactly as it was; writes that
// succeeded before it stay written. An existing file keeps its permissions.
//
// Text is stored as bytes in the file-name encoding (QFile::encodeName), so a
// folder path written and read back names the same folder.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

// Reads an integer value: leading spaces, then either an optional sign and
// decimal digits within the 32-bit range, or a hex prefix ("$", "x", "X", "0x",
// "0X") and hex digits fitting 32 bits, taken as two's complement. Nothing may
// follow the digits. Anything else gives fallback.
std::int32_t ParseIniInteger(const QByteArray& text, std::int32_t fallback);

class TIniFile {
public:
    // Values longer than this are cut when read.
    static constexpr int MaxValueBytes = 2047;
    // A file larger than this is not a state file; reading it gives defaults
    // and writing to it fails rather than holding it in memory.
    static constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;

    explicit TIniFile(QString fileName);

    const QString& FileName() const { return fileName_; }

    QByteArray ReadBytes(const QByteArray& section, const QByteArray& key, const QByteArray& fallback) const;
    QString ReadString(const QString& section, const QString& key, const QString& fallback) const;
    std::int32_t ReadInteger(const QString& section, const QString& key, std::int32_t fallback) const;

    // Sets the key's value, adding the key and its section when missing; every
    // other line of the file stays as it was. Raises EIniFileException.
    void WriteBytes(const QByteArray& section, const QByteArray& key, const QByteArray& value);
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, std::int32_t value);

    // Tests simulate a failure in the middle of a replacement: called with the
    // temporary file's path after part of the new contents went to it.
    static inline std::function<void(const QString& temporaryPath)> InterruptHook;

private:
    [[noreturn]] void RaiseWriteError() const;
    void Replace(const QByteArray& contents) const;

    QString fileName_;
};
