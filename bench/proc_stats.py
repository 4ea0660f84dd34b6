"""CPU time and resident memory of a process, read from /proc."""
import os

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    """User plus system time of the whole process (all its threads, ended ones too).

    The kernel counts it in clock ticks, so the resolution is 1 / SC_CLK_TCK (10 ms here).
    """
    with open(f"/proc/{pid}/stat") as f:
        # The command name may hold spaces; the fields after it are fixed.
        fields = f.read().rsplit(")", 1)[1].split()
    utime, stime = int(fields[11]), int(fields[12])
    return (utime + stime) / CLOCK_TICKS


def rss_kib(pid):
    """Resident set size in KiB (VmRSS)."""
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise RuntimeError(f"process {pid} reports no VmRSS")


def wineserver_pid(prefix):
    """The wineserver of this Wine prefix, or None.

    A wineserver works in a folder named server-DEV-INODE after the prefix folder's device and
    inode, so several prefixes on the machine are told apart by that folder.
    """
    st = os.stat(prefix)
    suffix = f"server-{st.st_dev:x}-{st.st_ino:x}"
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/comm") as f:
                if not f.read().startswith("wineserver"):  # Debian names it wineserver64
                    continue
            if os.readlink(f"/proc/{entry}/cwd").endswith(suffix):
                return int(entry)
        except OSError:
            continue
    return None


def load_average():
    with open("/proc/loadavg") as f:
        return [float(v) for v in f.read().split()[:3]]


def machine_description():
    """CPU model, core count and memory, for the report's header."""
    model = "unknown CPU"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as f:
        mem_kib = int(f.readline().split()[1])
    return {"cpu": model, "cores": os.cpu_count(), "memory_gib": round(mem_kib / 1024 / 1024, 1),
            "kernel": os.uname().release}
