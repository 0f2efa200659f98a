// Drives from sample mount tables.
#include <gtest/gtest.h>

#include <QStringList>

#include "toolkit/mount_table.h"

namespace {

// A desktop with a disk, a USB stick, network shares, a DVD and a RAM disk,
// plus the kernel's own mounts that must not show up.
const QByteArray SampleTable =
    "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
    "23 28 0:22 / /sys rw,relatime - sysfs sysfs rw\n"
    "24 28 0:6 / /dev rw,relatime - devtmpfs devtmpfs rw,size=100k\n"
    "26 24 0:24 / /dev/shm rw,relatime - tmpfs tmpfs rw\n"
    "32 23 0:29 / /sys/fs/cgroup rw,relatime - tmpfs tmpfs rw,mode=755\n"
    "33 32 0:30 / /sys/fs/cgroup/cpu rw,relatime shared:4 - cgroup cgroup rw,cpu\n"
    "42 28 0:39 / /cgroup2 rw,relatime - cgroup2 cgroup2 rw\n"
    "43 28 0:40 / /run rw,nosuid - tmpfs tmpfs rw\n"
    "28 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "50 28 8:2 / /home rw,relatime shared:2 - ext4 /dev/sda2 rw\n"
    "51 28 8:17 / /media/user/MY\\040STICK rw,nosuid shared:3 master:1 - vfat /dev/sdb1 rw\n"
    "52 28 0:50 / /mnt/nas rw - nfs4 nas.local:/export/Photos rw,vers=4.2\n"
    "53 28 0:51 / /mnt/win rw - cifs //Server/Share rw\n"
    "54 28 11:0 / /mnt/dvd ro - iso9660 /dev/sr0 ro\n"
    "55 28 0:52 / /tmp rw - tmpfs tmpfs rw\n"
    "56 43 8:33 / /run/media/user/CARD rw - exfat /dev/sdc1 rw\n"
    "57 43 0:53 / /run/user/1000/gvfs rw - fuse.gvfsd-fuse gvfsd-fuse rw\n"
    "58 28 0:54 / /mnt/ssh rw - fuse.sshfs me@host:/srv rw\n"
    "59 28 8:3 / /etc/hostname rw - ext4 /dev/sda3 rw\n"
    "not a mount line\n";

TMountFacts SampleFacts() {
    TMountFacts facts;
    facts.label = [](const TMountEntry& e) {
        if (e.device == "8:1") return QStringLiteral("System");
        if (e.device == "8:17") return QStringLiteral("MY STICK");
        if (e.device == "11:0") return QStringLiteral("写真DVD");
        return QString();
    };
    facts.removable = [](const TMountEntry& e) { return e.device == "8:17"; };
    facts.isFolder = [](const QString& path) { return path != "/etc/hostname"; };
    return facts;
}

QStringList Texts(const std::vector<TDrive>& drives) {
    QStringList texts;
    for (const TDrive& d : drives)
        texts << d.text;
    return texts;
}

TEST(MountTable, RealFileSystemsSortedByPathWithLabelsOrRemoteNames) {
    const auto drives = DrivesFromMountInfo(SampleTable, SampleFacts());
    EXPECT_EQ(Texts(drives), (QStringList{
                                 "/ [system]",
                                 "/home []",
                                 "/media/user/MY STICK [my stick]",
                                 "/mnt/dvd [写真dvd]",
                                 "/mnt/nas nas.local:/export/Photos",
                                 "/mnt/ssh me@host:/srv",
                                 "/mnt/win //Server/Share",
                                 "/run/media/user/CARD []",
                                 "/tmp []",
                             }));
}

TEST(MountTable, DriveTypes) {
    const auto drives = DrivesFromMountInfo(SampleTable, SampleFacts());
    const std::vector<std::pair<QString, TDriveType>> expected = {
        {"/", TDriveType::Fixed},          {"/home", TDriveType::Fixed},
        {"/media/user/MY STICK", TDriveType::Removable}, {"/mnt/dvd", TDriveType::CDROM},
        {"/mnt/nas", TDriveType::Network}, {"/mnt/ssh", TDriveType::Network},
        {"/mnt/win", TDriveType::Network}, {"/run/media/user/CARD", TDriveType::Removable},
        {"/tmp", TDriveType::RAMDisk},
    };
    ASSERT_EQ(drives.size(), expected.size());
    for (size_t i = 0; i < drives.size(); ++i) {
        EXPECT_EQ(drives[i].path, expected[i].first);
        EXPECT_EQ(drives[i].type, expected[i].second) << drives[i].path.toStdString();
    }
}

TEST(MountTable, RemovableFlagOutsideMediaAndUdfDisc) {
    const QByteArray table =
        "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
        "2 1 8:17 / /mnt/usb rw - ext4 /dev/sdb1 rw\n"
        "3 1 11:0 / /mnt/bd ro - udf /dev/sr0 ro\n"
        "4 1 0:9 / /mnt/ram rw - ramfs ramfs rw\n";
    TMountFacts facts;
    facts.removable = [](const TMountEntry& e) { return e.device == "8:17"; };
    const auto drives = DrivesFromMountInfo(table, facts);
    ASSERT_EQ(drives.size(), 4u);
    EXPECT_EQ(drives[1].type, TDriveType::CDROM);
    EXPECT_EQ(drives[2].type, TDriveType::RAMDisk);
    EXPECT_EQ(drives[3].type, TDriveType::Removable);
    EXPECT_EQ(drives[3].text, "/mnt/usb []");
}

TEST(MountTable, RootAlwaysPresentEvenInAnEmptyOrHostileTable) {
    for (const QByteArray& table : {QByteArray(), QByteArray("garbage\n- - -\n\\\\\\"),
                                    QByteArray("1 0 0:1 / /proc rw - proc proc rw\n")}) {
        const auto drives = DrivesFromMountInfo(table, {});
        ASSERT_EQ(drives.size(), 1u);
        EXPECT_EQ(drives[0].path, "/");
        EXPECT_EQ(drives[0].text, "/ []");
        EXPECT_EQ(drives[0].type, TDriveType::Fixed);
    }
}

TEST(MountTable, LaterMountOnTheSamePointHidesTheEarlierOne) {
    const QByteArray table =
        "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
        "2 1 0:40 / /net rw - autofs systemd-1 rw\n"
        "3 1 0:41 / /net rw - nfs srv:/net rw\n";
    const auto drives = DrivesFromMountInfo(table, {});
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[1].text, "/net srv:/net");
}

TEST(MountTable, OctalEscapesAreDecoded) {
    EXPECT_EQ(DecodeMountEscapes("/a\\040b\\011c\\012d\\134e"), QByteArray("/a b\tc\nd\\e"));
    EXPECT_EQ(DecodeMountEscapes("/trailing\\04"), QByteArray("/trailing\\04"));
    EXPECT_EQ(DecodeMountEscapes("/x\\999"), QByteArray("/x\\999"));
    const auto entries = ParseMountInfo("7 1 8:5 /sub /mnt/\\346\\227\\245\\040x rw - ext4 /dev/sda5 rw\n");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].mountPoint, QString::fromUtf8("/mnt/日 x"));
    EXPECT_EQ(entries[0].fsType, "ext4");
    EXPECT_EQ(entries[0].source, "/dev/sda5");
    EXPECT_EQ(entries[0].device, "8:5");
}

TEST(MountTable, NetworkDriveWithoutSourceShowsBracketedLabel) {
    const auto drives = DrivesFromMountInfo("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n2 1 0:3 / /n rw - nfs none rw\n", {});
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[1].text, "/n []");
}

TEST(MountTable, DriveOfAFolderIsTheLongestMountPrefix) {
    const std::vector<TDrive> drives = {{"/", TDriveType::Fixed, ""},
                                        {"/media/a", TDriveType::Removable, ""},
                                        {"/media/ab", TDriveType::Removable, ""}};
    EXPECT_EQ(DriveIndexOf(drives, "/"), 0);
    EXPECT_EQ(DriveIndexOf(drives, "/media"), 0);
    EXPECT_EQ(DriveIndexOf(drives, "/media/a"), 1);
    EXPECT_EQ(DriveIndexOf(drives, "/media/a/x"), 1);
    EXPECT_EQ(DriveIndexOf(drives, "/media/abc"), 0);
    EXPECT_EQ(DriveIndexOf(drives, "/media/ab/c"), 2);
    EXPECT_EQ(DriveIndexOf(drives, "relative"), -1);
}

TEST(MountTable, ThisSystemListsRoot) {
    const auto drives = ReadDrives();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives[0].path, "/");
    for (const TDrive& d : drives)
        EXPECT_FALSE(d.path.startsWith("/proc") || d.path.startsWith("/sys") || d.path.startsWith("/dev/"))
            << d.path.toStdString();
}

}  // namespace
