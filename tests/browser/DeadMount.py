# A network mount that no longer answers: every call is written to a log
# file, then sleeps. usage: DeadMount.py <log> <mount point> -f -s
import errno, sys, time
import fuse

fuse.fuse_python_api = (0, 2)
log = sys.argv.pop(1)


def stalls(name):
    def call(self, *args):
        with open(log, "a") as calls:
            calls.write(name + "\n")
        time.sleep(10)
        return -errno.EIO
    return call


class DeadMount(fuse.Fuse):
    pass


for name in ("getattr", "statfs", "readdir", "access", "open", "opendir", "readlink"):
    setattr(DeadMount, name, stalls(name))
server = DeadMount(dash_s_do="setsingle")
server.parse(errex=1)
server.main()
