#pragma once
// Drives on Linux are mount points. This turns /proc/self/mountinfo text into
// the drive list's entries; the facts that need the live system (labels,
// removable flags, whether a mount point is a folder) come in through
// TMountFacts so that the rules can be checked on sample tables.

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

enum class TDriveType { Removable, Fixed, Network, CDROM, RAMDisk };

// One line of mountinfo, escapes decoded.
struct TMountEntry {
    QString mountPoint;
    QString fsType;
    QString source;
    QString device;  // "major:minor"
};

struct TDrive {
    QString path;  // the mount point
    TDriveType type = TDriveType::Fixed;
    QString text;  // what the drive list shows
};

struct TMountFacts {
    // Volume label of a mount's device, empty when it has none or it is unknown.
    std::function<QString(const TMountEntry&)> label;
    // The block device reports itself as removable.
    std::function<bool(const TMountEntry&)> removable;
    // The mount point is a folder (bind mounts of single files are not drives).
    std::function<bool(const QString& path)> isFolder;
};

// Splits mountinfo text into entries; malformed lines are skipped.
std::vector<TMountEntry> ParseMountInfo(const QByteArray& text);

// Decodes the octal escapes (\040 and the like) mountinfo uses for blanks,
// tabs, newlines and backslashes in paths.
QByteArray DecodeMountEscapes(const QByteArray& field);

// The drives of a mount table: real file systems only, "/" always present,
// one entry per mount point, sorted by path.
std::vector<TDrive> DrivesFromMountInfo(const QByteArray& text, const TMountFacts& facts);

TDriveType DriveTypeOf(const TMountEntry& entry, bool removable);

// The drives of this system now: /proc/self/mountinfo, /dev/disk/by-label and
// the removable flags under /sys.
std::vector<TDrive> ReadDrives();

// Index of the drive holding path (longest mount point prefix), -1 when none does.
int DriveIndexOf(const std::vector<TDrive>& drives, const QString& path);
