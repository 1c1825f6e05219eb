#include "platform/posix/MountTable.h"

#include "platform/posix/PosixOs.h"
#include "support/PrivateMounts.h"
#include "support/TestFolder.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

namespace zelvano {
namespace {

TEST(MountTable, DrivesOfASampleTable) {
    const char* table =
        "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
        "23 27 0:22 / /sys rw,relatime - sysfs sysfs rw\n"
        "24 27 0:6 / /dev rw,relatime - devtmpfs devtmpfs rw\n"
        "26 24 0:24 / /dev/pts rw,relatime - devpts devpts rw\n"
        "20 1 0:30 /@ /mnt/early rw - btrfs /dev/vda2 rw\n" // the root's folder again, listed before it
        "27 1 0:30 /@ / rw,relatime shared:1 - btrfs /dev/vda2 rw,subvol=/@\n"
        "28 27 0:30 /@home /home rw,relatime shared:2 - btrfs /dev/vda2 rw,subvol=/@home\n" // a subvolume
        "29 27 0:30 /@home /mnt/home2 rw - btrfs /dev/vda2 rw,subvol=/@home\n" // the same one again
        "30 27 0:30 /@/var/x /mnt/bind rw,relatime - btrfs /dev/vda2 rw\n"     // a folder of the root's
        "31 27 254:1 /photos /srv/photos rw,relatime - ext4 /dev/vdb rw\n"     // a folder of /data, first
        "32 27 254:1 / /data rw,relatime shared:3 - ext4 /dev/vdb rw\n"
        "33 27 0:40 / /run/user/1000 rw - tmpfs tmpfs rw\n"            // tmpfs, and under /run
        "46 33 0:52 / /run/user/1000/doc rw - fuse.portal portal rw\n" // under /run
        "47 27 0:53 / /mnt/cut rw - nfs4\n"                            // a line cut short
        "34 27 8:33 / /run/media/anna/USB rw - vfat /dev/sdc1 rw\n"    // a removable drive
        "35 27 0:42 / /mnt/nas rw - nfs4 nas:/export rw\n"             // network
        "36 27 0:43 / /mnt/My\\040Share rw - cifs //server/share rw\n" // escaped space
        "37 27 0:44 / /home/anna/remote rw - fuse.sshfs anna@host:/ rw\n"
        "38 27 0:45 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
        "39 27 0:46 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
        "40 27 0:47 / /var/lib/docker/overlay2/a/merged rw - overlay overlay rw\n" // a container root
        "41 27 0:48 / /mnt/auto rw - autofs systemd-1 rw\n"
        "42 27 0:49 / /tank/photos rw - zfs tank/photos rw\n"
        "43 28 0:50 / /home/bo rw - ecryptfs /home/.ecryptfs/bo/.Private rw\n"
        "44 27 0:51 / /mnt/gone rw - nfs4 old:/export rw\n" // not answering
        "48 27 8:49 / /mnt/usb rw - ext4 /dev/sdd1 rw\n"
        "49 48 0:54 / /mnt/usb/ rw - tmpfs tmpfs rw\n" // lies over it: neither is searched
        "50 27 8:50 / /mnt/cam rw - vfat /dev/sde1 rw\n"
        "51 27 8:51 / /mnt/cam rw - vfat /dev/sdf1 rw\n"               // lies over it: searched once
        "52 27 8:52 / photos rw - ext4 /dev/sdg1 rw\n"                 // no absolute folder
        "53 27 8:53 / /mnt/a\\000b rw - ext4 /dev/sdh1 rw\n"           // a NUL would cut the folder short
        "45 27 0:30 / /mnt/pool rw - btrfs /dev/vda2 rw,subvolid=5\n"; // the top, holding @ and @home
    // What stat says of each btrfs mount point: subvolumes have devices of their own. No other
    // drive is asked: one that has stopped answering would hold the listing.
    const std::map<std::string, std::uint64_t> devices = {{"/", 31},         {"/mnt/early", 31},
                                                          {"/home", 32},     {"/mnt/home2", 32},
                                                          {"/mnt/bind", 31}, {"/mnt/pool", 30}};
    int asked = 0;
    const auto deviceOf = [&](const std::string& point) -> std::optional<std::uint64_t> {
        ++asked;
        const auto it = devices.find(point);
        return it == devices.end() ? std::nullopt : std::optional(it->second);
    };
    EXPECT_EQ(DrivesFromMountInfo(table, deviceOf),
              (std::vector<std::string>{"/", "/home/", "/data/", "/run/media/anna/USB/", "/mnt/nas/",
                                        "/mnt/My Share/", "/home/anna/remote/",
                                        "/var/lib/docker/overlay2/a/merged/", "/tank/photos/", "/home/bo/",
                                        "/mnt/gone/", "/mnt/cam/", "/mnt/pool/"}));
    EXPECT_EQ(asked, 6) << "only btrfs mount points are asked about";

    // The drive a path is on, and the folders a walk of a drive never opens: other devices' mounts,
    // in sight, but not a second mount of the drive's own device.
    EXPECT_EQ(DriveOfPath(table, "/mnt/nas/2020/a.jpg"), "/mnt/nas/");
    EXPECT_EQ(DriveOfPath(table, "/mnt/nasty/a.jpg"), "/");
    EXPECT_EQ(DriveOfPath(table, "/mnt/usb/a.jpg"), "/mnt/usb/");
    EXPECT_EQ(DriveOfPath(table, "/mnt/My Share/a.jpg"), "/mnt/My Share/");
    EXPECT_EQ(OtherDrivesWithin(table, "/home/", deviceOf),
              (std::vector<std::string>{"/home/anna/remote/", "/home/bo/"}));
    const std::vector<std::string> inRoot = OtherDrivesWithin(table, "/", deviceOf);
    const auto within = [&inRoot](const std::string& folder) {
        return std::find(inRoot.begin(), inRoot.end(), folder) != inRoot.end();
    };
    for (const char* other :
         {"/proc/", "/dev/pts/", "/home/", "/mnt/gone/", "/run/user/1000/doc/", "/mnt/cam/", "/mnt/pool/"}) {
        EXPECT_TRUE(within(other)) << other;
    }
    for (const char* own : {"/", "/mnt/early/", "/mnt/bind/", "/mnt/nasty/"}) {
        EXPECT_FALSE(within(own)) << own;
    }
}

// Both mounts of one btrfs show one device number in the mount table; the subvolume, which the walk
// from the top does not enter, must be a drive of its own.
TEST(MountTable, ABtrfsSubvolumeMountedElsewhereIsADrive) {
    if (::geteuid() != 0 || std::system("command -v mkfs.btrfs >/dev/null") != 0) {
        GTEST_SKIP() << "mounting needs root and mkfs.btrfs";
    }
    if (!test::PrivateMounts()) {
        GTEST_SKIP() << "no mount namespace of the test's own to mount in";
    }
    // A btrfs image at top and its subvolume "sub" at second, both gone with this process's mounts.
    const test::TestFolder dir;
    const std::string image = dir.path() + "/btrfs.img";
    const std::string top = dir.path() + "/top";
    const std::string second = dir.path() + "/second";
    if (std::system(("(truncate -s 128M " + image + " && mkfs.btrfs -q " + image + " && mkdir " + top + " " +
                     second + " && mount -o loop " + image + " " + top + " && btrfs -q subvolume create " +
                     top + "/sub && mount -o loop,subvol=sub " + image + " " + second + ") >/dev/null 2>&1")
                        .c_str()) != 0) {
        GTEST_SKIP() << "no loop device to mount on";
    }
    const std::vector<std::string> drives = PosixOs().listDrives();
    EXPECT_NE(std::find(drives.begin(), drives.end(), top + "/"), drives.end());
    EXPECT_NE(std::find(drives.begin(), drives.end(), second + "/"), drives.end());
    (void)std::system(("umount " + second + " " + top).c_str()); // so that the test's folder can go
}

// A declared drive that is not mounted leaves its empty folder: what is not found under it is not
// known to be gone. A drive mounted deeper inside, or on the folder at last, answers for itself.
TEST(MountTable, APathOnADeclaredDriveThatIsNotMounted) {
    const char* fstab = "# <file system> <mount point> <type> <options> <dump> <pass>\n"
                        "UUID=1 / ext4 defaults 0 1\n"
                        "UUID=2 /home ext4 defaults 0 2\n"
                        "   # LABEL=OLD /mnt/old ext4 defaults 0 0\n"
                        "nas:/export photos nfs defaults 0 0\n"
                        "/dev/sdc1 /mnt/a\\000b ext4 defaults 0 0\n" // a NUL would cut the folder short
                        "LABEL=STICK /media/Photo\\040Stick vfat noauto 0 0\n"
                        "LABEL=CAM /mnt/cam vfat noauto,x-systemd.automount 0 0\n"
                        "LABEL=DISK /mnt/disk ext4 noauto 0 0\n"
                        "/swapfile none swap sw 0 0\n";
    const std::string away = "26 1 254:0 / / rw - ext4 /dev/vda rw\n"
                             "27 26 254:1 / /home rw - ext4 /dev/vdb rw\n"
                             "28 26 0:50 / /mnt/cam rw - autofs systemd-1 rw\n" // the automount's trigger
                             "29 26 8:33 / /mnt/disk/inner rw - ext4 /dev/sdc1 rw\n";
    const std::string back = away + "30 26 8:17 / /media/Photo\\040Stick rw - vfat /dev/sdb1 rw\n" +
                             "31 28 8:49 / /mnt/cam rw - vfat /dev/sdd1 rw\n";
    const struct {
        const char* path;
        bool absent;      // while the stick and the camera are away
        bool absentAfter; // once they are back
    } cases[] = {
        {"/media/Photo Stick/a.jpg", true, false}, {"/media/Photo Stick/2020/a.jpg", true, false},
        {"/mnt/cam/a.jpg", true, false},           {"/mnt/disk/a.jpg", true, true},
        {"/mnt/disk/inner/a.jpg", false, false},   {"/media/Photo Sticks/a.jpg", false, false},
        {"/home/anna/a.jpg", false, false},        {"/tmp/a.jpg", false, false},
        {"/mnt/old/a.jpg", false, false},          {"/mnt/a/a.jpg", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OnAbsentDrive(fstab, away, c.path), c.absent) << c.path;
        EXPECT_EQ(OnAbsentDrive(fstab, back, c.path), c.absentAfter) << c.path << ", once back";
    }
}

} // namespace
} // namespace zelvano
