"""Mutation run: the real Tonara on damaged tone files, settings files and
language files, with links and FIFOs planted in its temporary folder.

Usage: mutate.py [--tones N] [--settings N] [--languages N] [--jobs J]
                 [--seed S] [--short] [--keep]

Each mutant (made from examples/*.tnf, a valid tonara.ini or lang/*.dll by a
few random cuts, inserts, flips, repeats and extreme numbers) gets one run of
the built tonara (TONARA_BIN, else build/bin) in folders of its own. Once the
program has settled (its start-up finished, the player started, the agreement
or error window up, or it ended by itself) it gets a termination signal a
random moment later (SETTLE_S seconds at the latest: an error window whose
log could not be written, say, leaves no sign). A run fails when the program
crashes or does not end within END_S seconds of the signal, or when any file
of the user's changed: the victim files, which links planted
in the temporary folder point at, the input file itself, the settings and the
language files. Every second run uses a shared 1777 temporary folder in which
every fixed name is taken by a link or a FIFO; the others a private one with
some of them planted.

The full run (500 tone files, 300 settings files, 300 language files) is
run by hand; --short is the few seconds' pass of ./test.sh. Exit status 0
when every run passed.
"""
import argparse
import concurrent.futures
import hashlib
import os
import random
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import threading
import time

SETTLE_S = 15
END_S = 2
REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
FIXED_NAMES = ["userdata.txt", "error.log", "sound.ini", "snd.ini", "quillon.ini", "tnfwinmmtmp.wav",
               "updatetonara.txt", "testcon.dat", "test.txt", "tnftmp.wav"]
SETTLED_LINES = (">> Program starting finished", "> Starting tnf file", "> New file")
CRASH_SIGNALS = {signal.SIGSEGV, signal.SIGABRT, signal.SIGBUS, signal.SIGFPE, signal.SIGILL}

VALID_SETTINGS = b"AutoUpdate=y\r\nSoundBit=256\r\nLanguage=EN\r\nSendData=y\r\nMicrophone=1\r\nMicrophoneON=n\r\n"
EXTREMES = [b"0", b"-1", b"1", b"2", b"236", b"237", b"32000", b"32001", b"32767", b"32768", b"65536",
            b"-32769", b"2147483648", b"99999999999999999999", b"1e308", b"-1e308", b"1e-320", b"nan", b"inf",
            b"0.5", b"2.5", b"abc", b"", b" ", b"\"", b",", b"&H7FFF", b"1d10"]


def mutate(data, rng):
    """A copy of data with one to four random changes."""
    data = bytearray(data)
    for _ in range(rng.randint(1, 4)):
        kind = rng.randrange(9)
        at = rng.randint(0, len(data))
        if kind == 0 and data:  # flip a byte
            i = rng.randrange(len(data))
            data[i] = rng.randrange(256)
        elif kind == 1:  # insert separators, quotes and odd bytes
            data[at:at] = bytes(rng.choice(b",\"\r\n\t \x00\x80\x9f\xff{}<>\\%[]") for _ in range(rng.randint(1, 8)))
        elif kind == 2 and data:  # cut a piece
            end = min(len(data), at + rng.randint(1, 40))
            del data[at:end]
        elif kind == 3:  # an extreme number where a number stands
            digits = [i for i, b in enumerate(data) if chr(b).isdigit()]
            if digits:
                i = rng.choice(digits)
                j = i
                while j < len(data) and chr(data[j]).isdigit():
                    j += 1
                while i > 0 and chr(data[i - 1]).isdigit():
                    i -= 1
                data[i:j] = rng.choice(EXTREMES)
        elif kind == 4:  # repeat a stretch many times (past the field limits)
            start = rng.randint(0, len(data))
            piece = data[start:start + rng.randint(1, 30)] or b"<440>\r\n\\1\r\n"
            data[at:at] = piece * rng.choice([10, 500, 2000, 5000])
        elif kind == 5:  # swap two lines
            lines = bytes(data).split(b"\n")
            if len(lines) > 1:
                a, b = rng.randrange(len(lines)), rng.randrange(len(lines))
                lines[a], lines[b] = lines[b], lines[a]
                data = bytearray(b"\n".join(lines))
        elif kind == 6:  # cut the end off
            del data[rng.randint(0, len(data)):]
        elif kind == 7:  # a very long line
            data[at:at] = bytes([rng.choice(b"x9,\"")]) * rng.choice([300, 70000])
        else:  # a line end of another kind
            data = bytearray(bytes(data).replace(rng.choice([b"\r\n", b"\n"]), rng.choice([b"\r", b"\n", b"\r\r\n", b""])))
    return bytes(data)


def digest(path):
    try:
        info = os.lstat(path)
    except FileNotFoundError:
        return "missing"
    if stat.S_ISLNK(info.st_mode):
        return "link " + os.readlink(path)
    if not stat.S_ISREG(info.st_mode):
        return "mode %o" % info.st_mode
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def fifo(path):
    os.mkfifo(path, 0o666)


class Run:
    """One program run in folders of its own."""

    def __init__(self, work, binary, number, rng):
        self.root = os.path.join(work, "run%04d" % number)
        self.binary = binary
        self.rng = rng
        for folder in ("home", "app", "victims", "run"):
            os.makedirs(os.path.join(self.root, folder), mode=0o700)
        self.temp = os.path.join(self.root, "temp")
        os.makedirs(self.temp, mode=0o700)
        self.shared = number % 2 == 1
        self.log_folder = self.temp
        if self.shared:
            os.chmod(self.temp, 0o1777)
            self.log_folder = os.path.join(self.temp, "tonara-%d" % os.geteuid())
        self.victims = []
        for i, name in enumerate(FIXED_NAMES):
            victim = os.path.join(self.root, "victims", "victim%d.txt" % i)
            with open(victim, "wb") as f:
                f.write(b"precious %d\r\n" % i)
            self.victims.append(victim)
            self.plant(name, victim)

    def plant(self, name, victim):
        at = os.path.join(self.temp, name)
        if self.shared:
            # Every fixed name taken: links to the victims, FIFOs for the hand-overs.
            if name in ("sound.ini", "snd.ini", "quillon.ini", "userdata.txt"):
                fifo(at)
            else:
                os.symlink(victim, at)
        elif name in ("error.log", "updatetonara.txt", "testcon.dat", "snd.ini", "quillon.ini", "test.txt"):
            os.symlink(victim, at)  # the names the program writes through

    def run(self, arguments, watched):
        env = dict(os.environ)
        for name in ("TONARA_UPDATE_HOST", "TONARA_INFO_HOST", "TONARA_UPLOAD_URL", "TMPDIR", "TONARA_OUTPUT_RATE"):
            env.pop(name, None)
        env.update(TEMP=self.temp, APPDATA=os.path.join(self.root, "app"), HOME=os.path.join(self.root, "home"),
                   XDG_RUNTIME_DIR=os.path.join(self.root, "run"), QT_QPA_PLATFORM="offscreen")
        watched = watched + self.victims
        before = {path: digest(path) for path in watched}
        started = time.monotonic()
        process = subprocess.Popen([self.binary] + arguments, env=env, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        errors = []
        drain = threading.Thread(target=lambda: errors.append(process.stderr.read()), daemon=True)
        drain.start()
        outcome = {"settled": None, "ended_itself": False, "answer_ms": None, "problem": None}
        while time.monotonic() - started < SETTLE_S:
            if process.poll() is not None:
                outcome["ended_itself"] = True
                break
            if self.settled():
                outcome["settled"] = time.monotonic() - started
                break
            time.sleep(0.02)
        if process.poll() is None:
            time.sleep(self.rng.uniform(0, 0.4))
            sent = time.monotonic()
            process.send_signal(signal.SIGTERM)
            try:
                process.wait(END_S)
                outcome["answer_ms"] = (time.monotonic() - sent) * 1000
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
                outcome["problem"] = "did not end within %d s of SIGTERM" % END_S
        drain.join(5)
        code = process.returncode
        outcome["code"] = code
        if code < 0 and -code in CRASH_SIGNALS:
            outcome["problem"] = "crashed with signal %d" % -code
        changed = [path for path in watched if digest(path) != before[path]]
        if changed:
            outcome["problem"] = "changed: " + ", ".join(changed)
        if outcome["problem"]:
            outcome["stderr"] = b"".join(errors).decode(errors="replace")[-2000:]
        return outcome

    def settled(self):
        try:
            if stat.S_ISREG(os.lstat(os.path.join(self.log_folder, "error.log")).st_mode):
                return True  # the error window is up
        except OSError:
            pass
        try:
            with open(os.path.join(self.log_folder, "userdata.txt"), "rb") as f:
                text = f.read().decode("latin-1")
        except OSError:
            return False
        return any(line.startswith(SETTLED_LINES) for line in text.splitlines())


class Worker:
    """A copy of tonara with language files of its own beside it."""

    def __init__(self, work, source, index):
        self.bin = os.path.join(work, "bin%d" % index)
        os.makedirs(self.bin)
        self.binary = os.path.join(self.bin, "tonara")
        shutil.copy2(os.path.join(source, "tonara"), self.binary)

    def languages(self, english, dutch):
        for name, data in (("lng_en.dll", english), ("lng_nl.dll", dutch)):
            with open(os.path.join(self.bin, name), "wb") as f:
                f.write(data)
        return [os.path.join(self.bin, "lng_en.dll"), os.path.join(self.bin, "lng_nl.dll")]


def read(path):
    with open(path, "rb") as f:
        return f.read()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tones", type=int, default=500)
    parser.add_argument("--settings", type=int, default=300)
    parser.add_argument("--languages", type=int, default=300)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--seed", type=int, default=20)
    parser.add_argument("--short", action="store_true", help="6 tone files, 4 settings and 4 language files")
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    options = parser.parse_args()
    if options.short:
        options.tones, options.settings, options.languages = 6, 4, 4
    source = os.environ.get("TONARA_BIN") or os.path.join(REPO, "build", "bin")
    examples = [read(os.path.join(REPO, "examples", name)) for name in sorted(os.listdir(os.path.join(REPO, "examples")))]
    english = read(os.path.join(REPO, "lang", "lng_en.dll"))
    dutch = read(os.path.join(REPO, "lang", "lng_nl.dll"))
    rng = random.Random(options.seed)

    work = tempfile.mkdtemp(prefix="tonara-mutation-")
    os.chmod(work, 0o755)
    workers = [Worker(work, source, i) for i in range(options.jobs)]
    tasks = [("tone", mutate(rng.choice(examples), rng)) for _ in range(options.tones)]
    tasks += [("settings", mutate(VALID_SETTINGS, rng)) for _ in range(options.settings)]
    tasks += [("language", (rng.random() < 0.5, mutate(rng.choice([english, dutch]), rng))) for _ in range(options.languages)]
    free = list(workers)
    free_lock = threading.Lock()

    def one(number, task):
        kind, mutant = task
        with free_lock:
            worker = free.pop()
        try:
            run = Run(work, worker.binary, number, random.Random(options.seed * 100000 + number))
            settings_path = os.path.join(run.root, "app", "tonara.ini")
            languages = worker.languages(english, dutch)
            arguments = []
            with open(settings_path, "wb") as f:
                f.write(mutant if kind == "settings" else VALID_SETTINGS)
            watched = [settings_path] + languages
            if kind == "tone":
                tone_file = os.path.join(run.root, "home", "mutant.tnf")
                with open(tone_file, "wb") as f:
                    f.write(mutant)
                arguments = [tone_file]
                watched.append(tone_file)
            elif kind == "language":
                as_dutch, data = mutant
                languages = worker.languages(english if as_dutch else data, data if as_dutch else dutch)
                if as_dutch:
                    with open(settings_path, "wb") as f:
                        f.write(VALID_SETTINGS.replace(b"Language=EN", b"Language=NL"))
            outcome = run.run(arguments, watched)
            outcome["kind"] = kind
            outcome["number"] = number
            if not outcome["problem"] and not options.keep:
                shutil.rmtree(run.root, ignore_errors=True)
            return outcome
        finally:
            with free_lock:
                free.append(worker)

    started = time.monotonic()
    with concurrent.futures.ThreadPoolExecutor(max_workers=options.jobs) as pool:
        outcomes = list(pool.map(one, range(len(tasks)), tasks))
    took = time.monotonic() - started

    failed = [o for o in outcomes if o["problem"]]
    for kind in ("tone", "settings", "language"):
        mine = [o for o in outcomes if o["kind"] == kind]
        if not mine:
            continue
        answers = [o["answer_ms"] for o in mine if o["answer_ms"] is not None]
        unsettled = sum(1 for o in mine if o["settled"] is None and not o["ended_itself"])
        print("%-8s %4d runs: %d ended by themselves, %d ended on SIGTERM (slowest %.0f ms, %d over 500 ms),"
              " %d gave no sign of settling, %d failed"
              % (kind, len(mine), sum(o["ended_itself"] for o in mine), len(answers), max(answers, default=0),
                 sum(1 for a in answers if a > 500), unsettled, sum(1 for o in mine if o["problem"])))
    codes = {}
    for o in outcomes:
        codes[o["code"]] = codes.get(o["code"], 0) + 1
    print("exit codes:", ", ".join("%s: %d" % (code, n) for code, n in sorted(codes.items())))
    print("%d runs in %.0f s; work folder %s" % (len(outcomes), took, work))
    for o in failed:
        print("FAILED %s run %d: %s" % (o["kind"], o["number"], o["problem"]))
        if o.get("stderr"):
            print("  stderr: " + o["stderr"].replace("\n", "\n  "))
    if not failed and not options.keep:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
