#!/usr/bin/env python3
"""Plays a transcript against the engine as a GUI would: starts the program on
pipes in an empty working folder, sends lines and checks the replies, each with
a timeout. At the end the input is closed and the program must exit with 0.

Usage: transcript.py [--name NAME] [--wrap CMD] [--slow F] [--timeout MS] PROGRAM TRANSCRIPT

A transcript has one step a line (blank lines and lines starting with # aside):
  args A B ...      command-line arguments (first step only)
  terminal          standard input is a terminal (first step only); close types Ctrl-D
  > TEXT            send TEXT and a newline
  + TEXT            send TEXT as it stands, with \\n, \\r, \\t and \\0 escapes
  < TEXT            the next output line is TEXT
  = REGEX           the next output line matches REGEX
  ~ REGEX           output lines are passed over until one matches REGEX
                    (<, = and ~ wait --timeout; <@MS, =@MS and ~@MS wait MS)
  - REGEX           until the next ~ step matches, no line passed over matches REGEX
  wait MS           output is read for MS milliseconds (the - patterns hold)
  close             close the program's standard input
  interrupt         send the program SIGINT
  kill              end the program
  exit N            the program ends with status N
  stderr REGEX      one line of standard error, and one only, matches REGEX
  file NAME REGEX   the file NAME in the working folder has a line matching REGEX
  mkdir NAME        make the folder NAME in the working folder
  nofile            the working folder holds no file
  engine N          the following steps go to instance N (1 at the start),
                    started now in the same folder if it is not running yet
In TEXT and REGEX, {NAME} is the engine's name, {PROGRAM} the program's file
name without extension and {S*N} is S repeated N times.
"""
import argparse, os, pty, queue, re, shlex, signal, subprocess, sys, tempfile, termios, threading, time


def expand(text, name, program):
    text = text.replace("{NAME}", name).replace("{PROGRAM}", program)
    return re.sub(r"\{([^{}]+)\*(\d+)\}", lambda m: m.group(1) * int(m.group(2)), text)


class Engine:
    def __init__(self, command, cwd, terminal):
        self.terminal, stdin = pty.openpty() if terminal else (None, subprocess.PIPE)
        if terminal:  # no echo; Ctrl-D ends a read
            mode = termios.tcgetattr(stdin)
            termios.tcsetattr(stdin, termios.TCSANOW, mode[:3] + [mode[3] & ~termios.ECHO] + mode[4:])
        self.proc = subprocess.Popen(command, cwd=cwd, stdin=stdin, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                     bufsize=0)
        if terminal:
            os.close(stdin)
        self.lines = queue.Queue()
        self.seen, self.errors = [], []
        threading.Thread(target=self._read, daemon=True).start()
        threading.Thread(target=self._read_errors, daemon=True).start()

    def _read_errors(self):  # passed on, so that a sanitizer's report still reaches ctest
        for raw in iter(self.proc.stderr.readline, b""):
            self.errors.append(raw.decode("latin-1").rstrip("\r\n"))
            sys.stderr.write(self.errors[-1] + "\n")

    def _read(self):
        for raw in iter(self.proc.stdout.readline, b""):
            self.lines.put(raw.decode("latin-1").rstrip("\r\n"))  # Windows programs end lines with CR LF
        self.lines.put(None)  # end of output

    def send(self, text):
        if self.terminal is None:
            self.proc.stdin.write(text.encode("latin-1"))
        else:
            os.write(self.terminal, text.encode("latin-1"))

    def close(self, final=False):
        """Ends the input: a pipe is closed; a terminal gets Ctrl-D, or hangs up when final."""
        if self.terminal is None:
            self.proc.stdin.close()
        else:
            os.close(self.terminal) if final else os.write(self.terminal, b"\x04")

    def line(self, deadline):
        """The next output line; None at end of output or once the deadline has passed."""
        try:
            line = self.lines.get(timeout=max(0.0, deadline - time.monotonic()))
        except queue.Empty:
            return None
        if line is None:
            self.lines.put(None)
        else:
            self.seen.append(line)
        return line


def play(engines, launch, steps, args, workdir):
    engine, forbidden = engines[0], []
    for number, op, rest in steps:
        where = f"step {number} ({op} {rest})"
        op, _, ms = op.partition("@")
        deadline = time.monotonic() + int(ms or args.timeout) * args.slow / 1000
        if op == ">":
            engine.send(rest + "\n")
        elif op == "+":
            engine.send(rest.replace("\\n", "\n").replace("\\r", "\r").replace("\\t", "\t").replace("\\0", "\0"))
        elif op in "<=":
            line = engine.line(deadline)
            ok = line is not None and (line == rest if op == "<" else re.fullmatch(rest, line))
            if not ok:
                return f"{where}: got {line!r}"
        elif op == "~" or op == "wait":
            if op == "wait":  # not scaled: it often measures the program's own clock
                deadline = time.monotonic() + int(rest) / 1000
            while True:
                line = engine.line(deadline)
                if line is None:
                    if op == "wait" and time.monotonic() >= deadline:
                        break
                    return f"{where}: no such line"
                bad = [p for p in forbidden if re.fullmatch(p, line)]
                if op == "~" and re.fullmatch(rest, line):
                    forbidden = []
                    break
                if bad:
                    return f"{where}: {line!r} matches the forbidden {bad[0]!r}"
        elif op == "-":
            forbidden.append(rest)
        elif op == "close":
            engine.close()
        elif op == "interrupt":
            engine.proc.send_signal(signal.SIGINT)
        elif op == "kill":
            engine.proc.kill()
            engine.proc.wait()
        elif op == "exit":
            try:
                status = engine.proc.wait(timeout=args.timeout * args.slow / 1000)
            except subprocess.TimeoutExpired:
                return f"{where}: still running"
            if status != int(rest):
                return f"{where}: exit status {status}"
        elif op == "file":
            name, pattern = rest.split(" ", 1)
            path = os.path.join(workdir, name)
            text = open(path, encoding="latin-1").read().split("\n") if os.path.exists(path) else None
            if text is None or not any(re.fullmatch(pattern, t) for t in text):
                return f"{where}: {name} holds {text!r}"
        elif op == "stderr":
            while len([e for e in engine.errors if re.fullmatch(rest, e)]) != 1:
                if time.monotonic() >= deadline:
                    return f"{where}: standard error holds {engine.errors!r}"
                time.sleep(0.05)
        elif op == "mkdir":
            os.mkdir(os.path.join(workdir, rest))
        elif op == "nofile":
            if os.listdir(workdir):
                return f"{where}: found {os.listdir(workdir)}"
        elif op == "engine":
            engines += [launch() for _ in range(len(engines), int(rest))]
            engine = engines[int(rest) - 1]
        else:
            return f"{where}: unknown step"
    return None


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("program")
    ap.add_argument("transcript")
    ap.add_argument("--name", default="Pelko 2 x64", help="the name the program prints")
    ap.add_argument("--wrap", default="", help="command to run the program under, such as valgrind")
    ap.add_argument("--slow", type=float, default=1.0, help="factor for every timeout")
    ap.add_argument("--timeout", type=int, default=20000, help="milliseconds a reply may take")
    args = ap.parse_args()

    steps, options, terminal = [], [], False
    for number, line in enumerate(open(args.transcript, encoding="utf-8"), 1):
        line = line.rstrip("\n")
        if not line.strip() or line.startswith("#"):
            continue
        op, _, rest = line.partition(" ")
        if op == "args":
            options = shlex.split(rest)
        elif op == "terminal":
            terminal = True
        else:
            steps.append((number, op, expand(rest, args.name, os.path.splitext(os.path.basename(args.program))[0])))

    with tempfile.TemporaryDirectory() as workdir:
        command = shlex.split(args.wrap) + [os.path.abspath(args.program)] + options
        engines = [Engine(command, workdir, terminal)]
        error = play(engines, lambda: Engine(command, workdir, terminal), steps, args, workdir)
        for engine in engines:
            if error is None and engine.proc.poll() is None:
                try:
                    engine.close(final=True)
                    status = engine.proc.wait(timeout=args.timeout * args.slow / 1000)
                    if status != 0:
                        error = f"after the last step: exit status {status}"
                except (subprocess.TimeoutExpired, BrokenPipeError):
                    error = "after the last step: the program did not end at the end of its input"
            if engine.proc.poll() is None:
                engine.proc.kill()
            engine.proc.wait()
    if error:
        print(f"{args.transcript}: {error}\nlast lines read:", *engines[-1].seen[-12:], sep="\n  ")
        sys.exit(1)
    print(f"{os.path.basename(args.transcript)}: {len(steps)} steps passed")


if __name__ == "__main__":
    main()
