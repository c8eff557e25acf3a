"""Running frusta2-cli with the fault-injecting file layer preloaded (tests/faultfs): each file
operation of saving under the watched folders is counted, and the one chosen fails."""
import errno
import os
import shutil
import subprocess
import tempfile

import assesslib as A

FAULTFS = os.environ.get("FRUSTA_FAULTFS", os.path.join(A.PROGRAM_DIR, "../tests/libfrusta_faultfs.so"))

# The reasons the program gives for the errnos the tests inject.
REASONS = {
    errno.ENOSPC: "the disk is full",
    errno.EIO: "the disk reported an error (input/output error)",
    errno.EACCES: "permission denied",
}


def scratch_dir():
    """A folder in memory where there is one: the tests flush many files to disk."""
    base = "/dev/shm" if os.access("/dev/shm", os.W_OK) else None
    return tempfile.TemporaryDirectory(prefix="frusta-faults-", dir=base)


class Report:
    def __init__(self, path):
        self.ops = 0
        self.fired = False
        self.log = []
        if not os.path.exists(path):
            return
        with open(path) as f:
            for line in f.read().splitlines():
                key, _, rest = line.partition(" ")
                if key == "ops":
                    self.ops = int(rest)
                elif key == "fired":
                    self.fired = rest == "1"
                else:
                    self.log.append(rest)

    def op(self, k):
        return self.log[k - 1] if 0 < k <= len(self.log) else ""


def environment(watch, tmp, report, at=0, err=0, hooks=None):
    env = dict(os.environ)
    env.update({
        "LD_PRELOAD": FAULTFS,
        "FRUSTA_FAULT_WATCH": ":".join(watch),
        "FRUSTA_FAULT_AT": str(at),
        "FRUSTA_FAULT_ERRNO": str(err),
        "FRUSTA_FAULT_REPORT": report,
        "TMPDIR": tmp,
    })
    if hooks:
        env["FRUSTA_FAULT_HOOKS"] = "\n".join(f"{path}\t{command}" for path, command in hooks)
    # Sanitizer builds want their runtime first; the layer is preloaded before it.
    env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS"), "verify_asan_link_order=0"]))
    return env


def run(args, watch, tmp, report, at=0, err=0, hooks=None, cwd=None):
    """Runs frusta2-cli; (status, stdout, stderr, Report)."""
    if os.path.exists(report):
        os.remove(report)
    p = subprocess.run([A.CLI] + args, capture_output=True, text=True, cwd=cwd, timeout=300,
                       env=environment(watch, tmp, report, at, err, hooks))
    return p.returncode, p.stdout, p.stderr, Report(report)


def contents(folder):
    """{name: bytes} of every file in the folder, hidden ones too; folders as None."""
    out = {}
    for name in os.listdir(folder):
        path = os.path.join(folder, name)
        if os.path.isdir(path):
            out[name] = None
        else:
            with open(path, "rb") as f:
                out[name] = f.read()
    return out


def restore(folder, files):
    """Makes the folder hold exactly `files`."""
    for name in os.listdir(folder):
        path = os.path.join(folder, name)
        if os.path.isdir(path) and not os.path.islink(path):
            shutil.rmtree(path)
        else:
            os.remove(path)
    for name, data in files.items():
        if data is None:
            os.mkdir(os.path.join(folder, name))
        else:
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


def unprivileged(args):
    """The command as a user for whom permissions count: root gives up the right to ignore them."""
    if os.geteuid() != 0:
        return args
    return ["setpriv", "--bounding-set", "-dac_override,-dac_read_search", "--inh-caps=-all"] + args
