#include "platform/posix/MountTable.h"

#include <gtest/gtest.h>

namespace zelvano {
namespace {

TEST(MountTable, DrivesOfASampleTable) {
    const char* table =
        "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
        "23 27 0:22 / /sys rw,relatime - sysfs sysfs rw\n"
        "24 27 0:6 / /dev rw,relatime - devtmpfs devtmpfs rw\n"
        "26 24 0:24 / /dev/pts rw,relatime - devpts devpts rw\n"
        "27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
        "30 27 254:1 / /home rw,relatime shared:2 - ext4 /dev/vdb rw\n"
        "31 27 254:1 /photos /srv/photos rw,relatime - ext4 /dev/vdb rw\n" // second mount of vdb
        "32 27 254:0 /var/x /mnt/bind rw,relatime - ext4 /dev/vda rw\n"    // second mount of the root's
        "33 27 0:40 / /run/user/1000 rw - tmpfs tmpfs rw\n"                // tmpfs, and under /run
        "34 27 0:41 / /run/media/usb rw - vfat /dev/sdc1 rw\n"             // under /run
        "35 27 0:42 / /mnt/nas rw - nfs4 nas:/export rw\n"                 // network
        "36 27 0:43 / /mnt/My\\040Share rw - cifs //server/share rw\n"     // escaped space
        "37 27 0:44 / /home/anna/remote rw - fuse.sshfs anna@host:/ rw\n"  // FUSE
        "38 27 0:45 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"          // squashfs
        "39 27 0:46 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
        "40 27 0:47 / /var/lib/docker/overlay2/a/merged rw - overlay overlay rw\n" // a container root
        "41 27 0:48 / /mnt/auto rw - autofs systemd-1 rw\n";
    EXPECT_EQ(DrivesFromMountInfo(table),
              (std::vector<std::string>{"/", "/home/", "/mnt/nas/", "/mnt/My Share/", "/home/anna/remote/",
                                        "/var/lib/docker/overlay2/a/merged/"}));
}

} // namespace
} // namespace zelvano
