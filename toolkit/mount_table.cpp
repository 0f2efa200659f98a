#include "toolkit/mount_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }

// Kernel-side file systems that hold no user files.
bool IsPseudoFileSystem(const QString& type) {
    static const QSet<QString> pseudo = {
        "proc",      "sysfs",       "devtmpfs",  "devpts",     "cgroup",       "cgroup2",
        "securityfs", "debugfs",    "tracefs",   "pstore",     "bpf",          "configfs",
        "fusectl",   "mqueue",      "hugetlbfs", "autofs",     "binfmt_misc",  "efivarfs",
        "selinuxfs", "rpc_pipefs",  "nsfs",      "nfsd",       "sockfs",       "pipefs",
        "devfs",     "usbfs",       "rootfs",    "binder",     "fuse.gvfsd-fuse", "fuse.portal",
        "fuse.lxcfs",
    };
    return pseudo.contains(type);
}

bool IsNetworkFileSystem(const QString& type) {
    static const QSet<QString> network = {
        "nfs",  "nfs4",      "cifs",          "smb3",        "smbfs",      "ncpfs",
        "afs",  "ceph",      "9p",            "glusterfs",   "lustre",     "davfs",
        "fuse.sshfs", "fuse.rclone", "fuse.s3fs", "fuse.glusterfs", "fuse.davfs", "fuse.curlftpfs",
    };
    return network.contains(type);
}

bool IsUnder(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + u'/');
}

// Mounts of the system's own plumbing, and the read-only package images under /snap.
bool IsSystemMountPoint(const QString& path) {
    if (IsUnder(path, QStringLiteral("/run/media")))
        return false;
    for (const char* folder : {"/proc", "/sys", "/dev", "/run", "/snap"})
        if (IsUnder(path, QString::fromLatin1(folder)))
            return true;
    return false;
}

QString DriveText(const QString& path, TDriveType type, const QString& source, const QString& label) {
    if (type == TDriveType::Network && !source.isEmpty() && source != QLatin1String("none"))
        return path + u' ' + source;
    return path + QStringLiteral(" [") + label.toLower() + u']';
}

// udev writes unsafe characters of a label as \xHH in the link's name.
QString DecodeUdevName(const QByteArray& name) {
    QByteArray bytes;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
            bool ok = false;
            const int value = name.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                bytes.append(char(value));
                i += 3;
                continue;
            }
        }
        bytes.append(name[i]);
    }
    return QFile::decodeName(bytes);
}

QString DeviceNumber(dev_t device) { return QStringLiteral("%1:%2").arg(major(device)).arg(minor(device)); }

struct TLabelTable {
    QHash<QString, QString> byDevice;  // "major:minor" -> label
    QHash<QString, QString> byPath;    // canonical device node -> label
};

TLabelTable ReadLabels() {
    TLabelTable table;
    const QDir folder(QStringLiteral("/dev/disk/by-label"));
    for (const QFileInfo& link : folder.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const QString label = DecodeUdevName(QFile::encodeName(link.fileName()));
        const QString node = link.canonicalFilePath();
        if (node.isEmpty())
            continue;
        table.byPath.insert(node, label);
        struct stat info {};
        if (::stat(QFile::encodeName(node).constData(), &info) == 0 && S_ISBLK(info.st_mode))
            table.byDevice.insert(DeviceNumber(info.st_rdev), label);
    }
    return table;
}

bool ReadFlag(const QString& file) {
    QFile flag(file);
    return flag.open(QIODevice::ReadOnly) && flag.read(1) == "1";
}

// A partition inherits the removable flag of its disk.
bool IsRemovableDevice(const QString& device) {
    const QString node = QFileInfo(QStringLiteral("/sys/dev/block/") + device).canonicalFilePath();
    if (node.isEmpty())
        return false;
    if (QFileInfo::exists(node + QStringLiteral("/removable")))
        return ReadFlag(node + QStringLiteral("/removable"));
    return ReadFlag(QFileInfo(node).path() + QStringLiteral("/removable"));
}

}  // namespace

QByteArray DecodeMountEscapes(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) && IsOctalDigit(field[i + 2]) &&
            IsOctalDigit(field[i + 3])) {
            out.append(char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0')));
            i += 3;
        } else {
            out.append(field[i]);
        }
    }
    return out;
}

std::vector<TMountEntry> ParseMountInfo(const QByteArray& text) {
    std::vector<TMountEntry> entries;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const qsizetype dash = fields.indexOf("-");
        if (dash < 6 || dash + 2 >= fields.size())
            continue;
        TMountEntry entry;
        entry.device = QString::fromLatin1(fields[2]);
        entry.mountPoint = QFile::decodeName(DecodeMountEscapes(fields[4]));
        entry.fsType = QFile::decodeName(DecodeMountEscapes(fields[dash + 1]));
        entry.source = QFile::decodeName(DecodeMountEscapes(fields[dash + 2]));
        if (!entry.mountPoint.startsWith(u'/'))
            continue;
        entries.push_back(std::move(entry));
    }
    return entries;
}

TDriveType DriveTypeOf(const TMountEntry& entry, bool removable) {
    const QString& type = entry.fsType;
    if (IsNetworkFileSystem(type))
        return TDriveType::Network;
    if (type == QLatin1String("iso9660") || type == QLatin1String("udf"))
        return TDriveType::CDROM;
    if (type == QLatin1String("tmpfs") || type == QLatin1String("ramfs"))
        return TDriveType::RAMDisk;
    if (removable || IsUnder(entry.mountPoint, QStringLiteral("/media")) ||
        IsUnder(entry.mountPoint, QStringLiteral("/run/media")))
        return TDriveType::Removable;
    return TDriveType::Fixed;
}

std::vector<TDrive> DrivesFromMountInfo(const QByteArray& text, const TMountFacts& facts) {
    std::vector<TMountEntry> mounts;
    for (TMountEntry& entry : ParseMountInfo(text)) {
        if (IsPseudoFileSystem(entry.fsType) || IsSystemMountPoint(entry.mountPoint))
            continue;
        if (entry.mountPoint != QLatin1String("/") && facts.isFolder && !facts.isFolder(entry.mountPoint))
            continue;
        // A later mount on the same point hides the earlier one.
        std::erase_if(mounts, [&](const TMountEntry& m) { return m.mountPoint == entry.mountPoint; });
        mounts.push_back(std::move(entry));
    }
    std::vector<TDrive> drives;
    for (const TMountEntry& entry : mounts) {
        const TDriveType type = DriveTypeOf(entry, facts.removable && facts.removable(entry));
        const QString label = type == TDriveType::Network || !facts.label ? QString() : facts.label(entry);
        drives.push_back({entry.mountPoint, type, DriveText(entry.mountPoint, type, entry.source, label)});
    }
    if (DriveIndexOf(drives, QStringLiteral("/")) < 0)
        drives.push_back({QStringLiteral("/"), TDriveType::Fixed, DriveText("/", TDriveType::Fixed, {}, {})});
    std::sort(drives.begin(), drives.end(), [](const TDrive& a, const TDrive& b) { return a.path < b.path; });
    return drives;
}

std::vector<TDrive> ReadDrives() {
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    QByteArray text;
    // The kernel reports size 0 for this file, so read until the end.
    if (file.open(QIODevice::ReadOnly))
        text = file.readAll();
    const TLabelTable labels = ReadLabels();
    TMountFacts facts;
    facts.label = [&labels](const TMountEntry& entry) {
        if (auto it = labels.byDevice.find(entry.device); it != labels.byDevice.end())
            return *it;
        const QString node = QFileInfo(entry.source).canonicalFilePath();
        return node.isEmpty() ? QString() : labels.byPath.value(node);
    };
    facts.removable = [](const TMountEntry& entry) {
        return !entry.device.startsWith(QLatin1String("0:")) && IsRemovableDevice(entry.device);
    };
    facts.isFolder = [](const QString& path) { return QFileInfo(path).isDir(); };
    return DrivesFromMountInfo(text, facts);
}

int DriveIndexOf(const std::vector<TDrive>& drives, const QString& path) {
    int best = -1;
    for (int i = 0; i < int(drives.size()); ++i) {
        const QString& mount = drives[size_t(i)].path;
        const bool holds = mount == QLatin1String("/") ? path.startsWith(u'/') : IsUnder(path, mount);
        if (holds && (best < 0 || mount.size() > drives[size_t(best)].path.size()))
            best = i;
    }
    return best;
}
